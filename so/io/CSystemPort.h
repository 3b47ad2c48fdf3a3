#pragma once
// A port on a system handle (device or file): the common open, write and read
// loops of the serial, parallel, USB and file ports. The TCP/IP port keeps the
// fields but replaces the I/O.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/device_file.h"
#include "platform/manual_reset_event.h"
#include "platform/serial_line.h"
#include "so/io/IPort.h"

namespace QEL {
namespace IO {

class CSystemPort : public IPort {
 public:
  // Capacities in UTF-16 code units, without a terminator.
  static constexpr size_t kDevicePathCapacity = 2047;
  static constexpr size_t kErrorTextCapacity = 254;
  // Reads go in chunks of this many bytes, at most this many passes.
  static constexpr int32_t kReadChunk = 128;
  static constexpr int kReadPasses = 5;
  // Per-pass waits of overlapped reads.
  static constexpr uint32_t kWaitForAllMs = 2000;
  static constexpr uint32_t kWaitForAnyMs = 200;

  ~CSystemPort() override;

  IPortSettings* GetSettings() override { return settings_; }
  int32_t Probe() override;
  int32_t QueryReadBack() override { return 0; }
  int32_t IsOpen() override { return open_ ? 1 : 0; }
  int32_t Open() override;
  void Close() override;
  int32_t Write(const uint8_t* data, int32_t offset, int32_t count) override;
  void WaitForData(uint8_t* buffer, int32_t count, WaitCallback callback) override {}
  void StopWaiting() override {}
  int32_t Read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
               int32_t waitForAll) override;
  int32_t ReadAvailable(uint8_t* buffer, int32_t offset, int32_t count,
                        int32_t* received) override;
  int32_t IsReadCallbackEnabled() override { return readCallbackEnabled_ ? 1 : 0; }
  void EnableReadCallback(int32_t enabled) override { readCallbackEnabled_ = enabled != 0; }
  int32_t BeginAsyncRead(uint8_t* buffer, int32_t offset, int32_t count) override;
  void OnAsyncReadComplete(uint32_t error, uint32_t bytes, void* record) override;
  void ReservedOperation() override {}
  void SetReadCallback(ReadCallback callback) override { readCallback_ = callback; }
  int32_t GetSystemError() override;
  std::u16string GetErrorText() override { return errorText_; }
  int32_t GetErrorCode() override { return errorCode_; }
  int32_t GetCancel(int32_t* cancel) override;
  int32_t SetCancel(int32_t cancel) override;
  void RefreshDevicePath() override = 0;
  void ConfigureAfterOpen() override {}
  int32_t LoadCommState() override;
  int32_t ApplyCommState() override;

  const std::u16string& GetDevicePath() const { return devicePath_; }
  bool IsOverlapped() const { return overlapped_; }
  bool IsReady() const { return ready_; }
  bool IsByteWiseRead() const { return byteWiseRead_; }
  const platform::SerialLineState& CommState() const { return commState_; }

 protected:
  // `settings` is the port's own settings object (usually a member of the
  // derived class, not yet built when this runs: only its address is kept).
  explicit CSystemPort(IPortSettings* settings);

  // False (path unchanged) when the path does not fit.
  bool SetDevicePath(const std::u16string& path);
  void SetOverlapped(bool on) { overlapped_ = on; }
  void SetOpenFlag(bool on) { open_ = on; }
  void SetReady(bool on) { ready_ = on; }
  void SetByteWiseRead(bool on) { byteWiseRead_ = on; }
  void SetError(int32_t code, const std::u16string& text);
  void SetErrorText(const std::u16string& text);
  bool CancelRequested() const { return cancel_.load() != 0; }
  platform::ManualResetEvent& WriteEvent() { return writeEvent_; }
  platform::SerialLineState& MutableCommState() { return commState_; }
  // The open device, for the set-up calls of the serial and parallel ports.
  platform::DeviceFile& Device() { return device_; }
  platform::ManualResetEvent& ReadEvent() { return readEvent_; }
  // "<prefix><number>" as UTF-16, for the error texts that carry a system code.
  static std::u16string TextWithNumber(const char* prefix, long long number);

  // The algorithms on an explicit device, so that the file port can run them
  // on its output and input files.
  // Opens the device path into `file`; false when the path is empty or the
  // system open fails (the system error says why).
  bool OpenDevice(platform::DeviceFile& file);
  int32_t WriteTo(platform::DeviceFile& file, const uint8_t* data, int32_t offset, int32_t count);
  int32_t ReadFrom(platform::DeviceFile& file, uint8_t* buffer, int32_t offset, int32_t count,
                   int32_t* received, int32_t waitForAll);
  int32_t ReadAvailableFrom(platform::DeviceFile& file, uint8_t* buffer, int32_t offset,
                            int32_t count, int32_t* received);

 private:
  // One pass of Read: at most `chunk` bytes, one call or (byte-wise) one call
  // per byte. True when at least one byte came.
  bool ReadChunk(platform::DeviceFile& file, uint8_t* buffer, size_t chunk, size_t* got);

  bool overlapped_ = false;
  bool open_ = false;
  bool ready_ = false;
  bool byteWiseRead_ = false;
  IPortSettings* settings_;
  std::u16string devicePath_ = u"c:\\temp\\qelopos.txt";
  platform::DeviceFile device_;
  platform::SerialLineState commState_;
  // Set from other threads to stop a read or write loop between passes.
  std::atomic<int32_t> cancel_{0};
  bool readCallbackEnabled_ = false;
  uint8_t* asyncBuffer_ = nullptr;
  ReadCallback readCallback_ = nullptr;
  platform::ManualResetEvent writeEvent_;
  platform::ManualResetEvent readEvent_;
  std::u16string errorText_;
  int32_t errorCode_ = 0;
};

}  // namespace IO
}  // namespace QEL
