#include "so/format/BarcodeDataRules.h"

#include <cstring>

namespace QEL {
namespace Printer {

namespace {

bool IsDigit(uint8_t b) { return b >= '0' && b <= '9'; }

bool IsCode39(uint8_t b) {
  return IsDigit(b) || (b >= 'A' && b <= 'Z') || (b != 0 && std::strchr(" $%*+-./", b) != nullptr);
}

bool IsCodabarStartStop(uint8_t b) { return (b >= 'A' && b <= 'D') || (b >= 'a' && b <= 'd'); }

bool IsCodabar(uint8_t b) {
  return IsDigit(b) || IsCodabarStartStop(b) || (b != 0 && std::strchr("$+-./:", b) != nullptr);
}

bool IsAscii(uint8_t b) { return b < 0x80; }

template <typename Accepts>
bool All(const uint8_t* data, size_t length, Accepts accepts) {
  for (size_t i = 0; i < length; ++i) {
    if (!accepts(data[i])) return false;
  }
  return true;
}

bool Digits(const uint8_t* data, size_t length) { return All(data, length, IsDigit); }

}  // namespace

bool BarcodeDataFits(int32_t symbology, const uint8_t* data, size_t length) {
  if (data == nullptr || length == 0) return false;
  switch (symbology) {
    case 101:  // UPC-A: 11 digits, or 12 with the check digit
      return (length == 11 || length == 12) && Digits(data, length);
    case 102:  // UPC-E: six digits, or the number-system 0 forms
      if (length == 6) return Digits(data, length);
      return (length == 7 || length == 8 || length == 11 || length == 12) && data[0] == '0' &&
             Digits(data, length);
    case 103:  // EAN-8
      return (length == 7 || length == 8) && Digits(data, length);
    case 104:  // EAN-13
      return (length == 12 || length == 13) && Digits(data, length);
    case 106:  // Interleaved 2 of 5 encodes digits in pairs
      return length % 2 == 0 && Digits(data, length);
    case 107:  // Codabar: framed by start and stop characters
      return length >= 2 && IsCodabarStartStop(data[0]) && IsCodabarStartStop(data[length - 1]) &&
             All(data, length, IsCodabar);
    case 108:
      return All(data, length, IsCode39);
    case 109:  // Code 93 and the Code 128 family carry 7-bit characters
    case 110:
    case 120:
    case 123:
      return All(data, length, IsAscii);
    default:
      return true;
  }
}

}  // namespace Printer
}  // namespace QEL
