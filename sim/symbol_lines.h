#pragma once
// Barcode and two-dimensional symbol commands told by their meaning, for the
// printer's view of a job:
//
//   GS k CODE128 {C 12 34 56 78    symbology and data; CODE128 by code set,
//   GS k CODE128 {B AB {C 12         set C bytes as two-digit values
//   GS k EAN13 4901234567894       data bare when it is all plain
//   GS k CODE39 "AB 12"              characters, quoted otherwise
//   GS w module 3 / GS h height 162 / GS H HRI below / GS f HRI font A
//   QR model 2 / QR module 6 / QR error L / QR store "short data" /
//   QR store 300 bytes / QR print / QR query size
//   PDF417 columns 4 / PDF417 rows auto / PDF417 module 3 /
//   PDF417 row height 3 / PDF417 error level 1 / PDF417 error ratio 10% /
//   PDF417 options standard / PDF417 store 60 bytes / PDF417 print
//
// Stored symbol data is quoted up to 40 bytes and counted beyond.
#include <cstddef>
#include <cstdint>
#include <string>

namespace sim {

// The line for p[0..n), one command as the scanner cut it; empty when it is
// no barcode or symbol command, or one whose shape or selector has no
// meaning to tell (its command line says what it holds).
std::string DescribeSymbolCommand(const uint8_t* p, size_t n);

}  // namespace sim
