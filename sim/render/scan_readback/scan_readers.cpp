#include "sim/render/scan_readback/scan_readers.h"

namespace sim {
namespace render {

namespace {

// White paper around the symbol, wider than any symbology's quiet zone at
// the module widths a receipt printer uses.
constexpr int kMargin = 80;

}  // namespace

std::vector<uint8_t> OnWhitePaper(const PrintedImage& dots, int* width, int* height) {
  *width = dots.width + 2 * kMargin;
  *height = dots.height + 2 * kMargin;
  std::vector<uint8_t> grey(static_cast<size_t>(*width) * *height, 255);
  for (int y = 0; y < dots.height; ++y) {
    for (int x = 0; x < dots.width; ++x) {
      if (dots.Black(x, y)) grey[static_cast<size_t>(y + kMargin) * *width + x + kMargin] = 0;
    }
  }
  return grey;
}

}  // namespace render
}  // namespace sim
