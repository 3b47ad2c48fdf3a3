// Bytes of the macro, printer-information, cutting, Kanji, status-request and
// buzzer builders of the standard command set.
#include <gtest/gtest.h>

#include "so/format/BuilderCases_test.h"
#include "so/format/CCmdHelperBase.h"

using namespace QEL::Printer;
using namespace QEL::Printer::test;

namespace {

TEST(CCmdHelperBaseDevice, MacrosAndPrinterInformation) {
  CCmdHelperBase helper;
  ExpectCases(helper, {
      APPENDS("1D 3A", h.MacroDefinition(out)),
      APPENDS("1D 3A", h.MacroDefinitionEnd(out)),
      APPENDS("1D 5E 02 0A 00", h.ExecuteMacro(out, 2, 10, true)),
      APPENDS("1D 5E 02 0A 01", h.ExecuteMacro(out, 2, 10, false)),
      APPENDS("1D 42 01", h.SetReverse(out, true)),
      APPENDS("1D 49 03", h.RequestPrinterId(out, 3)),
      APPENDS("1D 49 01", h.RequestModelId(out)),
      APPENDS("1D 49 02", h.RequestTypeId(out)),
      APPENDS("1D 49 41", h.RequestFirmwareVersion(out)),
      APPENDS("1D 49 42", h.RequestMakerName(out)),
      APPENDS("1D 49 43", h.RequestModelName(out)),
      APPENDS("1D 49 44", h.RequestSerialNumber(out)),
      APPENDS("1D 49 45", h.RequestFontInfo(out)),
      APPENDS("1D 4C 00 00", h.SetLeftMargin(out, 0)),
      APPENDS("1D 50 B4 B4", h.SetMotionUnits(out, 180, 180)),
      APPENDS("1D 56 41 05", h.FeedAndCut(out, 5)),
      APPENDS("1D 57 40 02", h.SetPrintAreaWidth(out, 576)),
      APPENDS("1D 5C FF FF", h.SetRelativeVertical(out, -1)),
      APPENDS("1D 61 0F", h.EnableAsb(out, 0x0F)),
      APPENDS("1D 62 01", h.SetSmoothing(out, true)),
      ACCEPTS("1D 67 30 00 14 00", h.ResetMaintenanceCounter(out, 20)),
      ACCEPTS("1D 67 30 00 46 00", h.ResetMaintenanceCounter(out, 70)),
      REJECTS(h.ResetMaintenanceCounter(out, 148)),
      ACCEPTS("1D 67 32 00 C6 00", h.RequestMaintenanceCounter(out, 198)),
      ACCEPTS("1D 67 32 00 14 00", h.RequestMaintenanceCounter(out, 20)),
      REJECTS(h.RequestMaintenanceCounter(out, 22)),
      APPENDS("1D 72 01", h.RequestPaperStatus(out)),
      APPENDS("1D 72 02", h.RequestDrawerStatus(out)),
      APPENDS("1D 61 FF", h.SetAsbAll(out, true)),
      APPENDS("1D 61 00", h.SetAsbAll(out, false)),
      APPENDS("1B 28 73 04 00 31 41 45 05", h.SendModeBlock(out)),
  });
}

TEST(CCmdHelperBaseDevice, Kanji) {
  CCmdHelperBase helper;
  ExpectCases(helper, {
      APPENDS("1C 26", h.SetKanjiMode(out, true)),
      APPENDS("1C 2E", h.SetKanjiMode(out, false)),
      ACCEPTS("1C 2D 02", h.SetKanjiUnderline(out, 2)),
      REJECTS(h.SetKanjiUnderline(out, 3)),
      ACCEPTS("1C 43 00", h.SelectKanjiCodeSystem(out, 0)),
      ACCEPTS("1C 43 31", h.SelectKanjiCodeSystem(out, 49)),
      REJECTS(h.SelectKanjiCodeSystem(out, 2)),
      APPENDS("1C 53 01 02", h.SetKanjiSpacing(out, 1, 2)),
      APPENDS("1C 57 01", h.SetKanjiQuadruple(out, true)),
  });
  PrinterBuffer out;
  EXPECT_EQ(helper.SetKanjiPrintMode(out, true, true, true), 0x8C);
  EXPECT_EQ(helper.SetKanjiPrintMode(out, false, true, false), 0x08);
  EXPECT_EQ(ToHex(Content(out)), ToHex(Hex("1C 21 8C 1C 21 08")));
}

// The cut-feed distance is one value for the whole process.
class CutFeed : public ::testing::Test {
 protected:
  void TearDown() override { CCmdHelperBase::SetCutFeedDistance(0); }
};

TEST_F(CutFeed, WholeMillimetresAtEightDots) {
  const struct {
    int distance;
    int dots;
  } rows[] = {{3600, 288}, {3450, 272}, {3300, 264}, {0, 0}, {99, 0}};
  for (const auto& r : rows) {
    CCmdHelperBase::SetCutFeedDistance(r.distance);
    EXPECT_EQ(CCmdHelperBase::CutFeedDistance(), r.distance);
    EXPECT_EQ(CCmdHelperBase::CutFeedDots(), r.dots) << r.distance;
  }
}

TEST_F(CutFeed, CutsFeedFirst) {
  CCmdHelperBase helper;
  CCmdHelperBase::SetCutFeedDistance(3600);
  ExpectCases(helper, {
      APPENDS("1B 4A FF 1B 4A 21 1D 56 00", h.FeedAndFullCut(out)),
      APPENDS("1B 4A FF 1B 4A 21 1D 56 01", h.FeedAndPartialCut(out)),
  });
  CCmdHelperBase::SetCutFeedDistance(3450);
  ExpectCases(helper, {APPENDS("1B 4A FF 1B 4A 11 1D 56 01", h.FeedAndPartialCut(out))});
  CCmdHelperBase::SetCutFeedDistance(0);
  ExpectCases(helper, {APPENDS("1B 4A 00 1D 56 00", h.FeedAndFullCut(out))});
}

TEST(CCmdHelperBaseDevice, Beep) {
  CCmdHelperBase helper;
  ExpectCases(helper, {
      APPENDS("1B 28 41 05 00 61 64 02 02 03", h.Beep(out, 200, 300, 2)),
      APPENDS("1B 28 41 05 00 61 64 02 01 01", h.Beep(out, 100, 0, 2)),
      APPENDS("1B 28 41 05 00 61 64 01 01 01", h.Beep(out, 101, 199, 1)),
      APPENDS("1B 28 41 05 00 61 64 3F 01 01", h.Beep(out, 100, 100, 63)),
      APPENDS("", h.Beep(out, 100, 100, 64)),
  });
}

TEST(CCmdHelperBaseDevice, BuzzerPattern) {
  const struct {
    int frequency;
    int duration;
    char pattern;
    int correctedDuration;
  } rows[] = {
      {1280, 1000, '1', 1000}, {1280, 200, '3', 200}, {1280, 500, '7', 500},
      {1280, 300, '1', 1000},  {4100, 1000, ';', 1000}, {4100, 200, '4', 200},
      {4100, 500, '8', 500},   {4100, 700, '2', 1000},  {2000, 200, '1', 1000},
  };
  CCmdHelperBase helper;
  for (const auto& r : rows) {
    int duration = r.duration;
    PrinterBuffer out;
    helper.SetBuzzerPattern(out, duration, r.frequency, 300, 3);
    EXPECT_EQ(duration, r.correctedDuration) << r.frequency << "/" << r.duration;
    // Pattern, then the count, then the cycle time in 100 ms units.
    const uint8_t t = static_cast<uint8_t>((300 + r.correctedDuration) / 100);
    EXPECT_EQ(Content(out), (Bytes{0x1B, 0x28, 0x41, 0x04, 0x00, 0x30,
                                   static_cast<uint8_t>(r.pattern), 3, t}))
        << r.frequency << "/" << r.duration;
  }
}

TEST(CCmdHelperBaseDevice, NoRuledLinesOrCurvedText) {
  CCmdHelperBase helper;
  const LineSegment segment{0, 100};
  const uint8_t text[] = {'A'};
  PrinterBuffer out;
  EXPECT_EQ(helper.DrawLines(out, &segment, 1), 0);
  EXPECT_EQ(helper.CurveTextCommand(out, 0, 10, text, sizeof text), 0);
  EXPECT_TRUE(out.isEmpty());
}

}  // namespace
