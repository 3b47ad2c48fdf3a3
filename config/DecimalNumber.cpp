#include "config/DecimalNumber.h"

#include <limits>

namespace QEL {
namespace Config {

int32_t DecimalNumber(const std::u16string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  // Accumulated as a negative number: its range holds the 32-bit minimum.
  constexpr int64_t kLowest = std::numeric_limits<int32_t>::min();
  int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 - (text[i] - u'0');
    if (value < kLowest) value = kLowest - 1;  // stays beyond the limit, without overflowing
  }
  if (negative) return value < kLowest ? std::numeric_limits<int32_t>::min() : static_cast<int32_t>(value);
  if (-value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(-value);
}

}  // namespace Config
}  // namespace QEL
