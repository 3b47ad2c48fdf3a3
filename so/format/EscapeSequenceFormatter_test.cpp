// The formatter on its own, against a fake printer: the numbers it counts
// with and the hooks it calls come from the host, and nothing else. The
// bytes of each sequence on a real core are tested in so/printer.
#include "so/format/EscapeSequenceFormatter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "so/format/CCmdHelperBase.h"
#include "so/format/FakeFormatterHost.h"

using namespace QEL::Printer;

namespace {

const std::string E = "\x1b|";
using Asked = std::vector<std::string>;

std::string Pos(int dots) {  // ESC $ nL nH
  return std::string{'\x1b', '$', static_cast<char>(dots & 0xFF), static_cast<char>(dots >> 8)};
}
const std::string kLeftJustified("\x1b" "a\x00", 3);
const std::string kSizeNormal("\x1d!\x00", 3);

class FormatterUnit : public ::testing::Test {
 protected:
  std::string Format(const std::string& text, bool validateOnly = false) {
    PrinterBuffer out(16, 16);
    rc = formatter.Format(host, out, reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                          validateOnly);
    return std::string(reinterpret_cast<const char*>(out.data()), out.size());
  }
  std::string Feed(int32_t dots) {
    PrinterBuffer b(16, 16);
    helper.FeedDots(b, dots);
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
  }

  CCmdHelperBase helper;
  FakeFormatterHost host{helper};
  EscapeSequenceFormatter formatter;
  int32_t rc = -1;
};

TEST_F(FormatterUnit, PlacesAgainstTheHostsLineWidthAndFont) {
  host.settings.lineWidth = 384;
  host.settings.font = {10, 20};
  // "cdef" is 40 dots wide.
  EXPECT_EQ(Format("ab" + E + "rAcdef\n"), "ab" + Pos(344) + "cdef\n" + kLeftJustified);
  EXPECT_EQ(Format("ab" + E + "cAcdef\n"), "ab" + Pos(172) + "cdef\n" + kLeftJustified);
  host.settings.lineWidth = 40;
  EXPECT_EQ(Format("ab" + E + "rAcdef\n"), "ab" + std::string("cdef\n") + kLeftJustified)
      << "a piece as wide as the line is not moved";
  EXPECT_EQ(rc, kFormatSuccess);
}

TEST_F(FormatterUnit, FontSequencesUseTheHostsFontTable) {
  host.fonts = {{12, 24}, {9, 17}, {16, 32}};
  host.settings.fontCount = 3;
  // Font 3 is not font B; its 16-dot "c" is placed at 576 - 16.
  EXPECT_EQ(Format(E + "3fTab" + E + "rAc\n"),
            std::string("\x1b!\x00", 3) + "ab" + Pos(560) + "c\n" + kLeftJustified);
  EXPECT_EQ(Format(E + "4fTab"), E + "4fTab");
  EXPECT_EQ(rc, kFormatUnusable);
  host.settings.defaultFont = 1;
  EXPECT_EQ(Format(E + "0fTab" + E + "rAc\n"),
            "\x1b!\x01" "ab" + Pos(567) + "c\n" + kLeftJustified)
      << "font 0 is the host's default font";
}

TEST_F(FormatterUnit, DirectBytesGoToTheHostNotToTheOutput) {
  EXPECT_EQ(Format("x" + E + "3Eabcy"), "xy");
  EXPECT_EQ(host.directBytes, "abc");
  EXPECT_EQ(Format(E + "5Eab"), "");
  EXPECT_EQ(host.directBytes, "abcab") << "only the bytes that are there";
  EXPECT_EQ(host.directCalls, (std::vector<size_t>{3, 2}));
  Format(E + "3Eabc", true);
  EXPECT_EQ(host.directCalls.size(), 2u) << "validating sends nothing";
  EXPECT_EQ(rc, kFormatSuccess);
}

TEST_F(FormatterUnit, WithoutTheFeaturesStoredThingsKeepTheirOldResults) {
  EXPECT_EQ(Format("a" + E + "3Bb"), "a" + E + "3Bb");
  EXPECT_EQ(rc, kFormatUnusable);
  EXPECT_EQ(Format("a" + E + "tLb" + E + "bL"), "ab") << "no logo set: nothing printed";
  EXPECT_EQ(rc, kFormatSuccess);
  EXPECT_EQ(Format(E + "5R12345X"), E + "5RX") << "the barcode parameters never reach paper";
  EXPECT_EQ(rc, kFormatUnusable);
  EXPECT_EQ(host.asked, (Asked{"bitmap 3", "logo top", "logo bottom", "barcode 12345"}));
}

struct HookCase {
  const char* name;
  std::string input;
  bool validateOnly;
  std::string out;
  int32_t rc;
  Asked asked;
};

TEST_F(FormatterUnit, HooksPrintInPlaceOfTheirSequence) {
  host.bitmap = FakeFormatterHost::Answer{SequenceOutcome::kDone, "<bmp>"};
  host.logo = FakeFormatterHost::Answer{SequenceOutcome::kDone, "<logo>"};
  host.barcode = FakeFormatterHost::Answer{SequenceOutcome::kValueReplaced, "<bar>"};
  const std::string params = "s102h80w2a+1t-2d1234e";
  const std::string barcode = E + std::to_string(params.size()) + "R" + params;
  const HookCase cases[] = {
      {"bitmap", "a" + E + "20Bb", false, "a<bmp>b", 0, {"bitmap 20"}},
      {"bitmap above 20", E + "21B", false, E + "21B", 111, {}},
      {"bitmap with *", E + "*3B", false, E + "*3B", 111, {}},
      {"bitmap with !", E + "!3B", false, E + "!3B", 111, {}},
      {"bitmap with a modifier", E + "3xB", false, E + "3xB", 111, {}},
      {"bitmap, validating", E + "3B", true, "", 0, {"bitmap 3 validating"}},
      {"logos", E + "tLx" + E + "bL", false, "<logo>x<logo>", 0, {"logo top", "logo bottom"}},
      {"another logo", E + "xL", false, E + "xL", 111, {}},
      {"logo, validating", E + "tL", true, "", 0, {}},
      {"barcode", barcode + "X", false, "<bar>X", 106, {"barcode " + params}},
      {"barcode, byte count form", E + "*3Rabc", false, "<bar>", 106, {"barcode abc"}},
      {"barcode, validating", barcode, true, "", 106, {"barcode " + params + " validating"}},
  };
  for (const HookCase& c : cases) {
    host.asked.clear();
    EXPECT_EQ(Format(c.input, c.validateOnly), c.out) << c.name;
    EXPECT_EQ(rc, c.rc) << c.name;
    EXPECT_EQ(host.asked, c.asked) << c.name;
  }
}

TEST_F(FormatterUnit, PageModeLinesAreHandedToTheHostBeforeTheirBytes) {
  host.settings.pageMode = true;
  host.pagePlacement = "<at>";
  // A line feed is ESC J with the spacing in vertical dots: 30 dots at
  // 0.125 / 0.0625 mm are 60.
  EXPECT_EQ(Format(E + "cA" + E + "4Cab\ncd"),
            "<at>\x1d!\x11" "ab\x1bJ\x3c" "<at>cd" + kSizeNormal)
      << "no ESC a in page mode, neither for the alignment nor at the end";
  EXPECT_EQ(host.asked, (Asked{"page c 48x48 end", "page c 48x48"}));

  host.asked.clear();
  host.pageLinesWithRoom = 1;
  EXPECT_EQ(Format(E + "bCab\ncd\nef"), "<at>\x1b" "E\x01" "ab\x1bJ\x3c" + std::string("\x1b!\x00", 3))
      << "the page is full: the second line and the rest are dropped, the epilogue stays";
  EXPECT_EQ(host.asked, (Asked{"page l 24x30 end", "page l 24x30 end"}));

  host.asked.clear();
  host.settings.rotatedPageDirection = true;
  host.pageLinesWithRoom = -1;
  EXPECT_EQ(Format("ab\n"), "<at>ab\x1bJ\x1e") << "a turned page counts the spacing unconverted";
  Format("ab\ncd", true);
  EXPECT_EQ(host.asked, (Asked{"page l 24x30 end"})) << "validating lays nothing out";
}

struct FeedCase {
  int32_t mapMode;
  bool sideways;
  int32_t units;
  int32_t dots;
  int32_t rc;
};

TEST_F(FormatterUnit, UnitFeedsConvertAlongTheAxisThePaperMoves) {
  // 0.125 mm across, 0.0625 mm along the paper.
  const FeedCase cases[] = {
      {1, false, 100, 200, 0},   {1, true, 100, 100, 0},
      {4, false, 100, 16, 0},    {4, true, 100, 8, 0},
      {3, false, 1000, 405, 0},  {3, true, 1000, 202, 0},
      {1, false, 9000, 16000, 106},  // a metre of paper at most
      {1, true, 9000, 8000, 106},
  };
  for (const FeedCase& c : cases) {
    host.settings.units.mapMode = c.mapMode;
    host.settings.sideways = c.sideways;
    EXPECT_EQ(Format(E + std::to_string(c.units) + "uF"), Feed(c.dots))
        << "MapMode " << c.mapMode << (c.sideways ? " sideways " : " ") << c.units;
    EXPECT_EQ(rc, c.rc);
  }
}

TEST_F(FormatterUnit, CutsUseTheHostsCutter) {
  EXPECT_EQ(Format(E + "fP"), E + "fP") << "no cutter";
  EXPECT_EQ(rc, kFormatUnusable);
  host.settings.hasCutter = true;
  host.settings.cutterDistance = 1000;  // 10 mm: 160 dots at 0.0625 mm
  PrinterBuffer cut(16, 16);
  helper.FeedAndPartialCut(cut);
  EXPECT_EQ(Format(E + "fP"),
            Feed(160) + std::string(reinterpret_cast<const char*>(cut.data()), cut.size()));
  EXPECT_EQ(rc, kFormatSuccess);
}

TEST_F(FormatterUnit, TheHostResetsBoldAndUnderline) {
  host.printModeReset = std::string("\x1c!\x00", 3);  // as a printer in Kanji mode would
  EXPECT_EQ(Format(E + "bCx"), "\x1b" "E\x01x" + *host.printModeReset);
  EXPECT_EQ(Format(E + "uCx"), "\x1b-\x01x" + *host.printModeReset);
}

TEST_F(FormatterUnit, AWalkThatEndedEarlyLeavesNothingForTheNext) {
  Format("abc" + E + "zZdef", true);
  EXPECT_EQ(rc, kFormatUnusable);
  Format("abc\f" + E + "cA\n", true);
  EXPECT_EQ(rc, kFormatUnusable);
  EXPECT_EQ(Format("x"), "x");
  EXPECT_EQ(rc, kFormatSuccess);
}

}  // namespace
