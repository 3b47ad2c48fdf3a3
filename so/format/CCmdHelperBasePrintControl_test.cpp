// Bytes of the basic print-control builders of the standard command set.
#include <gtest/gtest.h>

#include "so/format/BuilderCases_test.h"
#include "so/format/CCmdHelperBase.h"
#include "so/format/CmdHelper_QX1270.h"

using namespace QEL::Printer;
using namespace QEL::Printer::test;

namespace {

TEST(CCmdHelperBasePrintControl, SingleCommands) {
  CCmdHelperBase helper;
  ExpectCases(helper, {
      APPENDS("1B 21 00 1B 61 00 1B 2D 00", h.ResetTextFormat(out)),
      APPENDS("09", h.HorizontalTab(out)),
      APPENDS("0A", h.LineFeed(out)),
      APPENDS("0C", h.FormFeed(out)),
      APPENDS("1B 64 00", h.PrintAndFeedNone(out)),
      APPENDS("18", h.CancelPageData(out)),
      APPENDS("1B 1B 1B", h.EscapeTriplet(out)),
      APPENDS("10 04 01", h.RequestRealtimeStatus(out, 1)),
      APPENDS("10 04 04", h.RequestRealtimeStatus(out, 4)),
      APPENDS("1D 72 01", h.RequestStatus(out, 1)),
      ACCEPTS("10 05 01", h.RealtimeRequest(out, 1)),
      ACCEPTS("10 05 02", h.RealtimeRequest(out, 2)),
      REJECTS(h.RealtimeRequest(out, 0)),
      REJECTS(h.RealtimeRequest(out, 3)),
      APPENDS("10 14", h.RealtimePrefix(out)),
      // Drawer pulse in real time: pin 0 or 1, 1..8 units of 100 ms.
      ACCEPTS("10 14 01 00 01", h.RealtimeFunction1(out, 0, 1)),
      ACCEPTS("10 14 01 01 08", h.RealtimeFunction1(out, 1, 8)),
      REJECTS(h.RealtimeFunction1(out, 2, 1)),
      REJECTS(h.RealtimeFunction1(out, 0, 0)),
      REJECTS(h.RealtimeFunction1(out, 0, 9)),
      APPENDS("10 14 08 01 03 14 01 06 02 08", h.ClearBuffers(out)),
      APPENDS("0C", h.PageModeFormFeed(out)),
      APPENDS("1B 20 05", h.SetRightSpacing(out, 5)),
      APPENDS("1B 24 34 12", h.SetAbsolutePosition(out, 0x1234)),
      APPENDS("1B 25 01", h.SelectUserCharset(out, true)),
      APPENDS("1B 25 00", h.SelectUserCharset(out, false)),
      APPENDS("", h.NoOperation(out)),
      ACCEPTS("1B 2D 02", h.SetUnderline(out, 2)),
      REJECTS(h.SetUnderline(out, 3)),
      APPENDS("1B 32", h.DefaultLineSpacing(out)),
      APPENDS("1B 33 3C", h.SetLineSpacing(out, 60)),
      APPENDS("1B 3D 01", h.SelectPeripheral(out, true)),
      APPENDS("1B 3D 02", h.SelectPeripheral(out, false)),
      ACCEPTS("1B 3F 20", h.CancelUserChar(out, 32)),
      ACCEPTS("1B 3F 7E", h.CancelUserChar(out, 126)),
      REJECTS(h.CancelUserChar(out, 31)),
      REJECTS(h.CancelUserChar(out, 127)),
      APPENDS("1B 40", h.InitializePrinter(out)),
      APPENDS("1B 45 01", h.SetEmphasized(out, true)),
      APPENDS("1B 47 00", h.SetDoubleStrike(out, false)),
      APPENDS("1B 4A 00", h.FeedNone(out)),
      APPENDS("1B 4A 07", h.FeedDotsOnce(out, 7)),
      APPENDS("1B 4C", h.EnterPageMode(out)),
      ACCEPTS("1B 4D 00", h.SelectCharacterFont(out, 0)),
      ACCEPTS("1B 4D 31", h.SelectCharacterFont(out, 49)),
      REJECTS(h.SelectCharacterFont(out, 2)),
      REJECTS(h.SelectCharacterFont(out, 50)),
      APPENDS("1B 52 0F", h.SelectInternational(out, 15)),
      APPENDS("1B 53", h.EnterStandardMode(out)),
      ACCEPTS("1B 54 03", h.SetPageDirection(out, 3)),
      ACCEPTS("1B 54 33", h.SetPageDirection(out, '3')),
      REJECTS(h.SetPageDirection(out, 4)),
      REJECTS(h.SetPageDirection(out, 52)),
      APPENDS("1B 56 01", h.SetRotate90(out, true)),
      APPENDS("1B 57 01 00 02 00 40 02 A8 03", h.SetPageArea(out, 1, 2, 576, 936)),
      // An empty area is no area a printer takes.
      APPENDS("", h.SetPageArea(out, 1, 2, 0, 936)),
      APPENDS("", h.SetPageArea(out, 1, 2, 576, 65536)),
      APPENDS("1B 5C F6 FF", h.SetRelativePosition(out, -10)),
      ACCEPTS("1B 61 02", h.SetJustification(out, 2)),
      ACCEPTS("1B 61 32", h.SetJustification(out, 50)),
      REJECTS(h.SetJustification(out, 3)),
      REJECTS(h.SetJustification(out, 51)),
      ACCEPTS("1B 63 33 00", h.SelectPaperEndSensors(out, 0)),
      ACCEPTS("1B 63 34 FC", h.SelectStopSensors(out, 252)),
      APPENDS("1B 63 35 00", h.EnablePanelButtons(out, true)),
      APPENDS("1B 63 35 01", h.EnablePanelButtons(out, false)),
      APPENDS("1B 64 03", h.PrintAndFeedLines(out, 3)),
      ACCEPTS("1B 70 00 0A 0A", h.DrawerPulse(out, 0, 10, 10)),
      ACCEPTS("1B 70 31 2C 2C", h.DrawerPulse(out, 49, 0x2C, 0x2C)),
      REJECTS(h.DrawerPulse(out, 2, 10, 10)),
      APPENDS("1B 7B 01", h.SetUpsideDown(out, true)),
      APPENDS("1D 24 88 13", h.SetAbsoluteVertical(out, 5000)),
      ACCEPTS("1D 28 41 02 00 00 01", h.TestPrint(out, 0, 1)),
      ACCEPTS("1D 28 41 02 00 32 33", h.TestPrint(out, '2', '3')),
      REJECTS(h.TestPrint(out, 3, 1)),
      REJECTS(h.TestPrint(out, 0, 0)),
      REJECTS(h.TestPrint(out, 0, 4)),
  });
}

TEST(CCmdHelperBasePrintControl, PrintModeBitsAndReturnedByte) {
  CCmdHelperBase helper;
  PrinterBuffer out;
  EXPECT_EQ(helper.SetPrintMode(out, true, true, true, true, true), 0xB9);
  EXPECT_EQ(helper.SetPrintMode(out, false, false, true, false, false), 0x20);
  EXPECT_EQ(helper.SetPrintMode(out, false, false, false, true, false), 0x10);
  EXPECT_EQ(ToHex(Content(out)), ToHex(Hex("1B 21 B9 1B 21 20 1B 21 10")));
}

TEST(CCmdHelperBasePrintControl, CharacterSize) {
  CCmdHelperBase helper;
  ExpectCases(helper, {
      ACCEPTS("1D 21 12", h.SetCharacterSize(out, 2, 3)),
      ACCEPTS("1D 21 00", h.SetCharacterSize(out, 1, 1)),
      ACCEPTS("1D 21 77", h.SetCharacterSize(out, 8, 8)),
      REJECTS(h.SetCharacterSize(out, 9, 1)),
      REJECTS(h.SetCharacterSize(out, 1, 9)),
      // A multiplier of 0 would borrow from the other nibble.
      REJECTS(h.SetCharacterSize(out, 0, 1)),
      ACCEPTS("1D 21 07", h.SetCharacterSizeClamped(out, 0, 9)),
      ACCEPTS("1D 21 70", h.SetCharacterSizeClamped(out, 100, -4)),
  });
}

TEST(CCmdHelperBasePrintControl, CodeTableAcceptsOnlyKnownTables) {
  CCmdHelperBase helper;
  for (int n = 0; n <= 255; ++n) {
    const bool rejected = (n >= 22 && n <= 25) || (n >= 27 && n <= 29) || (n >= 54 && n <= 254);
    PrinterBuffer out;
    EXPECT_EQ(helper.SelectCodeTable(out, static_cast<uint8_t>(n)), !rejected) << n;
    const Bytes expected = rejected ? Bytes{} : Bytes{0x1B, 0x74, static_cast<uint8_t>(n)};
    EXPECT_EQ(Content(out), expected) << n;
  }
}

TEST(CCmdHelperBasePrintControl, Tabs) {
  Bytes defaults = {0x1B, 0x44};
  for (int stop = 8; stop <= 248; stop += 8) defaults.push_back(static_cast<uint8_t>(stop));
  defaults.push_back(0x00);
  ASSERT_EQ(defaults.size(), 2u + 31u + 1u);

  CCmdHelperBase helper;
  PrinterBuffer out;
  helper.DefaultTabs(out);
  EXPECT_EQ(Content(out), defaults);

  const uint8_t open[] = {0x04, 0x08};
  const uint8_t closed[] = {0x04, 0x08, 0x00};
  PrinterBuffer a, b, c;
  helper.SetTabs(a, open, sizeof open);
  helper.SetTabs(b, closed, sizeof closed);
  helper.SetTabs(c, nullptr, 0);
  EXPECT_EQ(ToHex(Content(a)), ToHex(Hex("1B 44 04 08 00")));
  EXPECT_EQ(ToHex(Content(b)), ToHex(Hex("1B 44 04 08 00")));
  EXPECT_EQ(Content(c), defaults);
}

// A printer takes at most 32 stops, each above the one before, and prints
// whatever follows them: the builder leaves that rest out.
TEST(CCmdHelperBasePrintControl, TabListsAreCutWhereAPrinterStops) {
  uint8_t rising[40];
  for (int i = 0; i < 40; ++i) rising[i] = static_cast<uint8_t>(i + 1);
  Bytes first32 = {0x1B, 0x44};
  for (int i = 0; i < 32; ++i) first32.push_back(rising[i]);
  first32.push_back(0x00);
  const struct {
    Bytes list;
    Bytes expected;
  } cases[] = {
      {Bytes(rising, rising + 40), first32},
      {Bytes(rising, rising + 32), first32},
      {{0x10, 0x08, 0x14}, Hex("1B 44 10 00")},
      {{0x08, 0x08}, Hex("1B 44 08 00")},
      {{0x08, 0x00, 0x58}, Hex("1B 44 08 00")},
      {{0x00, 0x08}, Hex("1B 44 00")},
  };
  CCmdHelperBase base;
  CmdHelper_QX1270 qx;
  for (const auto& c : cases) {
    for (CCmdHelperBase* helper : {static_cast<CCmdHelperBase*>(&base), static_cast<CCmdHelperBase*>(&qx)}) {
      PrinterBuffer out;
      helper->SetTabs(out, c.list.data(), c.list.size());
      EXPECT_EQ(ToHex(Content(out)), ToHex(c.expected)) << ToHex(c.list);
    }
  }
}

TEST(CCmdHelperBasePrintControl, FeedDotsSplitsIntoEscJSteps) {
  CCmdHelperBase helper;
  ExpectCases(helper, {
      APPENDS("1B 4A 00", h.FeedDots(out, 0)),
      APPENDS("1B 4A 01", h.FeedDots(out, 1)),
      APPENDS("1B 4A FF", h.FeedDots(out, 255)),
      APPENDS("1B 4A FF 1B 4A 01", h.FeedDots(out, 256)),
      APPENDS("1B 4A FF 1B 4A FF", h.FeedDots(out, 510)),
      APPENDS("1B 4A FF 1B 4A FF 1B 4A 01", h.FeedDots(out, 511)),
      APPENDS("1B 4A FF 1B 4A FF 1B 4A FF", h.FeedDots(out, 765)),
      // ESC J cannot feed backwards; a negative distance must not wrap into a
      // long feed.
      APPENDS("1B 4A 00", h.FeedDots(out, -1)),
  });
}

TEST(CCmdHelperBasePrintControl, FeedDotsTotalsTheDistance) {
  CCmdHelperBase helper;
  for (int dots : {256, 300, 509, 510, 511, 1000, 4000}) {
    PrinterBuffer out;
    helper.FeedDots(out, dots);
    ASSERT_EQ(out.size() % 3, 0u);
    int total = 0;
    for (size_t i = 0; i < out.size(); i += 3) {
      ASSERT_EQ(out.at(i), 0x1B);
      ASSERT_EQ(out.at(i + 1), 0x4A);
      EXPECT_NE(out.at(i + 2), 0) << dots;
      total += out.at(i + 2);
    }
    EXPECT_EQ(total, dots);
  }
}

TEST(CCmdHelperBasePrintControl, BitImageChecksModeCountAndLength) {
  CCmdHelperBase helper;
  const uint8_t data[6] = {1, 2, 3, 4, 5, 6};
  PrinterBuffer out;
  EXPECT_TRUE(helper.BitImage(out, 0, 2, data, 2));
  EXPECT_TRUE(helper.BitImage(out, 33, 2, data, 6));
  EXPECT_EQ(ToHex(Content(out)),
            ToHex(Hex("1B 2A 00 02 00 01 02 1B 2A 21 02 00 01 02 03 04 05 06")));

  PrinterBuffer rejected;
  EXPECT_FALSE(helper.BitImage(rejected, 2, 2, data, 2));     // mode
  EXPECT_FALSE(helper.BitImage(rejected, 32, 2, data, 2));    // 24-dot needs 3n bytes
  EXPECT_FALSE(helper.BitImage(rejected, 0, 2, data, 3));     // length
  EXPECT_FALSE(helper.BitImage(rejected, 0, 0, data, 0));     // count
  // nH is at most 3: a printer prints 1024 columns and more as text.
  std::vector<uint8_t> tooWide(1024, 0x55);
  EXPECT_FALSE(helper.BitImage(rejected, 0, 1024, tooWide.data(), tooWide.size()));
  EXPECT_TRUE(rejected.isEmpty());

  std::vector<uint8_t> wide(1023, 0x55);
  PrinterBuffer big;
  EXPECT_TRUE(helper.BitImage(big, 1, 1023, wide.data(), wide.size()));
  EXPECT_EQ(big.size(), 5u + 1023u);
  EXPECT_EQ(big.at(3), 0xFF);
  EXPECT_EQ(big.at(4), 0x03);
}

TEST(CCmdHelperBasePrintControl, RotationAndCodePageLookups) {
  CCmdHelperBase helper;
  EXPECT_EQ(helper.PageDirectionForRotation(257), '3');
  EXPECT_EQ(helper.PageDirectionForRotation(258), '1');
  EXPECT_EQ(helper.PageDirectionForRotation(259), '2');
  EXPECT_EQ(helper.PageDirectionForRotation(1), '0');
  EXPECT_EQ(helper.InternationalForCodePage(850), 15);
  EXPECT_EQ(helper.InternationalForCodePage(936), 15);
  EXPECT_EQ(helper.InternationalForCodePage(950), 15);
  EXPECT_EQ(helper.InternationalForCodePage(932), 8);
  EXPECT_EQ(helper.InternationalForCodePage(437), 0);
}

}  // namespace
