#pragma once
// Code 128 data in the form the printer's barcode command takes it: code-set
// selections "{A", "{B", "{C" in the data itself, set C characters as single
// bytes of value 0..99, and a literal '{' sent as "{{". The printer stops
// reading the barcode at the first byte that does not fit its current set, so
// both conversions refuse rather than hand it such data.
#include <cstddef>
#include <string>

namespace QEL {
namespace Printer {

// Only this much of the caller's data is converted; the rest is dropped.
constexpr size_t kCode128InputLimit = 232;
// The barcode command's length byte.
constexpr size_t kCode128OutputLimit = 255;

// Plain data: chooses the code sets itself, packing digit runs into set C
// where that makes the barcode shorter. False (data unchanged) for empty
// data, for bytes of 0x80 and above, which no code set holds, and when the
// result would not fit the command.
bool ConvertCode128(std::string& data);

// Data that already carries its own selections and special characters ({S,
// {1..{4, {{). Digit pairs in set C become single bytes; a missing leading
// selection, or a non-digit where set C is current, gets {A or {B put in.
// False (data unchanged) for fewer than two bytes, a '{' pair the printer
// does not know, a character outside its set, data without any character,
// and a result that would not fit the command.
bool ConvertParsedCode128(std::string& data);

}  // namespace Printer
}  // namespace QEL
