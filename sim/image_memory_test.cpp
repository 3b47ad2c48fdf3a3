#include "sim/image_memory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/image_test_bytes.h"
#include "sim/printer_logic.h"
#include "sim/transcript.h"

namespace sim {
namespace {

using namespace imagebytes;

std::string PrinterView(const Bytes& bytes) {
  TranscriptOptions options;
  options.view = TranscriptView::kPrinter;
  return DecodeTranscript(bytes, options);
}

// Two rows of 10 dots: 2 bytes a row.
const Bytes k10x2 = B({0xFF, 0xC0, 0x80, 0x40});

struct LineCase {
  const char* name;
  Bytes bytes;
  const char* transcript;
};

TEST(ImageLines, EachImageCommandReadsAsThePrinterTakesIt) {
  const Bytes gsStar = B({0x1D, '*', 1, 1}) + Bytes(8, 0x55);
  const LineCase cases[] = {
      {"store and print", StoreGraphics(10, 2, k10x2) + PrintGraphics(),
       "GRAPHICS store 10 x 2 dots\nGRAPHICS print 10 x 2 dots\n"},
      {"the 32-bit form, enlarged", StoreGraphics(10, 2, k10x2, true, 2, 2) + PrintGraphics(true),
       "GRAPHICS store 10 x 2 dots, quadruple\nGRAPHICS print 10 x 2 dots\n"},
      {"printing empties the buffer", StoreGraphics(10, 2, k10x2) + PrintGraphics() + PrintGraphics(),
       "GRAPHICS store 10 x 2 dots\nGRAPHICS print 10 x 2 dots\nINVALID GRAPHICS print: no graphics stored\n"},
      {"ESC @ empties it too", StoreGraphics(10, 2, k10x2) + B({0x1B, '@'}) + PrintGraphics(),
       "GRAPHICS store 10 x 2 dots\nESC @\nINVALID GRAPHICS print: no graphics stored\n"},
      {"a store whose length is wrong stores nothing",
       GraphicsBlock(B({48, 112, 48, 1, 1, 49}) + Le16(10) + Le16(2) + B({0xFF, 0xC0, 0x80})) + PrintGraphics(),
       "INVALID GS ( L 48 112 48 1 1 49 10 0 2 0 [3 bytes]: p 13 where the command takes 14\n"
       "INVALID GRAPHICS print: no graphics stored\n"},
      {"NV define and print", DefineNv('A', '1', 10, 2, k10x2) + PrintNv('A', '1', 2, 1),
       "NV define \"A1\" 10 x 2\nNV print \"A1\" 10 x 2 dots, double width\n"},
      {"NV graphics outlive ESC @", DefineNv('A', '1', 10, 2, k10x2) + B({0x1B, '@'}) + PrintNv('A', '1'),
       "NV define \"A1\" 10 x 2\nESC @\nNV print \"A1\" 10 x 2 dots\n"},
      {"an unknown key prints nothing", DefineNv('A', '1', 10, 2, k10x2) + PrintNv('B', '2'),
       "NV define \"A1\" 10 x 2\nINVALID NV print \"B2\": no NV graphics \"B2\"\n"},
      {"deleted by key", DefineNv('A', '1', 10, 2, k10x2) + GraphicsBlock(B({48, 66, 'A', '1'})) + PrintNv('A', '1'),
       "NV define \"A1\" 10 x 2\nNV delete \"A1\"\nINVALID NV print \"A1\": no NV graphics \"A1\"\n"},
      {"deleted all", DefineNv('A', '1', 10, 2, k10x2) + GraphicsBlock(B({48, 65, 'C', 'L', 'R'})) + PrintNv('A', '1'),
       "NV define \"A1\" 10 x 2\nNV delete all\nINVALID NV print \"A1\": no NV graphics \"A1\"\n"},
      {"a key outside 32..126 defines nothing",
       GraphicsBlock(B({48, 67, 48, 31, '1', 1}) + Le16(10) + Le16(2) + B({49}) + k10x2) + PrintNv(31, '1'),
       "INVALID GS ( L 48 67 48 31 49 1 10 0 2 0 [5 bytes]: kc1 31 outside 32..126\n"
       "INVALID GS ( L 48 69 31 49 1 1: kc1 31 outside 32..126\n"},
      {"two tones", GraphicsBlock(B({48, 67, 48, 'L', 'G', 2}) + Le16(8) + Le16(1) + B({49, 0xF0, 50, 0x0F})),
       "NV define \"LG\" 8 x 1, 2 colours\n"},
      {"downloaded image", gsStar + B({0x1D, '/', 0}) + B({0x1D, '/', '3'}),
       "GS * define 1 x 1 (8 x 8 dots)\nGS / print 8 x 8 dots\nGS / print 8 x 8 dots, quadruple\n"},
      {"GS / with nothing defined", B({0x1D, '/', 0}), "INVALID GS / print: no downloaded image defined\n"},
      {"ESC @ drops the downloaded image", gsStar + B({0x1B, '@', 0x1D, '/', 1}),
       "GS * define 1 x 1 (8 x 8 dots)\nESC @\nINVALID GS / print: no downloaded image defined\n"},
      {"GS * taller than 48 bytes", B({0x1D, '*', 1, 49}) + Bytes(8 * 49, 0) + B({0x1D, '/', 0}),
       "INVALID GS * 1 49 [392 bytes]: y 49 outside 1..48\nINVALID GS / print: no downloaded image defined\n"},
      {"GS * above 1536 bytes", B({0x1D, '*', 40, 40}) + Bytes(8 * 1600, 0),
       "INVALID GS * 40 40 [12800 bytes]: x * y = 1600 above 1536\n"},
      {"raster", B({0x1D, 'v', '0', 0}) + Le16(2) + Le16(3) + Bytes(6, 0xAA), "GS v 0 raster 16 x 3\n"},
      {"raster, double height", B({0x1D, 'v', '0', 50}) + Le16(1) + Le16(1) + B({0x01}),
       "GS v 0 raster 8 x 1, double height\n"},
      {"raster with no rows", B({0x1D, 'v', '0', 0}) + Le16(1) + Le16(0),
       "INVALID GS v 0 0 1 0 0 0: height 0 outside 1 or more\n"},
      {"8-dot bit image", B({0x1B, '*', 0}) + Le16(3) + B({1, 2, 3}), "ESC * print 3 x 8 dots, single density\n"},
      {"24-dot bit image", B({0x1B, '*', 33}) + Le16(2) + Bytes(6, 0xFF), "ESC * print 2 x 24 dots, double density\n"},
      {"NV bit images", B({0x1C, 'q', 2}) + Le16(1) + Le16(1) + Bytes(8, 0) + Le16(2) + Le16(1) + Bytes(16, 0) +
                            B({0x1B, '@', 0x1C, 'p', 2, 1, 0x1C, 'p', 1, '3'}),
       "FS q define 2 NV bit images: 8 x 8, 16 x 8 dots\nESC @\nFS p print 2 16 x 8 dots, double width\n"
       "FS p print 1 8 x 8 dots, quadruple\n"},
      {"FS q replaces them all",
       B({0x1C, 'q', 2}) + Le16(1) + Le16(1) + Bytes(8, 0) + Le16(1) + Le16(1) + Bytes(8, 0) + B({0x1C, 'q', 1}) +
           Le16(1) + Le16(1) + Bytes(8, 0) + B({0x1C, 'p', 2, 0}),
       "FS q define 2 NV bit images: 8 x 8, 8 x 8 dots\nFS q define 1 NV bit image: 8 x 8 dots\n"
       "INVALID FS p print 2: no NV bit image 2\n"},
      {"bit image mode", B({0x1B, '*', 2}) + Le16(1) + B({0}), "INVALID ESC * 2 1 0 [1 bytes]: m 2 outside 0, 1, 32 or 33\n"},
  };
  for (const LineCase& c : cases) EXPECT_EQ(PrinterView(c.bytes), c.transcript) << c.name;
}

TEST(ImageLines, TheCommandViewStillShowsTheBytes) {
  EXPECT_EQ(DecodeTranscript(StoreGraphics(10, 2, k10x2) + PrintGraphics()),
            "GS ( L 48 112 48 1 1 49 10 0 2 0 [4 bytes]\nGS ( L 48 50\n");
}

TEST(ImageLines, PrintedImagesNameTheirFilesByConnection) {
  TranscriptOptions options;
  options.view = TranscriptView::kPrinter;
  options.imageDirectory = "out";
  options.connection = 4;
  const Bytes job = StoreGraphics(10, 2, k10x2) + PrintGraphics() + B({0x1D, 'v', '0', 0}) + Le16(1) + Le16(1) +
                    B({0x80});
  EXPECT_EQ(DecodeTranscript(job, options),
            "GRAPHICS store 10 x 2 dots\nGRAPHICS print 10 x 2 dots -> out/4-1.png\nGS v 0 raster 8 x 1 -> out/4-2.png\n");

  // Each session counts its own, under its connection's number; NV graphics
  // defined in one are there in the next.
  options.sessionStarts = {0, job.size()};
  options.sessionConnections = {7};
  const Bytes second = DefineNv('A', '1', 8, 1, B({0x01})) + PrintNv('A', '1');
  EXPECT_EQ(DecodeTranscript(second + PrintNv('A', '1'), [&] {
              TranscriptOptions o = options;
              o.sessionStarts = {0, second.size()};
              return o;
            }()),
            "NV define \"A1\" 8 x 1\nNV print \"A1\" 8 x 1 dots -> out/7-1.png\nNV print \"A1\" 8 x 1 dots -> out/8-1.png\n");

  // NV memory as an earlier connection left it.
  TranscriptOptions later;
  later.view = TranscriptView::kPrinter;
  later.nvGraphics.keyed["A1"] = Drawn({"#."});
  EXPECT_EQ(DecodeTranscript(PrintNv('A', '1'), later), "NV print \"A1\" 2 x 1 dots\n");
}

// What PrinterLogic puts on paper, in order.
std::vector<PrintedImage> Printed(const Bytes& bytes) {
  PrinterLogic logic;
  std::vector<uint8_t> replies;
  logic.Receive(bytes.data(), bytes.size(), PrinterState(), &replies);
  logic.JobEnded();
  EXPECT_EQ(logic.InvalidCommands(), 0);
  return logic.TakePrintedImages();
}

TEST(ImageDecoding, RasterRowsComeBackDotForDot) {
  const PrintedImage expected = Drawn({"##########", "#.........", ".#........"});
  const Bytes data = B({0xFF, 0xC0, 0x80, 0x00, 0x40, 0x00});
  for (bool wide : {false, true}) {
    const auto printed = Printed(StoreGraphics(10, 3, data, wide) + PrintGraphics(wide));
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], expected) << (wide ? "GS 8 L" : "GS ( L");
  }
  const auto nv = Printed(DefineNv('Z', 'z', 10, 3, data) + PrintNv('Z', 'z') + PrintNv('Z', 'z', 2, 2));
  ASSERT_EQ(nv.size(), 2u);
  EXPECT_EQ(nv[0], expected);
  EXPECT_EQ(nv[1], expected);  // enlarged on paper, kept at its own size

  const auto raster = Printed(B({0x1D, 'v', '0', 0}) + Le16(2) + Le16(3) + data);
  ASSERT_EQ(raster.size(), 1u);
  EXPECT_EQ(raster[0], Drawn({"##########......", "#...............", ".#.............."}));
}

TEST(ImageDecoding, ColumnsTurnIntoRowsTopDown) {
  // GS * 1 1: eight columns of one byte, bit 7 the top dot: a diagonal
  // from the upper left, the first column also black at the bottom.
  const auto downloaded =
      Printed(B({0x1D, '*', 1, 1, 0x81, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}) + B({0x1D, '/', 0}));
  ASSERT_EQ(downloaded.size(), 1u);
  EXPECT_EQ(downloaded[0], Drawn({"#.......", ".#......", "..#.....", "...#....", "....#...", ".....#..", "......#.",
                                  "#......#"}));

  // Two bytes a column (y = 2): the first byte the upper 8 dots. 16 columns.
  Bytes tall(16 * 2, 0);
  tall[0] = 0xFF;   // column 0, rows 0..7
  tall[31] = 0x01;  // column 15, row 15
  const auto twoHigh = Printed(B({0x1D, '*', 2, 2}) + tall + B({0x1D, '/', 0}));
  ASSERT_EQ(twoHigh.size(), 1u);
  ASSERT_EQ(twoHigh[0].width, 16);
  ASSERT_EQ(twoHigh[0].height, 16);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const bool black = (x == 0 && y < 8) || (x == 15 && y == 15);
      EXPECT_EQ(twoHigh[0].Black(x, y), black) << x << "," << y;
    }
  }

  // ESC * 24-dot: three bytes a column.
  const auto escStar = Printed(B({0x1B, '*', 32}) + Le16(2) + B({0x80, 0x00, 0x01, 0x00, 0x80, 0x00}));
  ASSERT_EQ(escStar.size(), 1u);
  ASSERT_EQ(escStar[0].height, 24);
  EXPECT_TRUE(escStar[0].Black(0, 0));
  EXPECT_TRUE(escStar[0].Black(0, 23));
  EXPECT_TRUE(escStar[0].Black(1, 8));
  int black = 0;
  for (uint8_t d : escStar[0].dots) black += d;
  EXPECT_EQ(black, 3);

  // fn 68: NV graphics in columns, 10 dots high: two bytes a column.
  const Bytes columns = B({0xFF, 0xC0, 0x00, 0x40});
  const auto nvColumns =
      Printed(GraphicsBlock(B({48, 68, 48, 'C', '1', 1}) + Le16(2) + Le16(10) + B({49}) + columns) + PrintNv('C', '1'));
  ASSERT_EQ(nvColumns.size(), 1u);
  EXPECT_EQ(nvColumns[0], Drawn({"#.", "#.", "#.", "#.", "#.", "#.", "#.", "#.", "#.", "##"}));
}

TEST(ImageDecoding, NvBitImagesAreColumnsToo) {
  // One image 16 dots wide, 8 high: column 0 full, column 15 only its top dot.
  Bytes columns(16, 0);
  columns[0] = 0xFF;
  columns[15] = 0x80;
  const auto printed = Printed(B({0x1C, 'q', 1}) + Le16(2) + Le16(1) + columns + B({0x1C, 'p', 1, 0}));
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0], Drawn({"#..............#", "#...............", "#...............", "#...............",
                               "#...............", "#...............", "#...............", "#..............."}));
}

TEST(ImageDecoding, TwoTonesPrintEveryPlane) {
  const auto printed =
      Printed(GraphicsBlock(B({48, 67, 48, 'L', 'G', 2}) + Le16(8) + Le16(1) + B({49, 0xF0, 50, 0x0C})) +
              PrintNv('L', 'G'));
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0], Drawn({"######.."}));
}

TEST(ImageDecoding, NvGraphicsCarryOverToTheNextConnection) {
  PrinterLogic first;
  std::vector<uint8_t> replies;
  const Bytes define = DefineNv('K', '1', 8, 1, B({0x3C}));
  first.Receive(define.data(), define.size(), PrinterState(), &replies);
  first.JobEnded();

  PrinterLogic next;
  next.SetNvGraphics(first.Modes().Images().Nv());
  const Bytes print = PrintNv('K', '1');
  next.Receive(print.data(), print.size(), PrinterState(), &replies);
  EXPECT_EQ(next.InvalidCommands(), 0);
  const auto printed = next.TakePrintedImages();
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0], Drawn({"..####.."}));
  EXPECT_TRUE(next.TakePrintedImages().empty());  // taken once
}

}  // namespace
}  // namespace sim
