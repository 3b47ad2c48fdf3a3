#include "sim/render/receipt_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/image_test_bytes.h"
#include "sim/render/ink_test.h"

namespace sim {
namespace render {
namespace {

using namespace imagebytes;
using testbytes::Text;
using inktest::Box;
using inktest::Ink;
using inktest::One;
using inktest::Render;

const Bytes kLf = B({0x0A});
const Bytes kCut = B({0x1D, 'V', 0});

Bytes Align(int n) { return B({0x1B, 'a', n}); }
// GS v 0: an all-black block `bytes` x 8 dots wide and `rows` tall.
Bytes BlackRaster(int bytes, int rows, int m = 0) {
  return B({0x1D, 'v', '0', m}) + Le16(bytes) + Le16(rows) + Bytes(static_cast<size_t>(bytes) * rows, 0xFF);
}
// GS * x y (in 8-dot units, all black) then GS / m: the bytes a service
// sends for a logo kept in the printer's downloaded-image memory.
Bytes DownloadedLogo(int x, int y, int m = 0) {
  return B({0x1D, '*', x, y}) + Bytes(static_cast<size_t>(x) * y * 8, 0xFF) + B({0x1D, '/', m});
}

TEST(ReceiptRenderer, AlignmentPlacesALineInThePrintArea) {
  const Box plain = Ink(One(Text("ABCDE") + kLf));
  ASSERT_FALSE(plain.Empty());
  EXPECT_LT(plain.left, 12);

  const Box centred = Ink(One(Align(1) + Text("ABCDE") + kLf));
  EXPECT_EQ(centred.Width(), plain.Width());
  EXPECT_LE(std::abs(centred.CentreX2() - kPaper80Dots), 2 * 12) << centred.left << ".." << centred.right;

  const Box right = Ink(One(Align(2) + Text("ABCDE") + kLf));
  EXPECT_GT(right.right, kPaper80Dots - 12);
  EXPECT_LE(right.right, kPaper80Dots - 1);
  EXPECT_EQ(right.left - plain.left, kPaper80Dots - 5 * 12);
}

TEST(ReceiptRenderer, CharacterSizeEnlargesEachDot) {
  const Box plain = Ink(One(Text("HH") + kLf));
  struct Case {
    const char* name;
    int gsExclamation;
    int across, along;
  } cases[] = {
      {"double width", 0x10, 2, 1}, {"double height", 0x01, 1, 2}, {"triple both", 0x22, 3, 3}, {"8 x 8", 0x77, 8, 8}};
  for (const Case& c : cases) {
    const Box big = Ink(One(B({0x1D, '!', c.gsExclamation}) + Text("HH") + kLf));
    EXPECT_EQ(big.Width(), plain.Width() * c.across) << c.name;
    EXPECT_EQ(big.Height(), plain.Height() * c.along) << c.name;
  }
  // ESC ! bits 4 and 5 are double height and width too.
  const Box escBang = Ink(One(B({0x1B, '!', 0x30}) + Text("HH") + kLf));
  EXPECT_EQ(escBang.Height(), plain.Height() * 2);
  EXPECT_EQ(escBang.Width(), 2 * plain.Width());
}

TEST(ReceiptRenderer, FontBIsNarrowerAndShorter) {
  const Bytes fontB = B({0x1B, 'M', 1});
  const Box a1 = Ink(One(Text("H") + kLf)), a4 = Ink(One(Text("HHHH") + kLf));
  const Box b1 = Ink(One(fontB + Text("H") + kLf)), b4 = Ink(One(fontB + Text("HHHH") + kLf));
  EXPECT_EQ(a4.Width() - a1.Width(), 3 * 12);
  EXPECT_EQ(b4.Width() - b1.Width(), 3 * 9);
  EXPECT_LT(b1.Height(), a1.Height());
  EXPECT_LE(b1.bottom - b1.top, 17);
}

TEST(ReceiptRenderer, UnderlineReverseAndEmphasisMarkTheCells) {
  // Spaces carry no ink of their own: whatever is black is the marking.
  struct Case {
    const char* name;
    Bytes mode;
    int width, height;  // the ink of two spaces
  } cases[] = {
      {"underline 1", B({0x1B, '-', 1}), 24, 1},
      {"underline 2", B({0x1B, '-', '2'}), 24, 2},
      {"ESC ! underline", B({0x1B, '!', 0x80}), 24, 1},
      {"double-width underline", B({0x1B, '-', 1, 0x1D, '!', 0x10}), 48, 1},
      {"reverse", B({0x1D, 'B', 1}), 24, 24},
      {"reverse font B", B({0x1D, 'B', 1, 0x1B, 'M', 1}), 18, 17},
  };
  for (const Case& c : cases) {
    const PrintedImage image = One(c.mode + Text("  ") + kLf);
    const Box ink = Ink(image);
    EXPECT_EQ(ink.Width(), c.width) << c.name;
    EXPECT_EQ(ink.Height(), c.height) << c.name;
    EXPECT_EQ(inktest::CountInk(image), c.width * c.height) << c.name;
  }
  const PrintedImage plain = One(Text("I") + kLf);
  const PrintedImage bold = One(B({0x1B, 'E', 1}) + Text("I") + kLf);
  EXPECT_GT(inktest::CountInk(bold), inktest::CountInk(plain));
  EXPECT_EQ(Ink(bold).left, Ink(plain).left);
  EXPECT_EQ(Ink(bold).right, Ink(plain).right + 1);
}

TEST(ReceiptRenderer, UpsideDownTurnsTheLineInThePrintArea) {
  const PrintedImage plain = One(Text("Ab") + kLf);
  const PrintedImage turned = One(B({0x1B, '{', 1}) + Text("Ab") + kLf);
  const Box p = Ink(plain), t = Ink(turned);
  ASSERT_FALSE(t.Empty());
  EXPECT_EQ(t.right, kPaper80Dots - 1 - p.left);
  // Every dot of the line's cells lands on its opposite.
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < kPaper80Dots; ++x) {
      ASSERT_EQ(plain.Black(x, y), turned.Black(kPaper80Dots - 1 - x, 23 - y)) << x << "," << y;
    }
  }
}

TEST(ReceiptRenderer, LeftMarginWidthAndAbsolutePositions) {
  const Box margin = Ink(One(B({0x1D, 'L', 100, 0}) + Text("H") + kLf));
  EXPECT_GE(margin.left, 100);
  EXPECT_LT(margin.left, 112);
  // Centred in a 200-dot area starting at 100.
  const Box area = Ink(One(B({0x1D, 'L', 100, 0, 0x1D, 'W', 200, 0}) + Align(1) + B({0x1D, 'v', '0', 0, 2, 0, 1, 0,
                                                                                    0xFF, 0xFF})));
  EXPECT_EQ(area.left, 100 + (200 - 16) / 2);
  const Box absolute = Ink(One(B({0x1B, '$', 44, 1}) + Text("H") + kLf));  // 300
  EXPECT_GE(absolute.left, 300);
  EXPECT_LT(absolute.left, 312);
  // A line of font A holds 48 characters; the 49th starts the next line.
  EXPECT_LT(Ink(One(Text(std::string(48, 'H')) + kLf)).Height(), 34);
  EXPECT_GT(Ink(One(Text(std::string(49, 'H')) + kLf)).Height(), 34);
  // A 120-dot print area holds 10.
  const Bytes narrow = B({0x1D, 'W', 120, 0});
  EXPECT_LT(Ink(One(narrow + Text(std::string(10, 'H')) + kLf)).Height(), 34);
  EXPECT_GT(Ink(One(narrow + Text(std::string(11, 'H')) + kLf)).Height(), 34);
  // HT goes to the next multiple of 8 characters; ESC D sets other stops.
  EXPECT_EQ(Ink(One(Text("A\tH") + kLf), 0, 1 << 30, 12).left, Ink(One(Text(std::string(8, ' ') + "H") + kLf)).left);
  EXPECT_EQ(Ink(One(B({0x1B, 'D', 3, 20, 0}) + Text("A\t\tH") + kLf), 0, 1 << 30, 12).left,
            Ink(One(Text(std::string(20, ' ') + "H") + kLf)).left);
}

TEST(ReceiptRenderer, LineSpacingAndFeedsMoveThePaper) {
  struct Case {
    const char* name;
    Bytes between;
    int distance;  // from the first line's top to the second's
  } cases[] = {
      {"default", B({0x0A}), 34},
      {"ESC 3 100 (half dots)", B({0x1B, '3', 100, 0x0A}), 50},
      {"ESC 3 below the font's height", B({0x1B, '3', 10, 0x0A}), 24},
      {"blank line", B({0x0A, 0x0A}), 68},
      {"ESC J 120", B({0x1B, 'J', 120}), 60},
      {"ESC d 3", B({0x1B, 'd', 3}), 3 * 34},
  };
  const int lineEnd = Ink(One(Text("H") + kLf)).bottom + 1;
  for (const Case& c : cases) {
    const PrintedImage image = One(Text("H") + c.between + Text("H") + kLf);
    const Box first = Ink(image, 0, lineEnd);
    const Box second = Ink(image, lineEnd);
    ASSERT_FALSE(second.Empty()) << c.name;
    EXPECT_EQ(second.top - first.top, c.distance) << c.name;
  }
}

TEST(ReceiptRenderer, DownloadedLogoLandsWhereItsAlignmentSays) {
  struct Case {
    const char* name;
    Bytes bytes;
    int left, width, height;
  } cases[] = {
      {"left", DownloadedLogo(4, 2), 0, 32, 16},
      {"centred", Align(1) + DownloadedLogo(4, 2), (576 - 32) / 2, 32, 16},
      {"right", Align(2) + DownloadedLogo(4, 2), 576 - 32, 32, 16},
      {"double width, centred", Align(1) + DownloadedLogo(4, 2, 1), (576 - 64) / 2, 64, 16},
      {"quadruple, right", Align(2) + DownloadedLogo(4, 2, 3), 576 - 64, 64, 32},
      {"GS v 0 double height", BlackRaster(2, 5, 2), 0, 16, 10},
      {"NV graphics", DefineNv('A', '1', 16, 3, Bytes(6, 0xFF)) + Align(1) + PrintNv('A', '1', 2, 1),
       (576 - 32) / 2, 32, 3},
      {"print buffer, stored double height", StoreGraphics(8, 4, Bytes(4, 0xFF), false, 1, 2) + PrintGraphics(), 0, 8,
       8},
  };
  for (const Case& c : cases) {
    const Box ink = Ink(One(c.bytes));
    EXPECT_EQ(ink.left, c.left) << c.name;
    EXPECT_EQ(ink.top, 0) << c.name;
    EXPECT_EQ(ink.Width(), c.width) << c.name;
    EXPECT_EQ(ink.Height(), c.height) << c.name;
  }
}

TEST(ReceiptRenderer, ImagesStartBelowTheTextBeforeThem) {
  const PrintedImage image = One(Text("H") + BlackRaster(1, 4) + Text("H") + kLf);
  const Box text = Ink(image, 0, 24);
  const Box block = Ink(image, 24, 28);
  EXPECT_EQ(block.top, 24);
  EXPECT_EQ(block.Width(), 8);
  EXPECT_FALSE(Ink(image, 28).Empty());  // the second line, below the image
  EXPECT_LT(text.bottom, 24);
}

TEST(ReceiptRenderer, ColumnImagesJoinTheLine) {
  // ESC * 33: 24-dot double density, 3 columns all black.
  const PrintedImage image = One(Text("H") + B({0x1B, '*', 33, 3, 0}) + Bytes(9, 0xFF) + kLf);
  const Box piece = Ink(image, 0, 1 << 30, 12);
  EXPECT_EQ(piece.left, 12);
  EXPECT_EQ(piece.Width(), 3);
  EXPECT_EQ(piece.Height(), 24);
  // ESC * 0: 8-dot single density, each dot 2 across and 3 along.
  const Box single = Ink(One(B({0x1B, '*', 0, 2, 0, 0xFF, 0xFF}) + kLf));
  EXPECT_EQ(single.Width(), 4);
  EXPECT_EQ(single.Height(), 24);
}

TEST(ReceiptRenderer, NvGraphicsFromBeforeTheJobPrint) {
  NvGraphics nv;
  nv.keyed["LG"] = Drawn({"##..", "..##"});
  const std::vector<PrintedImage> receipts = RenderReceipts(PrintNv('L', 'G'), nv, kPaper80Dots);
  ASSERT_EQ(receipts.size(), 1u);
  EXPECT_TRUE(receipts[0].Black(0, 0));
  EXPECT_TRUE(receipts[0].Black(3, 1));
  EXPECT_FALSE(receipts[0].Black(3, 0));
}

TEST(ReceiptRenderer, NumberedNvImagesPrintEnlarged) {
  NvGraphics nv;
  nv.numbered = {Drawn({"#."}), Drawn({"##", "##"})};
  const std::vector<PrintedImage> receipts = RenderReceipts(B({0x1C, 'p', 2, 3}), nv, kPaper80Dots);
  ASSERT_EQ(receipts.size(), 1u);
  const Box ink = Ink(receipts[0]);
  EXPECT_EQ(ink.Width(), 4);
  EXPECT_EQ(ink.Height(), 4);
}

TEST(ReceiptRenderer, BarcodesStandAlignedWithTheirTextWhereGsHSays) {
  // CODE128 "{BA1", 40 dots tall, centred.
  const Bytes barcode = B({0x1D, 'h', 40, 0x1D, 'k', 73, 4, '{', 'B', 'A', '1'});
  struct Case {
    const char* name;
    int hri;
    bool above, below;
  } cases[] = {
      {"none", 0, false, false}, {"above", 1, true, false}, {"below", 2, false, true}, {"both", 3, true, true}};
  for (const Case& c : cases) {
    const PrintedImage image = One(Align(1) + B({0x1D, 'H', c.hri}) + barcode);
    const Box all = Ink(image);
    ASSERT_FALSE(all.Empty()) << c.name;
    // The bars are the rows where the ink runs widest.
    const int barsTop = c.above ? 24 + 2 : 0;
    const Box bars = Ink(image, barsTop, barsTop + 40);
    EXPECT_EQ(bars.top, barsTop) << c.name;
    EXPECT_LE(std::abs(bars.CentreX2() - kPaper80Dots), 2) << c.name;
    const Box over = Ink(image, 0, barsTop);
    const Box under = Ink(image, barsTop + 40);
    EXPECT_EQ(over.Empty(), !c.above) << c.name;
    EXPECT_EQ(under.Empty(), !c.below) << c.name;
    for (const Box& text : {over, under}) {
      if (text.Empty()) continue;
      EXPECT_LE(text.Height(), 24) << c.name;
      EXPECT_LE(std::abs(text.CentreX2() - bars.CentreX2()), 12) << c.name;
    }
  }
}

TEST(ReceiptRenderer, EachCutEndsAReceipt) {
  const std::vector<PrintedImage> receipts =
      Render(Text("ONE") + kLf + kCut + Text("TWO") + kLf + kCut + Text("3") + kLf);
  ASSERT_EQ(receipts.size(), 3u);
  for (const PrintedImage& r : receipts) EXPECT_EQ(r.width, kPaper80Dots);
  // Text after a cut starts at the top of its own receipt.
  EXPECT_LT(Ink(receipts[1]).top, 24);
  // The cut mark: a dashed last row.
  const PrintedImage& first = receipts[0];
  const int last = first.height - 1;
  EXPECT_TRUE(first.Black(0, last));
  EXPECT_FALSE(first.Black(8, last));
  EXPECT_EQ(Ink(first, 0, last).bottom < last, true);
  // A feed-and-cut feeds first; cutting blank paper makes no receipt.
  const std::vector<PrintedImage> fed = Render(kCut + Text("A") + kLf + B({0x1D, 'V', 65, 100}));
  ASSERT_EQ(fed.size(), 1u);
  EXPECT_EQ(fed[0].height, 34 + 50 + 1);
}

TEST(ReceiptRenderer, PageModeAreasLandWhereTheirCoordinatesSay) {
  // Along the paper the units are half dots: y 200 is dot 100.
  const Bytes page = B({0x1B, 'L'}) + B({0x1B, 'W', 0, 0, 0, 0, 200, 0, 200, 0}) + Text("LEFT") +
                     B({0x1B, 'W', 44, 1, 200, 0, 200, 0, 100, 0}) + Text("RIGHT") + B({0x0C});
  const PrintedImage image = One(page);
  const Box left = Ink(image, 0, 1 << 30, 0, 300);
  const Box right = Ink(image, 0, 1 << 30, 300);
  EXPECT_LT(left.left, 12);
  EXPECT_LT(left.top, 24);
  EXPECT_LE(left.right, 200);
  EXPECT_GE(right.left, 300);
  EXPECT_LT(right.left, 312);
  EXPECT_GE(right.top, 100);
  EXPECT_LT(right.top, 124);
  EXPECT_EQ(image.height, right.bottom + 1);

  // Direction 2 (from the lower right) turns the area's text upside down.
  const Bytes turned = B({0x1B, 'L', 0x1B, 'T', 2}) + B({0x1B, 'W', 0, 0, 0, 0, 200, 0, 200, 0}) + Text("X") +
                       B({0x0C});
  const Box t = Ink(One(turned));
  EXPECT_GT(t.right, 200 - 12);
  EXPECT_LE(t.right, 199);
  EXPECT_GT(t.bottom, 100 - 24);
  // Direction 1 (from the lower left): the text runs up the area's left edge.
  const Bytes up = B({0x1B, 'L', 0x1B, 'T', 1}) + B({0x1B, 'W', 0, 0, 0, 0, 200, 0, 200, 0}) + Text("XXX") +
                   B({0x0C});
  const Box u = Ink(One(up));
  EXPECT_LT(u.left, 24);
  EXPECT_GT(u.Height(), u.Width());
  EXPECT_LE(u.bottom, 99);
  EXPECT_GT(u.bottom, 99 - 12);
  // Direction 3 (from the upper right): down the area's right edge.
  const Bytes down = B({0x1B, 'L', 0x1B, 'T', 3}) + B({0x1B, 'W', 0, 0, 0, 0, 200, 0, 200, 0}) + Text("XXX") +
                     B({0x0C});
  const Box d = Ink(One(down));
  EXPECT_GT(d.right, 199 - 24);
  EXPECT_LE(d.right, 199);
  EXPECT_LT(d.top, 12);
  EXPECT_GT(d.Height(), d.Width());
}

TEST(ReceiptRenderer, PageModeOnlyPrintsWhenAsked) {
  // Cancelled, cleared or never finished pages leave no ink.
  EXPECT_TRUE(Render(B({0x1B, 'L'}) + Text("GONE") + B({0x1B, 'S'})).empty());
  EXPECT_TRUE(Render(B({0x1B, 'L'}) + Text("GONE") + B({0x18, 0x0C})).empty());
  EXPECT_TRUE(Render(B({0x1B, 'L'}) + Text("PENDING") + kLf).empty());
  // ESC FF prints and keeps the page: printed twice.
  const PrintedImage twice = One(B({0x1B, 'L'}) + Text("X") + B({0x1B, 0x0C, 0x1B, 0x0C, 0x1B, 'S'}));
  const PrintedImage once = One(B({0x1B, 'L'}) + Text("X") + B({0x0C}));
  ASSERT_GT(once.height, 0);
  ASSERT_EQ(twice.height, 2 * once.height);
  EXPECT_TRUE(std::equal(once.dots.begin(), once.dots.end(), twice.dots.begin() + once.dots.size()));
}

TEST(ReceiptRenderer, CodeTablesPickTheCharacters) {
  // é is 0x82 in PC437, 0xE9 in Windows-1252, 0x82 again in PC850.
  const PrintedImage cp437 = One(Text("\x82") + kLf);
  const PrintedImage cp1252 = One(B({0x1B, 't', 16}) + Text("\xE9") + kLf);
  const PrintedImage cp850 = One(B({0x1B, 't', 2}) + Text("\x82") + kLf);
  const PrintedImage plainE = One(Text("e") + kLf);
  EXPECT_EQ(cp437, cp1252);
  EXPECT_EQ(cp437, cp850);
  EXPECT_FALSE(cp437 == plainE);
  // Characters the 12 x 24 font lacks still print, not as '?'.
  const PrintedImage question = One(Text("?") + kLf);
  EXPECT_FALSE(One(B({0x1B, 't', 16}) + Text("\x80") + kLf) == question);
  EXPECT_FALSE(One(B({0x1B, 't', 17}) + Text("\x80") + kLf) == question);
  EXPECT_EQ(One(B({0x1B, 't', 1}) + Text("\x80") + kLf), question);  // Katakana: not here
  // The same byte in a Cyrillic table is another character.
  EXPECT_FALSE(One(B({0x1B, 't', 17}) + Text("\x82") + kLf) == cp437);
}

TEST(ReceiptRenderer, RejectedCommandsLeaveNoInk) {
  struct Case {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"GS / with no image", B({0x1D, '/', 0})},
      {"print buffer empty", PrintGraphics()},
      {"raster cut short", B({0x1D, 'v', '0', 0, 1, 0, 8, 0, 0xFF})},
      {"FF in standard mode", B({0x0C})},
      {"unknown NV key", PrintNv('Z', 'Z')},
  };
  for (const Case& c : cases) EXPECT_TRUE(Render(c.bytes).empty()) << c.name;
  // A rejected size leaves the size as it was.
  EXPECT_EQ(One(B({0x1D, '!', 0x88}) + Text("H") + kLf), One(Text("H") + kLf));
}

TEST(ReceiptRenderer, NarrowPaper) {
  EXPECT_EQ(PaperWidthForModel("VIRTUAL-58"), kPaper58Dots);
  EXPECT_EQ(PaperWidthForModel("VIRTUAL-80"), kPaper80Dots);
  const PrintedImage narrow = One(Align(2) + Text("H") + kLf, kPaper58Dots);
  EXPECT_EQ(narrow.width, kPaper58Dots);
  EXPECT_GT(Ink(narrow).right, kPaper58Dots - 12);
  // 32 characters fill a 58 mm line; the 33rd wraps.
  EXPECT_GT(Ink(One(Text(std::string(33, 'H')) + kLf, kPaper58Dots)).Height(), 34);
  EXPECT_LT(Ink(One(Text(std::string(32, 'H')) + kLf, kPaper58Dots)).Height(), 34);
}

}  // namespace
}  // namespace render
}  // namespace sim
