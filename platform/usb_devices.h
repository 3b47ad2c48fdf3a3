#pragma once
// The USB device interfaces attached to this machine that a printer can be
// opened through, as the system lists them.
#include <string>
#include <vector>

namespace platform {

struct UsbDeviceInterface {
  // The device's first hardware identifier in the system's own spelling,
  // e.g. "USB\VID_0FE6&PID_811E&REV_0100"; its case is left as it came.
  std::u16string hardwareId;
  // The name the device is opened with.
  std::u16string devicePath;
};

// In the system's enumeration order; empty when nothing is attached or the
// system cannot list its devices.
std::vector<UsbDeviceInterface> ListUsbDeviceInterfaces();

}  // namespace platform
