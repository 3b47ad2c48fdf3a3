#pragma once
// A printer on a serial (COM) line. The line set-up is not part of this build
// yet: Open refuses the port with an error text instead of opening a device
// it could not configure.
#include "so/io/CSystemPort.h"
#include "so/io/SerialPortSettings.h"

namespace QEL {
namespace IO {

class SerialPort : public CSystemPort {
 public:
  explicit SerialPort(const SerialPortSettings& settings);
  ~SerialPort() override;

  int32_t Open() override;
  // The device path is the settings' port name ("\\.\COM1").
  void RefreshDevicePath() override;

 private:
  SerialPortSettings settings_;
};

}  // namespace IO
}  // namespace QEL
