// The printer's modes, step by step: page mode entered, printed, cleared and
// left as the references describe, the commands a printer ignores in the
// wrong mode flagged, the print area held to the page, and symbol data
// printed only once stored.
#include "sim/printer_modes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/byte_builders_test.h"
#include "sim/command_scanner.h"

namespace sim {
namespace {

using namespace testbytes;

struct Step {
  Bytes command;     // one whole command, or printable text
  std::string fault;  // empty: the printer acts on it
  std::vector<std::string> notes;
  bool pageAfter;
};

struct Case {
  const char* name;
  std::vector<Step> steps;
};

const Bytes kEnterPage = B({0x1B, 0x4C});
const Bytes kFf = B({0x0C});
const Bytes kEscFf = B({0x1B, 0x0C});
const Bytes kCan = B({0x18});
const Bytes kStandard = B({0x1B, 0x53});
const Bytes kReset = B({0x1B, 0x40});
const Bytes kLf = B({0x0A});

Bytes Area(int x, int y, int dx, int dy) {
  return B({0x1B, 0x57, x & 0xFF, x >> 8, y & 0xFF, y >> 8, dx & 0xFF, dx >> 8, dy & 0xFF, dy >> 8});
}
Bytes Vertical(int n) { return B({0x1D, 0x24, n & 0xFF, n >> 8}); }
Bytes Horizontal(int n) { return B({0x1B, 0x24, n & 0xFF, n >> 8}); }
Bytes Symbol(const Bytes& body) {
  return B({0x1D, 0x28, 0x6B, static_cast<int>(body.size() & 0xFF), static_cast<int>(body.size() >> 8)}) + body;
}
const Bytes kQrStore = Symbol(B({0x31, 0x50, 0x30, 'Q'}));
const Bytes kQrPrint = Symbol(B({0x31, 0x51, 0x30}));
const Bytes kPdfStore = Symbol(B({0x30, 0x50, 0x30, 'P'}));
const Bytes kPdfPrint = Symbol(B({0x30, 0x51, 0x30}));

void RunSteps(const Case& c) {
  PrinterModes modes;
  int i = 0;
  for (const Step& s : c.steps) {
    SCOPED_TRACE(testing::Message() << c.name << ", step " << i++);
    if (s.command[0] >= 0x20) {
      for (size_t k = 0; k < s.command.size(); ++k) modes.Text();
    } else {
      // Steps are whole commands, as the scanner hands them on.
      const Extent e = MeasureCommand(s.command.data(), s.command.size());
      ASSERT_TRUE(e.kind == Extent::kKnown && e.length == s.command.size());
      const Reading r = modes.Command(s.command.data(), s.command.size());
      EXPECT_EQ(r.fault, s.fault);
      EXPECT_EQ(r.notes, s.notes);
    }
    EXPECT_EQ(modes.PageMode(), s.pageAfter);
  }
}

TEST(PrinterModes, PageModeIsEnteredPrintedAndLeft) {
  const Case cases[] = {
      {"FF prints the page and returns to standard mode",
       {{kEnterPage, "", {"PAGE begin"}, true},
        {Text("A"), "", {}, true},
        {kFf, "", {"PAGE print", "PAGE end"}, false},
        {kFf, "ignored in standard mode", {}, false}}},
      {"ESC FF prints and stays; CAN clears",
       {{kEnterPage, "", {"PAGE begin"}, true},
        {kEscFf, "", {"PAGE print"}, true},
        {kCan, "", {"PAGE clear"}, true},
        {kEscFf, "", {"PAGE print"}, true}}},
      {"ESC S discards the page",
       {{kEnterPage, "", {"PAGE begin"}, true}, {kStandard, "", {"PAGE cancel", "PAGE end"}, false}}},
      {"ESC @ discards the page too",
       {{kEnterPage, "", {"PAGE begin"}, true}, {kReset, "", {"PAGE cancel", "PAGE end"}, false}}},
      {"ESC L only once, and only at the beginning of a line",
       {{Text("AB"), "", {}, false},
        {kEnterPage, "ignored after data in the line", {}, false},
        {kLf, "", {}, false},
        {kEnterPage, "", {"PAGE begin"}, true},
        {kEnterPage, "ignored in page mode", {}, true}}},
      {"a feed, a barcode or a cut ends the line",
       {{Text("A"), "", {}, false},
        {B({0x1B, 0x4A, 0x00}), "", {}, false},
        {kEnterPage, "", {"PAGE begin"}, true},
        {kFf, "", {"PAGE print", "PAGE end"}, false},
        {Text("A"), "", {}, false},
        {B({0x1D, 0x6B, 0x45, 0x01, 'A'}), "", {}, false},
        {kEnterPage, "", {"PAGE begin"}, true}}},
      {"page-mode commands in standard mode",
       {{kEscFf, "ignored in standard mode", {}, false},
        {kCan, "ignored in standard mode", {}, false},
        {kStandard, "ignored in standard mode", {}, false},
        {Vertical(10), "ignored in standard mode", {}, false},
        {B({0x1D, 0x5C, 0x10, 0x00}), "ignored in standard mode", {}, false},
        // Taken in standard mode, for the next page.
        {Area(0, 0, 100, 100), "", {}, false},
        {B({0x1B, 0x54, 0x31}), "", {}, false},
        {Horizontal(700), "", {}, false}}},
  };
  for (const Case& c : cases) RunSteps(c);
}

TEST(PrinterModes, PrintAreaAndPositionsStayOnThePage) {
  const Case cases[] = {
      {"the area starts on the page",
       {{Area(575, 1871, 1, 1), "", {}, false},
        {Area(576, 0, 1, 1), "x 576 outside 0..575", {}, false},
        {Area(0, 1872, 1, 1), "y 1872 outside 0..1871", {}, false}}},
      {"other motion units, another page in units",
       {{B({0x1D, 0x50, 180, 180}), "", {}, false},
        {Area(509, 0, 1, 1), "", {}, false},
        {Area(510, 0, 1, 1), "x 510 outside 0..509", {}, false},
        {Area(0, 828, 1, 1), "", {}, false},
        {Area(0, 829, 1, 1), "y 829 outside 0..828", {}, false}}},
      {"positions inside the area, by direction",
       {{Area(0, 0, 200, 100), "", {}, false},
        {kEnterPage, "", {"PAGE begin"}, true},
        {Vertical(99), "", {}, true},
        {Vertical(100), "position 100 outside 0..99", {}, true},
        {Horizontal(199), "", {}, true},
        {Horizontal(200), "position 200 outside 0..199", {}, true},
        // From the lower left, lines run along the paper.
        {B({0x1B, 0x54, 0x01}), "", {}, true},
        {Vertical(199), "", {}, true},
        {Vertical(200), "position 200 outside 0..199", {}, true},
        {Horizontal(100), "position 100 outside 0..99", {}, true}}},
  };
  for (const Case& c : cases) RunSteps(c);
}

TEST(PrinterModes, AreaIsCutAtThePageEdgeAndResetAfterThePage) {
  PrinterModes modes;
  const PrinterModes::Area whole{0, 0, 576, 1872};
  EXPECT_EQ(modes.PrintArea(), whole);
  const Bytes area = Area(500, 1800, 200, 100);
  EXPECT_EQ(modes.Command(area.data(), area.size()).fault, "");
  EXPECT_EQ(modes.PrintArea(), (PrinterModes::Area{500, 1800, 76, 72}));
  const Bytes up = B({0x1B, 0x54, 0x33});
  modes.Command(up.data(), up.size());
  modes.Command(kEnterPage.data(), kEnterPage.size());
  EXPECT_EQ(modes.PrintArea(), (PrinterModes::Area{500, 1800, 76, 72}));
  modes.Command(kFf.data(), kFf.size());
  EXPECT_EQ(modes.PrintArea(), whole) << "FF returns the area to the whole page";
  EXPECT_EQ(modes.Direction(), 3) << "and keeps the direction";
  modes.Command(kReset.data(), kReset.size());
  EXPECT_EQ(modes.Direction(), 0);
}

TEST(PrinterModes, SymbolsPrintOnlyWhatWasStored) {
  const Case cases[] = {
      {"print before store",
       {{kQrPrint, "no QR data stored", {}, false}, {kPdfPrint, "no PDF417 data stored", {}, false}}},
      {"stored data prints as often as asked, each symbol its own",
       {{kQrStore, "", {}, false},
        {kQrPrint, "", {}, false},
        {kQrPrint, "", {}, false},
        {kPdfPrint, "no PDF417 data stored", {}, false},
        {kPdfStore, "", {}, false},
        {kPdfPrint, "", {}, false}}},
      {"ESC @ clears what was stored",
       {{kQrStore, "", {}, false}, {kReset, "", {}, false}, {kQrPrint, "no QR data stored", {}, false}}},
      {"in page mode too",
       {{kEnterPage, "", {"PAGE begin"}, true},
        {kQrPrint, "no QR data stored", {}, true},
        {kQrStore, "", {}, true},
        {kQrPrint, "", {}, true}}},
  };
  for (const Case& c : cases) RunSteps(c);
}

}  // namespace
}  // namespace sim
