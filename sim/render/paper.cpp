#include "sim/render/paper.h"

#include "sim/render/dot_images.h"

namespace sim {
namespace render {

namespace {

// Not even a malformed feed may grow one receipt past this (about 5 m).
constexpr int kLongestStrip = 40000;
constexpr int kDash = 8;

}  // namespace

void Paper::Reach(int rows) {
  if (rows > kLongestStrip) rows = kLongestStrip;
  if (rows <= strip_.height) return;
  strip_.width = width_;
  strip_.height = rows;
  strip_.dots.resize(static_cast<size_t>(width_) * rows, 0);
}

void Paper::Print(const PrintedImage& image, int x) {
  Lay(image, x, 0);
  Feed(image.height);
}

void Paper::Lay(const PrintedImage& image, int x, int y) {
  if (image.height <= 0 || image.width <= 0) return;
  Reach(position_ + y + image.height);
  Stamp(image, x, position_ + y, &strip_);
  inked_ = true;
}

void Paper::Feed(int dots) {
  if (dots <= 0) return;
  position_ = position_ + dots > kLongestStrip ? kLongestStrip : position_ + dots;
  Reach(position_);
}

void Paper::Cut() {
  if (!inked_) {
    position_ = 0;
    strip_ = PrintedImage();
    return;
  }
  PrintedImage mark = BlankImage(width_, 1);
  for (int x = 0; x < width_; ++x) mark.dots[x] = (x / kDash) % 2 == 0;
  Feed(1);
  Stamp(mark, 0, position_ - 1, &strip_);
  strip_.height = position_;
  strip_.dots.resize(static_cast<size_t>(width_) * position_);
  cut_.push_back(strip_);
  strip_ = PrintedImage();
  position_ = 0;
  inked_ = false;
}

std::vector<PrintedImage> Paper::Receipts() const {
  std::vector<PrintedImage> out = cut_;
  if (inked_) out.push_back(strip_);
  return out;
}

}  // namespace render
}  // namespace sim
