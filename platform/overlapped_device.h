#pragma once
// An existing device opened for exclusive read/write access whose every read
// and write waits only so long: a USB printer that stops answering must not
// hold the caller. Windows runs it as overlapped I/O, POSIX as non-blocking
// I/O with poll.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class OverlappedDevice {
 public:
  OverlappedDevice();
  ~OverlappedDevice();
  OverlappedDevice(const OverlappedDevice&) = delete;
  OverlappedDevice& operator=(const OverlappedDevice&) = delete;

  // Read and write access, no sharing, existing object only; whatever was
  // open before is closed first. On failure the system error says why.
  bool OpenExisting(const std::u16string& path);
  bool IsOpen() const;
  // Sends n bytes, waiting at most timeoutMs for the device to take them;
  // what is still pending then is cancelled. True when the system reported no
  // error; written tells how many bytes went (fewer than n after a time-out).
  bool Write(const uint8_t* data, size_t n, uint32_t timeoutMs, size_t* written);
  // Waits at most timeoutMs for the device to have something, then takes up
  // to n bytes. True when at least one byte came; a wait that ends empty
  // leaves no read pending.
  bool Read(uint8_t* buffer, size_t n, uint32_t timeoutMs, size_t* received);
  void Close();

 private:
  intptr_t handle_;
  // The manual-reset event of the overlapped records (Windows only).
  intptr_t event_;
};

}  // namespace platform
