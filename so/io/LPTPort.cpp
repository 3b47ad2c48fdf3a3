#include "so/io/LPTPort.h"

#include <utility>

#include "platform/device_names.h"

namespace QEL {
namespace IO {

constexpr platform::PortTimeouts LPTPort::kTimeouts;

LPTPort::LPTPort(const LPTPortSettings& settings, std::shared_ptr<ParallelControl> control)
    : CSystemPort(&settings_), settings_(settings), control_(std::move(control)) {
  RefreshDevicePath();
}

LPTPort::~LPTPort() { Close(); }

void LPTPort::RefreshDevicePath() { SetDevicePath(platform::SystemDevicePath(settings_.GetPortName())); }

void LPTPort::ConfigureAfterOpen() {
  SetByteWiseRead(true);
  // A driver that refuses them keeps its own; the port works either way.
  control_->SetTimeouts(Device(), kTimeouts);
  uint8_t status = 0;
  // Without a status, or with the paper out (the printer then would not
  // answer anyway), the port is taken as able to read.
  if (!control_->QueryStatus(Device(), &status) || (status & platform::kParallelPaperEmpty) != 0) return;
  // GS r 1: only a printer that answers it is read from later.
  const uint8_t request[] = {0x1D, 0x72, 0x01};
  uint8_t answer = 0;
  int32_t received = 0;
  bool answered = Write(request, 0, 3) != 0 && Read(&answer, 0, 1, &received, 1) != 0;
  SetReady(answered);
}

}  // namespace IO
}  // namespace QEL
