#include "so/io/SerialPort.h"

namespace QEL {
namespace IO {

SerialPort::SerialPort(const SerialPortSettings& settings) : CSystemPort(&settings_), settings_(settings) {
  RefreshDevicePath();
}

SerialPort::~SerialPort() { Close(); }

int32_t SerialPort::Open() {
  if (IsOpen()) Close();
  SetErrorText(u"Serial port not available in this build");
  return 0;
}

void SerialPort::RefreshDevicePath() { SetDevicePath(settings_.GetPortName()); }

}  // namespace IO
}  // namespace QEL
