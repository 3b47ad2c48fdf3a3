#include "so/io/SerialPort.h"

#include <cstdio>

#include "platform/device_names.h"
#include "platform/system_error.h"
#include "so/io/SerialTimeouts.h"

namespace QEL {
namespace IO {

SerialPort::SerialPort(const SerialPortSettings& settings) : CSystemPort(&settings_), settings_(settings) {
  RefreshDevicePath();
}

SerialPort::~SerialPort() { Close(); }

void SerialPort::RefreshDevicePath() { SetDevicePath(platform::SystemDevicePath(settings_.GetPortName())); }

void SerialPort::ConfigureAfterOpen() {
  LoadCommState();
  platform::SerialLineState& line = MutableCommState();
  line.baudRate = settings_.GetBaudRate();
  line.binary = true;
  line.parityCheck = false;
  line.ctsOutFlow = false;
  line.dsrOutFlow = false;
  line.dtrControl = 0;
  line.rtsControl = 0;
  line.xonXoffOut = false;
  line.xonXoffIn = false;
  line.byteSize = 8;
  line.parity = 0;
  line.stopBits = 0;
  ApplyCommState();

  platform::SetupSerialQueues(Device(), kQueueBytes, kQueueBytes);

  platform::PortTimeouts current;
  if (!platform::GetSerialTimeouts(Device(), &current)) {
    int error = platform::LastSystemError();
    char text[160];
    std::snprintf(text, sizeof text,
                  "SerialPort::SetupTimeouts - Unable to obtain timeout information. ErrorCode:%d(%2X)",
                  error, static_cast<unsigned>(error));
    std::string narrow(text);
    SetError(error, std::u16string(narrow.begin(), narrow.end()));
  }
  requested_ = SerialTimeoutsFor(settings_.GetBaudRate(), settings_.GetWriteTimeout(), current);
  platform::SetSerialTimeouts(Device(), requested_);
}

}  // namespace IO
}  // namespace QEL
