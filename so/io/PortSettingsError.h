#pragma once
// Raised when a PortSettings text (or a value given to a settings object) does
// not fit the settings: an empty text, a missing port name, a field longer than
// its capacity, a number too large for its field. The opener turns any such
// error into a failed open.
#include <stdexcept>
#include <string>

namespace QEL {
namespace IO {

class PortSettingsError : public std::runtime_error {
 public:
  explicit PortSettingsError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace IO
}  // namespace QEL
