#pragma once
// A byte port to the printer. Results are 32-bit values where non-zero means
// success; the port keeps the code and text of its last failure.
#include <cstdint>
#include <string>

#include "so/io/IPortSettings.h"

namespace QEL {
namespace IO {

class IPort;

// Completion of an asynchronous read: the port, the buffer and the byte count.
using ReadCallback = void (*)(IPort* port, uint8_t* buffer, uint32_t bytes);
// Completion of WaitForData: error code, bytes received, the read record.
using WaitCallback = void (*)(uint32_t error, uint32_t bytes, void* record);

class IPort {
 public:
  virtual IPortSettings* GetSettings() = 0;
  virtual int32_t Probe() = 0;
  virtual int32_t QueryReadBack() = 0;
  virtual int32_t IsOpen() = 0;
  virtual int32_t Open() = 0;
  virtual void Close() = 0;
  virtual int32_t Write(const uint8_t* data, int32_t offset, int32_t count) = 0;
  virtual void WaitForData(uint8_t* buffer, int32_t count, WaitCallback callback) = 0;
  virtual void StopWaiting() = 0;
  virtual int32_t Read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
                       int32_t waitForAll) = 0;
  virtual int32_t ReadAvailable(uint8_t* buffer, int32_t offset, int32_t count,
                                int32_t* received) = 0;
  virtual int32_t IsReadCallbackEnabled() = 0;
  virtual void EnableReadCallback(int32_t enabled) = 0;
  virtual int32_t BeginAsyncRead(uint8_t* buffer, int32_t offset, int32_t count) = 0;
  virtual void OnAsyncReadComplete(uint32_t error, uint32_t bytes, void* record) = 0;
  virtual void ReservedOperation() = 0;
  virtual void SetReadCallback(ReadCallback callback) = 0;
  virtual int32_t GetSystemError() = 0;
  virtual std::u16string GetErrorText() = 0;
  virtual int32_t GetErrorCode() = 0;
  virtual int32_t GetCancel(int32_t* cancel) = 0;
  virtual int32_t SetCancel(int32_t cancel) = 0;
  virtual void RefreshDevicePath() = 0;
  virtual void ConfigureAfterOpen() = 0;
  virtual int32_t LoadCommState() = 0;
  virtual int32_t ApplyCommState() = 0;
  virtual ~IPort() = default;
};

}  // namespace IO
}  // namespace QEL
