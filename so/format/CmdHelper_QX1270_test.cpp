// The QX1270 family's command set: what it leaves out, what it sends
// differently, and that everything else matches the standard set.
#include "so/format/CmdHelper_QX1270.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "so/format/BuilderCases_test.h"
#include "so/format/StatusUpdateValues.h"

using namespace QEL::Printer;
using namespace QEL::Printer::test;

namespace {

const uint8_t kData[] = {'1', '2', '3', '4'};
const uint8_t kTabs[] = {4, 8};

TEST(CmdHelper_QX1270, UnsupportedCommandsAppendNothing) {
  CmdHelper_QX1270 helper;
  CCmdHelperBase::SetCutFeedDistance(3600);
  ExpectCases(helper, {
      APPENDS("", h.FormFeed(out)),
      APPENDS("", h.EscapeTriplet(out)),
      REJECTS(h.RealtimeRequest(out, 1)),
      APPENDS("", h.RealtimePrefix(out)),
      REJECTS(h.RealtimeFunction1(out, 0, 1)),
      APPENDS("", h.ClearBuffers(out)),
      APPENDS("", h.PageModeFormFeed(out)),
      APPENDS("", h.SetRightSpacing(out, 5)),
      APPENDS("", h.NoOperation(out)),
      REJECTS(h.BitImage(out, 0, 4, kData, sizeof kData)),
      REJECTS(h.SelectCharacterFont(out, 1)),
      APPENDS("", h.SelectInternational(out, 15)),
      APPENDS("", h.EnterStandardMode(out)),
      REJECTS(h.SetPageDirection(out, 1)),
      APPENDS("", h.SetRotate90(out, true)),
      APPENDS("", h.SetPageArea(out, 0, 0, 576, 936)),
      REJECTS(h.SelectPaperEndSensors(out, 0)),
      REJECTS(h.SelectStopSensors(out, 252)),
      APPENDS("", h.EnablePanelButtons(out, true)),
      REJECTS(h.DrawerPulse(out, 0, 10, 10)),
      REJECTS(h.SelectCodeTable(out, 0)),
      APPENDS("", h.SetAbsoluteVertical(out, 10)),
      REJECTS(h.TestPrint(out, 0, 1)),
      APPENDS("", h.EnterUserSetup(out)),
      APPENDS("", h.EndUserSetup(out)),
      REJECTS(h.SetCustomValues(out, 0, 1, 1, true, true)),
      APPENDS("", h.QueryDensitySetting(out)),
      REJECTS(h.SetSpeedSetting(out, 1)),
      APPENDS("", h.QuerySpeedSetting(out)),
      REJECTS(h.SetCustomValue97(out, 1)),
      APPENDS("", h.QueryCustomValue97(out)),
      APPENDS("", h.SetCustomValue116(out, true)),
      APPENDS("", h.QueryCustomValue116(out)),
      APPENDS("", h.SetCustomValue118(out, true)),
      APPENDS("", h.QueryCustomValue118(out)),
      APPENDS("", h.QueryCustomValue(out, 5)),
      REJECTS(h.SetSerialBaud(out, "9600")),
      APPENDS("", h.QuerySerialBaud(out)),
      APPENDS("", h.SetSerialParity(out, 1)),
      APPENDS("", h.SetSerialHandshake(out, 1)),
      APPENDS("", h.SetSerialDataBits(out, 8)),
      APPENDS("", h.QuerySerialParity(out)),
      APPENDS("", h.QuerySerialHandshake(out)),
      APPENDS("", h.QuerySerialDataBits(out)),
      APPENDS("", h.PrepareSend(out)),
      APPENDS("", h.FeedAndFullCut(out)),
      APPENDS("", h.FeedAndPartialCut(out)),
      APPENDS("", h.FeedAndCut(out, 5)),
      APPENDS("", h.SetRelativeVertical(out, 10)),
      APPENDS("", h.EnableAsb(out, 0x0F)),
      // Without automatic status back there is nothing to switch, and an
      // unframed GS a would reach the printer as stray bytes.
      APPENDS("", h.SetAsbAll(out, true)),
      APPENDS("", h.SetAsbAll(out, false)),
      REJECTS(h.ResetMaintenanceCounter(out, 20)),
      REJECTS(h.RequestMaintenanceCounter(out, 20)),
  });
  CCmdHelperBase::SetCutFeedDistance(0);

  EXPECT_EQ(helper.InternationalForCodePage(936), 0);
  EXPECT_EQ(helper.PageDirectionForRotation(257), 0);
  EXPECT_FALSE(helper.IsDrawerBitSet(0x04, true));
  EXPECT_FALSE(helper.IsDrawerBitSet(0x00, false));
  uint8_t record[3] = {9, 9, 9};
  EXPECT_FALSE(helper.DrawerStatusRequest(record));
  EXPECT_EQ(record[0], 9);
}

TEST(CmdHelper_QX1270, OwnCommands) {
  CmdHelper_QX1270 helper;
  ExpectCases(helper, {
      ACCEPTS("1D 45 00", h.SetDensitySetting(out, 0)),
      ACCEPTS("1D 45 09", h.SetDensitySetting(out, 9)),
      REJECTS(h.SetDensitySetting(out, 10)),
      REJECTS(h.SetDensitySetting(out, -1)),
      ACCEPTS("1C 70 01 00", h.PrintNvGraphics(out, 'A', 'B', 1, 1)),
      ACCEPTS("1C 70 01 01", h.PrintNvGraphics(out, 'A', 'B', 2, 1)),
      ACCEPTS("1C 70 01 02", h.PrintNvGraphics(out, 'A', 'B', 1, 2)),
      ACCEPTS("1C 70 01 03", h.PrintNvGraphics(out, 'A', 'B', 2, 2)),
      REJECTS(h.PrintNvGraphics(out, 'A', 'B', 3, 1)),
      ACCEPTS("1D 66 30", h.SetHriFont(out, 48)),
      ACCEPTS("1D 66 31", h.SetHriFont(out, 49)),
      ACCEPTS("1D 66 01", h.SetHriFont(out, 1)),
      REJECTS(h.SetHriFont(out, 2)),
      APPENDS("1C 2E", h.SelectCodePage(out, 437)),
      APPENDS("1C 26", h.SelectCodePage(out, 936)),
  });
}

TEST(CmdHelper_QX1270, NvImageDefinitionHasNoColourBytes) {
  CmdHelper_QX1270 helper;
  const uint8_t three[] = {1, 2, 3};
  const uint8_t two[] = {0xAA, 0xBB};
  PrinterBuffer mono, toned, rejected;
  EXPECT_TRUE(helper.DefineNvGraphics(mono, 'A', 'B', false, 10, 2, three, sizeof three));
  EXPECT_EQ(ToHex(Content(mono)), ToHex(Hex("1C 71 01 0A 00 02 00 01 02 03 00")));
  EXPECT_TRUE(helper.DefineNvGraphics(toned, 'A', 'B', true, 8, 1, two, sizeof two));
  EXPECT_EQ(ToHex(Content(toned)), ToHex(Hex("1C 71 01 08 00 01 00 AA BB")));
  EXPECT_FALSE(helper.DefineNvGraphics(rejected, 'A', 'B', false, 8, 0, two, sizeof two));
  EXPECT_TRUE(rejected.isEmpty());
}

TEST(CmdHelper_QX1270, RuledLines) {
  CmdHelper_QX1270 helper;
  const LineSegment two[] = {{0, 100}, {200, 576}};
  PrinterBuffer out;
  EXPECT_EQ(helper.DrawLines(out, two, 2), 0);
  EXPECT_EQ(ToHex(Content(out)), ToHex(Hex("1D 27 02 00 00 64 00 C8 00 40 02")));

  LineSegment nine[9];
  for (int i = 0; i < 9; ++i) nine[i] = {static_cast<uint16_t>(i), static_cast<uint16_t>(i + 1)};
  PrinterBuffer eight, tooMany;
  EXPECT_EQ(helper.DrawLines(eight, nine, 8), 0);
  EXPECT_EQ(eight.size(), 3u + 8u * 4u);
  EXPECT_EQ(eight.at(2), 8);
  EXPECT_EQ(helper.DrawLines(tooMany, nine, 9), 0);
  EXPECT_EQ(helper.DrawLines(tooMany, nine, -1), 0);
  EXPECT_TRUE(tooMany.isEmpty());
}

TEST(CmdHelper_QX1270, CurvedText) {
  CmdHelper_QX1270 helper;
  const uint8_t text[] = {'A', 'B'};
  PrinterBuffer out, rejected;
  EXPECT_EQ(helper.CurveTextCommand(out, 1, 300, text, sizeof text), 0);
  EXPECT_EQ(ToHex(Content(out)), ToHex(Hex("1D 22 01 2C 01 41 42 00")));
  EXPECT_EQ(helper.CurveTextCommand(rejected, 2, 300, text, sizeof text), 0);
  EXPECT_TRUE(rejected.isEmpty());
}

TEST(CmdHelper_QX1270, AsbChangesUseTheFamilyLayout) {
  const struct {
    std::array<uint8_t, 4> fresh;
    std::array<uint8_t, 4> stored;
    int32_t result;
    std::array<uint8_t, 4> storedAfter;
  } rows[] = {
      {{0, 0x04, 0, 0}, {0, 0, 0, 0}, PTR_SUE_COVER_OPEN, {0, 0x04, 0, 0}},
      {{0, 0, 0, 0}, {0, 0x04, 0, 0}, PTR_SUE_COVER_OK, {0, 0, 0, 0}},
      {{0, 0x08, 0, 0}, {0, 0, 0, 0}, 0, {0, 0, 0, 0}},  // no second sensor here
      {{0, 0, 0, 0x60}, {0, 0, 0, 0x20}, PTR_SUE_REC_EMPTY, {0, 0, 0, 0x60}},
      {{0, 0, 0, 0}, {0, 0, 0, 0x40}, PTR_SUE_REC_PAPEROK, {0, 0, 0, 0}},
      {{0, 0, 0, 0x0C}, {0, 0, 0, 0x04}, PTR_SUE_REC_NEAREMPTY, {0, 0, 0, 0x0C}},
      {{0x20, 0, 0x0C, 0}, {0, 0, 0, 0}, 0, {0, 0, 0, 0}},  // the standard layout's bits
  };
  CmdHelper_QX1270 helper;
  for (const auto& r : rows) {
    std::array<uint8_t, 4> stored = r.stored;
    EXPECT_EQ(helper.CompareAsb(r.fresh.data(), stored.data()), r.result);
    EXPECT_EQ(stored, r.storedAfter) << "result " << r.result;
  }
}

TEST(CmdHelper_QX1270, DefaultTabsAreCachedAndCopied) {
  CCmdHelperBase base;
  PrinterBuffer expected;
  base.DefaultTabs(expected);

  CmdHelper_QX1270 helper;
  PrinterBuffer first, second, viaEmptyList;
  helper.DefaultTabs(first);
  helper.DefaultTabs(second);
  helper.SetTabs(viaEmptyList, nullptr, 0);
  EXPECT_EQ(Content(first), Content(expected));
  EXPECT_EQ(Content(second), Content(expected));
  EXPECT_EQ(Content(viaEmptyList), Content(expected));

  CmdHelper_QX1270 copy(helper);
  PrinterBuffer fromCopy;
  copy.DefaultTabs(fromCopy);
  EXPECT_EQ(Content(fromCopy), Content(expected));
}

TEST(CmdHelper_QX1270, ModelIdentity) {
  CmdHelper_QX1270 helper;
  EXPECT_STREQ(helper.ModelIdentity(), "QX1270");
  const char* text = helper.ModelIdentity();
  for (size_t i = std::strlen("QX1270"); i < CmdHelper_QX1270::kModelIdentitySize; ++i) {
    ASSERT_EQ(text[i], 0) << i;
  }
}

// Builders the family shares with the standard set must send the same bytes
// and return the same result, also where they call other (overridden) builders.
TEST(CmdHelper_QX1270, SharedBuildersMatchTheStandardSet) {
  const std::vector<BuilderCase> shared = {
      APPENDS("", h.ResetTextFormat(out)),
      APPENDS("", h.HorizontalTab(out)),
      APPENDS("", h.LineFeed(out)),
      APPENDS("", h.PrintAndFeedNone(out)),
      APPENDS("", h.CancelPageData(out)),
      APPENDS("", h.RequestStatus(out, 2)),
      APPENDS("", h.SetPrintMode(out, true, false, true, false, true)),
      APPENDS("", h.SetAbsolutePosition(out, 300)),
      APPENDS("", h.SelectUserCharset(out, true)),
      ACCEPTS("", h.SetUnderline(out, 1)),
      REJECTS(h.SetUnderline(out, 3)),
      APPENDS("", h.DefaultLineSpacing(out)),
      APPENDS("", h.SetLineSpacing(out, 30)),
      APPENDS("", h.SelectPeripheral(out, true)),
      ACCEPTS("", h.CancelUserChar(out, 65)),
      APPENDS("", h.InitializePrinter(out)),
      APPENDS("", h.SetTabs(out, kTabs, sizeof kTabs)),
      APPENDS("", h.SetEmphasized(out, true)),
      APPENDS("", h.SetDoubleStrike(out, true)),
      APPENDS("", h.FeedNone(out)),
      APPENDS("", h.FeedDots(out, 511)),
      APPENDS("", h.FeedDotsOnce(out, 9)),
      APPENDS("", h.EnterPageMode(out)),
      APPENDS("", h.SetRelativePosition(out, 12)),
      ACCEPTS("", h.SetJustification(out, 1)),
      APPENDS("", h.PrintAndFeedLines(out, 2)),
      APPENDS("", h.SetUpsideDown(out, true)),
      ACCEPTS("", h.SetCharacterSize(out, 2, 3)),
      ACCEPTS("", h.SetCharacterSizeClamped(out, 0, 9)),
      ACCEPTS("", h.SetPrintSpeed(out, 3)),
      ACCEPTS("", h.SetHeadDivision(out, 2)),
      ACCEPTS("", h.DefineNvGraphicsHeader(out, true, 16, 8, 'A', 'B')),
      APPENDS("", h.StoreGraphicsHeader(out, 72, 24, 24)),
      APPENDS("", h.PrintGraphicsBuffer(out)),
      APPENDS("", h.QueryNvGraphicsCapacity(out, false)),
      ACCEPTS("", h.PrintNvGraphicsByNumber(out, 12)),
      APPENDS("", h.ListNvGraphicsKeys(out)),
      APPENDS("", h.DeleteAllNvGraphics(out)),
      ACCEPTS("", h.DeleteNvGraphics(out, 'A', 'B')),
      APPENDS("", h.SelectCharacterColor(out, 0x31)),
      ACCEPTS("", h.Pdf417Columns(out, 4)),
      ACCEPTS("", h.Pdf417Rows(out, 10)),
      ACCEPTS("", h.Pdf417ModuleWidth(out, 3)),
      ACCEPTS("", h.Pdf417RowHeight(out, 0)),
      ACCEPTS("", h.Pdf417ErrorLevel(out, '1', 1)),
      ACCEPTS("", h.Pdf417Options(out, false)),
      ACCEPTS("", h.Pdf417Store(out, kData, sizeof kData)),
      ACCEPTS("", h.Pdf417Print(out)),
      ACCEPTS("", h.Pdf417QuerySize(out)),
      ACCEPTS("", h.QrModel(out, '2')),
      ACCEPTS("", h.QrModuleSize(out, 4)),
      ACCEPTS("", h.QrErrorLevel(out, 49)),
      ACCEPTS("", h.QrStore(out, kData, sizeof kData)),
      ACCEPTS("", h.QrPrint(out)),
      ACCEPTS("", h.QrQuerySize(out)),
      ACCEPTS("", h.PrintDownloadedImage(out, 0)),
      APPENDS("", h.MacroDefinition(out)),
      APPENDS("", h.MacroDefinitionEnd(out)),
      APPENDS("", h.ExecuteMacro(out, 1, 2, true)),
      APPENDS("", h.SetReverse(out, true)),
      ACCEPTS("", h.SetHriPosition(out, 2)),
      APPENDS("", h.RequestPrinterId(out, 1)),
      APPENDS("", h.RequestModelId(out)),
      APPENDS("", h.RequestTypeId(out)),
      APPENDS("", h.RequestFirmwareVersion(out)),
      APPENDS("", h.RequestMakerName(out)),
      APPENDS("", h.RequestModelName(out)),
      APPENDS("", h.RequestSerialNumber(out)),
      APPENDS("", h.RequestFontInfo(out)),
      APPENDS("", h.SetLeftMargin(out, 0)),
      APPENDS("", h.SetMotionUnits(out, 1, 2)),
      APPENDS("", h.SetPrintAreaWidth(out, 576)),
      APPENDS("", h.SetSmoothing(out, false)),
      ACCEPTS("", h.SetupAndPrintBarcode(out, 108, 80, 2, -12, 1, kData, sizeof kData)),
      ACCEPTS("", h.AppendBarcode(out, 104, kData, sizeof kData)),
      APPENDS("", h.SetBarcodeWidth(out, 8)),
      APPENDS("", h.SetBarcodeHeight(out, 0)),
      APPENDS("", h.RequestPaperStatus(out)),
      APPENDS("", h.RequestDrawerStatus(out)),
      APPENDS("", h.SetKanjiPrintMode(out, true, false, true)),
      APPENDS("", h.SetKanjiMode(out, true)),
      ACCEPTS("", h.SetKanjiUnderline(out, 1)),
      ACCEPTS("", h.SelectKanjiCodeSystem(out, 1)),
      APPENDS("", h.SetKanjiSpacing(out, 1, 2)),
      APPENDS("", h.SetKanjiQuadruple(out, true)),
      APPENDS("", h.SendModeBlock(out)),
      APPENDS("", h.Beep(out, 200, 300, 2)),
  };
  CCmdHelperBase base;
  CmdHelper_QX1270 qx;
  for (const BuilderCase& c : shared) {
    bool baseResult = false, qxResult = true;
    const Bytes fromBase = Appended(base, c, &baseResult);
    const Bytes fromQx = Appended(qx, c, &qxResult);
    EXPECT_EQ(ToHex(fromQx), ToHex(fromBase)) << c.call;
    EXPECT_EQ(qxResult, baseResult) << c.call;
    EXPECT_EQ(baseResult, c.result) << c.call;
    if (c.result) {
      EXPECT_FALSE(fromBase.empty()) << c.call;
    }
  }

  // The lookups and decoders are shared too.
  for (int symbology : {101, 104, 110, 123, 132, 105}) {
    EXPECT_EQ(qx.BarcodeSystemForSymbology(symbology), base.BarcodeSystemForSymbology(symbology));
  }
  const uint8_t asb[4] = {0x14, 0x00, 0x0C, 0x00};
  tagPrinterStatus a, b;
  EXPECT_EQ(qx.DecodeAsb(asb, &a), base.DecodeAsb(asb, &b));
  EXPECT_EQ(a.paperOut, b.paperOut);
  EXPECT_EQ(a.drawerBit, b.drawerBit);
  int32_t duration = 700;
  PrinterBuffer qxBuzzer, baseBuzzer;
  qx.SetBuzzerPattern(qxBuzzer, duration, 4100, 0, 1);
  duration = 700;
  base.SetBuzzerPattern(baseBuzzer, duration, 4100, 0, 1);
  EXPECT_EQ(Content(qxBuzzer), Content(baseBuzzer));
  uint8_t qxStored = 0x12, baseStored = 0x12;
  EXPECT_EQ(qx.CompareStatusByte(0x16, &qxStored, 2), base.CompareStatusByte(0x16, &baseStored, 2));
  EXPECT_TRUE(qx.DrawerStateDiffers(0x04, 0x00, false));
}

}  // namespace
