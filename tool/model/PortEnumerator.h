#pragma once
// The system's printer ports, behind an interface: the Win32 shell asks
// EnumPortsA (level 2, first for the size, then for the list); tests give a
// fixed answer.
#include <string>
#include <vector>

namespace tool {

struct SystemPortList {
  enum class Outcome {
    kListed,   // the second call succeeded: `names` holds every port
    kNoPorts,  // the size query itself succeeded: there is nothing to list
    kFailed,   // a call failed for another reason; `errorText` is the system's text
  };
  Outcome outcome = Outcome::kListed;
  std::vector<std::u16string> names;  // system names in the system's order, e.g. "COM1:"
  std::u16string errorText;
};

class PortEnumerator {
 public:
  virtual ~PortEnumerator() = default;
  virtual SystemPortList ListPorts() = 0;
};

}  // namespace tool
