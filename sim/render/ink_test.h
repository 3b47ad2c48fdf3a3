#pragma once
// Where the ink is on a rendered receipt, for the renderer's tests.
#include <gtest/gtest.h>

#include <vector>

#include "sim/printed_image.h"
#include "sim/render/receipt_renderer.h"

namespace sim {
namespace render {
namespace inktest {

struct Box {
  int left = -1, top = -1, right = -1, bottom = -1;  // inclusive; -1: no ink
  bool Empty() const { return left < 0; }
  int Width() const { return Empty() ? 0 : right - left + 1; }
  int Height() const { return Empty() ? 0 : bottom - top + 1; }
  int CentreX2() const { return left + right; }  // twice the centre
};

// The black dots in rows [fromRow, toRow) and columns [fromX, toX).
inline Box Ink(const PrintedImage& image, int fromRow = 0, int toRow = 1 << 30, int fromX = 0, int toX = 1 << 30) {
  Box box;
  for (int y = fromRow; y < image.height && y < toRow; ++y) {
    for (int x = fromX; x < image.width && x < toX; ++x) {
      if (!image.Black(x, y)) continue;
      if (box.Empty()) {
        box = {x, y, x, y};
        continue;
      }
      if (x < box.left) box.left = x;
      if (x > box.right) box.right = x;
      if (y < box.top) box.top = y;
      if (y > box.bottom) box.bottom = y;
    }
  }
  return box;
}

inline int CountInk(const PrintedImage& image) {
  int n = 0;
  for (uint8_t d : image.dots) n += d;
  return n;
}

// The receipts of a job on an 80 mm printer with nothing in NV memory.
inline std::vector<PrintedImage> Render(const std::vector<uint8_t>& bytes, int width = kPaper80Dots) {
  return RenderReceipts(bytes, NvGraphics(), width);
}

// The one receipt the job must make.
inline PrintedImage One(const std::vector<uint8_t>& bytes, int width = kPaper80Dots) {
  const std::vector<PrintedImage> receipts = Render(bytes, width);
  EXPECT_EQ(receipts.size(), 1u);
  return receipts.empty() ? PrintedImage() : receipts.front();
}

}  // namespace inktest
}  // namespace render
}  // namespace sim
