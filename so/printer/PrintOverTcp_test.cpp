// Printing end to end: a TM-T88IV core on a real TCP/IP port sends its jobs to
// the virtual printer, whose transcript shows what each OPOS escape sequence
// became on the wire.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/virtual_printer.h"
#include "so/format/CCmdHelperBase.h"
#include "so/io/TCPIPPortSettings.h"
#include "so/printer/CTM_T88IV.h"

using namespace QEL::Printer;
using Lines = std::vector<std::string>;

namespace {

constexpr int kWaitMs = 20000;
// 3 mm of cut feed: 24 dots, so the feed of every cut shows on the wire.
constexpr int32_t kCutFeedHundredths = 300;

// Every job starts with these (ESC = 1 ... ESC 3 60: 30 dots of line
// spacing at this model's 0.141 / 0.0705 mm pitches).
const Lines kPrologue = {"ESC = 1", "ESC a 0", "GS L 0 0", "ESC { 0",
                         "ESC ! 0", "GS b 0",  "ESC 3 60"};
// The release switches automatic status back off as its last command.
const std::string kReleaseLine = "GS a 0";

Lines Split(const std::string& transcript) {
  Lines lines;
  std::istringstream in(transcript);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

size_t CountOf(const Lines& lines, const Lines& block) {
  size_t count = 0;
  for (auto at = lines.begin();
       (at = std::search(at, lines.end(), block.begin(), block.end())) != lines.end(); ++at) {
    ++count;
  }
  return count;
}

class PrintOverTcp : public ::testing::Test {
 protected:
  void SetUp() override {
    savedCutFeed_ = CCmdHelperBase::CutFeedDistance();
    CCmdHelperBase::SetCutFeedDistance(kCutFeedHundredths);
    ASSERT_TRUE(printer.Start(0));
    const std::string address = "127.0.0.1," + std::to_string(printer.Port());
    QEL::IO::TCPIPPortSettings settings;
    settings.Parse(std::u16string(address.begin(), address.end()));
    int32_t rc = -1;
    core.SetPortSettings(&settings, &rc);
    core.OpenServiceW(u"x", nullptr, &rc);
    ASSERT_EQ(rc, 0);
    core.ClaimDevice(100, &rc);
    ASSERT_EQ(rc, 0);
  }
  void TearDown() override {
    int32_t rc = 0;
    core.CloseService(&rc);
    CCmdHelperBase::SetCutFeedDistance(savedCutFeed_);
  }

  // Ends the session (the port closes, so every byte has arrived) and
  // returns all the printer got in it: the open's probe and the claim's
  // connection must both have been served.
  Lines Session() {
    int32_t rc = -1;
    core.ReleaseDevice(&rc);
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(printer.WaitForIdle(2, kWaitMs));
    // Whatever reached the printer, a printer takes.
    EXPECT_EQ(printer.InvalidCommands(), 0) << printer.Transcript();
    return Split(printer.Transcript());
  }

  // The lines after the first job prologue, without the release's closing
  // line; empty (and a failure) when either is missing.
  Lines AfterPrologue(const Lines& lines) {
    const auto at = std::search(lines.begin(), lines.end(), kPrologue.begin(), kPrologue.end());
    if (at == lines.end() || lines.back() != kReleaseLine) {
      ADD_FAILURE() << "no job prologue, or not released:\n" << printer.Transcript();
      return {};
    }
    return Lines(at + static_cast<std::ptrdiff_t>(kPrologue.size()), lines.end() - 1);
  }

  sim::VirtualPrinter printer;
  CTM_T88IV core{u"TM-T88IV"};

 private:
  int32_t savedCutFeed_ = 0;
};

struct SequenceCase {
  const char* name;
  std::u16string data;
  Lines formatted;  // after the prologue
  int32_t validate;  // what ValidateData says of the same data
};

// Test listings show the case's name, not its bytes.
void PrintTo(const SequenceCase& c, std::ostream* os) { *os << c.name; }

// 512 dots a line, 12 dots a character; 297 dots from print head to cutter
// (21 mm at 0.0705 mm) go out as ESC J 255 + ESC J 42.
const SequenceCase kSequences[] = {
    {"BoldThenNormal", u"\x1b|bCBold\x1b|N plain\n",
     {"ESC E 1", "TEXT \"Bold\"", "ESC ! 0", "ESC a 0", "TEXT \" plain\"", "LF"}, 0},
    {"CentreAtLineStart", u"\x1b|cATitle\n", {"ESC a 1", "TEXT \"Title\"", "LF", "ESC a 0"}, 0},
    {"DoubleWidthAndHeight", u"\x1b|4CBIG\n", {"GS ! 17", "TEXT \"BIG\"", "LF", "GS ! 0"}, 0},
    {"HorizontalScaleClamped", u"\x1b|9hCwide\n",
     {"GS ! 112", "TEXT \"wide\"", "LF", "GS ! 0"}, 106},
    {"UnderlineTooThick", u"\x1b|3uCline\n", {"ESC - 1", "TEXT \"line\"", "LF", "ESC ! 0"}, 106},
    {"UnknownSequenceRaw", u"\x1b|zZ\n", {"BYTES 1B 7C", "TEXT \"zZ\"", "LF"}, 111},
    {"TabDropped", u"A\tB\n", {"TEXT \"AB\"", "LF"}, 0},
    {"FullCut", u"\x1b|100P", {"ESC J 24", "GS V 0"}, 0},
    {"PartialCutWithFeed", u"\x1b|50fP", {"ESC J 255", "ESC J 42", "ESC J 24", "GS V 1"}, 0},
    {"FontB", u"\x1b|2fTsmall\n", {"ESC ! 1", "TEXT \"small\"", "LF"}, 0},
    // "2.50" is 48 dots wide: placed at 512 - 48 = 464 = 208 + 1 * 256.
    {"RightAlignedPrice", u"Coffee\x1b|rA2.50\n",
     {"TEXT \"Coffee\"", "ESC $ 208 1", "TEXT \"2.50\"", "LF", "ESC a 0"}, 0},
    // Pending text goes out first (ESC J 0); the eight digits travel as set C pairs.
    {"BarcodeSequence", u"\x1b|26Rs110h60w2a-2t-13d12345678e",
     {"ESC J 0", "ESC a 1", "GS w module 2", "GS h height 60", "GS H HRI below",
      "GS f HRI font A", "GS k CODE128 {C 12 34 56 78", "ESC a 0"},
     0},
};

class EscapeSequenceOverTcp : public PrintOverTcp,
                              public ::testing::WithParamInterface<SequenceCase> {};

INSTANTIATE_TEST_SUITE_P(Sequences, EscapeSequenceOverTcp, ::testing::ValuesIn(kSequences),
                         [](const ::testing::TestParamInfo<SequenceCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_P(EscapeSequenceOverTcp, ArrivesAsTheExpectedCommands) {
  const SequenceCase& c = GetParam();
  int32_t rc = -1;
  core.ValidateData(2, c.data, &rc);
  EXPECT_EQ(rc, c.validate);
  rc = -1;
  core.PrintNormal(2, c.data, &rc);
  EXPECT_EQ(rc, 0) << "PrintNormal does not report the formatter's own result";
  const Lines lines = Session();
  EXPECT_EQ(CountOf(lines, kPrologue), 1u) << "one job";
  EXPECT_EQ(AfterPrologue(lines), c.formatted);
}

TEST_F(PrintOverTcp, TransactionArrivesAsOneJob) {
  int32_t rc = -1;
  core.TransactionPrint(2, 11, &rc);
  ASSERT_EQ(rc, 0);
  core.PrintNormal(2, u"one\n", &rc);
  EXPECT_EQ(rc, 0);
  core.PrintNormal(2, u"\x1b|bCtwo\n", &rc);
  EXPECT_EQ(rc, 0);
  // Sent straight past the open transaction: once it arrived, whatever the
  // core wrote before it has arrived too.
  PrinterBuffer marker(32, 32);
  marker.append("mark\n", 5);
  ASSERT_EQ(core.DirectSend(marker, 0, 7), 0);
  ASSERT_TRUE(printer.WaitForBytes({'m', 'a', 'r', 'k', '\n'}, kWaitMs));
  EXPECT_EQ(printer.Transcript().find("TEXT \"one\""), std::string::npos)
      << "nothing of the transaction leaves before its end";
  core.TransactionPrint(2, 12, &rc);
  EXPECT_EQ(rc, 0);
  const Lines lines = Session();
  EXPECT_EQ(CountOf(lines, kPrologue), 1u) << "one prologue: the parts are not jobs of their own";
  // Each part starts from a clean format (ESC a 0, GS L 0 0, ESC ! 0), and the
  // bold of the second is undone at its own end.
  EXPECT_EQ(AfterPrologue(lines),
            (Lines{"ESC a 0", "GS L 0 0", "ESC ! 0", "TEXT \"one\"", "LF", "ESC a 0", "GS L 0 0",
                   "ESC ! 0", "ESC E 1", "TEXT \"two\"", "LF", "ESC ! 0"}));
}

TEST_F(PrintOverTcp, CutPaperSendsTheCutAlone) {
  int32_t rc = -1;
  core.CutPaper(0, &rc);
  EXPECT_EQ(rc, OPOS_E_ILLEGAL);
  core.CutPaper(101, &rc);
  EXPECT_EQ(rc, OPOS_E_ILLEGAL);
  core.CutPaper(100, &rc);
  EXPECT_EQ(rc, 0);
  const Lines lines = Session();
  EXPECT_EQ(CountOf(lines, kPrologue), 0u) << "a cut is not a text job";
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(Lines(lines.end() - 3, lines.end()), (Lines{"ESC J 24", "GS V 0", kReleaseLine}));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "GS V 0"), 1) << "the refused cuts sent nothing";
}

// The symbols' data reaches the printer whole, and the printer draws them:
// a 60-byte link as PDF417 and 300 bytes of receipt data as a QR Code.
TEST_F(PrintOverTcp, TwoDimensionalSymbolsAreStoredWholeThenPrinted) {
  const std::u16string link = u"https://receipts.example/r/2026/12/08/store-042/till-3/00017";
  ASSERT_EQ(link.size(), 60u);
  int32_t rc = -1;
  core.PrintBarCode(2, link, 201, 200, 400, -2, -11, &rc);
  EXPECT_EQ(rc, 0);
  core.PrintBarCode(2, std::u16string(300, u'7'), 204, 300, 300, -2, -11, &rc);
  EXPECT_EQ(rc, 0);
  const Lines lines = Session();
  for (const char* expected : {"PDF417 store 60 bytes", "PDF417 print", "QR model 2",
                               "QR store 300 bytes", "QR print"}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end())
        << expected << " missing from:\n" << printer.Transcript();
  }
}

}  // namespace
