#include "so/io/LPTPort.h"

namespace QEL {
namespace IO {

LPTPort::LPTPort(const LPTPortSettings& settings) : CSystemPort(&settings_), settings_(settings) {
  RefreshDevicePath();
}

LPTPort::~LPTPort() { Close(); }

int32_t LPTPort::Open() {
  if (IsOpen()) Close();
  SetErrorText(u"Parallel port not available in this build");
  return 0;
}

void LPTPort::RefreshDevicePath() { SetDevicePath(settings_.GetPortName()); }

}  // namespace IO
}  // namespace QEL
