#include "tool/model/DrawerKeyWriter.h"

#include <memory>

namespace tool {

bool WriteDrawerKey(ToolRegistry& registry, const std::u16string& keyPath,
                    const QEL::Config::DrawerKeyValues& v, const std::u16string& logicalName) {
  using namespace QEL::Config;
  std::unique_ptr<platform::RegistryKey> key = registry.registry().Create(keyPath);
  bool ok = key != nullptr;
  if (key != nullptr) {
    if (!v.progId.empty()) ok = key->WriteString(kProgIdValue, v.progId) && ok;
    const struct {
      const char16_t* name;
      const std::u16string& text;
    } values[] = {
        {kPrinterName, v.printerName},     {kCapDrawStatus, v.capDrawStatus},
        {kCashDrawerName, v.deviceName},   {kDrawerPin, v.drawerPin},
        {kOpenVoltage, v.openVoltage},     {kSignalOnTime, v.signalOnTime},
        {kSignalOffTime, v.signalOffTime}, {kWaitForDrawerCloseTimeOut, v.waitForDrawerCloseTimeOut},
    };
    for (const auto& value : values) ok = key->WriteString(value.name, value.text) && ok;
  }
  if (!logicalName.empty()) {
    ok = registry.WriteString(registry.ClassKeyPath(DeviceClass::kDrawer), logicalName, v.deviceName) && ok;
  }
  return ok;
}

}  // namespace tool
