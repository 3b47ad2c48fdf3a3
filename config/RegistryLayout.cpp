#include "config/RegistryLayout.h"

namespace QEL {
namespace Config {

const char16_t* ClassKeyName(DeviceClass deviceClass) {
  return deviceClass == DeviceClass::kPrinter ? kPrinterClassKey : kDrawerClassKey;
}

std::u16string ClassKeyPath(const std::u16string& oposRoot, DeviceClass deviceClass) {
  return oposRoot + u"\\" + ClassKeyName(deviceClass);
}

std::u16string DeviceKeyPath(const std::u16string& oposRoot, DeviceClass deviceClass,
                             const std::u16string& deviceName) {
  return ClassKeyPath(oposRoot, deviceClass) + u"\\" + deviceName;
}

}  // namespace Config
}  // namespace QEL
