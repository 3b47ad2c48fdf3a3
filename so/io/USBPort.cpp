#include "so/io/USBPort.h"

namespace QEL {
namespace IO {

USBPort::USBPort(USBPortSettings* settings) : CSystemPort(settings), settings_(settings) {
  SetOverlapped(true);
  SetDevicePath(std::u16string());
  RefreshDevicePath();
}

USBPort::~USBPort() { Close(); }

int32_t USBPort::Open() {
  if (IsOpen()) Close();
  SetErrorText(u"USB port not available in this build");
  return 0;
}

// No device search in this build: the path stays as it is (empty), which is
// also what a search that finds nothing leaves.
void USBPort::RefreshDevicePath() { deviceFamily_ = 0; }

}  // namespace IO
}  // namespace QEL
