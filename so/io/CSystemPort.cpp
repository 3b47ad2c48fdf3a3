#include "so/io/CSystemPort.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/system_error.h"

namespace QEL {
namespace IO {

// Handles are never opened for overlapped I/O in this build: the overlapped
// flag is recorded (the USB port sets it) but every port runs the plain,
// blocking loops below, which is what non-overlapped handles get anyway.

CSystemPort::CSystemPort(IPortSettings* settings) : settings_(settings) {}

CSystemPort::~CSystemPort() = default;

int32_t CSystemPort::Probe() {
  int32_t opened = Open();
  Close();
  return opened;
}

int32_t CSystemPort::Open() {
  if (open_) Close();
  platform::SetLastSystemError(0);
  if (!OpenDevice(device_)) return 0;
  ready_ = true;
  byteWiseRead_ = false;
  ConfigureAfterOpen();
  open_ = true;
  return 1;
}

void CSystemPort::Close() {
  device_.Close();
  open_ = false;
  // A closed port has nothing to read from; keeping "ready" would let reads
  // go on to a handle that no longer exists.
  ready_ = false;
}

int32_t CSystemPort::Write(const uint8_t* data, int32_t offset, int32_t count) {
  return WriteTo(device_, data, offset, count);
}

int32_t CSystemPort::Read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
                          int32_t waitForAll) {
  return ReadFrom(device_, buffer, offset, count, received, waitForAll);
}

int32_t CSystemPort::ReadAvailable(uint8_t* buffer, int32_t offset, int32_t count,
                                   int32_t* received) {
  return ReadAvailableFrom(device_, buffer, offset, count, received);
}

int32_t CSystemPort::BeginAsyncRead(uint8_t* buffer, int32_t offset, int32_t count) {
  // Completion-routine reads need an overlapped handle, which no port of this
  // build opens; the request is refused like the system refuses it on a
  // plain handle.
  asyncBuffer_ = (buffer != nullptr && offset >= 0) ? buffer + offset : nullptr;
  return 0;
}

void CSystemPort::OnAsyncReadComplete(uint32_t error, uint32_t bytes, void* record) {
  if (readCallbackEnabled_ && readCallback_ != nullptr) readCallback_(this, asyncBuffer_, bytes);
}

int32_t CSystemPort::GetSystemError() { return platform::LastSystemError(); }

int32_t CSystemPort::GetCancel(int32_t* cancel) {
  if (cancel != nullptr) *cancel = cancel_.load();
  return 0;
}

int32_t CSystemPort::SetCancel(int32_t cancel) {
  cancel_.store(cancel);
  return 0;
}

int32_t CSystemPort::LoadCommState() {
  if (!device_.IsOpen()) return 0;
  commState_ = platform::SerialLineState{};
  return platform::LoadSerialLine(device_, &commState_) ? 1 : 0;
}

int32_t CSystemPort::ApplyCommState() {
  if (!device_.IsOpen()) return 0;
  return platform::ApplySerialLine(device_, &commState_) ? 1 : 0;
}

bool CSystemPort::SetDevicePath(const std::u16string& path) {
  if (path.size() > kDevicePathCapacity) return false;
  devicePath_ = path;
  return true;
}

void CSystemPort::SetError(int32_t code, const std::u16string& text) {
  errorCode_ = code;
  SetErrorText(text);
}

void CSystemPort::SetErrorText(const std::u16string& text) {
  errorText_ = text.substr(0, kErrorTextCapacity);
}

std::u16string CSystemPort::TextWithNumber(const char* prefix, long long number) {
  std::string narrow = std::string(prefix) + std::to_string(number);
  return std::u16string(narrow.begin(), narrow.end());
}

bool CSystemPort::OpenDevice(platform::DeviceFile& file) {
  if (devicePath_.empty()) return false;
  return file.OpenExisting(devicePath_);
}

int32_t CSystemPort::WriteTo(platform::DeviceFile& file, const uint8_t* data, int32_t offset,
                             int32_t count) {
  platform::SetLastSystemError(0);
  if (CancelRequested() || count == 0) return 0;
  if (data == nullptr || offset < 0 || count < 0) return 0;
  size_t written = 0;
  bool ok = file.Write(data + offset, static_cast<size_t>(count), &written);
  // Whatever the outcome: what did go out must reach the device now, not when
  // the system gets round to it.
  file.Flush();
  // A short write is a failure: the caller cannot tell which bytes of a
  // printer command went out, so the rest is not sent after them.
  return (ok && written == static_cast<size_t>(count)) ? 1 : 0;
}

bool CSystemPort::ReadChunk(platform::DeviceFile& file, uint8_t* buffer, size_t chunk,
                            size_t* got) {
  *got = 0;
  if (!byteWiseRead_) return file.Read(buffer, chunk, got) && *got > 0;
  // Byte-wise devices (the parallel port) answer one byte per request.
  while (*got < chunk) {
    size_t one = 0;
    if (!file.Read(buffer + *got, 1, &one) || one == 0) break;
    ++*got;
  }
  return *got > 0;
}

int32_t CSystemPort::ReadFrom(platform::DeviceFile& file, uint8_t* buffer, int32_t offset,
                              int32_t count, int32_t* received, int32_t waitForAll) {
  int32_t ignored = 0;
  if (received == nullptr) received = &ignored;
  platform::SetLastSystemError(0);
  *received = 0;
  if (!ready_) return 0;
  if (buffer == nullptr || offset < 0 || count <= 0) return 0;
  bool cancel = CancelRequested();
  uint8_t* at = buffer + offset;
  int32_t remaining = count;
  for (int pass = 1; pass <= kReadPasses && !cancel && remaining > 0; ++pass) {
    size_t chunk = static_cast<size_t>(std::min(remaining, kReadChunk));
    size_t got = 0;
    bool brought = ReadChunk(file, at, chunk, &got);
    // A device that had less than asked for gets a little longer each pass
    // instead of being polled flat out.
    if (got < chunk) platform::SleepMs(static_cast<uint32_t>(2 * pass));
    if (brought) {
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
  // Passes used up (or cancelled) before count bytes came: a failure also in
  // byte-wise mode, where the last single-byte read may well have succeeded.
  return 0;
}

int32_t CSystemPort::ReadAvailableFrom(platform::DeviceFile& file, uint8_t* buffer,
                                       int32_t offset, int32_t count, int32_t* received) {
  int32_t ignored = 0;
  if (received == nullptr) received = &ignored;
  platform::SetLastSystemError(0);
  *received = 0;
  if (!ready_) return 0;
  if (buffer == nullptr || offset < 0 || count <= 0) return 0;
  uint8_t* at = buffer + offset;
  if (!byteWiseRead_) {
    size_t got = 0;
    bool ok = file.Read(at, static_cast<size_t>(count), &got);
    *received = static_cast<int32_t>(got);
    return ok ? 1 : 0;
  }
  size_t total = 0;
  bool lastOk = true;
  while (total < static_cast<size_t>(count)) {
    size_t one = 0;
    lastOk = file.Read(at + total, 1, &one);
    if (!lastOk || one == 0) break;
    ++total;
  }
  *received = static_cast<int32_t>(total);
  return (lastOk || total > 0) ? 1 : 0;
}

}  // namespace IO
}  // namespace QEL
