// The escape-sequence formatter and the print methods around it, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <string>
#include <vector>

#include "so/printer/CQX1270SMB.h"
#include "so/printer/CTM_T88IV.h"
#include "so/printer/PropertyIndex.h"
#include "testing/ByteStrings.h"
#include "testing/FakePort.h"

using namespace QEL::Printer;
using testing_support::FakePort;
using namespace testing_support;

namespace {

// Undoes the QX1270 framing: AA len payload xor BB, one frame after another.
Bytes Unframe(const Bytes& framed) {
  Bytes payload;
  size_t i = 0;
  while (i + 3 < framed.size() && framed[i] == 0xAA) {
    const size_t n = framed[i + 1];
    payload.insert(payload.end(), framed.begin() + i + 2, framed.begin() + i + 2 + n);
    i += n + 4;
  }
  return payload;
}

template <class Model>
class Printing : public ::testing::Test {
 protected:
  void OpenAndClaim(Model& core) {
    core.AttachPort(port);
    int32_t rc = 0;
    core.OpenServiceW(u"x", nullptr, &rc);
    ASSERT_EQ(rc, 0);
    core.ClaimDevice(0, &rc);
    ASSERT_EQ(rc, 0);
    port->ClearWritten();
  }
  std::shared_ptr<FakePort> port = std::make_shared<FakePort>();
};

class StandardFormatter : public Printing<CTM_T88IV> {
 protected:
  void SetUp() override { OpenAndClaim(core); }
  // What the formatter makes of the text, and its result.
  Bytes Format(const std::string& text, int32_t* result = nullptr) {
    PrinterBuffer out(32, 32);
    const int32_t rc = core.FormatStringToOutBuffer(
        out, reinterpret_cast<const uint8_t*>(text.data()), text.size(), false);
    if (result != nullptr) *result = rc;
    return Content(out);
  }
  int32_t Validate(const std::u16string& text) {
    int32_t rc = -1;
    core.ValidateData(2, text, &rc);
    return rc;
  }
  CTM_T88IV core{u"TM-T88IV"};
};

const std::string E = "\x1b|";

TEST_F(StandardFormatter, PlainTextAndLineFeeds) {
  EXPECT_EQ(Format("AB\nCD"), Of("AB\nCD"));
  EXPECT_EQ(Format("A\tB"), Of("AB")) << "a tab is not printed";
  int32_t rc = -1;
  EXPECT_EQ(Format("A\fB", &rc), Of("AB"));
  EXPECT_EQ(rc, OPOS_E_FAILURE) << "a form feed has no meaning in standard mode";
}

TEST_F(StandardFormatter, NormalCancelsTheBoldEpilogue) {
  EXPECT_EQ(Format(E + "bCAB" + E + "N"), Cat({B({0x1B, 0x45, 0x01}), Of("AB"),
                                                B({0x1B, 0x21, 0x00, 0x1B, 0x61, 0x00})}));
  EXPECT_EQ(Format(E + "bCAB"), Cat({B({0x1B, 0x45, 0x01}), Of("AB"), B({0x1B, 0x21, 0x00})}));
}

TEST_F(StandardFormatter, AlignmentAtTheStartOfALine) {
  EXPECT_EQ(Format(E + "cAX\n"), Cat({B({0x1B, 0x61, 0x01}), Of("X\n"), B({0x1B, 0x61, 0x00})}));
  EXPECT_EQ(Format(E + "lAX"), Of("X")) << "already in effect: nothing";
  int32_t rc = -1;
  EXPECT_EQ(Format(E + "xAX", &rc), Cat({Of(E + "xA"), Of("X")}));
  EXPECT_EQ(rc, OPOS_E_FAILURE);
}

TEST_F(StandardFormatter, AlignmentInTheMiddleOfALinePlacesTheRest) {
  // 512 dots, 12-dot characters: "2.50" is 48 dots wide, placed at 464.
  EXPECT_EQ(Format("Coffee" + E + "rA2.50\n"),
            Cat({Of("Coffee"), B({0x1B, 0x24, 464 & 0xFF, 464 >> 8}), Of("2.50\n"),
                 B({0x1B, 0x61, 0x00})}));
  // Centred: (512 - 48) / 2 = 232.
  EXPECT_EQ(Format("ab" + E + "cAcdef"),
            Cat({Of("ab"), B({0x1B, 0x24, 232, 0}), Of("cdef"), B({0x1B, 0x61, 0x00})}));
}

TEST_F(StandardFormatter, RightAlignmentHoldsForTheNextLineToo) {
  // After a placed piece the printer's own justification is still left: the
  // next line's ESC|rA must select it, not be taken as already in effect.
  const Bytes out = Format("a" + E + "rAb\n" + E + "rAc\n");
  EXPECT_EQ(out, Cat({Of("a"), B({0x1B, 0x24, 500 & 0xFF, 500 >> 8}), Of("b\n"),
                      B({0x1B, 0x61, 0x02}), Of("c\n"), B({0x1B, 0x61, 0x00})}));
}

TEST_F(StandardFormatter, CharacterSizes) {
  EXPECT_EQ(Format(E + "4CX"), Cat({B({0x1D, 0x21, 0x11}), Of("X"), B({0x1D, 0x21, 0x00})}));
  EXPECT_EQ(Format(E + "2CX"), Cat({B({0x1D, 0x21, 0x10}), Of("X"), B({0x1D, 0x21, 0x00})}));
  EXPECT_EQ(Format(E + "9CX"), Cat({B({0x1D, 0x21, 0x11}), Of("X"), B({0x1D, 0x21, 0x00})}))
      << "above 4 counts as 4";
  int32_t rc = -1;
  EXPECT_EQ(Format(E + "9hCX", &rc), Cat({B({0x1D, 0x21, 0x70}), Of("X"), B({0x1D, 0x21, 0x00})}));
  EXPECT_EQ(rc, OPOS_E_ILLEGAL);
  EXPECT_EQ(Format(E + "3hC" + E + "2vCX"),
            Cat({B({0x1D, 0x21, 0x20, 0x1D, 0x21, 0x21}), Of("X"), B({0x1D, 0x21, 0x00})}));
}

TEST_F(StandardFormatter, UnderlineReverseItalic) {
  int32_t rc = -1;
  EXPECT_EQ(Format(E + "3uCX", &rc), Cat({B({0x1B, 0x2D, 0x01}), Of("X"), B({0x1B, 0x21, 0x00})}));
  EXPECT_EQ(rc, OPOS_E_ILLEGAL);
  EXPECT_EQ(Format(E + "uCX" + E + "!uC"),
            Cat({B({0x1B, 0x2D, 0x01}), Of("X"), B({0x1B, 0x2D, 0x00, 0x1B, 0x21, 0x00})}));
  EXPECT_EQ(Format(E + "rvCX"), Cat({B({0x1D, 0x42, 0x01}), Of("X"), B({0x1D, 0x42, 0x00})}));
  EXPECT_EQ(Format(E + "iCX"), Of("X"));
}

TEST_F(StandardFormatter, UnusableSequencesArePrintedRaw) {
  int32_t rc = -1;
  EXPECT_EQ(Format(E + "zZ", &rc), B({0x1B, 0x7C, 0x7A, 0x5A}));
  EXPECT_EQ(rc, OPOS_E_FAILURE);
  EXPECT_EQ(Format(E + "12", &rc), Of(E + "12")) << "no command letter";
  EXPECT_EQ(rc, OPOS_E_FAILURE);
  EXPECT_EQ(Format(E + "zZ" + E + "bC", &rc), Cat({Of(E + "zZ"), B({0x1B, 0x45, 0x01, 0x1B, 0x21, 0x00})}));
  EXPECT_EQ(rc, 0) << "a usable sequence clears the error";
  EXPECT_EQ(Format(E + "3B", &rc), Of(E + "3B")) << "no bitmap has been stored";
  EXPECT_EQ(rc, OPOS_E_FAILURE);
}

TEST_F(StandardFormatter, FontSelection) {
  EXPECT_EQ(Format(E + "2fTA"), Cat({B({0x1B, 0x21, 0x01}), Of("A")}));
  EXPECT_EQ(Format(E + "2fT" + E + "bCA"), Cat({B({0x1B, 0x45, 0x01}), Of("A"), B({0x1B, 0x21, 0x00})}))
      << "another sequence cancels the pending font command";
  int32_t rc = -1;
  Format(E + "3fTA", &rc);
  EXPECT_EQ(rc, OPOS_E_FAILURE) << "there are two fonts";
}

TEST_F(StandardFormatter, Feeds) {
  EXPECT_EQ(Format(E + "3lF"), B({0x1B, 0x64, 0x03}));
  int32_t rc = -1;
  Format(E + "0uF", &rc);
  EXPECT_EQ(rc, OPOS_E_FAILURE);
}

TEST_F(StandardFormatter, CutSequences) {
  CCmdHelperBase helper;
  PrinterBuffer full(32, 32), partial(32, 32), feed(32, 32);
  helper.FeedAndFullCut(full);
  helper.FeedAndPartialCut(partial);
  // Head to cutter for the TM-T88IV: 2100 hundredths of a millimetre at 0.0705 mm a dot.
  helper.FeedDots(feed, static_cast<int32_t>(2100 / (0.0705f * 100)));
  EXPECT_EQ(Format(E + "100P"), Content(full));
  EXPECT_EQ(Format(E + "50fP"), Cat({Content(feed), Content(partial)}));
  EXPECT_EQ(Format(E + "P"), Content(partial));
  int32_t rc = -1;
  Format(E + "101P", &rc);
  EXPECT_EQ(rc, OPOS_E_FAILURE);
  Format(E + "50ffP", &rc);
  EXPECT_EQ(rc, OPOS_E_FAILURE);
  EXPECT_EQ(Validate(u"\x1b|0P"), OPOS_E_ILLEGAL);
  EXPECT_EQ(Validate(u"\x1b|50P"), 0);
}

TEST_F(StandardFormatter, ValidateDataResults) {
  EXPECT_EQ(Validate(u"plain text\n"), 0);
  EXPECT_EQ(Validate(u"\x1b|zZ"), OPOS_E_FAILURE);
  EXPECT_EQ(Validate(u"\x1b|9hC"), OPOS_E_ILLEGAL);
  EXPECT_EQ(Validate(u"\x1b|3uC"), OPOS_E_ILLEGAL);
  EXPECT_EQ(Validate(u"a\fb\n"), OPOS_E_FAILURE);
  int32_t rc = -1;
  core.ValidateData(1, u"x", &rc);
  EXPECT_EQ(rc, OPOS_E_EXTENDED);
  EXPECT_EQ(core.ResultCodeExtended(), OPOS_E_NOT_SUPPORTED);
  EXPECT_TRUE(port->Written().empty()) << "validating prints nothing";
}

TEST_F(StandardFormatter, DirectBytesGoOutAheadOfTheText) {
  int32_t rc = -1;
  core.PrintNormal(2, u"\x1b|2E\x1b@X\n", &rc);
  EXPECT_EQ(rc, 0);
  const auto calls = port->WriteCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], B({0x1B, 0x40}));
  const Bytes& job = calls[1];
  EXPECT_EQ(Bytes(job.end() - 2, job.end()), Of("X\n"));
  EXPECT_EQ(std::search(job.begin(), job.end(), calls[0].begin(), calls[0].end()), job.end() - 0)
      << "the direct bytes are not printed again";
}

TEST_F(StandardFormatter, BinaryConversionOfPrintData) {
  int32_t rc = -1;
  core.SetPropertyNumber(Pidx::BinaryConversion, 1, &rc);
  core.PrintNormal(2, u"1;4041", &rc);  // ESC @ A, written as nibbles
  ASSERT_EQ(port->WriteCalls().size(), 1u);
  const Bytes job = port->WriteCalls()[0];
  EXPECT_EQ(Bytes(job.end() - 3, job.end()), B({0x1B, 0x40, 0x41}));
  port->ClearWritten();
  core.SetPropertyNumber(Pidx::BinaryConversion, 2, &rc);
  core.PrintNormal(2, u"027124098067", &rc);  // ESC | b C, in decimal: bold on
  const Bytes bold = port->WriteCalls().at(0);
  EXPECT_EQ(Bytes(bold.end() - 6, bold.end()), B({0x1B, 0x45, 0x01, 0x1B, 0x21, 0x00}));
}

TEST_F(StandardFormatter, OutputGoesToTheTransactionUntilItEnds) {
  int32_t rc = -1;
  core.TransactionPrint(2, 11, &rc);
  core.PrintNormal(2, u"one\n", &rc);
  core.PrintNormal(2, u"two\n", &rc);
  int32_t number = 0;
  std::u16string direct = u"\x1b@";
  core.DirectIO(100, &number, &direct, &rc);
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(port->Written().empty());
  core.TransactionPrint(2, 12, &rc);
  EXPECT_EQ(rc, 0);
  ASSERT_EQ(port->WriteCalls().size(), 1u) << "one job for the whole transaction";
  const Bytes job = port->WriteCalls()[0];
  const Bytes one = Of("one\n"), two = Of("two\n");
  auto at1 = std::search(job.begin(), job.end(), one.begin(), one.end());
  auto at2 = std::search(job.begin(), job.end(), two.begin(), two.end());
  ASSERT_NE(at1, job.end());
  ASSERT_NE(at2, job.end());
  EXPECT_LT(at1, at2);
  EXPECT_EQ(Bytes(job.end() - 2, job.end()), B({0x1B, 0x40}));
}

TEST_F(StandardFormatter, DirectIoCommands) {
  int32_t rc = -1, number = 0;
  std::u16string text = u"\x1b@";
  core.DirectIO(101, &number, &text, &rc);
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(port->WriteCalls(), (std::vector<Bytes>{B({0x1B, 0x40})}));
  port->ClearWritten();
  core.DirectIO(7, &number, &text, &rc);
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(port->Written().empty());
  EXPECT_EQ(text, u"\x1b@") << "the text is not changed";
}

TEST_F(StandardFormatter, UnsupportedMethods) {
  int32_t rc = -1;
  core.PrintTwoNormal(2, u"a", u"b", &rc);
  EXPECT_EQ(rc, OPOS_E_EXTENDED);
  EXPECT_EQ(core.ResultCodeExtended(), OPOS_E_NOT_SUPPORTED);
  core.DrawRuledLine(2, u"0,10", 1, 1, 1, 1, &rc);
  EXPECT_EQ(rc, OPOS_E_EXTENDED);
  core.PrintLine(2, u"10,100,200,300", &rc);
  EXPECT_EQ(rc, OPOS_E_ILLEGAL) << "only the QX1270 family draws ruled lines";
}

TEST_F(StandardFormatter, CutPaperChecksItsPercentage) {
  int32_t rc = -1;
  core.CutPaper(0, &rc);
  EXPECT_EQ(rc, OPOS_E_ILLEGAL);
  core.CutPaper(101, &rc);
  EXPECT_EQ(rc, OPOS_E_ILLEGAL);
  EXPECT_TRUE(port->Written().empty());
  core.CutPaper(100, &rc);
  EXPECT_EQ(rc, 0);
  CCmdHelperBase helper;
  PrinterBuffer full(32, 32);
  helper.FeedAndFullCut(full);
  ASSERT_EQ(port->WriteCalls().size(), 1u);
  EXPECT_EQ(port->WriteCalls()[0], Content(full));
}

TEST_F(StandardFormatter, PrintNormalJobStartsWithThePrologue) {
  int32_t rc = -1;
  core.PrintNormal(2, u"AB\n", &rc);
  EXPECT_EQ(rc, 0);
  ASSERT_EQ(port->WriteCalls().size(), 1u);
  const Bytes job = port->WriteCalls()[0];
  // ESC = 1, ESC a 0, GS L 0 0, ESC { 0, ESC ! 0, GS b 0, ESC 3 60 (30 dots at 0.141/0.0705)
  const Bytes prologue = B({0x1B, 0x3D, 0x01, 0x1B, 0x61, 0x00, 0x1D, 0x4C, 0x00, 0x00, 0x1B, 0x7B,
                            0x00, 0x1B, 0x21, 0x00, 0x1D, 0x62, 0x00, 0x1B, 0x33, 0x3C});
  const Bytes tail = Cat({prologue, Of("AB\n")});
  ASSERT_GE(job.size(), tail.size());
  EXPECT_EQ(Bytes(job.end() - tail.size(), job.end()), tail);
}

class QX1270Printing : public Printing<CQX1270SMB> {
 protected:
  void SetUp() override { OpenAndClaim(core); }
  CQX1270SMB core{u"QX1270"};
};

TEST_F(QX1270Printing, FreshlyOpenedJobMatchesTheReference) {
  int32_t rc = -1;
  core.PrintNormal(2, u"AB\n", &rc);
  EXPECT_EQ(rc, 0);
  const Bytes job = Unframe(port->Written());
  const Bytes tail = B({0x1B, 0x3D, 0x01, 0x1B, 0x61, 0x00, 0x1D, 0x4C, 0x00, 0x00, 0x1B, 0x7B, 0x00,
                        0x1B, 0x21, 0x00, 0x1D, 0x62, 0x00, 0x1B, 0x33, 0x3C, 0x41, 0x42, 0x0A});
  ASSERT_GT(job.size(), tail.size());
  EXPECT_EQ(Bytes(job.end() - tail.size(), job.end()), tail);
  const Bytes pending(job.begin(), job.end() - tail.size());
  const Bytes kanjiOff = B({0x1C, 0x2E});
  EXPECT_NE(std::search(pending.begin(), pending.end(), kanjiOff.begin(), kanjiOff.end()),
            pending.end())
      << "the code page travels in front of the job";
}

TEST_F(QX1270Printing, RuledLinesAndCurvedText) {
  int32_t rc = -1;
  core.TransactionPrint(2, 11, &rc);
  core.PrintLine(2, u"10,100,200,300", &rc);
  EXPECT_EQ(rc, 0);
  const Bytes lines = B({0x1D, 0x27, 0x02, 0x0A, 0x00, 0x64, 0x00, 0xC8, 0x00, 0x2C, 0x01});
  const Bytes transaction = Content(core.TransactionBuffer());
  ASSERT_GE(transaction.size(), lines.size());
  EXPECT_EQ(Bytes(transaction.end() - lines.size(), transaction.end()), lines);
  core.PrintLine(2, u"1,", &rc);
  EXPECT_EQ(rc, OPOS_E_ILLEGAL) << "a list shorter than three bytes";
  core.PrintLine(2, u"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18", &rc);
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(Content(core.TransactionBuffer()), transaction) << "more than eight pairs append nothing";
  core.PrintCurveText(2, 1, 2, u"", &rc);
  EXPECT_EQ(rc, OPOS_E_ILLEGAL);
}

TEST_F(QX1270Printing, TheModelHasNoCutter) {
  PrinterBuffer out(32, 32);
  const std::string text = E + "50fP";
  int32_t rc = core.FormatStringToOutBuffer(out, reinterpret_cast<const uint8_t*>(text.data()),
                                            text.size(), false);
  EXPECT_EQ(rc, OPOS_E_FAILURE);
  EXPECT_EQ(Content(out), Of(text));
}

// The framed command set on a model that does have a cutter.
class FramedWithCutter : public CPrinterBase {
 public:
  FramedWithCutter() {
    InitCmdHelper();
    props_.Cap(Pidx::CapRecPapercut) = 1;
    traits_.verticalDotPitch = 0.0625f;
    traits_.cutterDistance = 2600;
  }
  int32_t IsSupportBidi() override { return 1; }

 protected:
  void InitCmdHelper() override { cmdHelper_ = &helper_; }

 private:
  CmdHelper_QX1270 helper_;
};

TEST(FramedCutSequences, OnlyTheFeedToTheCutterProducesBytes) {
  FramedWithCutter core;
  CmdHelper_QX1270 helper;
  PrinterBuffer feed(32, 32);
  helper.FeedDots(feed, static_cast<int32_t>(2600 / (0.0625f * 100)));
  ASSERT_FALSE(feed.isEmpty());
  const std::string text = E + "50fP";
  PrinterBuffer out(32, 32);
  EXPECT_EQ(core.FormatStringToOutBuffer(out, reinterpret_cast<const uint8_t*>(text.data()),
                                         text.size(), false),
            0);
  EXPECT_EQ(Content(out), Content(feed));
  out.clear();
  const std::string full = E + "100P";
  core.FormatStringToOutBuffer(out, reinterpret_cast<const uint8_t*>(full.data()), full.size(), false);
  EXPECT_TRUE(out.isEmpty());
}

}  // namespace

namespace {

TEST_F(StandardFormatter, AnEmptyTransactionEndsWithoutAFailure) {
  int32_t rc = -1;
  core.TransactionPrint(2, 11, &rc);
  core.ClearOutput(&rc);
  core.TransactionPrint(2, 12, &rc);
  EXPECT_EQ(rc, 0) << "nothing to print is not a missing printer";
  EXPECT_EQ(core.ResultCode(), 0);
}

}  // namespace

namespace {

TEST_F(StandardFormatter, EverySequenceCancelsAPendingFontCommand) {
  EXPECT_EQ(Format(E + "2fT" + E + "12\nx"), Cat({Of(E + "12\nx")})) << "an incomplete one";
  EXPECT_EQ(Format(E + "2fT" + E + "9fTx"), Cat({Of(E + "9fT"), Of("x")})) << "an unusable one";
  EXPECT_EQ(Format(E + "2fT" + E + "zZx"), Cat({Of(E + "zZ"), Of("x")})) << "an unknown one";
}

TEST_F(StandardFormatter, NormalInTheMiddleOfALineKeepsThePlacedPiece) {
  // "cd" was written right-aligned: it is placed before ESC|N resets the line.
  EXPECT_EQ(Format("ab" + E + "rAcd" + E + "Nef\n"),
            Cat({Of("ab"), B({0x1B, 0x24, 488 & 0xFF, 488 >> 8}), Of("cd"),
                 B({0x1B, 0x21, 0x00, 0x1B, 0x61, 0x00}), Of("ef\n"), B({0x1B, 0x61, 0x00})}));
}

TEST_F(StandardFormatter, AFeedIsBoundedToAMetreOfPaper) {
  int32_t rc = -1;
  const Bytes out = Format(E + "2147483647uF", &rc);
  EXPECT_EQ(rc, OPOS_E_ILLEGAL) << "the value was replaced";
  CCmdHelperBase helper;
  PrinterBuffer metre(32, 32);
  helper.FeedDots(metre, static_cast<int32_t>(1000.0f / 0.0705f));
  EXPECT_EQ(out, Content(metre));
  EXPECT_LT(out.size(), 500u);
}

}  // namespace

namespace {

TEST_F(StandardFormatter, BarcodeParametersNeverReachThePaper) {
  int32_t rc = -1;
  // Parameters that do not parse (no 'e' at their end): the sequence is
  // printed raw, its parameters are not.
  const std::string params = "s102h80w2a+1t-2d1234";
  EXPECT_EQ(Format(E + std::to_string(params.size()) + "R" + params + "X", &rc),
            Cat({Of(E + std::to_string(params.size()) + "R"), Of("X")}));
  EXPECT_EQ(rc, OPOS_E_FAILURE) << "printable bytes after it do not clear the error";
  // Four digits are no UPC-E: nothing of the code is printed, and the walk
  // reports it.
  const std::string upcE = "s102h80w2a+1t-12d1234e";
  EXPECT_EQ(Format(E + std::to_string(upcE.size()) + "R" + upcE + "X", &rc), Of("X"));
  EXPECT_EQ(rc, OPOS_E_ILLEGAL);
}

}  // namespace
