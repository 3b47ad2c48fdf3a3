// PrintBarCode and ESC|#R, byte for byte at the port.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/manual_clock.h"
#include "so/printer/CTM_T88IV.h"
#include "so/printer/PropertyIndex.h"
#include "testing/ByteStrings.h"
#include "testing/FakePort.h"

using namespace QEL::Printer;
using testing_support::FakePort;
using namespace testing_support;

namespace {

bool EndsWith(const Bytes& all, const Bytes& tail) {
  return all.size() >= tail.size() && Bytes(all.end() - tail.size(), all.end()) == tail;
}

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

class PrintBarCodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The claim's waits for answers the fake port never gives pass at once.
    clock->SetAutoAdvance(true);
    core.SetClock(clock);
    core.AttachPort(port);
    int32_t rc = -1;
    core.OpenServiceW(u"x", nullptr, &rc);
    ASSERT_EQ(rc, 0);
    core.ClaimDevice(0, &rc);
    ASSERT_EQ(rc, 0);
    core.SetPropertyNumber(Pidx::MapMode, 1, &rc);
    port->ClearWritten();
  }

  int32_t Print(const std::string& data, int32_t symbology, int32_t height, int32_t width,
                int32_t alignment = -1, int32_t textPosition = -13) {
    int32_t rc = -1;
    core.PrintBarCode(2, Wide(data), symbology, height, width, alignment, textPosition, &rc);
    return rc;
  }

  // GS w m, GS h h, GS H 2 (text below), GS f 0, GS k system n data.
  static Bytes OneDimensional(int module, int height, int system, const Bytes& data) {
    return Cat({B({0x1D, 'w', module, 0x1D, 'h', height, 0x1D, 'H', 2, 0x1D, 'f', 0, 0x1D, 'k',
                   system, static_cast<int>(data.size())}),
                data});
  }

  std::shared_ptr<platform::ManualClock> clock = std::make_shared<platform::ManualClock>();
  std::shared_ptr<FakePort> port = std::make_shared<FakePort>();
  CTM_T88IV core{u"TM-T88IV"};
};

const Bytes kFeedNone = B({0x1B, 'J', 0});
const Bytes kLeft = B({0x1B, 'a', 0});
const Bytes kCentre = B({0x1B, 'a', 1});
// After an object placed centred or right, the justification returns to left
// for the text that may follow in the same job.
const Bytes kBackToLeft = B({0x1B, 'a', 0});

TEST_F(PrintBarCodeTest, OneDimensionalCodesGetTheModuleWidthThatFits) {
  struct Case {
    const char* what;
    std::string data;
    int32_t symbology, width;
    Bytes tail;
  };
  const Case cases[] = {
      // A width below 7 is the module width itself.
      {"EAN-13 width 3", "490123456789", 104, 3,
       OneDimensional(3, 162, 67, Of("490123456789"))},
      // 95 modules: 4 x 95 = 380 fits in 400 dots, 5 x 95 does not.
      {"UPC-A 400 dots", "03600029145", 101, 400, OneDimensional(4, 162, 65, Of("03600029145"))},
      // Even module width 2 (190 dots) is too wide for 150: 2 is still used.
      {"UPC-A 150 dots", "03600029145", 101, 150, OneDimensional(2, 162, 65, Of("03600029145"))},
      {"Code 128 digits", "12345678", 110, 2,
       OneDimensional(2, 162, 73, B({'{', 'C', 12, 34, 56, 78}))},
      {"Code 128 letters", "AB12", 110, 2, OneDimensional(2, 162, 73, Of("{BAB12"))},
      {"Code 128 odd digits", "1234567", 110, 2,
       OneDimensional(2, 162, 73, B({'{', 'C', 12, 34, 56, '{', 'B', '7'}))},
      {"parsed Code 128", "{C1234{BAB", 123, 2,
       OneDimensional(2, 162, 73, B({'{', 'C', 12, 34, '{', 'B', 'A', 'B'}))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    port->ClearWritten();
    ASSERT_EQ(Print(c.data, c.symbology, 162, c.width), 0);
    ASSERT_EQ(port->WriteCalls().size(), 1u);
    EXPECT_TRUE(EndsWith(port->WriteCalls()[0], Cat({kFeedNone, kLeft, c.tail})));
  }
}

TEST_F(PrintBarCodeTest, AlignmentAndHeightReachThePrinter) {
  ASSERT_EQ(Print("490123456789", 104, 80, 3, -2, -11), 0);
  const Bytes tail = Cat({kFeedNone, kCentre,
                          B({0x1D, 'w', 3, 0x1D, 'h', 80, 0x1D, 'H', 0, 0x1D, 'f', 0, 0x1D, 'k',
                             67, 12}),
                          Of("490123456789"), kBackToLeft});
  EXPECT_TRUE(EndsWith(port->Written(), tail));

  // A positive alignment is a left margin in map-mode units (dots here).
  port->ClearWritten();
  ASSERT_EQ(Print("490123456789", 104, 80, 3, 100, -11), 0);
  EXPECT_TRUE(EndsWith(port->Written(),
                       Cat({kFeedNone, B({0x1D, 'L', 100, 0}),
                            B({0x1D, 'w', 3, 0x1D, 'h', 80, 0x1D, 'H', 0, 0x1D, 'f', 0, 0x1D,
                               'k', 67, 12}),
                            Of("490123456789"), B({0x1D, 'L', 0, 0})})));
}

TEST_F(PrintBarCodeTest, RefusalsComeInTheirOrderAndPrintNothing) {
  struct Case {
    const char* what;
    std::string data;
    int32_t symbology, height, width, alignment, textPosition, result;
  };
  const Case cases[] = {
      {"text position -10", "490123456789", 104, 80, 3, -1, -10, OPOS_E_ILLEGAL},
      {"alignment 0", "490123456789", 104, 80, 3, 0, -13, OPOS_E_ILLEGAL},
      {"alignment past the paper", "490123456789", 104, 80, 3, 5000, -13, OPOS_E_ILLEGAL},
      {"negative width", "490123456789", 104, 80, -1, -1, -13, OPOS_E_ILLEGAL},
      {"negative height", "490123456789", 104, -1, 3, -1, -13, OPOS_E_ILLEGAL},
      {"taller than a page", "490123456789", 104, 5000, 3, -1, -13, OPOS_E_ILLEGAL},
      {"no data", "", 104, 80, 3, -1, -13, OPOS_E_ILLEGAL},
      // An unknown symbology is not an error, and prints nothing.
      {"symbology 105", "490123456789", 105, 80, 3, -1, -13, OPOS_SUCCESS},
      // Data the symbology cannot carry would print nothing, or garbage.
      {"EAN-13 with letters", "49012345678A", 104, 80, 3, -1, -13, OPOS_E_ILLEGAL},
      {"EAN-13 too short", "4901234", 104, 80, 3, -1, -13, OPOS_E_ILLEGAL},
      // Printing only the part the conversion reads would scan as other data.
      {"Code 128 over 232 bytes", std::string(233, 'a'), 110, 80, 2, -1, -13, OPOS_E_ILLEGAL},
      {"parsed Code 128 over 232 bytes", "{B" + std::string(231, 'a'), 123, 80, 2, -1, -13,
       OPOS_E_ILLEGAL},
      {"parsed Code 128 of one byte", "{", 123, 80, 2, -1, -13, OPOS_E_ILLEGAL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    port->ClearWritten();
    EXPECT_EQ(Print(c.data, c.symbology, c.height, c.width, c.alignment, c.textPosition),
              c.result);
    EXPECT_EQ(core.ResultCode(), c.result);
    EXPECT_TRUE(port->Written().empty());
  }
}

TEST_F(PrintBarCodeTest, QrModelFollowsTheDataLength) {
  for (const size_t length : {250u, 251u}) {
    SCOPED_TRACE(length);
    port->ClearWritten();
    const std::string data(length, 'q');
    ASSERT_EQ(Print(data, 204, 300, 300), 0);
    const Bytes written = port->Written();
    // GS ( k 4 0 '1' 'A' model 0
    const Bytes model = B({0x1D, '(', 'k', 4, 0, '1', 'A', length <= 250 ? '1' : '2', 0});
    EXPECT_NE(std::search(written.begin(), written.end(), model.begin(), model.end()),
              written.end());
    const int p = static_cast<int>(length) + 3;
    const Bytes store = Cat({B({0x1D, '(', 'k', p & 0xFF, p >> 8, '1', 'P', '0'}), Of(data),
                             B({0x1D, '(', 'k', 3, 0, '1', 'Q', '0'})});
    EXPECT_TRUE(EndsWith(written, store)) << "the data is stored, then printed";
  }
}

TEST_F(PrintBarCodeTest, SymbolsTheEncoderRefusesAreReportedWithItsText) {
  // Far more than any QR Code holds.
  EXPECT_EQ(Print(std::string(5000, 'x'), 204, 300, 300), OPOS_E_FAILURE);
  EXPECT_FALSE(core.SymbolEncoderText().empty());
  EXPECT_TRUE(port->Written().empty());
  // The next barcode starts without the old complaint.
  EXPECT_EQ(Print("490123456789", 104, 80, 3), 0);
  EXPECT_TRUE(core.SymbolEncoderText().empty());
}

TEST_F(PrintBarCodeTest, InATransactionTheCodeWaitsForTheTransaction) {
  int32_t rc = -1;
  core.TransactionPrint(2, 11, &rc);
  ASSERT_EQ(rc, 0);
  ASSERT_EQ(Print("490123456789", 104, 80, 3), 0);
  EXPECT_TRUE(port->Written().empty());
  const Bytes collected(core.TransactionBuffer().data(),
                        core.TransactionBuffer().data() + core.TransactionBuffer().size());
  EXPECT_TRUE(EndsWith(collected, Cat({kLeft, OneDimensional(3, 80, 67, Of("490123456789"))})))
      << "no feed in front: the transaction's text and the code print as one job";
}

// The printer keeps a justification or a left margin until told otherwise:
// text that follows a centred, right-aligned or indented code within the same
// print call must still start at the left.
TEST_F(PrintBarCodeTest, TextAfterThePlacedCodeInTheSameCallStartsAtTheLeft) {
  struct Case {
    const char* what;
    const char* alignment;
    Bytes placed;
  };
  const Bytes code = OneDimensional(3, 80, 67, Of("490123456789"));
  const Case cases[] = {
      {"centred", "-2", Cat({kCentre, code, kBackToLeft})},
      {"right", "-3", Cat({B({0x1B, 'a', 2}), code, kBackToLeft})},
      {"100 dots in", "+100", Cat({B({0x1D, 'L', 100, 0}), code, B({0x1D, 'L', 0, 0})})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    port->ClearWritten();
    const std::string params = std::string("s104h80w3a") + c.alignment + "t-13d490123456789e";
    int32_t rc = -1;
    core.PrintNormal(2, Wide("\x1b|" + std::to_string(params.size()) + "R" + params + "Thanks\n"), &rc);
    ASSERT_EQ(rc, 0);
    const Bytes written = port->Written();
    const auto placed = std::search(written.begin(), written.end(), c.placed.begin(), c.placed.end());
    ASSERT_NE(placed, written.end());
    const Bytes thanks = Of("Thanks\n");
    EXPECT_NE(std::search(placed, written.end(), thanks.begin(), thanks.end()), written.end());
  }
}

TEST_F(PrintBarCodeTest, EscapeSequencePrintsTheSameAsTheMethod) {
  ASSERT_EQ(Print("12345678", 110, 60, 2, -2, -13), 0);
  const Bytes byMethod = port->Written();
  port->ClearWritten();
  int32_t rc = -1;
  const std::string params = "s110h60w2a-2t-13d12345678e";
  core.PrintNormal(2, Wide("\x1b|" + std::to_string(params.size()) + "R" + params), &rc);
  ASSERT_EQ(rc, 0);
  const Bytes symbol =
      Cat({kCentre, OneDimensional(2, 60, 73, B({'{', 'C', 12, 34, 56, 78})), kBackToLeft});
  EXPECT_TRUE(EndsWith(byMethod, symbol));
  const Bytes bySequence = port->Written();
  EXPECT_NE(std::search(bySequence.begin(), bySequence.end(), symbol.begin(), symbol.end()),
            bySequence.end());

  // Parameters that do not parse leave the sequence printed as it stands,
  // as any unusable one; the parameters themselves never reach the paper.
  port->ClearWritten();
  core.PrintNormal(2, u"\x1b|5Rs110h", &rc);
  const Bytes written = port->Written();
  const Bytes raw = Of("\x1b|5R");
  const Bytes parameters = Of("s110h");
  EXPECT_NE(std::search(written.begin(), written.end(), raw.begin(), raw.end()), written.end());
  EXPECT_EQ(std::search(written.begin(), written.end(), parameters.begin(), parameters.end()),
            written.end());

  // Validation measures the code as printing would.
  auto sequence = [](const std::string& p) {
    return Wide("\x1b|" + std::to_string(p.size()) + "R" + p);
  };
  core.ValidateData(2, sequence("s104h60w2a-2t-13d49012345678Ae"), &rc);
  EXPECT_EQ(rc, OPOS_E_ILLEGAL);
  core.ValidateData(2, sequence("s104h60w2a-2t-13d490123456789e"), &rc);
  EXPECT_EQ(rc, OPOS_SUCCESS);
}

// Where a barcode lands outside plain receipt printing. EAN-13 490123456789,
// module 3 (285 dots), 80 dots high, centred; font A is 24 dots high; this
// model's pitches are 0.141 and 0.0705 mm (a dot across is two steps along).
class BarcodePlacement : public PrintBarCodeTest {
 protected:
  int32_t Rotate(int32_t rotation) {
    int32_t rc = -1;
    core.RotatePrint(2, rotation, &rc);
    return rc;
  }
  int32_t PrintEan() { return Print("490123456789", 104, 80, 3, -2, -13); }
  static Bytes Ean() { return OneDimensional(3, 80, 67, Of("490123456789")); }
};

TEST_F(BarcodePlacement, InPageModeAtTheVerticalPositionAndCentredInTheArea) {
  int32_t rc = -1;
  core.SetPropertyNumber(Pidx::PageModeStation, 2, &rc);
  core.SetPropertyString(Pidx::PageModePrintArea, u"0,0,512,400", &rc);
  ASSERT_EQ(rc, 0);
  core.PageModePrint(1, &rc);
  ASSERT_EQ(rc, 0);
  ASSERT_EQ(PrintEan(), 0);
  EXPECT_TRUE(port->Written().empty()) << "collected in the page";
  core.PageModePrint(3, &rc);
  ASSERT_EQ(rc, 0);
  // GS $ 0 (the page's vertical position), fed down by the code and a text
  // line (104 dots), placed at (512 - 285) / 2 = 113.
  const Bytes placed = Cat({B({0x1D, '$', 0, 0, 0x1B, 'J', 104, 0x1B, '$', 113, 0}), Ean()});
  const Bytes written = port->Written();
  EXPECT_NE(std::search(written.begin(), written.end(), placed.begin(), placed.end()),
            written.end());
  EXPECT_EQ(written.back(), 0x0C) << "the page is printed";
}

TEST_F(BarcodePlacement, UpsideDownUnlessTheCodeTurnsWithTheJob) {
  // 180 degrees, barcode not turned: the code is printed upright inside the
  // upside-down job.
  ASSERT_EQ(Rotate(259), 0);
  ASSERT_EQ(PrintEan(), 0);
  EXPECT_TRUE(EndsWith(port->Written(), Cat({kFeedNone, B({0x1B, '{', 0}), kCentre, Ean(),
                                             kBackToLeft, B({0x1B, '{', 1})})));
  // With the barcode flag it turns with the job.
  port->ClearWritten();
  ASSERT_EQ(Rotate(1), 0);
  ASSERT_EQ(Rotate(0x1103), 0);
  port->ClearWritten();
  ASSERT_EQ(PrintEan(), 0);
  EXPECT_TRUE(EndsWith(port->Written(), Cat({kFeedNone, B({0x1B, '{', 1}), kCentre, Ean(),
                                             kBackToLeft, B({0x1B, '{', 0})})));
}

TEST_F(BarcodePlacement, SidewaysJobPrintsAnUnturnedCodeAsAnUprightPageFirst) {
  ASSERT_EQ(Rotate(257), 0);
  ASSERT_EQ(PrintEan(), 0);
  EXPECT_TRUE(port->Written().empty()) << "held until the sideways job ends";
  ASSERT_EQ(Rotate(1), 0);
  // A page of its own: the print width by (24 + 45 + 80 + 5) dots in
  // vertical steps (308), upright, fed down by the text line and the code.
  const Bytes upright = Cat({B({0x1B, 'L', 0x1B, 'W', 0, 0, 0, 0, 0x00, 0x02, 308 & 0xFF,
                                308 >> 8, 0x1B, 'T', '0', 0x1B, 'J', 208}),
                             Ean(), B({0x0C})});
  ASSERT_FALSE(port->WriteCalls().empty());
  const Bytes first = port->WriteCalls()[0];
  EXPECT_EQ(Bytes(first.begin(), first.begin() + std::min(first.size(), upright.size())),
            upright);
}

}  // namespace
