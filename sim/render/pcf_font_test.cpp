#include "sim/render/pcf_font.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace sim {
namespace render {
namespace {

const std::string kFonts = "/usr/share/fonts/X11/misc/";

std::vector<uint8_t> Unpacked(const std::string& path) {
  std::vector<uint8_t> data;
  gzFile file = gzopen(path.c_str(), "rb");
  if (file == nullptr) return data;
  uint8_t chunk[4096];
  int got;
  while ((got = gzread(file, chunk, sizeof chunk)) > 0) data.insert(data.end(), chunk, chunk + got);
  gzclose(file);
  return data;
}

TEST(PcfFont, ReadsTheMiscFixedFontsCells) {
  struct Case {
    const char* file;
    int width, ascent, descent;
  } cases[] = {{"12x24.pcf.gz", 12, 22, 2}, {"9x18.pcf.gz", 9, 14, 4}};
  for (const Case& c : cases) {
    std::string error;
    const auto font = PcfFont::Load(kFonts + c.file, &error);
    ASSERT_NE(font, nullptr) << c.file << ": " << error;
    EXPECT_EQ(font->Ascent(), c.ascent) << c.file;
    EXPECT_EQ(font->Descent(), c.descent) << c.file;
    const Glyph* a = font->Find(U'A');
    ASSERT_NE(a, nullptr) << c.file;
    EXPECT_EQ(a->advance, c.width) << c.file;
    EXPECT_EQ(a->height, c.ascent + c.descent) << c.file;
    EXPECT_EQ(font->Find(U'\U0001F600'), nullptr) << c.file;
  }
}

TEST(PcfFont, BitmapsReadInTheirBitAndByteOrder) {
  const auto font = PcfFont::Load(kFonts + "9x18.pcf.gz", nullptr);
  ASSERT_NE(font, nullptr);
  // The full block fills its cell; the space leaves it white.
  const Glyph* block = font->Find(U'\u2588');
  ASSERT_NE(block, nullptr);
  ASSERT_EQ(block->width, 9);
  for (uint8_t dot : block->dots) ASSERT_EQ(dot, 1);
  const Glyph* space = font->Find(U' ');
  ASSERT_NE(space, nullptr);
  for (uint8_t dot : space->dots) ASSERT_EQ(dot, 0);
  // 'L': its stem on the left, its foot on the baseline's row above the descent.
  const Glyph* l = font->Find(U'L');
  ASSERT_NE(l, nullptr);
  int leftColumn = 0, bottomRow = 0;
  for (int y = 0; y < l->height; ++y) leftColumn += l->Black(1, y) ? 1 : 0;
  for (int x = 0; x < l->width; ++x) bottomRow += l->Black(x, l->ascent - 1) ? 1 : 0;
  EXPECT_GE(leftColumn, 8);
  EXPECT_GE(bottomRow, 5);
}

TEST(PcfFont, DamagedFilesAreRefused) {
  const std::vector<uint8_t> whole = Unpacked(kFonts + "9x18.pcf.gz");
  ASSERT_GT(whole.size(), 10000u);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty", {}},
      {"not a font", {'h', 'e', 'l', 'l', 'o', 0, 0, 0, 0}},
      {"table of contents cut", std::vector<uint8_t>(whole.begin(), whole.begin() + 20)},
      {"cut in the middle", std::vector<uint8_t>(whole.begin(), whole.begin() + whole.size() / 2)},
      {"the last quarter missing", std::vector<uint8_t>(whole.begin(), whole.begin() + whole.size() * 3 / 4)},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(PcfFont::Parse(c.bytes, &error), nullptr) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
  std::string error;
  EXPECT_EQ(PcfFont::Load(kFonts + "no-such-font.pcf.gz", &error), nullptr);
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace render
}  // namespace sim
