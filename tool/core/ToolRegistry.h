#pragma once
// The registry as the tool's windows use it: helpers by key path on top of the
// shared configuration layer. Paths are relative to HKEY_LOCAL_MACHINE (to
// the registry given). Faults are silent: a key that cannot be opened reads
// as empty and a write into a key that cannot be created is skipped; the
// boolean results only let a caller check when it wants to.
#include <string>
#include <vector>

#include "config/DeviceStore.h"
#include "config/RegistryByPath.h"
#include "config/RegistryLayout.h"
#include "platform/registry.h"

namespace tool {

using QEL::Config::DeviceClass;

// "POSPrinter" or "CashDrawer".
std::u16string DeviceClassName(DeviceClass deviceClass);

// The next free device name from the names already in the class key: the
// base, "_" and one more than the largest decimal suffix among the names that
// contain "<base>_" (letter case included; suffixes that are not numbers are
// skipped), at least two digits. "_01" when no name contains "<base>_".
std::u16string NextDeviceNameFrom(const std::vector<std::u16string>& existing,
                                  const std::u16string& baseName);

class ToolRegistry {
 public:
  // `oposRoot` is the key below which the class keys lie.
  ToolRegistry(platform::Registry& registry, std::u16string oposRoot = QEL::Config::kOposRoot);

  const std::u16string& oposRoot() const { return oposRoot_; }
  std::u16string ClassKeyPath(DeviceClass deviceClass) const;
  std::u16string DeviceKeyPath(DeviceClass deviceClass, const std::u16string& device) const;

  std::vector<std::u16string> ListSubkeys(const std::u16string& path);
  std::vector<std::u16string> ListValueNames(const std::u16string& path);
  std::vector<platform::RegistryValue> ListValues(const std::u16string& path);
  // Empty when the key or the value is missing; an empty name reads the
  // default value.
  std::u16string ReadString(const std::u16string& path, const std::u16string& name);
  bool WriteString(const std::u16string& path, const std::u16string& name, const std::u16string& text);
  bool DeleteSubkey(const std::u16string& parentPath, const std::u16string& name);
  bool DeleteValue(const std::u16string& path, const std::u16string& name);

  // Creates the POSPrinter and CashDrawer class keys when missing.
  bool EnsureClassKeys();
  // True when no value name of the class key is spelt exactly so.
  bool IsLogicalNameFree(const std::u16string& name, DeviceClass deviceClass);
  // The first logical name (registry order) whose data is `device`; empty
  // when none.
  std::u16string LogicalNameOfDevice(const std::u16string& device, DeviceClass deviceClass);
  std::vector<std::u16string> LogicalNamesOfDevice(const std::u16string& device, DeviceClass deviceClass);
  // The next device name for a printer of model `baseName`, or for a drawer
  // on the printer named `baseName` (printer TRAIL-3_01 gives TRAIL-3_01_01).
  std::u16string NextDeviceName(DeviceClass deviceClass, const std::u16string& baseName);

  QEL::Config::DeviceStore& store() { return store_; }
  platform::Registry& registry() { return registry_; }

 private:
  platform::Registry& registry_;
  std::u16string oposRoot_;
  QEL::Config::RegistryByPath paths_;
  QEL::Config::DeviceStore store_;
};

}  // namespace tool
