#pragma once
// An image as it comes out of the printer: dots, black or white, row by row
// from the top. Printers take image data in two layouts, and both end here:
// raster rows (left to right, the most significant bit the leftmost dot) and
// columns of 8-dot bytes (top to bottom, bit 7 the topmost dot of the 8).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

struct PrintedImage {
  int width = 0;
  int height = 0;
  // width x height dots, row by row from the top: 1 black, 0 white.
  std::vector<uint8_t> dots;

  bool Black(int x, int y) const { return dots[static_cast<size_t>(y) * width + x] != 0; }
  bool operator==(const PrintedImage& o) const { return width == o.width && height == o.height && dots == o.dots; }
};

// Rows of ceil(width / 8) bytes; the bits past `width` in a row's last byte
// are padding.
PrintedImage ImageFromRaster(const uint8_t* data, int width, int height);

// `columns` columns from the left, each bytesPerColumn bytes from the top;
// the dots below `height` in the last byte of a column are padding.
PrintedImage ImageFromColumns(const uint8_t* data, int columns, int bytesPerColumn, int height);

// Dots set in any of the images (of one size): the planes of a two-tone
// image all put ink on the paper.
void OverlayImage(const PrintedImage& plane, PrintedImage* image);

}  // namespace sim
