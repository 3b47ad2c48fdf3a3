#pragma once
// A printer on a parallel port. The port set-up is not part of this build yet:
// Open refuses the port with an error text.
#include "so/io/CSystemPort.h"
#include "so/io/LPTPortSettings.h"

namespace QEL {
namespace IO {

class LPTPort : public CSystemPort {
 public:
  explicit LPTPort(const LPTPortSettings& settings);
  ~LPTPort() override;

  int32_t Open() override;
  // The device path is the settings' port name ("LPT1").
  void RefreshDevicePath() override;

 private:
  LPTPortSettings settings_;
};

}  // namespace IO
}  // namespace QEL
