#pragma once
// The paper roll as it leaves the head: a strip of fixed width that grows as
// the printer feeds, cut into separate receipts.
#include <vector>

#include "sim/printed_image.h"

namespace sim {
namespace render {

class Paper {
 public:
  explicit Paper(int widthDots) : width_(widthDots) {}

  int Width() const { return width_; }
  // Where the head is: the next row printed, from the last cut.
  int Position() const { return position_; }
  // Prints `image` with its top at the head, its left edge at x, and
  // feeds past it.
  void Print(const PrintedImage& image, int x);
  // Ink at (x, y) rows below the head, without feeding.
  void Lay(const PrintedImage& image, int x, int y);
  void Feed(int dots);
  // Cuts at the head: the strip so far becomes a receipt, a dashed cut mark
  // across its last row. Cutting blank paper leaves no receipt.
  void Cut();
  // Every receipt cut, and what hangs out of the printer after the last cut
  // when anything was printed on it.
  std::vector<PrintedImage> Receipts() const;

 private:
  void Reach(int rows);

  int width_;
  int position_ = 0;
  bool inked_ = false;
  PrintedImage strip_;  // from the last cut
  std::vector<PrintedImage> cut_;
};

}  // namespace render
}  // namespace sim
