#pragma once
// From OPOS text to printer bytes: the code page a CharacterSet is printed
// with, and the BinaryConversion decoding of converted text.
#include <cstddef>
#include <cstdint>

#include "so/base/PrinterBuffer.h"

namespace QEL {
namespace Printer {

enum BinaryConversionMode : int32_t {
  kBinaryConversionNone = 0,
  kBinaryConversionNibble = 1,
  kBinaryConversionDecimal = 2,
};

// Arabic sets are printed through 1256 and the Latin-1 variants through 1252,
// which the system's conversion knows in every installation.
unsigned CodePageForCharacterSet(int32_t characterSet);

// Appends bytes[0..length), read up to its first zero byte, decoded as the
// mode says: unchanged, nibble pairs or decimal triples.
bool AppendBinaryConverted(PrinterBuffer& out, const char* bytes, size_t length, int32_t mode);

}  // namespace Printer
}  // namespace QEL
