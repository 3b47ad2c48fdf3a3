#include "config/DeviceStore.h"

#include <memory>
#include <utility>

namespace QEL {
namespace Config {

namespace {

struct NamedText {
  const char16_t* name;
  const std::u16string* text;
};

// Writes in the given order; every write is tried, as the tool does.
bool WriteAll(platform::RegistryKey* key, const NamedText* values, size_t count) {
  bool ok = key != nullptr;
  for (size_t i = 0; key != nullptr && i < count; ++i) {
    ok = key->WriteString(values[i].name, *values[i].text) && ok;
  }
  return ok;
}

}  // namespace

DeviceStore::DeviceStore(platform::Registry& registry, std::u16string oposRoot)
    : registry_(registry), paths_(registry), oposRoot_(std::move(oposRoot)) {}

bool DeviceStore::EnsureClassKeys() {
  bool printers = paths_.CreateKey(ClassKeyPath(oposRoot_, DeviceClass::kPrinter));
  bool drawers = paths_.CreateKey(ClassKeyPath(oposRoot_, DeviceClass::kDrawer));
  return printers && drawers;
}

std::vector<std::u16string> DeviceStore::Devices(DeviceClass deviceClass) {
  return paths_.SubkeyNames(ClassKeyPath(oposRoot_, deviceClass));
}

std::vector<std::u16string> DeviceStore::LogicalNames(DeviceClass deviceClass,
                                                      const std::u16string& device) {
  std::vector<std::u16string> names;
  for (const platform::RegistryValue& value : paths_.Values(ClassKeyPath(oposRoot_, deviceClass))) {
    if (value.isString && value.text == device) names.push_back(value.name);
  }
  return names;
}

std::u16string DeviceStore::LogicalNameOf(DeviceClass deviceClass, const std::u16string& device) {
  std::vector<std::u16string> names = LogicalNames(deviceClass, device);
  return names.empty() ? std::u16string() : names.front();
}

bool DeviceStore::IsLogicalNameFree(DeviceClass deviceClass, const std::u16string& name) {
  for (const std::u16string& taken : paths_.ValueNames(ClassKeyPath(oposRoot_, deviceClass))) {
    if (taken == name) return false;
  }
  return true;
}

bool DeviceStore::SavePrinter(const PrinterKeyValues& printer, const std::u16string& logicalName) {
  std::unique_ptr<platform::RegistryKey> key =
      registry_.Create(DeviceKeyPath(oposRoot_, DeviceClass::kPrinter, printer.deviceName));
  bool ok = true;
  if (!printer.progId.empty()) {
    const NamedText identity[] = {{kProgIdValue, &printer.progId},
                                  {kDeviceDescription, &printer.deviceDescription}};
    ok = WriteAll(key.get(), identity, 2) && ok;
  }
  const NamedText values[] = {
      {kDriverModel, &printer.driverModel},     {kDriverName, &printer.deviceName},
      {kBitMapMode, &printer.bitMapMode},       {kPortType, &printer.portType},
      {kReadTimeout, &printer.readTimeout},     {kWriteTimeout, &printer.writeTimeout},
      {kInputBufSize, &printer.inputBufSize},   {kOutputBufSize, &printer.outputBufSize},
      {kNotes, &printer.notes},
  };
  ok = WriteAll(key.get(), values, sizeof values / sizeof values[0]) && ok;
  if (!logicalName.empty()) {
    ok = paths_.WriteString(ClassKeyPath(oposRoot_, DeviceClass::kPrinter), logicalName,
                            printer.deviceName) &&
         ok;
  }
  const NamedText port[] = {{kPortSettings, &printer.portSettings}, {kCodepageID, &printer.codepageId}};
  return WriteAll(key.get(), port, 2) && ok;
}

bool DeviceStore::SaveDrawer(const DrawerKeyValues& drawer, const std::u16string& logicalName) {
  std::unique_ptr<platform::RegistryKey> key =
      registry_.Create(DeviceKeyPath(oposRoot_, DeviceClass::kDrawer, drawer.deviceName));
  bool ok = true;
  if (!drawer.progId.empty()) {
    const NamedText identity[] = {{kProgIdValue, &drawer.progId}};
    ok = WriteAll(key.get(), identity, 1) && ok;
  }
  const NamedText values[] = {
      {kPrinterName, &drawer.printerName},
      {kCapDrawStatus, &drawer.capDrawStatus},
      {kCashDrawerName, &drawer.deviceName},
      {kDrawerPin, &drawer.drawerPin},
      {kOpenVoltage, &drawer.openVoltage},
      {kSignalOnTime, &drawer.signalOnTime},
      {kSignalOffTime, &drawer.signalOffTime},
      {kWaitForDrawerCloseTimeOut, &drawer.waitForDrawerCloseTimeOut},
  };
  ok = WriteAll(key.get(), values, sizeof values / sizeof values[0]) && ok;
  if (!logicalName.empty()) {
    ok = paths_.WriteString(ClassKeyPath(oposRoot_, DeviceClass::kDrawer), logicalName,
                            drawer.deviceName) &&
         ok;
  }
  return ok;
}

bool DeviceStore::DeleteDevice(DeviceClass deviceClass, const std::u16string& device) {
  if (device.empty()) return false;  // would name the class key itself
  const std::u16string classKey = ClassKeyPath(oposRoot_, deviceClass);
  bool ok = paths_.DeleteSubkey(classKey, device);
  for (const std::u16string& name : LogicalNames(deviceClass, device)) {
    ok = paths_.DeleteValue(classKey, name) && ok;
  }
  return ok;
}

bool DeviceStore::DeleteLogicalName(DeviceClass deviceClass, const std::u16string& name) {
  return paths_.DeleteValue(ClassKeyPath(oposRoot_, deviceClass), name);
}

}  // namespace Config
}  // namespace QEL
