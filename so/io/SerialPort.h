#pragma once
// A printer on a serial (COM) line: 8 data bits, no parity, one stop bit, no
// flow control, binary, at the baud rate of the settings.
#include "so/io/CSystemPort.h"
#include "so/io/SerialPortSettings.h"

namespace QEL {
namespace IO {

class SerialPort : public CSystemPort {
 public:
  static constexpr uint32_t kQueueBytes = 1024;

  explicit SerialPort(const SerialPortSettings& settings);
  ~SerialPort() override;

  // The device path is what the system opens for the settings' port name
  // ("\\.\COM1"; on POSIX see platform/device_names.h).
  void RefreshDevicePath() override;
  // Never fails the open: a line that refuses a setting keeps its own.
  void ConfigureAfterOpen() override;

  // The time-outs last asked of the line.
  const platform::PortTimeouts& RequestedTimeouts() const { return requested_; }

 private:
  SerialPortSettings settings_;
  platform::PortTimeouts requested_;
};

}  // namespace IO
}  // namespace QEL
