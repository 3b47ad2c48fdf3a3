// Symbols ZOBELSO prints, read back from the paper. A TM-T88IV core prints
// with PrintBarCode over TCP to the virtual printer; the bytes it received
// are cut into commands, each symbol is drawn as the printer draws it, put
// on white paper and scanned by libraries that share no code with ZOBELSO
// or libzint: zbar for QR Code and the one-dimensional codes, and ZXing for
// PDF417 (zbar's PDF417 decoder was never finished). The data read must be
// exactly the data printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sim/command_scanner.h"
#include "sim/render/scan_readback/scan_readers.h"
#include "sim/render/receipt_renderer.h"
#include "sim/render/symbol_drawing.h"
#include "sim/virtual_printer.h"
#include "so/io/TCPIPPortSettings.h"
#include "so/printer/CTM_T88IV.h"
#include "so/printer/PropertyIndex.h"

using namespace QEL::Printer;

namespace {

constexpr int kWaitMs = 20000;

// Cuts the bytes into commands and draws every symbol printed; a command
// that prints nothing (a refusal) is kept with its reason.
class PaperOfSymbols : public sim::TokenSink {
 public:
  void OnToken(sim::TokenKind kind, const uint8_t* bytes, size_t n, sim::Dialect) override {
    if (kind != sim::TokenKind::kCommand) return;
    if (n == 2 && bytes[0] == 0x1B && bytes[1] == '@') {
      drawing_.Reset();
      return;
    }
    sim::render::DrawnSymbol drawn;
    std::string why;
    if (!drawing_.Command(bytes, n, &drawn, &why)) return;
    if (!why.empty()) refusals.push_back(why);
    if (!drawn.dots.dots.empty()) symbols.push_back(drawn);
  }

  std::vector<sim::render::DrawnSymbol> symbols;
  std::vector<std::string> refusals;

 private:
  sim::render::SymbolDrawing drawing_;
};

struct PrintCase {
  const char* what;
  std::string data;
  int32_t symbology, height, width;
  const char* scannedAs;
};

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// Opens and claims the core on the virtual printer, sizes in dots.
void ClaimOn(sim::VirtualPrinter& printer, CTM_T88IV& core) {
  const std::string address = "127.0.0.1," + std::to_string(printer.Port());
  QEL::IO::TCPIPPortSettings settings;
  settings.Parse(Wide(address));
  int32_t rc = -1;
  core.SetPortSettings(&settings, &rc);
  core.OpenServiceW(u"x", nullptr, &rc);
  ASSERT_EQ(rc, 0);
  core.ClaimDevice(100, &rc);
  ASSERT_EQ(rc, 0);
  core.SetPropertyNumber(Pidx::MapMode, 1, &rc);
  ASSERT_EQ(rc, 0);
}

// Releases and closes once the printer has taken everything.
void ReleaseFrom(sim::VirtualPrinter& printer, CTM_T88IV& core) {
  int32_t rc = -1;
  core.ReleaseDevice(&rc);
  ASSERT_TRUE(printer.WaitForIdle(2, kWaitMs));
  core.CloseService(&rc);
}

TEST(ScanReadbackTest, SymbolsPrintedByPrintBarCodeScanAsTheirData) {
  std::string longText;
  for (int i = 0; longText.size() < 300; ++i) longText += "LINE " + std::to_string(i) + " COFFEE 2.50 EUR; ";
  const PrintCase cases[] = {
      // Over 250 bytes the QR Code is model 2.
      {"QR Code", longText, 204, 400, 400, "QR-Code"},
      {"QR Code forced to model 2", "https://example.com/receipt?id=4711&total=12.50", 504, 200, 200,
       "QR-Code"},
      {"PDF417", "PDF417 receipt 0815, total 12.50 EUR", 201, 150, 500, "PDF417"},
      {"EAN-13", "4901234567894", 104, 80, 2, "EAN-13"},
      // Letters, a run of digits for set C, an odd digit back in set B.
      {"Code 128", "ZOBELSO-128 1234567", 110, 80, 2, "CODE-128"},
      {"Code 128 control character", std::string("AB\tCD"), 110, 80, 2, "CODE-128"},
      // Narrow and wide elements at the printer's widths.
      {"Code 39", "ZOBELSO 39", 108, 80, 2, "CODE-39"},
      {"Interleaved 2 of 5", "12345678", 106, 80, 3, "I2/5"},
  };

  sim::VirtualPrinter printer;
  ASSERT_TRUE(printer.Start(0));
  CTM_T88IV core{u"TM-T88IV"};
  ASSERT_NO_FATAL_FAILURE(ClaimOn(printer, core));
  int32_t rc = -1;
  for (const PrintCase& c : cases) {
    core.PrintBarCode(2, Wide(c.data), c.symbology, c.height, c.width, -2, -13, &rc);
    ASSERT_EQ(rc, 0) << c.what;
  }
  ASSERT_NO_FATAL_FAILURE(ReleaseFrom(printer, core));

  sim::CommandScanner scanner;
  PaperOfSymbols paper;
  const std::vector<uint8_t> received = printer.Received();
  scanner.Feed(received.data(), received.size(), paper);
  EXPECT_TRUE(paper.refusals.empty()) << paper.refusals.front();
  ASSERT_EQ(paper.symbols.size(), sizeof cases / sizeof cases[0]);

  for (size_t i = 0; i < paper.symbols.size(); ++i) {
    const PrintCase& c = cases[i];
    SCOPED_TRACE(c.what);
    const sim::PrintedImage& dots = paper.symbols[i].dots;
    const std::vector<sim::render::Scanned> read =
        c.symbology == 201 ? sim::render::ScanPdf417WithZxing(dots) : sim::render::ScanWithZbar(dots);
    ASSERT_EQ(read.size(), 1u) << dots.width << " x " << dots.height << " dots";
    EXPECT_EQ(read[0].symbology, c.scannedAs);
    EXPECT_EQ(read[0].data, c.data);
  }
}

// The whole receipt as the renderer draws it, scanned as one picture: the
// codes must read where they were placed among the text, one under another.
TEST(ScanReadbackTest, TheDrawnReceiptScansAsTheCodesPrintedOnIt) {
  sim::VirtualPrinter printer;
  ASSERT_TRUE(printer.Start(0));
  CTM_T88IV core{u"TM-T88IV"};
  ASSERT_NO_FATAL_FAILURE(ClaimOn(printer, core));
  int32_t rc = -1;
  core.PrintNormal(2, u"ZOBELSO MARKET\nEspresso        2.40\nTOTAL           2.40\n", &rc);
  ASSERT_EQ(rc, 0);
  core.PrintBarCode(2, u"4901234567894", 104, 80, 2, -1, -13, &rc);
  ASSERT_EQ(rc, 0);
  core.PrintBarCode(2, u"20261208-0042", 110, 80, 400, -2, -13, &rc);
  ASSERT_EQ(rc, 0);
  core.PrintBarCode(2, u"https://receipts.example/r/20261208-0042", 504, 200, 200, -3, -11, &rc);
  ASSERT_EQ(rc, 0);
  core.CutPaper(100, &rc);
  ASSERT_EQ(rc, 0);
  ASSERT_NO_FATAL_FAILURE(ReleaseFrom(printer, core));

  const std::vector<sim::PrintedImage> receipts =
      sim::render::RenderReceipts(printer.Received(), sim::NvGraphics(), sim::render::kPaper80Dots);
  ASSERT_FALSE(receipts.empty());
  std::vector<std::string> read;
  for (const sim::render::Scanned& s : sim::render::ScanWithZbar(receipts.front())) {
    read.push_back(s.symbology + " " + s.data);
  }
  std::sort(read.begin(), read.end());
  EXPECT_EQ(read, (std::vector<std::string>{"CODE-128 20261208-0042", "EAN-13 4901234567894",
                                            "QR-Code https://receipts.example/r/20261208-0042"}));
}

}  // namespace
