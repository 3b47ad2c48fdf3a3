#pragma once
// Scanner libraries reading printed dots as a camera would see the paper:
// the symbol in black on white, with a wide white margin around it. zbar
// and ZXing each get a file of their own, since zbar's C++ classes use
// names that ZXing's headers take.
#include <cstdint>
#include <string>
#include <vector>

#include "sim/printed_image.h"

namespace sim {
namespace render {

struct Scanned {
  std::string symbology;  // as the scanner names it
  std::string data;       // the bytes it decoded
};

// The dots as 8-bit grey (black 0, white 255) with the margin around them.
std::vector<uint8_t> OnWhitePaper(const PrintedImage& dots, int* width, int* height);

// Every symbol zbar finds, all its symbologies enabled.
std::vector<Scanned> ScanWithZbar(const PrintedImage& dots);

// The PDF417 symbol ZXing finds, if any.
std::vector<Scanned> ScanPdf417WithZxing(const PrintedImage& dots);

}  // namespace render
}  // namespace sim
