#pragma once
// The service object's reading of a device key when a device is opened. The
// key is opened once for reading; its values are read in a fixed order with
// the retry rule of RetryingValueReader.h (20 ms steps for a printer, 50 ms
// for a cash drawer). Reading a cash drawer reads only the drawer's own key:
// whether the key of its PrinterName is read as well depends on whether that
// printer is already open in the process, which the caller knows.
#include <string>

#include "config/ConfigReadResult.h"
#include "config/DeviceConfig.h"
#include "config/RegistryLayout.h"
#include "config/RetryingValueReader.h"
#include "platform/registry.h"

namespace QEL {
namespace Config {

class DeviceConfigReader {
 public:
  // `oposRoot` is the key below which the class keys lie.
  explicit DeviceConfigReader(platform::Registry& registry, Pause pause = SleepingPause(),
                              std::u16string oposRoot = kOposRoot);

  // Reads PortType, DriverModel, DriverName, PortSettings, OutputBufSize,
  // BitMapMode, WriteTimeout, ReadTimeout, CodepageID, DeviceDescription and
  // Notes, in that order. On a fault, the values before the failed one are set.
  ConfigReadResult ReadPrinter(const std::u16string& deviceName, PrinterConfig* config);
  // Reads OpenVoltage, CapDrawStatus, DrawerPin, PrinterName, SignalOffTime,
  // SignalOnTime and WaitForDrawerCloseTimeOut, in that order.
  ConfigReadResult ReadDrawer(const std::u16string& deviceName, DrawerConfig* config);

 private:
  ConfigReadResult Read(DeviceClass deviceClass, const std::u16string& deviceName,
                        const ValueSlot* slots, size_t count, const RetryRule& rule);

  platform::Registry& registry_;
  Pause pause_;
  std::u16string oposRoot_;
};

}  // namespace Config
}  // namespace QEL
