#include "so/io/TokenizeSettings.h"

#include "so/io/PortSettingsError.h"

namespace QEL {
namespace IO {

std::vector<std::u16string> TokenizeSettings(const std::u16string& text,
                                             const std::u16string& separators) {
  // The message (with its two blanks) is what configuration tools have always
  // shown for a device key without PortSettings; keep it as it is.
  if (text.empty() || separators.empty()) throw PortSettingsError("tokenize: empty  string");
  std::vector<std::u16string> pieces;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(separators, start);
    if (end == std::u16string::npos) end = text.size();
    if (end > start) pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

}  // namespace IO
}  // namespace QEL
