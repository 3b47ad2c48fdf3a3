#pragma once
// The setting tool's side of the device configuration: saving printer and
// cash-drawer device keys, the logical names in the class keys, and deleting
// both. A logical name is a string value of the class key whose name is the
// logical name and whose text is the device name. The tool compares listed
// names exactly, letter case included, although the registry itself does not.
#include <string>
#include <vector>

#include "config/RegistryByPath.h"
#include "config/RegistryLayout.h"
#include "platform/registry.h"

namespace QEL {
namespace Config {

// What the printer dialog saves. The fixed texts are preset.
struct PrinterKeyValues {
  // The default value and DeviceDescription; both are written only when the
  // ProgID is known (the model belongs to a model group).
  std::u16string progId;
  std::u16string deviceDescription;
  std::u16string driverModel;
  std::u16string deviceName;  // the key's name, also written as DriverName
  std::u16string bitMapMode = kBitMapModeText;
  std::u16string portType;
  std::u16string readTimeout = kTimeoutText;
  std::u16string writeTimeout = kTimeoutText;
  std::u16string inputBufSize = kBufSizeText;
  std::u16string outputBufSize = kBufSizeText;
  std::u16string notes;
  std::u16string portSettings;
  std::u16string codepageId = kStartCodepageText;  // every save starts the printer at 437 again
};

// What the cash-drawer dialog saves; the times are a new drawer's.
struct DrawerKeyValues {
  std::u16string progId;  // the default value, written only when known
  std::u16string deviceName;  // the key's name, also written as CashDrawerName
  std::u16string printerName;
  std::u16string capDrawStatus;
  std::u16string drawerPin;
  std::u16string openVoltage;
  std::u16string signalOnTime = u"10";
  std::u16string signalOffTime = u"10";
  std::u16string waitForDrawerCloseTimeOut = u"5000";
};

class DeviceStore {
 public:
  explicit DeviceStore(platform::Registry& registry, std::u16string oposRoot = kOposRoot);

  // Creates both class keys when they are missing.
  bool EnsureClassKeys();
  // Device names: the subkeys of the class key, in registry order.
  std::vector<std::u16string> Devices(DeviceClass deviceClass);
  // The logical names whose text is `device`, in registry order.
  std::vector<std::u16string> LogicalNames(DeviceClass deviceClass, const std::u16string& device);
  // The first of them; empty when there is none.
  std::u16string LogicalNameOf(DeviceClass deviceClass, const std::u16string& device);
  // True when no logical name of the class is spelt exactly so.
  bool IsLogicalNameFree(DeviceClass deviceClass, const std::u16string& name);

  // Creates or opens the device key and writes its values in the order the
  // layout gives: default value, DeviceDescription, DriverModel, DriverName,
  // BitMapMode, PortType, ReadTimeout, WriteTimeout, InputBufSize,
  // OutputBufSize, Notes, then the logical name into the class key, then
  // PortSettings and CodepageID. An empty logical name is not written (it
  // would be the class key's default value). False when a write failed; the
  // writes after it are still made.
  bool SavePrinter(const PrinterKeyValues& printer, const std::u16string& logicalName);
  // Default value, PrinterName, CapDrawStatus, CashDrawerName, DrawerPin,
  // OpenVoltage, SignalOnTime, SignalOffTime, WaitForDrawerCloseTimeOut, and
  // last the logical name.
  bool SaveDrawer(const DrawerKeyValues& drawer, const std::u16string& logicalName);

  // Deletes the device key, then every logical name of the device.
  bool DeleteDevice(DeviceClass deviceClass, const std::u16string& device);
  bool DeleteLogicalName(DeviceClass deviceClass, const std::u16string& name);

 private:
  platform::Registry& registry_;
  RegistryByPath paths_;
  std::u16string oposRoot_;
};

}  // namespace Config
}  // namespace QEL
