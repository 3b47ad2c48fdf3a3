#pragma once
// The requests a parallel port makes of its driver besides reads and writes.
// The port asks them through this seam so that a test can stand in for a
// driver (paper empty, a status the driver cannot give).
#include <cstdint>
#include <memory>

#include "platform/device_file.h"
#include "platform/serial_line.h"

namespace QEL {
namespace IO {

class ParallelControl {
 public:
  virtual ~ParallelControl() = default;
  virtual bool SetTimeouts(platform::DeviceFile& device, const platform::PortTimeouts& timeouts) = 0;
  // Status bits as platform::kParallelPaperEmpty has them.
  virtual bool QueryStatus(platform::DeviceFile& device, uint8_t* status) = 0;
};

// The system's parallel driver.
std::shared_ptr<ParallelControl> SystemParallelControl();

}  // namespace IO
}  // namespace QEL
