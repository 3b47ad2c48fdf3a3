// Barcode and symbol commands in the printer's transcript: one exact line per
// decoded form, INVALID lines that keep the decoded form, and the command
// line where there is no meaning to tell.
#include "sim/symbol_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/byte_builders_test.h"
#include "sim/transcript.h"

namespace sim {
namespace {

using namespace testbytes;

std::string PrinterView(const Bytes& bytes) {
  TranscriptOptions options;
  options.view = TranscriptView::kPrinter;
  return DecodeTranscript(bytes, options);
}

Bytes Symbol(const Bytes& body) {
  return B({0x1D, 0x28, 0x6B, static_cast<int>(body.size() & 0xFF), static_cast<int>(body.size() >> 8)}) + body;
}
Bytes Counted(int m, const Bytes& data) { return B({0x1D, 0x6B, m, static_cast<int>(data.size())}) + data; }

struct Case {
  Bytes bytes;
  std::string line;
};

void ExpectLines(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(PrinterView(c.bytes), c.line + "\n") << c.line;
  }
}

TEST(SymbolLines, OneDimensionalBarcodes) {
  ExpectLines({
      {Counted(73, B({'{', 'C', 12, 34, 56, 78})), "GS k CODE128 {C 12 34 56 78"},
      {Counted(73, B({'{', 'C', 1, 2, 3, 4, 5, 6, '{', 'B', '7'})), "GS k CODE128 {C 01 02 03 04 05 06 {B 7"},
      {Counted(73, Text("{BAB") + B({'{', 'C', 12, 34})), "GS k CODE128 {B AB {C 12 34"},
      {Counted(73, Text("{Ba b{{c")), "GS k CODE128 {B \"a b{c\""},
      {Counted(73, B({'{', 'A', 'A', 0x09, '{', '1', 'B'})), "GS k CODE128 {A \"A\\x09\" {1 B"},
      {Counted(67, Text("4901234567894")), "GS k EAN13 4901234567894"},
      {B({0x1D, 0x6B, 0x02}) + Text("4901234567894") + B({0x00}), "GS k EAN13 4901234567894"},
      {Counted(65, Text("01234567890")), "GS k UPC-A 01234567890"},
      {B({0x1D, 0x6B, 0x01}) + Text("0123456") + B({0x00}), "GS k UPC-E 0123456"},
      {Counted(68, Text("1234567")), "GS k EAN8 1234567"},
      {Counted(69, Text("CODE 39")), "GS k CODE39 \"CODE 39\""},
      {Counted(70, Text("1234")), "GS k ITF 1234"},
      {Counted(71, Text("A40156B")), "GS k CODABAR A40156B"},
      {Counted(72, Text("CODE93")), "GS k CODE93 CODE93"},
      {Counted(74, Text("0112345678901231")), "GS k GS1-128 0112345678901231"},
      {Counted(75, Text("0001234567890")), "GS k DATABAR 0001234567890"},
      {Counted(78, Text("0112345678901231")), "GS k DATABAR-EXPANDED 0112345678901231"},
      {Counted(79, Text("AB12")), "GS k CODE128-AUTO AB12"},
      // What a printer refuses keeps its decoded line.
      {Counted(67, Text("49012345678\x1b")), "INVALID GS k EAN13 \"49012345678\\x1B\": EAN-13 data byte 0x1B is not a digit"},
      {Counted(73, B({'{', 'C', 12, 100})), "INVALID GS k CODE128 {C 12 100: CODE128 code set C byte 100 is not 0..99"},
      {Counted(73, B({'{', 'B', 'A', '{', 0x0A, 'B'})),
       "INVALID GS k CODE128 {B A \"{\\x0A\" B: CODE128 {0x0A selects no code set or function"},
      // Nothing to tell: the command line.
      {B({0x1D, 0x6B, 0x49, 0x00}), "INVALID GS k 73 0 \"\": n 0: no data"},
      {B({0x1D, 0x6B, 0x50, 0x01, 0x41}), "INVALID GS k 80 1 \"A\": m 80 outside 0..6 or 65..79"},
  });
}

TEST(SymbolLines, BarcodeSettings) {
  ExpectLines({
      {B({0x1D, 0x77, 0x03}), "GS w module 3"},
      {B({0x1D, 0x77, 0x07}), "INVALID GS w module 7: n 7 outside 2..6"},
      {B({0x1D, 0x68, 0xA2}), "GS h height 162"},
      {B({0x1D, 0x68, 0x00}), "INVALID GS h height 0: n 0 outside 1..255"},
      {B({0x1D, 0x48, 0x00}), "GS H HRI none"},
      {B({0x1D, 0x48, 0x31}), "GS H HRI above"},
      {B({0x1D, 0x48, 0x02}), "GS H HRI below"},
      {B({0x1D, 0x48, 0x33}), "GS H HRI above and below"},
      {B({0x1D, 0x48, 0x04}), "INVALID GS H 4: n 4 outside 0..3 or 48..51"},
      {B({0x1D, 0x66, 0x00}), "GS f HRI font A"},
      {B({0x1D, 0x66, 0x31}), "GS f HRI font B"},
      {B({0x1D, 0x66, 0x62}), "GS f HRI font special B"},
      {B({0x1D, 0x66, 0x05}), "INVALID GS f 5: n 5 outside 0..4, 48..52, 97 or 98"},
  });
}

TEST(SymbolLines, QrCode) {
  ExpectLines({
      {Symbol(B({0x31, 0x41, 0x32, 0x00})), "QR model 2"},
      {Symbol(B({0x31, 0x41, 0x31, 0x00})), "QR model 1"},
      {Symbol(B({0x31, 0x41, 0x33, 0x00})), "INVALID GS ( k 49 65 51 0: model 51 outside 49..50"},
      {Symbol(B({0x31, 0x43, 0x06})), "QR module 6"},
      {Symbol(B({0x31, 0x43, 0x11})), "INVALID QR module 17: module size 17 outside 1..16"},
      {Symbol(B({0x31, 0x45, 0x30})), "QR error L"},
      {Symbol(B({0x31, 0x45, 0x31})), "QR error M"},
      {Symbol(B({0x31, 0x45, 0x32})), "QR error Q"},
      {Symbol(B({0x31, 0x45, 0x33})), "QR error H"},
      {Symbol(B({0x31, 0x45, 0x34})), "INVALID GS ( k 49 69 52: level 52 outside 48..51"},
      {Symbol(B({0x31, 0x50, 0x30}) + Text("https://example.invalid/r?id=7")),
       "QR store \"https://example.invalid/r?id=7\""},
      {Symbol(B({0x31, 0x50, 0x30}) + Bytes(40, 'Q')), "QR store \"" + std::string(40, 'Q') + "\""},
      {Symbol(B({0x31, 0x50, 0x30}) + Bytes(41, 'Q')), "QR store 41 bytes"},
      {Symbol(B({0x31, 0x50, 0x30}) + Bytes(300, 'Q')), "QR store 300 bytes"},
      {Symbol(B({0x31, 0x50, 0x30})), "INVALID QR store \"\": stores no data"},
      {Symbol(B({0x31, 0x50, 0x30, 0x00, 0x0A})) + Symbol(B({0x31, 0x51, 0x30})),
       "QR store \"\\x00\\x0A\"\nQR print"},
      {Symbol(B({0x31, 0x50, 0x30, 'A'})) + Symbol(B({0x31, 0x52, 0x30})), "QR store \"A\"\nQR query size"},
      {Symbol(B({0x31, 0x51, 0x30, 0x30})), "INVALID GS ( k 49 81 48 48: p 4 where the command takes 3"},
  });
}

TEST(SymbolLines, Pdf417) {
  ExpectLines({
      {Symbol(B({0x30, 0x41, 0x04})), "PDF417 columns 4"},
      {Symbol(B({0x30, 0x41, 0x00})), "PDF417 columns auto"},
      {Symbol(B({0x30, 0x41, 0x1F})), "INVALID PDF417 columns 31: columns 31 outside 0..30"},
      {Symbol(B({0x30, 0x42, 0x00})), "PDF417 rows auto"},
      {Symbol(B({0x30, 0x42, 0x5A})), "PDF417 rows 90"},
      {Symbol(B({0x30, 0x43, 0x03})), "PDF417 module 3"},
      {Symbol(B({0x30, 0x43, 0x09})), "INVALID PDF417 module 9: module width 9 outside 2..8"},
      {Symbol(B({0x30, 0x44, 0x03})), "PDF417 row height 3"},
      {Symbol(B({0x30, 0x44, 0x01})), "INVALID PDF417 row height 1: row height 1 outside 2..8"},
      {Symbol(B({0x30, 0x45, 0x30, 0x31})), "PDF417 error level 1"},
      {Symbol(B({0x30, 0x45, 0x31, 0x01})), "PDF417 error ratio 10%"},
      {Symbol(B({0x30, 0x45, 0x32, 0x01})), "INVALID GS ( k 48 69 50 1: m 50 outside 48 or 49"},
      {Symbol(B({0x30, 0x46, 0x00})), "PDF417 options standard"},
      {Symbol(B({0x30, 0x46, 0x01})), "PDF417 options truncated"},
      {Symbol(B({0x30, 0x50, 0x30}) + Bytes(60, 'P')), "PDF417 store 60 bytes"},
      {Symbol(B({0x30, 0x50, 0x30}) + Text("PDF")) + Symbol(B({0x30, 0x51, 0x30})),
       "PDF417 store \"PDF\"\nPDF417 print"},
      {Symbol(B({0x30, 0x51, 0x30})), "INVALID PDF417 print: no PDF417 data stored"},
      // Symbols this printer does not know keep their command line.
      {Symbol(B({0x32, 0x41, 0x32})), "GS ( k 50 65 50"},
  });
}

// The command view, which command builders are checked against, keeps the
// command lines.
TEST(SymbolLines, CommandViewKeepsTheCommandLines) {
  EXPECT_EQ(DecodeTranscript(Counted(67, Text("4901234567894"))), "GS k 67 13 \"4901234567894\"\n");
  EXPECT_EQ(DecodeTranscript(Symbol(B({0x31, 0x51, 0x30}))), "GS ( k 49 81 48\n");
  EXPECT_EQ(DecodeTranscript(B({0x1D, 0x77, 0x03})), "GS w 3\n");
}

}  // namespace
}  // namespace sim
