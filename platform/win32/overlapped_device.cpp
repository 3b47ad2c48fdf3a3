// Win32 side of OverlappedDevice: a handle opened with FILE_FLAG_OVERLAPPED;
// each read or write is started, waited for (alertably) up to its time-out,
// and cancelled when it has not completed by then.
#include "platform/overlapped_device.h"

#include <windows.h>

namespace platform {

namespace {

constexpr intptr_t kInvalid = -1;

HANDLE H(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

DWORD Cap(size_t n) { return n > 0x7FFFFFFFu ? 0x7FFFFFFFu : static_cast<DWORD>(n); }

// Runs one started transfer to its end: waits up to timeoutMs, then takes the
// count without waiting; an unfinished transfer is cancelled and its record
// waited for, because the record lives on the caller's stack.
bool Finish(HANDLE handle, HANDLE event, OVERLAPPED* record, BOOL started, uint32_t timeoutMs,
            DWORD* done) {
  if (!started) {
    if (::GetLastError() != ERROR_IO_PENDING) return false;
    ::WaitForSingleObjectEx(event, timeoutMs, TRUE);
  }
  ::ResetEvent(event);
  if (::GetOverlappedResult(handle, record, done, FALSE)) return true;
  DWORD error = ::GetLastError();
  if (error != ERROR_IO_INCOMPLETE) return false;
  ::CancelIo(handle);
  // The cancelled transfer may still have moved some bytes before it ended.
  ::GetOverlappedResult(handle, record, done, TRUE);
  ::ResetEvent(event);
  ::SetLastError(ERROR_TIMEOUT);
  return false;
}

}  // namespace

OverlappedDevice::OverlappedDevice() : handle_(kInvalid), event_(kInvalid) {}

OverlappedDevice::~OverlappedDevice() { Close(); }

bool OverlappedDevice::OpenExisting(const std::u16string& path) {
  Close();
  if (path.empty() || path.find(u'\0') != std::u16string::npos) {
    ::SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  std::wstring name(path.begin(), path.end());
  HANDLE h = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (event == nullptr) {
    DWORD error = ::GetLastError();
    ::CloseHandle(h);
    ::SetLastError(error);
    return false;
  }
  handle_ = reinterpret_cast<intptr_t>(h);
  event_ = reinterpret_cast<intptr_t>(event);
  return true;
}

bool OverlappedDevice::IsOpen() const { return handle_ != kInvalid; }

bool OverlappedDevice::Write(const uint8_t* data, size_t n, uint32_t timeoutMs, size_t* written) {
  if (written) *written = 0;
  if (!IsOpen()) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  OVERLAPPED record{};
  record.hEvent = H(event_);
  ::ResetEvent(record.hEvent);
  DWORD done = 0;
  BOOL started = ::WriteFile(H(handle_), data, Cap(n), nullptr, &record);
  bool ok = Finish(H(handle_), record.hEvent, &record, started, timeoutMs, &done);
  if (written) *written = done;
  // A time-out is no system failure: the short count tells the caller.
  return ok || ::GetLastError() == ERROR_TIMEOUT;
}

bool OverlappedDevice::Read(uint8_t* buffer, size_t n, uint32_t timeoutMs, size_t* received) {
  if (received) *received = 0;
  if (!IsOpen()) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  if (n == 0) return false;
  OVERLAPPED record{};
  record.hEvent = H(event_);
  ::ResetEvent(record.hEvent);
  DWORD done = 0;
  BOOL started = ::ReadFile(H(handle_), buffer, Cap(n), nullptr, &record);
  bool ok = Finish(H(handle_), record.hEvent, &record, started, timeoutMs, &done);
  if (received) *received = done;
  return ok && done > 0;
}

void OverlappedDevice::Close() {
  if (!IsOpen()) return;
  DWORD saved = ::GetLastError();
  ::CloseHandle(H(handle_));
  ::CloseHandle(H(event_));
  handle_ = kInvalid;
  event_ = kInvalid;
  ::SetLastError(saved);
}

}  // namespace platform
