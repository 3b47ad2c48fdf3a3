#include "so/io/USBPortSettings.h"

namespace QEL {
namespace IO {

USBPortSettings::USBPortSettings() : CPortSettingsBase(u"USB", u"Auto") {}

void USBPortSettings::SetDeviceIdFilter(const std::u16string& filter) {
  CheckFits("USB device-identifier filter", filter, kFieldCapacity);
  deviceIdFilter_ = filter;
}

}  // namespace IO
}  // namespace QEL
