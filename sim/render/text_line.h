#pragma once
// The line a printer collects before printing it: character cells and
// in-line images side by side, standing on a common bottom edge, aligned in
// the print area when printed unless a command placed them itself.
#include <vector>

#include "sim/printed_image.h"

namespace sim {
namespace render {

class TextLine {
 public:
  // False when the piece does not fit in `areaWidth` after what the line
  // holds (the caller prints the line first); a piece wider than the area
  // is taken in an empty line and cut at its edge.
  bool Add(const PrintedImage& piece, int areaWidth);
  // Moves where the next piece goes (absolute position or tab); the line is
  // then laid out as placed, without alignment.
  void MoveTo(int x);
  int Cursor() const { return cursor_; }
  bool Empty() const { return pieces_.empty(); }
  int Height() const;
  // `width` dots wide, as tall as the tallest piece; align 0 left, 1 centre,
  // 2 right.
  PrintedImage Compose(int width, int align) const;
  void Clear();

 private:
  struct Piece {
    int x;
    PrintedImage image;
  };
  std::vector<Piece> pieces_;
  int cursor_ = 0;
  bool placed_ = false;
};

}  // namespace render
}  // namespace sim
