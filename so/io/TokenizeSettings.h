#pragma once
#include <string>
#include <vector>

namespace QEL {
namespace IO {

// Cuts a PortSettings text at every character of `separators`; empty pieces
// are dropped (",9100" gives one piece). An empty text or an empty separator
// set throws PortSettingsError("tokenize: empty  string").
std::vector<std::u16string> TokenizeSettings(const std::u16string& text,
                                             const std::u16string& separators);

}  // namespace IO
}  // namespace QEL
