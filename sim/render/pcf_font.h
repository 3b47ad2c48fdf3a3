#pragma once
// A bitmap font in the X11 PCF format (the misc-fixed fonts of the X font
// packages), optionally gzip-compressed as the packages ship them. Only what
// drawing a glyph needs is read: the metrics, the bitmaps, the encoding and
// the font's ascent and descent.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sim {
namespace render {

struct Glyph {
  int width = 0;     // of the bitmap, in dots
  int height = 0;    // ascent + descent
  int left = 0;      // left bearing: where the bitmap starts from the origin
  int ascent = 0;    // rows above the baseline
  int advance = 0;   // how far the origin moves
  std::vector<uint8_t> dots;  // width x height, row by row, 1 black
  bool Black(int x, int y) const { return dots[static_cast<size_t>(y) * width + x] != 0; }
};

class PcfFont {
 public:
  // Reads a .pcf or .pcf.gz file. Null with *error set when it cannot.
  static std::unique_ptr<PcfFont> Load(const std::string& path, std::string* error);
  // Parses the bytes of an uncompressed PCF file.
  static std::unique_ptr<PcfFont> Parse(const std::vector<uint8_t>& pcf, std::string* error);

  // The glyph of a Unicode character, or null when the font has none.
  const Glyph* Find(char32_t c) const;
  int Ascent() const { return ascent_; }
  int Descent() const { return descent_; }

 private:
  std::map<char32_t, Glyph> glyphs_;
  int ascent_ = 0;
  int descent_ = 0;
};

}  // namespace render
}  // namespace sim
