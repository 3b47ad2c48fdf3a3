#include "config/DeviceConfigReader.h"

#include <memory>
#include <utility>

namespace QEL {
namespace Config {

DeviceConfigReader::DeviceConfigReader(platform::Registry& registry, Pause pause,
                                       std::u16string oposRoot)
    : registry_(registry), pause_(std::move(pause)), oposRoot_(std::move(oposRoot)) {}

ConfigReadResult DeviceConfigReader::ReadPrinter(const std::u16string& deviceName,
                                                 PrinterConfig* config) {
  const ValueSlot slots[] = {
      {kPortType, &config->portType},
      {kDriverModel, &config->driverModel},
      {kDriverName, &config->driverName},
      {kPortSettings, &config->portSettings},
      {kOutputBufSize, &config->outputBufSize},
      {kBitMapMode, &config->bitMapMode},
      {kWriteTimeout, &config->writeTimeout},
      {kReadTimeout, &config->readTimeout},
      {kCodepageID, &config->codepageId},
      {kDeviceDescription, &config->deviceDescription},
      {kNotes, &config->notes},
  };
  return Read(DeviceClass::kPrinter, deviceName, slots, sizeof slots / sizeof slots[0],
              kPrinterRetry);
}

ConfigReadResult DeviceConfigReader::ReadDrawer(const std::u16string& deviceName,
                                                DrawerConfig* config) {
  const ValueSlot slots[] = {
      {kOpenVoltage, &config->openVoltage},
      {kCapDrawStatus, &config->capDrawStatus},
      {kDrawerPin, &config->drawerPin},
      {kPrinterName, &config->printerName},
      {kSignalOffTime, &config->signalOffTime},
      {kSignalOnTime, &config->signalOnTime},
      {kWaitForDrawerCloseTimeOut, &config->waitForDrawerCloseTimeOut},
  };
  return Read(DeviceClass::kDrawer, deviceName, slots, sizeof slots / sizeof slots[0],
              kDrawerRetry);
}

ConfigReadResult DeviceConfigReader::Read(DeviceClass deviceClass, const std::u16string& deviceName,
                                          const ValueSlot* slots, size_t count,
                                          const RetryRule& rule) {
  const std::u16string path = DeviceKeyPath(oposRoot_, deviceClass, deviceName);
  // An empty name would open the class key itself.
  std::unique_ptr<platform::RegistryKey> key =
      deviceName.empty() ? nullptr : registry_.Open(path, platform::RegistryAccess::kRead);
  if (!key) {
    ConfigReadResult result;
    result.fault = ConfigFault::kKeyNotOpened;
    result.failed = path;
    result.detail = deviceName.empty() ? std::string("no device name") : registry_.ErrorText();
    return result;
  }
  return ReadValues(*key, slots, count, rule, pause_);
}

}  // namespace Config
}  // namespace QEL
