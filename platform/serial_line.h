#pragma once
// Line set-up of a serial device (and the time-out requests the parallel
// driver shares with it). The values are those of a Windows DCB and
// COMMTIMEOUTS; the POSIX side maps them onto termios as far as termios goes.
#include <cstdint>

#include "platform/device_file.h"

namespace platform {

// The DCB fields the serial port decides; everything else stays as the device
// reported it.
struct SerialLineState {
  uint32_t baudRate = 0;
  bool binary = false;
  bool parityCheck = false;
  bool ctsOutFlow = false;
  bool dsrOutFlow = false;
  uint8_t dtrControl = 0;  // 0: disable
  uint8_t rtsControl = 0;  // 0: disable
  bool xonXoffOut = false;
  bool xonXoffIn = false;
  uint8_t byteSize = 8;
  uint8_t parity = 0;    // 0: none
  uint8_t stopBits = 0;  // 0: one stop bit
};

// Milliseconds, as COMMTIMEOUTS has them.
struct PortTimeouts {
  uint32_t readInterval = 0;
  uint32_t readTotalMultiplier = 0;
  uint32_t readTotalConstant = 0;
  uint32_t writeTotalMultiplier = 0;
  uint32_t writeTotalConstant = 0;
};

// False (system error set) when the device is no serial line.
bool LoadSerialLine(DeviceFile& device, SerialLineState* state);
// Writes the state and, when that succeeded, reads back what the device took.
bool ApplySerialLine(DeviceFile& device, SerialLineState* state);
// Driver queue sizes, then both directions purged with pending I/O aborted.
bool SetupSerialQueues(DeviceFile& device, uint32_t inBytes, uint32_t outBytes);
bool GetSerialTimeouts(DeviceFile& device, PortTimeouts* timeouts);
// On POSIX only the read side has a counterpart (VMIN/VTIME, in tenths of a
// second); writes on a line without flow control never wait for a peer.
bool SetSerialTimeouts(DeviceFile& device, const PortTimeouts& timeouts);

// Parallel status bits as the Windows parallel driver reports them.
constexpr uint8_t kParallelPaperEmpty = 0x04;
// The time-out requests of a parallel device; false where the driver has none.
bool SetParallelTimeouts(DeviceFile& device, const PortTimeouts& timeouts);
// One status byte in the bits above; false when the device cannot tell.
bool QueryParallelStatus(DeviceFile& device, uint8_t* status);

}  // namespace platform
