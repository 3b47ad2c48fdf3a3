#pragma once
// A USB printer found by its vendor/product identifier among the attached
// devices. Its reads and writes wait only so long (overlapped I/O), since a
// USB printer that stops answering would otherwise hold the caller.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/overlapped_device.h"
#include "platform/usb_devices.h"
#include "so/io/CSystemPort.h"
#include "so/io/USBPortSettings.h"

namespace QEL {
namespace IO {

class USBPort : public CSystemPort {
 public:
  using DeviceLister = std::function<std::vector<platform::UsbDeviceInterface>()>;

  // Keeps `settings` (not a copy): the identifier filter is read from it at
  // every device search, so it must outlive the port. The device is searched
  // for at once, among what `listDevices` reports (the system's devices
  // unless a test hands in its own).
  explicit USBPort(USBPortSettings* settings,
                   DeviceLister listDevices = platform::ListUsbDeviceInterfaces);
  ~USBPort() override;

  // 1 when the device belongs to the family that answers status requests.
  int32_t QueryReadBack() override { return deviceFamily_; }
  int32_t Open() override;
  void Close() override;
  int32_t Write(const uint8_t* data, int32_t offset, int32_t count) override;
  int32_t Read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
               int32_t waitForAll) override;
  int32_t ReadAvailable(uint8_t* buffer, int32_t offset, int32_t count,
                        int32_t* received) override;
  // Searches again; a device plugged in after the port was built is found
  // only this way. A search that finds nothing keeps the last path.
  void RefreshDevicePath() override;

 private:
  USBPortSettings* settings_;
  DeviceLister listDevices_;
  int32_t deviceFamily_ = 0;
  platform::OverlappedDevice device_;
};

}  // namespace IO
}  // namespace QEL
