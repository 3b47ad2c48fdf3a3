#pragma once
// Settings of a USB printer. The port finds the device itself from the
// device-identifier filter, so the PortSettings text is ignored.
#include <string>

#include "so/io/CPortSettingsBase.h"

namespace QEL {
namespace IO {

class USBPortSettings : public CPortSettingsBase {
 public:
  static constexpr size_t kFieldCapacity = 254;

  USBPortSettings();

  std::u16string ToString() override { return u"Auto"; }
  void Parse(const std::u16string& text) override {}

  // "VID_xxxx&PID_xxxx" searched for in the devices' hardware identifiers.
  const std::u16string& GetDeviceIdFilter() const { return deviceIdFilter_; }
  void SetDeviceIdFilter(const std::u16string& filter);
  const std::u16string& GetInterfaceClass() const { return interfaceClass_; }
  const std::u16string& GetModelName() const { return modelName_; }

 private:
  std::u16string deviceIdFilter_ = u"VID_08BD&PID_020B";
  std::u16string interfaceClass_ = u"USBPRINT";
  std::u16string modelName_ = u"FX-330";
};

}  // namespace IO
}  // namespace QEL
