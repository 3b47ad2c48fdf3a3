// Barcodes and symbols drawn from the commands a printer receives: sizes in
// dots, the bars themselves, and what is refused.
#include "sim/render/symbol_drawing.h"

#include <gtest/gtest.h>
#include <zint.h>

#include <string>
#include <vector>

#include "sim/render/symbol_zint.h"

namespace sim {
namespace render {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Of(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes GsK(int m, const Bytes& data) {
  Bytes b{0x1D, 'k', static_cast<uint8_t>(m), static_cast<uint8_t>(data.size())};
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

// GS ( k pL pH cn fn followed by `rest`.
Bytes GsParenK(uint8_t cn, uint8_t fn, const Bytes& rest) {
  const size_t p = 2 + rest.size();
  Bytes b{0x1D, '(', 'k', static_cast<uint8_t>(p & 0xFF), static_cast<uint8_t>(p >> 8), cn, fn};
  b.insert(b.end(), rest.begin(), rest.end());
  return b;
}

Bytes QrStore(const std::string& data) {
  Bytes rest{'0'};
  rest.insert(rest.end(), data.begin(), data.end());
  return GsParenK('1', 'P', rest);
}
Bytes Pdf417Store(const std::string& data) {
  Bytes rest{'0'};
  rest.insert(rest.end(), data.begin(), data.end());
  return GsParenK('0', 'P', rest);
}
const Bytes kQrPrint = GsParenK('1', 'Q', {'0'});
const Bytes kPdf417Print = GsParenK('0', 'Q', {'0'});

struct Drawn {
  bool known = false;
  DrawnSymbol symbol;
  std::string why;
};

Drawn Feed(SymbolDrawing& drawing, const std::vector<Bytes>& commands) {
  Drawn last;
  for (const Bytes& c : commands) {
    last = Drawn();
    last.known = drawing.Command(c.data(), c.size(), &last.symbol, &last.why);
  }
  return last;
}

// One row of the image as a module string, one character per `module` dots,
// each module checked to be even all across.
std::string ModuleRow(const PrintedImage& image, int y, int module) {
  std::string row;
  for (int x = 0; x < image.width; x += module) {
    const bool black = image.Black(x, y);
    for (int i = 1; i < module; ++i) EXPECT_EQ(image.Black(x + i, y), black) << "x " << x + i;
    row += black ? '1' : '0';
  }
  return row;
}

// EAN-13 4901234567894: guards 101, left digits 9 0 1 2 3 4 in the parities
// the leading 4 selects (A B A A B B), centre 01010, right digits 5 6 7 8 9 4
// in set C, guard 101.
const char kEan13Modules[] =
    "101"
    "0001011"
    "0100111"
    "0011001"
    "0010011"
    "0100001"
    "0011101"
    "01010"
    "1001110"
    "1010000"
    "1000100"
    "1001000"
    "1110100"
    "1011100"
    "101";

TEST(SymbolDrawingTest, OneDimensionalCodesTakeModuleWidthAndHeightInDots) {
  struct Case {
    const char* what;
    std::vector<Bytes> commands;
    int module, height;
  };
  const Case cases[] = {
      {"defaults: module 3, 162 dots", {GsK(67, Of("490123456789"))}, 3, 162},
      {"GS w 2, GS h 50", {{0x1D, 'w', 2}, {0x1D, 'h', 50}, GsK(67, Of("490123456789"))}, 2, 50},
      {"GS w 6, zero-terminated form",
       {{0x1D, 'w', 6}, {0x1D, 'k', 2, '4', '9', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 0}},
       6,
       162},
      {"GS w 7 is ignored", {{0x1D, 'w', 4}, {0x1D, 'w', 7}, GsK(67, Of("4901234567894"))}, 4, 162},
      {"GS w 1 is ignored", {{0x1D, 'w', 5}, {0x1D, 'w', 1}, GsK(67, Of("490123456789"))}, 5, 162},
      {"GS h 0 is one dot", {{0x1D, 'h', 0}, GsK(67, Of("490123456789"))}, 3, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SymbolDrawing drawing;
    const Drawn d = Feed(drawing, c.commands);
    ASSERT_TRUE(d.known);
    EXPECT_EQ(d.why, "");
    ASSERT_EQ(d.symbol.dots.width, 95 * c.module);
    ASSERT_EQ(d.symbol.dots.height, c.height);
    EXPECT_EQ(ModuleRow(d.symbol.dots, 0, c.module), kEan13Modules);
    for (int y = 1; y < c.height; ++y) ASSERT_EQ(ModuleRow(d.symbol.dots, y, c.module), kEan13Modules);
    EXPECT_EQ(d.symbol.hri, "4901234567894");
  }
}

TEST(SymbolDrawingTest, HriSettingsComeWithTheSymbolAndResetDropsThem) {
  SymbolDrawing drawing;
  Drawn d = Feed(drawing, {{0x1D, 'H', '2'}, {0x1D, 'f', 1}, GsK(65, Of("03600029145"))});
  EXPECT_EQ(d.symbol.hri, "036000291452");
  EXPECT_EQ(d.symbol.hriPosition, 2);
  EXPECT_EQ(d.symbol.hriFont, 1);
  // GS H 4 selects nothing and is ignored.
  d = Feed(drawing, {{0x1D, 'H', 4}, {0x1D, 'w', 2}, {0x1D, 'h', 20}, GsK(65, Of("03600029145"))});
  EXPECT_EQ(d.symbol.hriPosition, 2);
  drawing.Reset();
  d = Feed(drawing, {GsK(65, Of("03600029145"))});
  EXPECT_EQ(d.symbol.hriPosition, 0);
  EXPECT_EQ(d.symbol.hriFont, 0);
  EXPECT_EQ(d.symbol.dots.width, 95 * 3);
  EXPECT_EQ(d.symbol.dots.height, 162);
}

// The printer's Code 128, in the sets it was given, against libzint's own
// encoder where that one picks the same sets.
TEST(SymbolDrawingTest, Code128IsDrawnInTheGivenCodeSets) {
  struct Case {
    const char* what;
    Bytes data;
    int zintSymbology;
    std::string zintData, hri;
  };
  const Case cases[] = {
      {"set B", Of("{BAB12"), BARCODE_CODE128B, "AB12", "AB12"},
      {"set B with {{", Of("{Ba{{b"), BARCODE_CODE128B, "a{b", "a{b"},
      {"set C", {'{', 'C', 12, 34, 56, 78}, BARCODE_CODE128, "12345678", "12345678"},
      {"set A control character", {'{', 'A', 'A', 0x01}, BARCODE_CODE128, "A\x01", "A "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SymbolDrawing drawing;
    const Drawn d = Feed(drawing, {{0x1D, 'w', 2}, GsK(73, c.data)});
    ASSERT_EQ(d.why, "");
    ZintModules z;
    std::string why;
    ZintRequest request;
    request.symbology = c.zintSymbology;
    ASSERT_TRUE(
        ZintEncode(request, reinterpret_cast<const uint8_t*>(c.zintData.data()), c.zintData.size(), &z, &why))
        << why;
    ASSERT_EQ(d.symbol.dots.width, z.width * 2);
    std::string expected;
    for (uint8_t m : z.rows[0]) expected += m ? '1' : '0';
    EXPECT_EQ(ModuleRow(d.symbol.dots, 0, 2), expected);
    EXPECT_EQ(d.symbol.hri, c.hri);
  }
  // Digits in set B are eleven modules each, where set C packs two.
  SymbolDrawing drawing;
  const Drawn b = Feed(drawing, {GsK(73, Of("{B1234"))});
  const Drawn cc = Feed(drawing, {GsK(73, {'{', 'C', 12, 34})});
  EXPECT_EQ(b.symbol.dots.width - cc.symbol.dots.width, 2 * 11 * 3);
  EXPECT_EQ(b.symbol.hri, cc.symbol.hri);
}

// Narrow elements are the module width, wide ones the printer's wide width
// for it: 5 dots at module width 2, 8 at 3.
TEST(SymbolDrawingTest, TwoWidthCodesUseThePrintersWideElements) {
  struct Case {
    const char* what;
    int module;
    Bytes command;
    std::string elements;  // n narrow, W wide; bar first, then alternating
  };
  const Case cases[] = {
      // *A*, a narrow space between characters.
      {"CODE39 module 2", 2, GsK(69, Of("A")),
       "nWnnWnWnn"
       "n"
       "WnnnnWnnW"
       "n"
       "nWnnWnWnn"},
      {"CODE39 stars given", 3, GsK(69, Of("*A*")),
       "nWnnWnWnn"
       "n"
       "WnnnnWnnW"
       "n"
       "nWnnWnWnn"},
      // Start, 1 in the bars interleaved with 2 in the spaces, stop.
      {"ITF module 3", 3, GsK(70, Of("12")),
       "nnnn"
       "WnnWnnnnWW"
       "Wnn"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SymbolDrawing drawing;
    const Drawn d = Feed(drawing, {{0x1D, 'w', static_cast<uint8_t>(c.module)}, {0x1D, 'h', 10}, c.command});
    ASSERT_EQ(d.why, "");
    std::string expected;
    char ink = '1';
    for (char e : c.elements) {
      expected.append(e == 'n' ? c.module : (c.module == 2 ? 5 : 8), ink);
      ink = ink == '1' ? '0' : '1';
    }
    ASSERT_EQ(d.symbol.dots.height, 10);
    for (int y = 0; y < 10; ++y) EXPECT_EQ(ModuleRow(d.symbol.dots, y, 1), expected);
  }
}

TEST(SymbolDrawingTest, UpcEArrivesAsItsUpcANumber) {
  SymbolDrawing drawing;
  const Drawn six = Feed(drawing, {GsK(66, Of("123456"))});
  const Drawn eleven = Feed(drawing, {GsK(66, Of("01234500006"))});
  const Drawn twelve = Feed(drawing, {GsK(66, Of("012345000065"))});
  ASSERT_EQ(six.symbol.dots.width, 51 * 3);
  EXPECT_EQ(eleven.symbol.dots, six.symbol.dots);
  EXPECT_EQ(twelve.symbol.dots, six.symbol.dots);
  EXPECT_EQ(six.symbol.hri, "01234565");
}

TEST(SymbolDrawingTest, QrModulesAreModuleSizeDotsSquare) {
  for (int module : {1, 4, 16}) {
    SCOPED_TRACE(module);
    SymbolDrawing drawing;
    const Drawn d =
        Feed(drawing, {GsParenK('1', 'C', {static_cast<uint8_t>(module)}), QrStore("hello"), kQrPrint});
    ASSERT_EQ(d.why, "");
    // Version 1: 21 modules. The finder pattern in the top left corner: a
    // dark ring, a light ring, a dark 3 x 3 core.
    ASSERT_EQ(d.symbol.dots.width, 21 * module);
    ASSERT_EQ(d.symbol.dots.height, 21 * module);
    const char* const kFinder[] = {"11111110", "10000010", "10111010", "10111010",
                                   "10111010", "10000010", "11111110", "00000000"};
    for (int row = 0; row < 8; ++row) {
      for (int dy = 0; dy < module; ++dy) {
        EXPECT_EQ(ModuleRow(d.symbol.dots, row * module + dy, module).substr(0, 8), kFinder[row]) << row;
      }
    }
  }
}

TEST(SymbolDrawingTest, QrErrorLevelMakesTheSymbolLarger) {
  SymbolDrawing drawing;
  const std::string data(30, 'x');
  const Drawn low =
      Feed(drawing, {GsParenK('1', 'C', {1}), GsParenK('1', 'E', {'0'}), QrStore(data), kQrPrint});
  const Drawn high = Feed(drawing, {GsParenK('1', 'E', {'3'}), kQrPrint});
  // 30 bytes: version 2 (25 modules) at level L, version 4 (33) at H.
  EXPECT_EQ(low.symbol.dots.width, 25);
  EXPECT_EQ(high.symbol.dots.width, 33);
}

TEST(SymbolDrawingTest, Pdf417RowsAreRowHeightTimesModuleDots) {
  SymbolDrawing drawing;
  const Drawn d = Feed(drawing, {GsParenK('0', 'A', {2}), GsParenK('0', 'B', {10}), GsParenK('0', 'C', {2}),
                                 GsParenK('0', 'D', {4}), GsParenK('0', 'E', {'0', '2'}),
                                 Pdf417Store("PDF417 data"), kPdf417Print});
  ASSERT_EQ(d.why, "");
  // Start, left indicator, 2 data columns, right indicator (17 modules
  // each), stop (18).
  ASSERT_EQ(d.symbol.dots.width, (17 * 5 + 18) * 2);
  ASSERT_EQ(d.symbol.dots.height, 10 * 8);
  for (int y = 0; y < d.symbol.dots.height; ++y) {
    const std::string row = ModuleRow(d.symbol.dots, y, 2);
    ASSERT_EQ(row.substr(0, 17), "11111111010101000") << y;
    ASSERT_EQ(row.substr(row.size() - 18), "111111101000101001") << y;
    if (y % 8 != 0) {
      ASSERT_EQ(row, ModuleRow(d.symbol.dots, y - 1, 2)) << y;
    }
  }
  // Truncated: no right indicator, a one-module stop.
  const Drawn t = Feed(drawing, {GsParenK('0', 'F', {1}), kPdf417Print});
  ASSERT_EQ(t.why, "");
  EXPECT_EQ(t.symbol.dots.width, (17 * 4 + 1) * 2);
}

TEST(SymbolDrawingTest, RefusalsSayWhyAndDrawNothing) {
  struct Case {
    const char* what;
    std::vector<Bytes> commands;
    std::string why;
  };
  const Case cases[] = {
      {"unknown symbology", {GsK(80, Of("1234"))}, "m 80 outside 0..6 or 65..79"},
      {"unknown symbology, first form", {{0x1D, 'k', 7, '1', 0}}, "m 7 outside 0..6 or 65..79"},
      {"EAN-13 with a letter", {GsK(67, Of("49012345678A"))}, "EAN-13 data byte 0x41 is not a digit"},
      {"EAN-8 check digit", {GsK(68, Of("12345678"))}, "check digit 8, not 0"},
      {"UPC-E without a short form", {GsK(66, Of("01234567890"))}, "UPC-A 01234567890 has no UPC-E form"},
      {"CODE39 star inside", {GsK(69, Of("A*B"))}, "CODE39 '*' is only the start and the stop character"},
      {"CODE128 shift in set C", {GsK(73, {'{', 'C', 12, '{', 'S', 'a'})}, "CODE128 shift in code set C"},
      {"CODE128 lower case in set A",
       {GsK(73, Of("{Aab"))},
       "CODE128 code set A byte 0x61 is not 0x00..0x5F"},
      {"QR print with nothing stored", {kQrPrint}, "QR print with no data stored"},
      {"PDF417 print with nothing stored", {kPdf417Print}, "PDF417 print with no data stored"},
      {"stored data dropped by reset",
       {QrStore("x"), Bytes{0x1B, '@'}, kQrPrint},
       "QR print with no data stored"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SymbolDrawing drawing;
    Drawn d;
    for (const Bytes& command : c.commands) {
      d = Drawn();
      if (command == Bytes{0x1B, '@'}) {
        EXPECT_FALSE(drawing.Command(command.data(), command.size(), &d.symbol, &d.why));
        drawing.Reset();
        continue;
      }
      d.known = drawing.Command(command.data(), command.size(), &d.symbol, &d.why);
    }
    EXPECT_TRUE(d.known);
    EXPECT_EQ(d.why, c.why);
    EXPECT_EQ(d.symbol.dots.width, 0);
    EXPECT_TRUE(d.symbol.dots.dots.empty());
  }
}

// libzint draws no model 1 symbol: the room it takes is shown crossed, so
// that nobody takes the picture for a code that scans.
TEST(SymbolDrawingTest, QrModelOneIsACrossedBoxOfTheModelTwoSize) {
  SymbolDrawing drawing;
  Drawn model2;
  Drawn model1;
  for (const Bytes& command : {QrStore("https://receipts.example/r/1"), kQrPrint}) {
    model2.known = drawing.Command(command.data(), command.size(), &model2.symbol, &model2.why);
  }
  for (const Bytes& command : {GsParenK('1', 'A', {'1', 0}), kQrPrint}) {
    model1.known = drawing.Command(command.data(), command.size(), &model1.symbol, &model1.why);
  }
  ASSERT_TRUE(model2.why.empty());
  EXPECT_EQ(model1.why, "QR model 1 shown as a crossed box: only model 2 is drawn");
  const PrintedImage& box = model1.symbol.dots;
  ASSERT_EQ(box.width, model2.symbol.dots.width);
  ASSERT_EQ(box.height, model2.symbol.dots.height);
  const int last = box.width - 1;
  const int mid = box.width / 2;
  EXPECT_TRUE(box.Black(0, 0) && box.Black(last, 0) && box.Black(0, last) && box.Black(last, last));
  EXPECT_TRUE(box.Black(mid, mid));
  EXPECT_FALSE(box.Black(mid, mid / 2)) << "inside the box only the diagonals are black";
  EXPECT_FALSE(box == model2.symbol.dots);
}

TEST(SymbolDrawingTest, OtherCommandsAreNotItsBusiness) {
  SymbolDrawing drawing;
  DrawnSymbol symbol;
  std::string why;
  const Bytes others[] = {{0x1B, '@'}, {0x1D, '!', 0x11}, {0x1D, 'V', 0}, {0x1D, 'w'}, {0x0A}};
  for (const Bytes& b : others) EXPECT_FALSE(drawing.Command(b.data(), b.size(), &symbol, &why));
}

}  // namespace
}  // namespace render
}  // namespace sim
