#include "so/io/USBPort.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/system_error.h"
#include "so/io/UsbDeviceSearch.h"

namespace QEL {
namespace IO {

USBPort::USBPort(USBPortSettings* settings, DeviceLister listDevices)
    : CSystemPort(settings), settings_(settings), listDevices_(std::move(listDevices)) {
  SetOverlapped(true);
  SetDevicePath(std::u16string());
  RefreshDevicePath();
}

USBPort::~USBPort() { Close(); }

void USBPort::RefreshDevicePath() {
  platform::SetLastSystemError(0);
  deviceFamily_ = 0;
  if (!listDevices_) return;
  std::optional<UsbDeviceMatch> match = FindUsbPrinter(listDevices_(), settings_->GetDeviceIdFilter());
  if (!match) return;
  if (SetDevicePath(match->devicePath)) deviceFamily_ = match->readsBack ? 1 : 0;
}

int32_t USBPort::Open() {
  if (IsOpen()) Close();
  platform::SetLastSystemError(0);
  // No device found (yet): nothing to open, and no error text either.
  if (GetDevicePath().empty()) return 0;
  if (!device_.OpenExisting(GetDevicePath())) return 0;
  SetReady(true);
  SetByteWiseRead(false);
  ConfigureAfterOpen();
  SetOpenFlag(true);
  return 1;
}

void USBPort::Close() {
  device_.Close();
  CSystemPort::Close();
}

int32_t USBPort::Write(const uint8_t* data, int32_t offset, int32_t count) {
  int32_t timeout = settings_->GetWriteTimeout();
  platform::SetLastSystemError(0);
  if (CancelRequested() || count == 0) return 0;
  if (data == nullptr || offset < 0 || count < 0) return 0;
  size_t written = 0;
  bool ok = device_.Write(data + offset, static_cast<size_t>(count),
                          static_cast<uint32_t>(std::max(timeout, 0)), &written);
  // A short write is a failure: the rest of a printer command must not
  // follow bytes that never went out.
  return (ok && written == static_cast<size_t>(count)) ? 1 : 0;
}

int32_t USBPort::Read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
                      int32_t waitForAll) {
  int32_t ignored = 0;
  if (received == nullptr) received = &ignored;
  uint32_t wait = waitForAll ? kWaitForAllMs : kWaitForAnyMs;
  platform::SetLastSystemError(0);
  *received = 0;
  if (!IsReady()) return 0;
  if (buffer == nullptr || offset < 0 || count <= 0) return 0;
  bool cancel = CancelRequested();
  uint8_t* at = buffer + offset;
  int32_t remaining = count;
  for (int pass = 1; pass <= kReadPasses && !cancel && remaining > 0; ++pass) {
    size_t chunk = static_cast<size_t>(std::min(remaining, kReadChunk));
    size_t got = 0;
    // The wait is the device's own: no pause of ours is needed between passes
    // that brought something.
    if (device_.Read(at, chunk, wait, &got)) {
      *received += static_cast<int32_t>(got);
      at += got;
      remaining -= static_cast<int32_t>(got);
      if (!waitForAll || remaining == 0) return 1;
    } else {
      if (!waitForAll) return 0;
      platform::SleepMs(5);
    }
    cancel = CancelRequested();
  }
  return 0;
}

int32_t USBPort::ReadAvailable(uint8_t* buffer, int32_t offset, int32_t count,
                               int32_t* received) {
  int32_t ignored = 0;
  if (received == nullptr) received = &ignored;
  *received = 0;
  if (!IsReady()) return 0;
  if (buffer == nullptr || offset < 0 || count <= 0) return 0;
  size_t got = 0;
  bool ok = device_.Read(buffer + offset, static_cast<size_t>(count), kWaitForAnyMs, &got);
  *received = static_cast<int32_t>(got);
  return ok ? 1 : 0;
}

}  // namespace IO
}  // namespace QEL
