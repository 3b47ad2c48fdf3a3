#pragma once
// An existing file or device opened for exclusive read/write access: the file
// port and the serial/parallel ports sit on it. It never creates a file.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class DeviceFile {
 public:
  DeviceFile();
  ~DeviceFile();
  DeviceFile(const DeviceFile&) = delete;
  DeviceFile& operator=(const DeviceFile&) = delete;

  // Read and write access, no sharing with other openers, existing object only.
  // A second opener of the same object (also within this process) is refused
  // while this one holds it. Any object held before is closed first. On failure
  // the system error (platform/system_error.h) tells why.
  bool OpenExisting(const std::u16string& path);
  bool IsOpen() const;
  // One system write; true only when the call succeeded (written says how much).
  bool Write(const uint8_t* data, size_t n, size_t* written);
  // One system read; reaching the end of a file is success with 0 bytes.
  bool Read(uint8_t* buffer, size_t n, size_t* received);
  // Pushes written data through to the device; failures (e.g. on objects that
  // have no buffers to flush) are ignored and leave the system error as it was.
  void Flush();
  void Close();
  // The system handle (file descriptor on POSIX, HANDLE on Windows), -1 when
  // closed; for the device set-up calls of the serial and parallel ports.
  intptr_t NativeHandle() const { return handle_; }

 private:
  intptr_t handle_;
};

}  // namespace platform
