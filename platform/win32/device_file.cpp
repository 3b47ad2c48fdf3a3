// Win32 side of DeviceFile: CreateFileW with no sharing and OPEN_EXISTING.
#include "platform/device_file.h"

#include <windows.h>

namespace platform {

namespace {

constexpr intptr_t kInvalid = -1;

HANDLE H(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// One ReadFile/WriteFile moves at most a DWORD's worth; our callers never
// ask for more than a few kilobytes, so a larger request is simply cut.
DWORD Cap(size_t n) { return n > 0x7FFFFFFFu ? 0x7FFFFFFFu : static_cast<DWORD>(n); }

}  // namespace

DeviceFile::DeviceFile() : handle_(kInvalid) {}

DeviceFile::~DeviceFile() { Close(); }

bool DeviceFile::OpenExisting(const std::u16string& path) {
  Close();
  if (path.empty() || path.find(u'\0') != std::u16string::npos) {
    ::SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  std::wstring name(path.begin(), path.end());
  HANDLE h = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(h);
  return true;
}

bool DeviceFile::IsOpen() const { return handle_ != kInvalid; }

bool DeviceFile::Write(const uint8_t* data, size_t n, size_t* written) {
  if (written) *written = 0;
  if (!IsOpen()) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  DWORD done = 0;
  BOOL ok = ::WriteFile(H(handle_), data, Cap(n), &done, nullptr);
  if (written) *written = done;
  return ok != FALSE;
}

bool DeviceFile::Read(uint8_t* buffer, size_t n, size_t* received) {
  if (received) *received = 0;
  if (!IsOpen()) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  DWORD done = 0;
  BOOL ok = ::ReadFile(H(handle_), buffer, Cap(n), &done, nullptr);
  if (received) *received = done;
  return ok != FALSE;
}

void DeviceFile::Flush() {
  if (!IsOpen()) return;
  DWORD saved = ::GetLastError();
  ::FlushFileBuffers(H(handle_));
  ::SetLastError(saved);
}

void DeviceFile::Close() {
  if (!IsOpen()) return;
  DWORD saved = ::GetLastError();
  ::CloseHandle(H(handle_));
  handle_ = kInvalid;
  ::SetLastError(saved);
}

}  // namespace platform
