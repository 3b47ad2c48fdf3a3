#pragma once
// The printer ports the system knows (COM1:, LPT1:, ...), from the print
// spooler.
#include "tool/model/PortEnumerator.h"

namespace toolwin {

class SystemPorts : public tool::PortEnumerator {
 public:
  tool::SystemPortList ListPorts() override;
};

}  // namespace toolwin
