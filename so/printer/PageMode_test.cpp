// Page mode on a TM-T88IV core, byte for byte at the port: the page is
// collected, laid out inside its print area, and printed (kept or left) or
// thrown away. At this model's 0.141 / 0.0705 mm pitches a vertical length
// is twice the dots: 30 dots of line spacing are ESC J 60.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/manual_clock.h"
#include "so/format/CCmdHelperBase.h"
#include "so/printer/CQX1270SMB.h"
#include "so/printer/CTM_T88IV.h"
#include "so/printer/PropertyIndex.h"
#include "testing/ByteStrings.h"
#include "testing/FakePort.h"

using namespace QEL::Printer;
using testing_support::FakePort;
using namespace testing_support;

namespace {

const Bytes kFeedLine = B({0x1B, 0x4A, 0x3C});  // ESC J 60
const Bytes kAtLeft = B({0x1B, 0x24, 0x00, 0x00});  // ESC $ 0
const Bytes kFormFeed = B({0x0C});
// GS $ 60: one line spacing below the top of the area.
const Bytes kFirstBaseline = B({0x1D, 0x24, 0x3C, 0x00});
// ESC W for an area of x, y, width, height dots, the vertical ones doubled.
Bytes Area(int x, int y, int w, int h) {
  y *= 2;
  h *= 2;
  return B({0x1B, 0x57, x & 0xFF, x >> 8, y & 0xFF, y >> 8, w & 0xFF, w >> 8, h & 0xFF, h >> 8});
}
// What every printed page starts with: the code page the job prologue puts
// in front, then the prologue (ESC = 1 .. ESC 3 60) ending in LF and ESC L.
Bytes PageJobStart() {
  PrinterBuffer codePage(16, 16);
  CCmdHelperBase().SelectCodePage(codePage, 437);
  return Cat({Content(codePage),
              B({0x1B, 0x3D, 0x01, 0x1B, 0x61, 0x00, 0x1D, 0x4C, 0x00, 0x00, 0x1B, 0x7B, 0x00, 0x1B,
                 0x21, 0x00, 0x1D, 0x62, 0x00, 0x1B, 0x33, 0x3C, 0x0A, 0x1B, 0x4C})});
}

class PageMode : public ::testing::Test {
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
  int32_t Set(int32_t index, int32_t value) {
    int32_t rc = -1;
    core.SetPropertyNumber(index, value, &rc);
    return rc;
  }
  int32_t Page(int32_t control) {
    int32_t rc = -1;
    core.PageModePrint(control, &rc);
    return rc;
  }
  int32_t Print(const std::u16string& text) {
    int32_t rc = -1;
    core.PrintNormal(2, text, &rc);
    return rc;
  }
  // Receipt page mode, the area "x,y,width,height" in dots, and a new page.
  void StartPage(const std::u16string& area) {
    ASSERT_EQ(Set(Pidx::PageModeStation, 2), 0);
    int32_t rc = -1;
    core.SetPropertyString(Pidx::PageModePrintArea, area, &rc);
    ASSERT_EQ(rc, 0);
    ASSERT_EQ(Page(1), 0);
  }
  // What the page holds, as PageModePrint(2) prints it: one job, a page of
  // its own.
  Bytes PrintedPage() {
    port->ClearWritten();
    EXPECT_EQ(Page(2), 0);
    const auto calls = port->WriteCalls();
    const Bytes start = PageJobStart();
    if (calls.size() != 1 || calls[0].size() <= start.size() ||
        !std::equal(start.begin(), start.end(), calls[0].begin()) || calls[0].back() != 0x0C) {
      ADD_FAILURE() << "not one page job: " << calls.size() << " writes";
      return {};
    }
    return Bytes(calls[0].begin() + static_cast<std::ptrdiff_t>(start.size()), calls[0].end() - 1);
  }

  std::shared_ptr<platform::ManualClock> clock = std::make_shared<platform::ManualClock>();
  std::shared_ptr<FakePort> port = std::make_shared<FakePort>();
  CTM_T88IV core{u"TM-T88IV"};
};

TEST_F(PageMode, APageWithTwoLinesIsPrintedKeptThenLeft) {
  StartPage(u"0,0,240,400");
  ASSERT_EQ(Print(u"AB\nCD\n"), 0);
  EXPECT_TRUE(port->Written().empty()) << "collected, not printed";
  const Bytes page = Cat({Area(0, 0, 240, 400), kFirstBaseline, kAtLeft, Of("AB"), kFeedLine,
                          kAtLeft, Of("CD"), kFeedLine});

  const Bytes job = Cat({PageJobStart(), page, kFormFeed});
  EXPECT_EQ(Page(2), 0);
  EXPECT_EQ(port->WriteCalls(), (std::vector<Bytes>{job})) << "print and keep";
  port->ClearWritten();
  EXPECT_TRUE(core.Modes().pageMode);

  EXPECT_EQ(Page(3), 0);
  EXPECT_EQ(port->WriteCalls(), (std::vector<Bytes>{job})) << "print and leave: the kept page";
  port->ClearWritten();
  EXPECT_FALSE(core.Modes().pageMode);
  EXPECT_EQ(Page(2), OPOS_E_ILLEGAL) << "page mode was left";
  EXPECT_TRUE(port->Written().empty());
}

TEST_F(PageMode, RefusedWhereThereIsNoPageMode) {
  for (int32_t control : {2, 3, 4}) {
    EXPECT_EQ(Page(control), OPOS_E_ILLEGAL) << "outside page mode: " << control;
  }
  EXPECT_EQ(Page(1), OPOS_E_ILLEGAL) << "PageModeStation is not the receipt yet";
  ASSERT_EQ(Set(Pidx::PageModeStation, 2), 0);
  EXPECT_EQ(Page(5), OPOS_E_ILLEGAL);
  EXPECT_EQ(Page(1), 0);
  EXPECT_EQ(Page(1), 0) << "entering again is no error";
  EXPECT_EQ(Page(4), 0);
  EXPECT_EQ(core.ResultCode(), 0);
  EXPECT_TRUE(port->Written().empty()) << "nothing was printed";
  EXPECT_FALSE(core.Modes().pageMode);

  CQX1270SMB framed{u"QX1270"};
  framed.AttachPort(std::make_shared<FakePort>());
  int32_t rc = -1;
  framed.OpenServiceW(u"x", nullptr, &rc);
  framed.SetPropertyNumber(Pidx::PageModeStation, 2, &rc);
  ASSERT_EQ(rc, 0);
  framed.PageModePrint(1, &rc);
  EXPECT_EQ(rc, OPOS_E_ILLEGAL) << "the QX1270 family reports no receipt page mode";
}

TEST_F(PageMode, ClearPrintAreaSendsTheAreaAndCan) {
  int32_t rc = -1;
  core.ClearPrintArea(&rc);
  EXPECT_EQ(rc, OPOS_E_ILLEGAL) << "outside page mode";
  StartPage(u"8,20,240,400");
  Print(u"A\n");
  core.ClearPrintArea(&rc);
  EXPECT_EQ(rc, 0);
  const Bytes page = PrintedPage();
  const Bytes area = Area(8, 20, 240, 400);
  EXPECT_EQ(page, Cat({area, kFirstBaseline, kAtLeft, Of("A"), kFeedLine, area, B({0x18})}));
}

TEST_F(PageMode, LongTextWrapsAtTheAreaWidth) {
  // 120 dots hold ten 12-dot characters.
  StartPage(u"0,0,120,400");
  Print(u"ABCDEFGHIJKLMNO\n");
  EXPECT_EQ(PrintedPage(), Cat({Area(0, 0, 120, 400), kFirstBaseline, kAtLeft, Of("ABCDEFGHIJ"),
                                kFeedLine, kAtLeft, Of("KLMNO"), kFeedLine}))
      << "the wrapped line is fed down a line and starts at the left edge";
}

TEST_F(PageMode, TheFirstLineStartsAtTheHorizontalPosition) {
  StartPage(u"0,0,120,400");
  ASSERT_EQ(Set(Pidx::PageModeHorizontalPosition, 60), 0);
  Print(u"ABCDEFGHIJKLMNO\n");
  // The first line has 60 dots left; the next one the whole width, which it
  // fills exactly: its line feed adds no blank line.
  EXPECT_EQ(PrintedPage(), Cat({Area(0, 0, 120, 400), kFirstBaseline, B({0x1B, 0x24, 60, 0}),
                                Of("ABCDE"), kFeedLine, kAtLeft, Of("FGHIJKLMNO"), kFeedLine}));
}

TEST_F(PageMode, TextBeyondTheAreaHeightIsDropped) {
  // 60 dots of height are two lines of 30.
  StartPage(u"0,0,240,60");
  Print(u"L1\nL2\nL3\nL4\n");
  EXPECT_EQ(PrintedPage(), Cat({Area(0, 0, 240, 60), kFirstBaseline, kAtLeft, Of("L1"), kFeedLine,
                                kAtLeft, Of("L2"), kFeedLine}));

  // Starting 30 dots down leaves room for one.
  Page(4);
  ASSERT_EQ(Set(Pidx::PageModeVerticalPosition, 30), 0);
  ASSERT_EQ(Page(1), 0);
  Print(u"L1\nL2\n");
  EXPECT_EQ(PrintedPage(), Cat({Area(0, 0, 240, 60), B({0x1D, 0x24, 120, 0}), kAtLeft, Of("L1"),
                                kFeedLine}));
}

TEST_F(PageMode, ATallCentredLineIsFedDownAndCentred) {
  StartPage(u"0,0,240,400");
  Print(u"\x1b|cA\x1b|4CAB\n");
  // 48-dot characters: 96 steps, 36 more than the spacing, plus 6 of
  // clearance; centred: (240 - 48) / 2.
  EXPECT_EQ(PrintedPage(), Cat({Area(0, 0, 240, 400), kFirstBaseline, B({0x1B, 0x4A, 42}),
                                B({0x1B, 0x24, 96, 0}), B({0x1D, 0x21, 0x11}), Of("AB"), kFeedLine,
                                B({0x1D, 0x21, 0x00})}))
      << "no ESC a in page mode";
}

TEST_F(PageMode, ThePrintDirectionGoesIntoThePage) {
  StartPage(u"0,0,240,400");
  ASSERT_EQ(Set(Pidx::PageModePrintDirection, 2), 0);
  ASSERT_EQ(Set(Pidx::PageModePrintDirection, 1), 0);
  // A turned direction counts the spacing in dots, the upright one doubled.
  EXPECT_EQ(PrintedPage(), B({0x1B, 0x54, 0x01, 0x1B, 0x33, 30, 0x1B, 0x54, 0x00, 0x1B, 0x33, 60}));
}

TEST_F(PageMode, PrintingThePageIsRefusedWhileSynchronousOutputWaits) {
  // A job queued in asynchronous mode waits: the worker is not running
  // while the device is not enabled.
  ASSERT_EQ(Set(Pidx::AsyncMode, 1), 0);
  ASSERT_EQ(Print(u"queued\n"), 0);
  ASSERT_FALSE(core.IsIdle());
  StartPage(u"0,0,240,400");
  Print(u"page\n");
  ASSERT_EQ(Set(Pidx::AsyncMode, 0), 0);
  EXPECT_EQ(Page(2), OPOS_E_BUSY);
  EXPECT_EQ(Page(3), OPOS_E_BUSY);
  EXPECT_TRUE(core.Modes().pageMode) << "a refused call leaves the page alone";
  ASSERT_EQ(Set(Pidx::AsyncMode, 1), 0);
  EXPECT_EQ(Page(2), 0) << "queued behind the waiting job";
  EXPECT_TRUE(port->Written().empty());
}

TEST(PageModeArea, ValidationAgainstTheModelsPageArea) {
  CQX1270SMB core{u"QX1270"};
  struct Case {
    int32_t x, y, width, height, rc;
  };
  const Case cases[] = {
      {0, 0, 576, 936, 0},    {1, 0, 576, 936, OPOS_E_ILLEGAL}, {0, 1, 576, 936, OPOS_E_ILLEGAL},
      {-1, 0, 10, 10, OPOS_E_ILLEGAL}, {0, 0, 0, 0, 0},          {575, 935, 1, 1, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(core.ValidatePageModePrintArea(c.x, c.y, c.width, c.height), c.rc)
        << c.x << "," << c.y << "," << c.width << "," << c.height;
  }
}

}  // namespace
