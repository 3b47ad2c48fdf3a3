// Linux side of the USB device list: the printers the usblp driver bound.
#include "platform/usb_devices.h"

#include "platform/usb_sysfs.h"

namespace platform {

std::vector<UsbDeviceInterface> ListUsbDeviceInterfaces() {
  return ListUsbPrintersInSysfs("/sys/bus/usb/devices", "/dev");
}

}  // namespace platform
