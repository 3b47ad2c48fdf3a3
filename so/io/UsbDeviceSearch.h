#pragma once
// Which USB device a printer model is: the model's vendor/product identifier
// and the choice among the attached devices.
#include <optional>
#include <string>
#include <vector>

#include "platform/usb_devices.h"

namespace QEL {
namespace IO {

// Identifiers taken when no device carries the model's own identifier.
// Devices of the first family answer status requests on their USB pipe.
constexpr const char16_t* kReadBackFamilyId = u"VID_0FE6&PID_811E";
constexpr const char16_t* kSecondFallbackId = u"VID_2AAF";

// "VID_xxxx&PID_xxxx" for a model name (exact, case-sensitive);
// "VID_08BD&PID_020B" for any model not in the table.
std::u16string DeviceIdFilterForModel(const std::u16string& modelName);

struct UsbDeviceMatch {
  std::u16string devicePath;
  // Found through kReadBackFamilyId.
  bool readsBack = false;
};

// The device to open, or none. Hardware identifiers are compared upper-cased
// and only need to contain the identifier. Every device is tried for `filter`
// before any is taken for a fallback, so that with two printers attached the
// configured one wins over one that merely comes first.
std::optional<UsbDeviceMatch> FindUsbPrinter(const std::vector<platform::UsbDeviceInterface>& devices,
                                             const std::u16string& filter);

}  // namespace IO
}  // namespace QEL
