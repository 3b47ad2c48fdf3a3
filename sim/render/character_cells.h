#pragma once
// Characters as the printer's fonts draw them: font A in cells of 12 x 24
// dots, font B in cells of 9 x 17, from the misc-fixed bitmap fonts of the X
// font packages (12x24 and 9x18), then spaced, enlarged and marked as the
// print modes say.
#include "sim/printed_image.h"

namespace sim {
namespace render {

struct TextStyle {
  int font = 0;  // 0 font A, 1 font B
  bool emphasis = false;
  int underline = 0;  // dots: 0, 1 or 2
  int across = 1;     // enlargement, 1..8 each
  int along = 1;
  bool reverse = false;    // white on black
  int rightSpacing = 0;    // dots added after each character, before enlarging
};

// The font's cell before enlarging and spacing.
int CellWidth(int font);
int CellHeight(int font);

// One character's cell with everything the style adds. A character the font
// lacks prints as '?'; without the font files installed, as a hollow box.
PrintedImage DrawCharacter(char32_t c, const TextStyle& style);

// False when the font files could not be read.
bool FontsAvailable();

}  // namespace render
}  // namespace sim
