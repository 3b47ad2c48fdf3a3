#include "so/io/ParallelControl.h"

namespace QEL {
namespace IO {

namespace {

class SystemControl : public ParallelControl {
 public:
  bool SetTimeouts(platform::DeviceFile& device, const platform::PortTimeouts& timeouts) override {
    return platform::SetParallelTimeouts(device, timeouts);
  }
  bool QueryStatus(platform::DeviceFile& device, uint8_t* status) override {
    return platform::QueryParallelStatus(device, status);
  }
};

}  // namespace

std::shared_ptr<ParallelControl> SystemParallelControl() { return std::make_shared<SystemControl>(); }

}  // namespace IO
}  // namespace QEL
