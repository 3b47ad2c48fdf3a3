#include "sim/render/page_canvas.h"

#include <algorithm>
#include <cstddef>

#include "sim/render/dot_images.h"

namespace sim {
namespace render {

PageCanvas::PageCanvas(int widthDots, int heightDots) : width_(widthDots), height_(heightDots) {
  page_ = BlankImage(width_, height_);
  Select({0, 0, width_, height_}, 0);
}

void PageCanvas::Select(const Area& area, int direction) {
  Settle();
  area_ = area;
  direction_ = direction & 3;
  const bool across = direction_ % 2 == 0;
  running_ = BlankImage(across ? area.dx : area.dy, across ? area.dy : area.dx);
}

int PageCanvas::Width() const { return running_.width; }
int PageCanvas::Height() const { return running_.height; }

void PageCanvas::Lay(const PrintedImage& image, int x, int y) {
  Stamp(image, x, y, &running_);
  inked_ = true;
}

// The running area is turned onto the page whenever it is left or the page
// is printed, so that it is laid out in one orientation only.
void PageCanvas::Settle() const {
  if (!inked_) return;
  inked_ = false;
  PrintedImage turned;
  switch (direction_) {
    case 1:
      turned = TurnCounterClockwise(running_);
      break;
    case 2:
      turned = TurnHalf(running_);
      break;
    case 3:
      turned = TurnClockwise(running_);
      break;
    default:
      turned = running_;
      break;
  }
  Stamp(turned, area_.x, area_.y, &page_);
  running_.dots.assign(running_.dots.size(), 0);
  pageInked_ = true;
}

void PageCanvas::Clear() {
  page_.dots.assign(page_.dots.size(), 0);
  running_.dots.assign(running_.dots.size(), 0);
  inked_ = pageInked_ = false;
}

PrintedImage PageCanvas::Print() const {
  Settle();
  if (!pageInked_) return PrintedImage();
  int bottom = page_.height;
  while (bottom > 0) {
    const auto row = page_.dots.begin() + static_cast<std::ptrdiff_t>(bottom - 1) * page_.width;
    if (std::find(row, row + page_.width, uint8_t{1}) != row + page_.width) break;
    --bottom;
  }
  PrintedImage out = page_;
  out.height = bottom;
  out.dots.resize(static_cast<size_t>(bottom) * out.width);
  return out;
}

}  // namespace render
}  // namespace sim
