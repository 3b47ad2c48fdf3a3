#include "config/DeviceConfig.h"

#include "config/DecimalNumber.h"

namespace QEL {
namespace Config {

DrawerNumbers ToNumbers(const DrawerConfig& drawer) {
  return DrawerNumbers{DecimalNumber(drawer.drawerPin),    DecimalNumber(drawer.openVoltage),
                       DecimalNumber(drawer.capDrawStatus), DecimalNumber(drawer.signalOnTime),
                       DecimalNumber(drawer.signalOffTime),
                       DecimalNumber(drawer.waitForDrawerCloseTimeOut)};
}

}  // namespace Config
}  // namespace QEL
