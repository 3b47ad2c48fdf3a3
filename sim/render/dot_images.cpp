#include "sim/render/dot_images.h"

#include <cstddef>

namespace sim {
namespace render {

namespace {

size_t At(const PrintedImage& image, int x, int y) { return static_cast<size_t>(y) * image.width + x; }

}  // namespace

PrintedImage BlankImage(int width, int height) {
  PrintedImage image;
  image.width = width > 0 ? width : 0;
  image.height = height > 0 ? height : 0;
  image.dots.assign(static_cast<size_t>(image.width) * image.height, 0);
  return image;
}

PrintedImage Enlarge(const PrintedImage& image, int across, int along) {
  if (across == 1 && along == 1) return image;
  PrintedImage out = BlankImage(image.width * across, image.height * along);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) out.dots[At(out, x, y)] = image.dots[At(image, x / across, y / along)];
  }
  return out;
}

PrintedImage Resize(const PrintedImage& image, int width, int height) {
  PrintedImage out = BlankImage(width, height);
  if (image.width <= 0 || image.height <= 0) return out;
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      out.dots[At(out, x, y)] = image.dots[At(image, x * image.width / out.width, y * image.height / out.height)];
    }
  }
  return out;
}

PrintedImage TurnHalf(const PrintedImage& image) {
  PrintedImage out = image;
  for (size_t i = 0; i < image.dots.size(); ++i) out.dots[i] = image.dots[image.dots.size() - 1 - i];
  return out;
}

PrintedImage TurnClockwise(const PrintedImage& image) {
  PrintedImage out = BlankImage(image.height, image.width);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) out.dots[At(out, image.height - 1 - y, x)] = image.dots[At(image, x, y)];
  }
  return out;
}

PrintedImage TurnCounterClockwise(const PrintedImage& image) {
  PrintedImage out = BlankImage(image.height, image.width);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) out.dots[At(out, y, image.width - 1 - x)] = image.dots[At(image, x, y)];
  }
  return out;
}

void Stamp(const PrintedImage& image, int x, int y, PrintedImage* onto) {
  for (int row = 0; row < image.height; ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= onto->height) continue;
    for (int col = 0; col < image.width; ++col) {
      const int tx = x + col;
      if (tx < 0 || tx >= onto->width) continue;
      if (image.dots[At(image, col, row)]) onto->dots[At(*onto, tx, ty)] = 1;
    }
  }
}

}  // namespace render
}  // namespace sim
