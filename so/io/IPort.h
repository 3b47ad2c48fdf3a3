#pragma once
// A byte port to the printer: USB, serial, parallel, TCP/IP or a pair of
// files behind one interface. The core never calls a port directly but
// through CPrinterPort, whose lock serialises every call; the ports take no
// locks of their own.
//
// Results are 32-bit values where non-zero means success. A failing call
// leaves its reason behind: GetErrorCode/GetErrorText for what the port
// itself found, GetSystemError for the operating system's last error.
// Counts are bytes; "offset" indexes into the caller's buffer.
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
  // The port's own copy of the settings it was built from (the USB port keeps
  // the caller's object instead, which must then outlive the port).
  virtual IPortSettings* GetSettings() = 0;

  // Opens and closes the port once; the result is Open's. Tells whether the
  // printer can be reached without keeping it.
  virtual int32_t Probe() = 0;

  // Non-zero when the printer's replies can be read through this port; the
  // core then asks the printer for its status instead of assuming it.
  virtual int32_t QueryReadBack() = 0;

  virtual int32_t IsOpen() = 0;

  // Opens the device, closing it first when it is open. On failure the port
  // is left closed and the reason stays readable.
  virtual int32_t Open() = 0;

  // Safe on a closed port.
  virtual void Close() = 0;

  // Writes count bytes from data + offset within the write time-out. Success
  // only when every byte was taken: a short write is a failure, never
  // retried. A count of 0 or a set cancel flag fails without touching the
  // device.
  virtual int32_t Write(const uint8_t* data, int32_t offset, int32_t count) = 0;

  // Waits for up to count bytes and reports them through callback; only the
  // TCP/IP port waits, the others do nothing. StopWaiting ends such a wait.
  virtual void WaitForData(uint8_t* buffer, int32_t count, WaitCallback callback) = 0;
  virtual void StopWaiting() = 0;

  // Reads into buffer + offset and stores the bytes read in *received. With
  // waitForAll, succeeds only once count bytes came (a few bounded passes);
  // without it, succeeds as soon as any byte came. Fails on a port that is
  // not ready. Never writes more than count bytes into the buffer.
  virtual int32_t Read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
                       int32_t waitForAll) = 0;

  // Takes what is there, up to count bytes, with at most one short wait.
  virtual int32_t ReadAvailable(uint8_t* buffer, int32_t offset, int32_t count,
                                int32_t* received) = 0;

  // Gate of the completion of BeginAsyncRead: the callback set with
  // SetReadCallback is called only while enabled.
  virtual int32_t IsReadCallbackEnabled() = 0;
  virtual void EnableReadCallback(int32_t enabled) = 0;

  // Starts a read that completes later on the starting thread; the buffer
  // must stay valid until OnAsyncReadComplete has run.
  virtual int32_t BeginAsyncRead(uint8_t* buffer, int32_t offset, int32_t count) = 0;
  virtual void OnAsyncReadComplete(uint32_t error, uint32_t bytes, void* record) = 0;

  // Keeps the slots in their order; does nothing in every port.
  virtual void ReservedOperation() = 0;

  virtual void SetReadCallback(ReadCallback callback) = 0;

  // The calling thread's last operating-system error code.
  virtual int32_t GetSystemError() = 0;
  // What the port found wrong last (for example "*Connect Fail!" with 2501).
  virtual std::u16string GetErrorText() = 0;
  virtual int32_t GetErrorCode() = 0;

  // The cancel flag another thread may set: read and write loops stop before
  // their next pass. Both return 0.
  virtual int32_t GetCancel(int32_t* cancel) = 0;
  virtual int32_t SetCancel(int32_t cancel) = 0;

  // Recomputes the device path from the settings (the USB port searches for
  // its device again).
  virtual void RefreshDevicePath() = 0;

  // Called by Open once the device exists: line settings of serial and
  // parallel ports.
  virtual void ConfigureAfterOpen() = 0;

  // Read and write the serial line state of an open port; no-ops otherwise.
  virtual int32_t LoadCommState() = 0;
  virtual int32_t ApplyCommState() = 0;

  virtual ~IPort() = default;
};

}  // namespace IO
}  // namespace QEL
