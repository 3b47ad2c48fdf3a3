#include "sim/printed_image.h"

namespace sim {

PrintedImage ImageFromRaster(const uint8_t* data, int width, int height) {
  PrintedImage image;
  image.width = width;
  image.height = height;
  image.dots.assign(static_cast<size_t>(width) * height, 0);
  const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = data + y * rowBytes;
    for (int x = 0; x < width; ++x) {
      image.dots[static_cast<size_t>(y) * width + x] = (row[x / 8] >> (7 - x % 8)) & 1;
    }
  }
  return image;
}

PrintedImage ImageFromColumns(const uint8_t* data, int columns, int bytesPerColumn, int height) {
  PrintedImage image;
  image.width = columns;
  image.height = height;
  image.dots.assign(static_cast<size_t>(columns) * height, 0);
  for (int x = 0; x < columns; ++x) {
    const uint8_t* column = data + static_cast<size_t>(x) * bytesPerColumn;
    for (int y = 0; y < height; ++y) {
      image.dots[static_cast<size_t>(y) * columns + x] = (column[y / 8] >> (7 - y % 8)) & 1;
    }
  }
  return image;
}

void OverlayImage(const PrintedImage& plane, PrintedImage* image) {
  if (plane.dots.size() != image->dots.size()) return;
  for (size_t i = 0; i < plane.dots.size(); ++i) image->dots[i] |= plane.dots[i];
}

}  // namespace sim
