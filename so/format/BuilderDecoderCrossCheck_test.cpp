// Builders against the virtual printer's decoder: basic print control,
// characters and code pages, page mode and positioning.
#include <string>

#include "so/format/BuilderTranscript_test.h"

namespace QEL {
namespace Printer {
namespace test {

std::vector<TranscriptRow> PrintControlRows() {
  return {
      ROW(L("ESC ! 0", "ESC a 0", "ESC - 0"), kSame, h.ResetTextFormat(out)),
      ROW(L("HT"), kSame, h.HorizontalTab(out)),
      ROW(L("LF"), kSame, h.LineFeed(out)),
      ROW(L("FF"), kNothing, h.FormFeed(out)),
      ROW(L("ESC d 0"), kSame, h.PrintAndFeedNone(out)),
      ROW(L("CAN"), kSame, h.CancelPageData(out)),
      ROW(L("ESC @"), kSame, h.InitializePrinter(out)),
      ROW(kNothing, kSame, h.NoOperation(out)),
      ROW(kNothing, kSame, h.PrepareSend(out)),
      // Real-time status: the QX1270 family asks in a frame of its own.
      ROW(L("DLE EOT 1"), InFrame(L("DLE EOT 1")), h.RequestRealtimeStatus(out, 1)),
      ROW(L("DLE EOT 2"), InFrame(L("DLE EOT 2")), h.RequestRealtimeStatus(out, 2)),
      ROW(L("DLE EOT 3"), InFrame(L("DLE EOT 3")), h.RequestRealtimeStatus(out, 3)),
      ROW(L("DLE EOT 4"), InFrame(L("DLE EOT 4")), h.RequestRealtimeStatus(out, 4)),
      ROW(L("GS r 2"), kNothing, {
        uint8_t record[3] = {};
        if (h.DrawerStatusRequest(record)) out.append(record, sizeof record);
      }),
      ROW(L("GS r 1"), kSame, h.RequestStatus(out, 1)),
      ROW(L("GS r 2"), kSame, h.RequestStatus(out, 2)),
      ROW(L("GS r 49"), kSame, h.RequestStatus(out, 49)),
      ROW(L("GS r 1"), kSame, h.RequestPaperStatus(out)),
      ROW(L("GS r 2"), kSame, h.RequestDrawerStatus(out)),
      ROW(kNothing, kNothing, h.RealtimeRequest(out, 0)),
      ROW(L("DLE ENQ 1"), kNothing, h.RealtimeRequest(out, 1)),
      ROW(L("DLE ENQ 2"), kNothing, h.RealtimeRequest(out, 2)),
      ROW(kNothing, kNothing, h.RealtimeRequest(out, 3)),
      // Drawer pulse in real time: pin 0 or 1, 1..8 units of 100 ms.
      ROW(L("DLE DC4 1 0 1"), kNothing, h.RealtimeFunction1(out, 0, 1)),
      ROW(L("DLE DC4 1 1 8"), kNothing, h.RealtimeFunction1(out, 1, 8)),
      ROW(kNothing, kNothing, h.RealtimeFunction1(out, 2, 1)),
      ROW(kNothing, kNothing, h.RealtimeFunction1(out, 0, 0)),
      ROW(kNothing, kNothing, h.RealtimeFunction1(out, 1, 9)),
      ROW(L("DLE DC4 8 1 3 20 1 6 2 8"), kNothing, h.ClearBuffers(out)),
      ROW(L("ESC SP 0"), kNothing, h.SetRightSpacing(out, 0)),
      ROW(L("ESC SP 255"), kNothing, h.SetRightSpacing(out, 255)),
      ROW(L("ESC ! 0"), kSame, h.SetPrintMode(out, false, false, false, false, false)),
      ROW(L("ESC ! 1"), kSame, h.SetPrintMode(out, true, false, false, false, false)),
      ROW(L("ESC ! 8"), kSame, h.SetPrintMode(out, false, true, false, false, false)),
      ROW(L("ESC ! 32"), kSame, h.SetPrintMode(out, false, false, true, false, false)),
      ROW(L("ESC ! 16"), kSame, h.SetPrintMode(out, false, false, false, true, false)),
      ROW(L("ESC ! 128"), kSame, h.SetPrintMode(out, false, false, false, false, true)),
      ROW(L("ESC ! 185"), kSame, h.SetPrintMode(out, true, true, true, true, true)),
      ROW(L("ESC - 0"), kSame, h.SetUnderline(out, 0)),
      ROW(L("ESC - 1"), kSame, h.SetUnderline(out, 1)),
      ROW(L("ESC - 2"), kSame, h.SetUnderline(out, 2)),
      ROW(kNothing, kSame, h.SetUnderline(out, 3)),
      ROW(L("ESC 2"), kSame, h.DefaultLineSpacing(out)),
      ROW(L("ESC 3 0"), kSame, h.SetLineSpacing(out, 0)),
      ROW(L("ESC 3 255"), kSame, h.SetLineSpacing(out, 255)),
      ROW(L("ESC = 1"), kSame, h.SelectPeripheral(out, true)),
      ROW(L("ESC = 2"), kSame, h.SelectPeripheral(out, false)),
      ROW(L("ESC E 1"), kSame, h.SetEmphasized(out, true)),
      ROW(L("ESC E 0"), kSame, h.SetEmphasized(out, false)),
      ROW(L("ESC G 1"), kSame, h.SetDoubleStrike(out, true)),
      ROW(L("ESC G 0"), kSame, h.SetDoubleStrike(out, false)),
      ROW(L("ESC J 0"), kSame, h.FeedNone(out)),
      ROW(L("ESC J 7"), kSame, h.FeedDotsOnce(out, 7)),
      ROW(L("ESC J 255"), kSame, h.FeedDotsOnce(out, 255)),
      ROW(L("ESC J 0"), kSame, h.FeedDots(out, 0)),
      ROW(L("ESC J 0"), kSame, h.FeedDots(out, -5)),
      ROW(L("ESC J 255"), kSame, h.FeedDots(out, 255)),
      ROW(L("ESC J 255", "ESC J 1"), kSame, h.FeedDots(out, 256)),
      ROW(L("ESC J 255", "ESC J 255"), kSame, h.FeedDots(out, 510)),
      ROW(L("ESC J 255", "ESC J 255", "ESC J 1"), kSame, h.FeedDots(out, 511)),
      ROW(L("ESC d 3"), kSame, h.PrintAndFeedLines(out, 3)),
      ROW(L("ESC d 255"), kSame, h.PrintAndFeedLines(out, 255)),
      ROW(L("ESC { 1"), kSame, h.SetUpsideDown(out, true)),
      ROW(L("ESC { 0"), kSame, h.SetUpsideDown(out, false)),
      ROW(L("ESC c 3 0"), kNothing, h.SelectPaperEndSensors(out, 0)),
      ROW(L("ESC c 3 15"), kNothing, h.SelectPaperEndSensors(out, 15)),
      ROW(L("ESC c 4 1"), kNothing, h.SelectStopSensors(out, 1)),
      ROW(L("ESC c 5 0"), kNothing, h.EnablePanelButtons(out, true)),
      ROW(L("ESC c 5 1"), kNothing, h.EnablePanelButtons(out, false)),
      ROW(L("ESC p 0 25 250"), kNothing, h.DrawerPulse(out, 0, 25, 250)),
      ROW(L("ESC p 1 0 255"), kNothing, h.DrawerPulse(out, 1, 0, 255)),
      ROW(L("ESC p 48 50 50"), kNothing, h.DrawerPulse(out, 48, 50, 50)),
      ROW(L("ESC p 49 1 2"), kNothing, h.DrawerPulse(out, 49, 1, 2)),
      ROW(kNothing, kNothing, h.DrawerPulse(out, 2, 25, 250)),
      ROW(kNothing, kNothing, h.DrawerPulse(out, 50, 25, 250)),
  };
}

namespace {

std::string DefaultTabsLine() {
  std::string line = "ESC D";
  for (int stop = 8; stop <= 248; stop += 8) line += " " + std::to_string(stop);
  return line + " 0";
}

std::string TabsLine(int count) {
  std::string line = "ESC D";
  for (int stop = 1; stop <= count; ++stop) line += " " + std::to_string(stop);
  return line + " 0";
}

}  // namespace

std::vector<TranscriptRow> CharacterRows() {
  return {
      ROW(L("ESC % 1"), kSame, h.SelectUserCharset(out, true)),
      ROW(L("ESC % 0"), kSame, h.SelectUserCharset(out, false)),
      ROW(L("ESC ? 32"), kSame, h.CancelUserChar(out, 32)),
      ROW(L("ESC ? 126"), kSame, h.CancelUserChar(out, 126)),
      ROW(kNothing, kSame, h.CancelUserChar(out, 31)),
      ROW(kNothing, kSame, h.CancelUserChar(out, 127)),
      ROW(L("ESC M 0"), kNothing, h.SelectCharacterFont(out, 0)),
      ROW(L("ESC M 1"), kNothing, h.SelectCharacterFont(out, 1)),
      ROW(L("ESC M 48"), kNothing, h.SelectCharacterFont(out, 48)),
      ROW(L("ESC M 49"), kNothing, h.SelectCharacterFont(out, 49)),
      ROW(kNothing, kNothing, h.SelectCharacterFont(out, 2)),
      ROW(kNothing, kNothing, h.SelectCharacterFont(out, 50)),
      ROW(L("ESC R 0"), kNothing, h.SelectInternational(out, 0)),
      ROW(L("ESC R 15"), kNothing, h.SelectInternational(out, 15)),
      ROW(L("ESC R 15"), kNothing, h.SelectInternational(out, h.InternationalForCodePage(850))),
      ROW(L("ESC R 8"), kNothing, h.SelectInternational(out, h.InternationalForCodePage(932))),
      ROW(L("ESC R 15"), kNothing, h.SelectInternational(out, h.InternationalForCodePage(936))),
      ROW(L("ESC R 15"), kNothing, h.SelectInternational(out, h.InternationalForCodePage(950))),
      ROW(L("ESC R 0"), kNothing, h.SelectInternational(out, h.InternationalForCodePage(437))),
      ROW(L("ESC t 0"), kNothing, h.SelectCodeTable(out, 0)),
      ROW(L("ESC t 21"), kNothing, h.SelectCodeTable(out, 21)),
      ROW(L("ESC t 26"), kNothing, h.SelectCodeTable(out, 26)),
      ROW(L("ESC t 30"), kNothing, h.SelectCodeTable(out, 30)),
      ROW(L("ESC t 53"), kNothing, h.SelectCodeTable(out, 53)),
      ROW(L("ESC t 255"), kNothing, h.SelectCodeTable(out, 255)),
      ROW(kNothing, kNothing, h.SelectCodeTable(out, 22)),
      ROW(kNothing, kNothing, h.SelectCodeTable(out, 25)),
      ROW(kNothing, kNothing, h.SelectCodeTable(out, 27)),
      ROW(kNothing, kNothing, h.SelectCodeTable(out, 29)),
      ROW(kNothing, kNothing, h.SelectCodeTable(out, 54)),
      ROW(kNothing, kNothing, h.SelectCodeTable(out, 254)),
      ROW(L("GS ! 0"), kSame, h.SetCharacterSize(out, 1, 1)),
      ROW(L("GS ! 18"), kSame, h.SetCharacterSize(out, 2, 3)),
      ROW(L("GS ! 112"), kSame, h.SetCharacterSize(out, 8, 1)),
      ROW(L("GS ! 7"), kSame, h.SetCharacterSize(out, 1, 8)),
      ROW(L("GS ! 119"), kSame, h.SetCharacterSize(out, 8, 8)),
      ROW(kNothing, kSame, h.SetCharacterSize(out, 9, 1)),
      ROW(kNothing, kSame, h.SetCharacterSize(out, 1, 9)),
      ROW(kNothing, kSame, h.SetCharacterSize(out, 0, 1)),
      ROW(L("GS ! 7"), kSame, h.SetCharacterSizeClamped(out, 0, 9)),
      ROW(L("GS ! 112"), kSame, h.SetCharacterSizeClamped(out, 9, -3)),
      ROW(L("GS ! 34"), kSame, h.SetCharacterSizeClamped(out, 3, 3)),
      ROW(L("ESC a 0"), kSame, h.SetJustification(out, 0)),
      ROW(L("ESC a 2"), kSame, h.SetJustification(out, 2)),
      ROW(L("ESC a 48"), kSame, h.SetJustification(out, 48)),
      ROW(L("ESC a 50"), kSame, h.SetJustification(out, 50)),
      ROW(kNothing, kSame, h.SetJustification(out, 3)),
      ROW(kNothing, kSame, h.SetJustification(out, 51)),
      ROW(L("ESC a 2"), kSame, h.SetJustification(out, h.AlignmentForBitmap(-3))),
      ROW(L("ESC a 1"), kSame, h.SetJustification(out, h.AlignmentForBitmap(-2))),
      ROW(L("ESC a 0"), kSame, h.SetJustification(out, h.AlignmentForBitmap(-1))),
      ROW(L("ESC a 0"), kSame, h.SetJustification(out, h.AlignmentForBitmap(100))),
      ROW(L("ESC a 2"), kSame, h.SetJustification(out, h.AlignmentForBarcode(-3))),
      ROW(L("ESC a 1"), kSame, h.SetJustification(out, h.AlignmentForBarcode(-2))),
      ROW(L("ESC a 0"), kSame, h.SetJustification(out, h.AlignmentForBarcode(-1))),
      ROW(L(DefaultTabsLine()), kSame, h.DefaultTabs(out)),
      ROW(L(DefaultTabsLine(), DefaultTabsLine()), kSame, {
        h.DefaultTabs(out);
        h.DefaultTabs(out);
      }),
      ROW(L("ESC D 4 8 0"), kSame, {
        const uint8_t list[] = {4, 8};
        h.SetTabs(out, list, sizeof list);
      }),
      ROW(L("ESC D 4 8 0"), kSame, {
        const uint8_t list[] = {4, 8, 0};
        h.SetTabs(out, list, sizeof list);
      }),
      ROW(L("ESC D 0"), kSame, {
        const uint8_t list[] = {0};
        h.SetTabs(out, list, sizeof list);
      }),
      ROW(L(DefaultTabsLine()), kSame, h.SetTabs(out, nullptr, 0)),
      // The most stops a printer takes; the rest of a longer list, or of a
      // list that stops rising, is left out.
      ROW(L(TabsLine(32)), kSame, {
        uint8_t list[32];
        for (int i = 0; i < 32; ++i) list[i] = static_cast<uint8_t>(i + 1);
        h.SetTabs(out, list, sizeof list);
      }),
      ROW(L(TabsLine(32)), kSame, {
        uint8_t list[33];
        for (int i = 0; i < 33; ++i) list[i] = static_cast<uint8_t>(i + 1);
        h.SetTabs(out, list, sizeof list);
      }),
      ROW(L("ESC D 16 0"), kSame, {
        const uint8_t list[] = {16, 8, 20};
        h.SetTabs(out, list, sizeof list);
      }),
      ROW(L("ESC D 8 0"), kSame, {
        const uint8_t list[] = {8, 0, 'X'};
        h.SetTabs(out, list, sizeof list);
      }),
      ROW(L("FS ! 0"), kSame, h.SetKanjiPrintMode(out, false, false, false)),
      ROW(L("FS ! 4"), kSame, h.SetKanjiPrintMode(out, true, false, false)),
      ROW(L("FS ! 8"), kSame, h.SetKanjiPrintMode(out, false, true, false)),
      ROW(L("FS ! 128"), kSame, h.SetKanjiPrintMode(out, false, false, true)),
      ROW(L("FS ! 140"), kSame, h.SetKanjiPrintMode(out, true, true, true)),
      ROW(L("FS &"), kSame, h.SetKanjiMode(out, true)),
      ROW(L("FS ."), kSame, h.SetKanjiMode(out, false)),
      ROW(L("FS - 0"), kSame, h.SetKanjiUnderline(out, 0)),
      ROW(L("FS - 2"), kSame, h.SetKanjiUnderline(out, 2)),
      ROW(kNothing, kSame, h.SetKanjiUnderline(out, 3)),
      ROW(L("FS C 0"), kSame, h.SelectKanjiCodeSystem(out, 0)),
      ROW(L("FS C 1"), kSame, h.SelectKanjiCodeSystem(out, 1)),
      ROW(L("FS C 48"), kSame, h.SelectKanjiCodeSystem(out, 48)),
      ROW(L("FS C 49"), kSame, h.SelectKanjiCodeSystem(out, 49)),
      ROW(kNothing, kSame, h.SelectKanjiCodeSystem(out, 2)),
      ROW(kNothing, kSame, h.SelectKanjiCodeSystem(out, 50)),
      ROW(L("FS S 0 2"), kSame, h.SetKanjiSpacing(out, 0, 2)),
      ROW(L("FS S 255 255"), kSame, h.SetKanjiSpacing(out, 255, 255)),
      ROW(L("FS W 1"), kSame, h.SetKanjiQuadruple(out, true)),
      ROW(L("FS W 0"), kSame, h.SetKanjiQuadruple(out, false)),
      ROW(L("GS B 1"), kSame, h.SetReverse(out, true)),
      ROW(L("GS B 0"), kSame, h.SetReverse(out, false)),
      ROW(L("GS b 1"), kSame, h.SetSmoothing(out, true)),
      ROW(L("GS b 0"), kSame, h.SetSmoothing(out, false)),
      ROW(L("GS ( N 48 48"), kSame, h.SelectCharacterColor(out, 48)),
      ROW(L("GS ( N 48 50"), kSame, h.SelectCharacterColor(out, 50)),
      ROW(L("GS ( N 48 51"), kSame, h.SelectCharacterColor(out, 51)),
      ROW(kNothing, kSame, h.SelectCharacterColor(out, 52)),
  };
}

std::vector<TranscriptRow> PageModeRows() {
  return {
      ROW(L("ESC L"), kSame, h.EnterPageMode(out)),
      ROW(L("ESC S"), kNothing, h.EnterStandardMode(out)),
      ROW(L("FF"), kNothing, h.PageModeFormFeed(out)),
      ROW(L("ESC T 0"), kNothing, h.SetPageDirection(out, 0)),
      ROW(L("ESC T 3"), kNothing, h.SetPageDirection(out, 3)),
      ROW(L("ESC T 48"), kNothing, h.SetPageDirection(out, 48)),
      ROW(L("ESC T 51"), kNothing, h.SetPageDirection(out, 51)),
      ROW(kNothing, kNothing, h.SetPageDirection(out, 4)),
      ROW(kNothing, kNothing, h.SetPageDirection(out, 52)),
      ROW(L("ESC T 51"), kNothing, h.SetPageDirection(out, h.PageDirectionForRotation(257))),
      ROW(L("ESC T 49"), kNothing, h.SetPageDirection(out, h.PageDirectionForRotation(258))),
      ROW(L("ESC T 50"), kNothing, h.SetPageDirection(out, h.PageDirectionForRotation(259))),
      ROW(L("ESC T 48"), kNothing, h.SetPageDirection(out, h.PageDirectionForRotation(1))),
      ROW(L("ESC V 1"), kNothing, h.SetRotate90(out, true)),
      ROW(L("ESC V 0"), kNothing, h.SetRotate90(out, false)),
      ROW(L("ESC W 0 0 0 0 0 2 232 3"), kNothing, h.SetPageArea(out, 0, 0, 512, 1000)),
      ROW(L("ESC W 16 0 32 1 255 255 1 0"), kNothing, h.SetPageArea(out, 16, 288, 65535, 1)),
      ROW(kNothing, kNothing, h.SetPageArea(out, 0, 0, 0, 1000)),
      ROW(kNothing, kNothing, h.SetPageArea(out, 0, 0, 512, 0)),
      ROW(L("ESC $ 0 0"), kSame, h.SetAbsolutePosition(out, 0)),
      ROW(L("ESC $ 44 1"), kSame, h.SetAbsolutePosition(out, 300)),
      ROW(L("ESC $ 255 255"), kSame, h.SetAbsolutePosition(out, 65535)),
      ROW(L("ESC \\ 16 0"), kSame, h.SetRelativePosition(out, 16)),
      ROW(L("ESC \\ 255 255"), kSame, h.SetRelativePosition(out, -1)),
      ROW(L("GS $ 32 0"), kNothing, h.SetAbsoluteVertical(out, 32)),
      ROW(L("GS $ 0 4"), kNothing, h.SetAbsoluteVertical(out, 1024)),
      ROW(L("GS \\ 16 0"), kNothing, h.SetRelativeVertical(out, 16)),
      ROW(L("GS \\ 240 255"), kNothing, h.SetRelativeVertical(out, -16)),
      ROW(L("GS L 0 0"), kSame, h.SetLeftMargin(out, 0)),
      ROW(L("GS L 0 2"), kSame, h.SetLeftMargin(out, 512)),
      ROW(L("GS W 64 2"), kSame, h.SetPrintAreaWidth(out, 576)),
      ROW(L("GS W 0 0"), kSame, h.SetPrintAreaWidth(out, 0)),
      ROW(L("GS P 180 180"), kSame, h.SetMotionUnits(out, 180, 180)),
      ROW(L("GS P 0 0"), kSame, h.SetMotionUnits(out, 0, 0)),
  };
}

namespace {

TEST_F(BuilderDecoder, PrintControl) { ExpectRows(PrintControlRows()); }

TEST_F(BuilderDecoder, Characters) { ExpectRows(CharacterRows()); }

TEST_F(BuilderDecoder, PageModeAndPositions) { ExpectRows(PageModeRows()); }

TEST_F(BuilderDecoder, EachGroupAsOneStream) {
  ExpectSequences(PrintControlRows(), "print control");
  ExpectSequences(CharacterRows(), "characters");
  ExpectSequences(PageModeRows(), "page mode");
}

// The code-page table: kanji mode, character table and international set on
// the standard printers, only the kanji mode on the QX1270 family.
TEST_F(BuilderDecoder, CodePages) {
  struct Case {
    int32_t codePage;
    const char* kanji;
    int table;
    int international;
  } cases[] = {
      {242, "FS .", 255, 0}, {255, "FS .", 255, 0}, {437, "FS .", 0, 0},   {998, "FS .", 0, 0},
      {720, "FS .", 32, 0},  {851, "FS .", 11, 0},  {852, "FS .", 18, 0},  {853, "FS .", 18, 0},
      {857, "FS .", 18, 0},  {858, "FS .", 19, 0},  {860, "FS .", 3, 0},   {862, "FS .", 36, 0},
      {863, "FS .", 4, 0},   {864, "FS .", 37, 0},  {865, "FS .", 5, 0},   {866, "FS .", 17, 0},
      {874, "FS .", 21, 0},  {932, "FS &", 1, 8},   {936, "FS &", 2, 15},  {950, "FS &", 2, 15},
      {997, "FS &", 0, 0},   {999, "FS .", 16, 0},  {1250, "FS .", 16, 0}, {1252, "FS .", 16, 0},
      {1255, "FS .", 49, 0}, {1256, "FS .", 50, 0}, {850, "FS &", 2, 0},   {1251, "FS &", 2, 0},
  };
  CCmdHelperBase base;
  CmdHelper_QX1270 qx;
  for (const Case& c : cases) {
    PrinterBuffer b(32, 32);
    base.SelectCodePage(b, c.codePage);
    EXPECT_EQ(Decode(Bytes(b.data(), b.data() + b.size())),
              Joined(L(c.kanji, "ESC t " + std::to_string(c.table),
                       "ESC R " + std::to_string(c.international))))
        << c.codePage;
    PrinterBuffer q(32, 32);
    qx.SelectCodePage(q, c.codePage);
    EXPECT_EQ(Decode(Bytes(q.data(), q.data() + q.size())), Joined(L(c.kanji))) << c.codePage;
  }
}

}  // namespace
}  // namespace test
}  // namespace Printer
}  // namespace QEL
