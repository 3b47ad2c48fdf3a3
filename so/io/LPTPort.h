#pragma once
// A printer on a parallel port. Reads go one byte per request, and only a
// printer that answered the status request at open may be read from: many
// parallel printers never send anything back.
#include <memory>

#include "so/io/CSystemPort.h"
#include "so/io/LPTPortSettings.h"
#include "so/io/ParallelControl.h"

namespace QEL {
namespace IO {

class LPTPort : public CSystemPort {
 public:
  // The time-outs asked of the driver, in milliseconds.
  static constexpr platform::PortTimeouts kTimeouts{5, 5, 1000, 1, 2000};

  explicit LPTPort(const LPTPortSettings& settings,
                   std::shared_ptr<ParallelControl> control = SystemParallelControl());
  ~LPTPort() override;

  // The device path is what the system opens for the settings' port name
  // ("LPT1"; on POSIX see platform/device_names.h).
  void RefreshDevicePath() override;
  void ConfigureAfterOpen() override;

 private:
  LPTPortSettings settings_;
  std::shared_ptr<ParallelControl> control_;
};

}  // namespace IO
}  // namespace QEL
