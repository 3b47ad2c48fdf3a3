#include "so/format/TextConversion.h"

#include <cstring>

namespace QEL {
namespace Printer {

unsigned CodePageForCharacterSet(int32_t characterSet) {
  switch (characterSet) {
    case 720:
    case 864:
      return 1256;
    case 850:
    case 858:
      return 1252;
    default:
      return static_cast<unsigned>(characterSet);
  }
}

namespace {

// In decimal data the escape character and a backspace stand for a zero digit.
int DecimalDigit(char c) {
  if (c == 8 || c == 27) return 0;
  if (c >= '0' && c <= '9') return c - '0';
  return 0;
}

}  // namespace

bool AppendBinaryConverted(PrinterBuffer& out, const char* bytes, size_t length, int32_t mode) {
  const void* zero = std::memchr(bytes, 0, length);
  if (zero != nullptr) length = static_cast<size_t>(static_cast<const char*>(zero) - bytes);

  if (mode == kBinaryConversionNibble) {
    for (size_t i = 0; i + 1 < length; i += 2) {
      const unsigned c1 = static_cast<unsigned char>(bytes[i]);
      const unsigned c2 = static_cast<unsigned char>(bytes[i + 1]);
      if (!out.pushByte(static_cast<uint8_t>((c1 << 4) | (c2 - 48u)))) return false;
    }
    return true;
  }
  if (mode == kBinaryConversionDecimal) {
    for (size_t i = 0; i + 2 < length; i += 3) {
      const int value = DecimalDigit(bytes[i]) * 100 + DecimalDigit(bytes[i + 1]) * 10 +
                        DecimalDigit(bytes[i + 2]);
      if (!out.pushByte(static_cast<uint8_t>(value & 0xFF))) return false;
    }
    return true;
  }
  return out.append(bytes, length);
}

}  // namespace Printer
}  // namespace QEL
