#pragma once
// Page mode: the printer lays out a whole page in memory, area by area, each
// in its own print direction, and prints it at once.
#include "sim/printed_image.h"

namespace sim {
namespace render {

class PageCanvas {
 public:
  // Dots of the page and of the area, in paper coordinates (x across, y
  // along from the top).
  struct Area {
    int x = 0, y = 0, dx = 0, dy = 0;
  };

  PageCanvas(int widthDots, int heightDots);

  // What is laid out from now on goes into this area, read from its
  // starting corner: 0 upper left, 1 lower left, 2 lower right, 3 upper right.
  void Select(const Area& area, int direction);
  // The area's width and height as its text runs.
  int Width() const;
  int Height() const;
  // Ink at (x, y) of the area as its text runs; cut at the area's edges.
  void Lay(const PrintedImage& image, int x, int y);
  // Everything laid out so far (CAN).
  void Clear();
  // The page down to its lowest ink; empty when nothing is on it.
  PrintedImage Print() const;

 private:
  void Settle() const;

  int width_, height_;
  Area area_;
  int direction_ = 0;
  mutable PrintedImage page_;
  mutable PrintedImage running_;  // the selected area as its text runs
  mutable bool inked_ = false;      // running_ holds ink not yet on the page
  mutable bool pageInked_ = false;
};

}  // namespace render
}  // namespace sim
