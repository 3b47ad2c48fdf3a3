// Page-mode lines in the formatter alone: where a line wraps at the room the
// host gives it, what the host is told about each line, and that nothing of
// this reaches standard-mode or validated output. What the core puts in
// front of each line is tested in so/printer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "so/format/CCmdHelperBase.h"
#include "so/format/EscapeSequenceFormatter.h"
#include "so/format/FakeFormatterHost.h"

using namespace QEL::Printer;

namespace {

const std::string E = "\x1b|";
const std::string kLineFeed = "\x1bJ\x3c";  // 30 dots of spacing in 0.0625 mm steps
using Asked = std::vector<std::string>;

class PageWrapping : public ::testing::Test {
 protected:
  void SetUp() override {
    host.settings.pageMode = true;
    host.settings.font = {12, 24};
    host.settings.lineSpacing = 30;
    host.pagePlacement = "|";
  }
  void Room(int32_t first, int32_t later) {
    host.settings.page.firstLine = first;
    host.settings.page.laterLines = later;
  }
  std::string Format(const std::string& text, bool validateOnly = false) {
    PrinterBuffer out(16, 16);
    rc = formatter.Format(host, out, reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                          validateOnly);
    return std::string(reinterpret_cast<const char*>(out.data()), out.size());
  }

  CCmdHelperBase helper;
  FakeFormatterHost host{helper};
  EscapeSequenceFormatter formatter;
  int32_t rc = -1;
};

TEST_F(PageWrapping, LinesWrapAtTheirRoomFirstAndLater) {
  struct Case {
    const char* name;
    int32_t first, later;
    std::string input, out;
    Asked asked;
  };
  const Case cases[] = {
      {"exact fills: three characters, then four a line", 36, 48, "abcdefghij\n",
       "|abc|defg|hij" + kLineFeed,
       {"page l 36x30 wrap", "page l 48x30 wrap later", "page l 36x30 end later"}},
      {"the byte that overflows starts the next line", 30, 30, "abcde",
       "|ab|cd|e", {"page l 24x30 wrap", "page l 24x30 wrap later", "page l 12x30 later"}},
      {"a character wider than the room stands alone", 10, 10, "abc",
       "|a|b|c", {"page l 12x30 wrap", "page l 12x30 wrap later", "page l 12x30 wrap later"}},
      {"a line feed makes the next line a first line again", 24, 48, "abc\nabc",
       "|ab|c" + kLineFeed + "|ab|c",
       {"page l 24x30 wrap", "page l 12x30 end later", "page l 24x30 wrap",
        "page l 12x30 later"}},
      {"no room given: no wrapping", 0, 0, "abcdefgh", "|abcdefgh", {"page l 96x30"}},
  };
  for (const Case& c : cases) {
    host.asked.clear();
    Room(c.first, c.later);
    EXPECT_EQ(Format(c.input), c.out) << c.name;
    EXPECT_EQ(host.asked, c.asked) << c.name;
    EXPECT_EQ(rc, kFormatSuccess) << c.name;
  }
}

TEST_F(PageWrapping, SizeAndFontCountInTheWidthAndHeight) {
  Room(48, 48);
  // Double width and height: two characters fill 48 dots; the third starts
  // a line of its own, as tall as its characters.
  EXPECT_EQ(Format(E + "4Cabc\n"), "|\x1d!\x11" "ab|c" + kLineFeed + std::string("\x1d!\x00", 3));
  EXPECT_EQ(host.asked, (Asked{"page l 48x48 wrap", "page l 24x48 end later"}));
  host.asked.clear();
  // Font B, 9 dots: five characters fit in 48, the sixth wraps; the font
  // command stays with the line it was written in.
  EXPECT_EQ(Format(E + "2fTabcdef"), "|\x1b!\x01" "abcde|f");
  EXPECT_EQ(host.asked, (Asked{"page l 45x30 wrap", "page l 9x30 later"}));
}

TEST_F(PageWrapping, TurnedAxesCountAlongTheLineInVerticalDots) {
  // 12-dot characters are 24 steps of 0.0625 mm along a turned line.
  host.settings.rotatedPageDirection = true;
  Room(48, 48);
  EXPECT_EQ(Format("abcde"), "|ab|cd|e");
  EXPECT_EQ(host.asked, (Asked{"page l 24x30 wrap", "page l 24x30 wrap later", "page l 12x30 later"}))
      << "the host gets dots; it converts what it places";
}

TEST_F(PageWrapping, ALineAnEarlierWalkBeganWrapsSooner) {
  Room(48, 48);
  host.settings.page.usedDots = 24;
  host.settings.page.onFirstLine = false;
  EXPECT_EQ(Format("abcd"), "|ab|cd");
  EXPECT_EQ(host.asked, (Asked{"page l 24x30 wrap later +24", "page l 24x30 later"}));
}

TEST_F(PageWrapping, AFullPageDropsTheWrappedRest) {
  Room(24, 24);
  host.pageLinesWithRoom = 2;
  EXPECT_EQ(Format(E + "bCabcdefgh\nij"), "|\x1b" "E\x01" "ab|cd" + std::string("\x1b!\x00", 3))
      << "the third line and everything after it are dropped; the epilogue stays";
  EXPECT_EQ(host.asked.size(), 3u);
}

TEST_F(PageWrapping, ValidatingAndOtherModesNeverWrap) {
  Room(24, 24);
  EXPECT_EQ(Format("abcdef\n", true), "abcdef" + kLineFeed);
  EXPECT_TRUE(host.asked.empty()) << "validating lays nothing out";

  host.settings.pageMode = false;
  EXPECT_EQ(Format("abcdef\ngh"), "abcdef\ngh") << "standard mode ignores the room";
  EXPECT_TRUE(host.asked.empty());
}

TEST_F(PageWrapping, ASidewaysJobReportsEveryLineItCloses) {
  host.settings.pageMode = false;
  host.settings.sideways = true;
  host.settings.page.usedDots = 12;
  EXPECT_EQ(Format("ab\ncde"), "ab\ncde") << "its bytes are those of standard mode";
  EXPECT_EQ(host.asked, (Asked{"sideways l 24x30 end +12", "sideways l 36x30"}));
  host.asked.clear();
  Format("ab\n", true);
  EXPECT_TRUE(host.asked.empty()) << "not when validating";
}

}  // namespace
