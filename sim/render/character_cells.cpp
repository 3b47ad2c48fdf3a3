#include "sim/render/character_cells.h"

#include <memory>

#include "sim/render/dot_images.h"
#include "sim/render/pcf_font.h"

namespace sim {
namespace render {

namespace {

constexpr const char* kFontDirectory = "/usr/share/fonts/X11/misc/";

const PcfFont* Font(int font) {
  // Read once, on first use, by whichever thread comes first.
  static const std::unique_ptr<PcfFont> a = PcfFont::Load(std::string(kFontDirectory) + "12x24.pcf.gz", nullptr);
  static const std::unique_ptr<PcfFont> b = PcfFont::Load(std::string(kFontDirectory) + "9x18.pcf.gz", nullptr);
  return font == 1 ? b.get() : a.get();
}

void HollowBox(PrintedImage* cell, int width, int height) {
  for (int x = 1; x + 1 < width; ++x) {
    cell->dots[static_cast<size_t>(2) * cell->width + x] = 1;
    cell->dots[static_cast<size_t>(height - 3) * cell->width + x] = 1;
  }
  for (int y = 2; y + 2 < height; ++y) {
    cell->dots[static_cast<size_t>(y) * cell->width + 1] = 1;
    cell->dots[static_cast<size_t>(y) * cell->width + width - 2] = 1;
  }
}

PrintedImage GlyphImage(const Glyph& glyph) {
  PrintedImage image;
  image.width = glyph.width;
  image.height = glyph.height;
  image.dots = glyph.dots;
  return image;
}

// Rows of ink of 'H' above the baseline (at least 1).
int CapitalHeight(const PcfFont& font) {
  const Glyph* h = font.Find(U'H');
  if (h == nullptr) return 1;
  for (int y = 0; y < h->height; ++y) {
    for (int x = 0; x < h->width; ++x) {
      if (h->Black(x, y)) return h->ascent - y > 0 ? h->ascent - y : 1;
    }
  }
  return 1;
}

}  // namespace

int CellWidth(int font) { return font == 1 ? 9 : 12; }
int CellHeight(int font) { return font == 1 ? 17 : 24; }

bool FontsAvailable() { return Font(0) != nullptr && Font(1) != nullptr; }

PrintedImage DrawCharacter(char32_t c, const TextStyle& style) {
  const int font = style.font == 1 ? 1 : 0;
  const int width = CellWidth(font), height = CellHeight(font);
  PrintedImage cell = BlankImage(width + style.rightSpacing, height);
  const PcfFont* source = Font(font);
  if (source == nullptr) {
    if (c != U' ') HollowBox(&cell, width, height);
  } else {
    // The 12x24 font covers fewer characters than the 9x18 one (no euro sign,
    // no Cyrillic): font A borrows what it lacks from font B, enlarged to its
    // cell with the baselines matched, before it gives up with '?'.
    const Glyph* glyph = source->Find(c);
    const PcfFont* borrowed = font == 0 && glyph == nullptr ? Font(1) : nullptr;
    if (borrowed != nullptr && borrowed->Find(c) != nullptr) {
      const Glyph* other = borrowed->Find(c);
      PrintedImage small = BlankImage(CellWidth(1), borrowed->Ascent() + borrowed->Descent());
      Stamp(GlyphImage(*other), other->left, borrowed->Ascent() - other->ascent, &small);
      // Capitals of the two fonts are to be as tall as each other.
      const int capitals = CapitalHeight(*source), smallCapitals = CapitalHeight(*borrowed);
      const PrintedImage big = Resize(small, width, small.height * capitals / smallCapitals);
      const int bigBaseline = borrowed->Ascent() * capitals / smallCapitals;
      Stamp(big, 0, height - source->Descent() - bigBaseline, &cell);
    } else {
      if (glyph == nullptr) glyph = source->Find(U'?');
      if (glyph != nullptr && !glyph->dots.empty()) {
        // The cell's baseline leaves the font's descent below it; a taller
        // font loses its topmost rows, where only accents reach.
        PrintedImage inCell = BlankImage(width, height);
        Stamp(GlyphImage(*glyph), glyph->left, height - source->Descent() - glyph->ascent, &inCell);
        Stamp(inCell, 0, 0, &cell);
      }
    }
  }
  if (style.emphasis) {
    // Each dot is struck again one dot to the right.
    PrintedImage struck = cell;
    Stamp(cell, 1, 0, &struck);
    cell = struck;
  }
  cell = Enlarge(cell, style.across, style.along);
  if (style.reverse) {
    for (uint8_t& dot : cell.dots) dot = dot ? 0 : 1;
  } else if (style.underline > 0) {
    for (int y = cell.height - style.underline; y < cell.height; ++y) {
      for (int x = 0; x < cell.width; ++x) cell.dots[static_cast<size_t>(y) * cell.width + x] = 1;
    }
  }
  return cell;
}

}  // namespace render
}  // namespace sim
