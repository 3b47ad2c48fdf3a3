#include "tool/core/ToolRegistry.h"

#include <utility>

namespace tool {

namespace {

// The decimal number `text` is, or -1 when it is not one (empty, a sign,
// another character, or too long to be a serial number).
long long SerialNumber(const std::u16string& text) {
  if (text.empty() || text.size() > 9) return -1;
  long long value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return -1;
    value = value * 10 + (c - u'0');
  }
  return value;
}

std::u16string TwoDigits(long long value) {
  std::u16string text;
  do {
    text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  if (text.size() == 1) text.insert(text.begin(), u'0');
  return text;
}

}  // namespace

std::u16string DeviceClassName(DeviceClass deviceClass) { return QEL::Config::ClassKeyName(deviceClass); }

std::u16string NextDeviceNameFrom(const std::vector<std::u16string>& existing,
                                  const std::u16string& baseName) {
  const std::u16string stem = baseName + u"_";
  bool any = false;
  long long largest = 0;
  for (const std::u16string& name : existing) {
    if (name.find(stem) == std::u16string::npos) continue;
    any = true;
    const long long serial = SerialNumber(name.substr(name.rfind(u'_') + 1));
    if (serial > largest) largest = serial;
  }
  return stem + TwoDigits(any ? largest + 1 : 1);
}

ToolRegistry::ToolRegistry(platform::Registry& registry, std::u16string oposRoot)
    : registry_(registry), oposRoot_(std::move(oposRoot)), paths_(registry), store_(registry, oposRoot_) {}

std::u16string ToolRegistry::ClassKeyPath(DeviceClass deviceClass) const {
  return QEL::Config::ClassKeyPath(oposRoot_, deviceClass);
}

std::u16string ToolRegistry::DeviceKeyPath(DeviceClass deviceClass, const std::u16string& device) const {
  return QEL::Config::DeviceKeyPath(oposRoot_, deviceClass, device);
}

std::vector<std::u16string> ToolRegistry::ListSubkeys(const std::u16string& path) {
  return paths_.SubkeyNames(path);
}

std::vector<std::u16string> ToolRegistry::ListValueNames(const std::u16string& path) {
  return paths_.ValueNames(path);
}

std::vector<platform::RegistryValue> ToolRegistry::ListValues(const std::u16string& path) {
  return paths_.Values(path);
}

std::u16string ToolRegistry::ReadString(const std::u16string& path, const std::u16string& name) {
  return paths_.ReadString(path, name);
}

bool ToolRegistry::WriteString(const std::u16string& path, const std::u16string& name,
                               const std::u16string& text) {
  return paths_.WriteString(path, name, text);
}

bool ToolRegistry::DeleteSubkey(const std::u16string& parentPath, const std::u16string& name) {
  return paths_.DeleteSubkey(parentPath, name);
}

bool ToolRegistry::DeleteValue(const std::u16string& path, const std::u16string& name) {
  return paths_.DeleteValue(path, name);
}

bool ToolRegistry::EnsureClassKeys() { return store_.EnsureClassKeys(); }

bool ToolRegistry::IsLogicalNameFree(const std::u16string& name, DeviceClass deviceClass) {
  return store_.IsLogicalNameFree(deviceClass, name);
}

std::u16string ToolRegistry::LogicalNameOfDevice(const std::u16string& device, DeviceClass deviceClass) {
  return store_.LogicalNameOf(deviceClass, device);
}

std::vector<std::u16string> ToolRegistry::LogicalNamesOfDevice(const std::u16string& device,
                                                               DeviceClass deviceClass) {
  return store_.LogicalNames(deviceClass, device);
}

std::u16string ToolRegistry::NextDeviceName(DeviceClass deviceClass, const std::u16string& baseName) {
  return NextDeviceNameFrom(ListSubkeys(ClassKeyPath(deviceClass)), baseName);
}

}  // namespace tool
