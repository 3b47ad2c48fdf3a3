#pragma once
// USB printers in a tree shaped like Linux sysfs. A device directory
// <devices>/<dev> holds idVendor, idProduct and (optionally) bcdDevice; its
// printer interface <devices>/<dev>:<config>.<interface> holds the usblp
// class directory usbmisc/lpN (usb/lpN on older kernels), whose node is
// <dev>/usb/lpN. Kept apart from the system's real paths so that a test can
// build such a tree in a temporary folder.
#include <filesystem>
#include <vector>

#include "platform/usb_devices.h"

namespace platform {

// Interfaces in name order. A device whose identifiers cannot be read, or
// whose usblp node does not exist, is left out; nothing here throws.
std::vector<UsbDeviceInterface> ListUsbPrintersInSysfs(const std::filesystem::path& devicesDir,
                                                       const std::filesystem::path& devDir);

}  // namespace platform
