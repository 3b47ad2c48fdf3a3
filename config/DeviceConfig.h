#pragma once
// The values of a device key as the service object reads them, one text per
// value (at most 255 characters each).
#include <cstdint>
#include <string>

namespace QEL {
namespace Config {

struct PrinterConfig {
  std::u16string portType;
  std::u16string driverModel;
  std::u16string driverName;
  std::u16string portSettings;
  std::u16string outputBufSize;
  std::u16string bitMapMode;
  std::u16string writeTimeout;
  std::u16string readTimeout;
  std::u16string codepageId;
  std::u16string deviceDescription;
  std::u16string notes;
};

struct DrawerConfig {
  std::u16string openVoltage;
  std::u16string capDrawStatus;
  std::u16string drawerPin;
  std::u16string printerName;  // the printer device key the drawer works through
  std::u16string signalOffTime;
  std::u16string signalOnTime;
  std::u16string waitForDrawerCloseTimeOut;
};

// A drawer's values as numbers, in the order the printer core takes them.
struct DrawerNumbers {
  int32_t pinMask;
  int32_t openVoltage;
  int32_t capDrawStatus;
  int32_t onTime;
  int32_t offTime;
  int32_t closeWaitMs;
};

DrawerNumbers ToNumbers(const DrawerConfig& drawer);

}  // namespace Config
}  // namespace QEL
