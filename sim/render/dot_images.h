#pragma once
// What a printer does to a block of dots before it reaches the paper:
// enlarging, turning, and laying one block over another.
#include "sim/printed_image.h"

namespace sim {
namespace render {

PrintedImage BlankImage(int width, int height);
// Each dot becomes across x along dots.
PrintedImage Enlarge(const PrintedImage& image, int across, int along);
// To any size, each new dot taking the nearest old one.
PrintedImage Resize(const PrintedImage& image, int width, int height);
PrintedImage TurnHalf(const PrintedImage& image);  // 180 degrees
// A quarter turn clockwise (the top row becomes the right column), or
// counter-clockwise.
PrintedImage TurnClockwise(const PrintedImage& image);
PrintedImage TurnCounterClockwise(const PrintedImage& image);
// Ink of `image` added at (x, y) of *onto; what falls outside is cut off.
void Stamp(const PrintedImage& image, int x, int y, PrintedImage* onto);

}  // namespace render
}  // namespace sim
