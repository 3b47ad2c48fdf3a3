// RotatePrint on a TM-T88IV core, byte for byte at the port: a sideways job
// is collected and printed as one page when it ends; upside down is carried
// by the next job; the rotation flags say which objects turn with the text.
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

constexpr int32_t kRight90 = 257;
constexpr int32_t kLeft90 = 258;
constexpr int32_t k180 = 259;

// ESC L, then ESC W over the print width (512 dots) and `length` vertical
// steps: the page a sideways job is printed in.
Bytes SidewaysPage(int length) {
  return B({0x1B, 0x4C, 0x1B, 0x57, 0, 0, 0, 0, 0x00, 0x02, length & 0xFF, length >> 8});
}
// ESC T 0: back to the upright direction; FF: the page printed.
const Bytes kUpright = B({0x1B, 0x54, 0x30});
const Bytes kFormFeed = B({0x0C});

class PrintRotation : public ::testing::Test {
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
    port->ClearWritten();
  }
  void TearDown() override {
    int32_t rc = 0;
    core.CloseService(&rc);
  }
  int32_t Rotate(int32_t rotation, int32_t station = 2) {
    int32_t rc = -1;
    core.RotatePrint(station, rotation, &rc);
    return rc;
  }
  int32_t Print(const std::u16string& text) {
    int32_t rc = -1;
    core.PrintNormal(2, text, &rc);
    return rc;
  }
  int32_t RotateSpecial() {
    int32_t value = 0;
    core.GetPropertyNumber(Pidx::RotateSpecial, &value);
    return value;
  }

  std::shared_ptr<platform::ManualClock> clock = std::make_shared<platform::ManualClock>();
  std::shared_ptr<FakePort> port = std::make_shared<FakePort>();
  CTM_T88IV core{u"TM-T88IV"};
};

TEST_F(PrintRotation, BackToNormalWhenNothingIsTurnedSendsNothing) {
  EXPECT_EQ(Rotate(1), 0);
  EXPECT_TRUE(port->Written().empty());
  EXPECT_EQ(RotateSpecial(), 1);
}

TEST_F(PrintRotation, OnlyTheReceiptStationRotates) {
  EXPECT_EQ(Rotate(kRight90, 1), OPOS_E_EXTENDED);
  EXPECT_EQ(core.ResultCodeExtended(), OPOS_E_NOT_SUPPORTED);
  EXPECT_FALSE(core.Modes().Sideways());
}

TEST_F(PrintRotation, TheTopDigitSaysWhichObjectsTurnWithTheText) {
  struct Case {
    int32_t rotation;
    bool right, upsideDown, barcodes, bitmaps;
  };
  const Case cases[] = {
      {0x1101, true, false, true, false},
      {0x2101, true, false, false, true},
      {0x3103, false, true, true, true},
      {kLeft90, false, false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Rotate(c.rotation), 0);
    EXPECT_EQ(RotateSpecial(), c.rotation);
    const OutputModes& m = core.Modes();
    EXPECT_EQ(m.rotateRight90, c.right) << std::hex << c.rotation;
    EXPECT_EQ(m.rotate180, c.upsideDown) << std::hex << c.rotation;
    EXPECT_EQ(m.barcodeRotation, c.barcodes) << std::hex << c.rotation;
    EXPECT_EQ(m.bitmapRotation, c.bitmaps) << std::hex << c.rotation;
  }
  EXPECT_TRUE(core.Modes().rotateLeft90);
}

TEST_F(PrintRotation, ASidewaysJobIsCollectedThenPrintedAsOnePage) {
  ASSERT_EQ(Rotate(kRight90), 0);
  ASSERT_EQ(Print(u"AB\nCDE\n"), 0);
  ASSERT_EQ(Print(u"F\n"), 0);
  EXPECT_TRUE(port->Written().empty()) << "collected until the rotation ends";
  ASSERT_EQ(Rotate(1), 0);
  // The widest line, 36 dots, is 72 steps down the paper; the page adds the
  // model's margin of 45.
  EXPECT_EQ(port->WriteCalls(),
            (std::vector<Bytes>{Cat({SidewaysPage(72 + 45), B({0x1B, 0x54, 0x33}),
                                     Of("AB\nCDE\nF\n"), kUpright, kFormFeed}),
                                kUpright}))
      << "the page, then the printer set upright again";
  EXPECT_EQ(RotateSpecial(), 1);
  EXPECT_FALSE(core.Modes().Sideways());

  port->ClearWritten();
  ASSERT_EQ(Print(u"upright\n"), 0);
  ASSERT_EQ(port->WriteCalls().size(), 1u) << "printed at once again";
  const Bytes job = port->WriteCalls()[0];
  const Bytes direction = B({0x1B, 0x54});
  EXPECT_EQ(std::search(job.begin(), job.end(), direction.begin(), direction.end()), job.end())
      << "nothing of the sideways job is left";
}

TEST_F(PrintRotation, UpsideDownTextReachesThePrinterUpsideDown) {
  ASSERT_EQ(Rotate(k180), 0);
  ASSERT_EQ(Print(u"AB\n"), 0);
  ASSERT_EQ(port->WriteCalls().size(), 1u);
  const Bytes job = port->WriteCalls()[0];
  // The last ESC { before the text is the one the printer prints it with.
  const Bytes text = Of("AB\n");
  const auto at = std::search(job.begin(), job.end(), text.begin(), text.end());
  ASSERT_NE(at, job.end());
  const Bytes upsideDown = B({0x1B, 0x7B});
  const auto last = std::find_end(job.begin(), at, upsideDown.begin(), upsideDown.end());
  ASSERT_NE(last, at);
  EXPECT_EQ(*(last + 2), 1);
}

TEST_F(PrintRotation, UpsideDownEndsWithTheUprightSettingInFront) {
  ASSERT_EQ(Rotate(k180), 0);
  EXPECT_TRUE(port->Written().empty()) << "upside down is carried by the next job";
  ASSERT_EQ(Rotate(1), 0);
  EXPECT_EQ(port->WriteCalls(),
            (std::vector<Bytes>{Cat({B({0x1B, 0x7B, 0x00}), kUpright})}));
}

}  // namespace
