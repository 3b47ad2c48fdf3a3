// Bytes of the user-setup (GS ( E), device-setting and graphics builders of
// the standard command set.
#include <gtest/gtest.h>

#include "so/format/BuilderCases_test.h"
#include "so/format/CCmdHelperBase.h"

using namespace QEL::Printer;
using namespace QEL::Printer::test;

namespace {

TEST(CCmdHelperBaseSetup, UserSetupBlocks) {
  CCmdHelperBase helper;
  ExpectCases(helper, {
      APPENDS("1D 28 45 03 00 01 49 4E", h.EnterUserSetup(out)),
      APPENDS("1D 28 45 04 00 02 4F 55 54", h.EndUserSetup(out)),
      ACCEPTS("1D 28 45 10 00 05 05 FA FF 06 09 00 61 80 00 74 01 01 76 46 00",
              h.SetCustomValues(out, -6, 9, 128, true, false)),
      // Out-of-range entries are left out; 116 and 118 are always sent.
      ACCEPTS("1D 28 45 07 00 05 74 01 00 76 55 00", h.SetCustomValues(out, 7, 0, 3, false, true)),
      ACCEPTS("1D 28 45 04 00 05 05 64 00", h.SetDensitySetting(out, 100)),
      ACCEPTS("1D 28 45 04 00 05 05 FF FF", h.SetDensitySetting(out, -1)),
      REJECTS(h.SetDensitySetting(out, 7)),
      REJECTS(h.SetDensitySetting(out, -7)),
      APPENDS("1D 28 45 02 00 06 05", h.QueryDensitySetting(out)),
      ACCEPTS("1D 28 45 04 00 05 06 01 00", h.SetSpeedSetting(out, 1)),
      REJECTS(h.SetSpeedSetting(out, 0)),
      REJECTS(h.SetSpeedSetting(out, 10)),
      APPENDS("1D 28 45 02 00 06 06", h.QuerySpeedSetting(out)),
      ACCEPTS("1D 28 45 04 00 05 61 04 00", h.SetCustomValue97(out, 4)),
      REJECTS(h.SetCustomValue97(out, 3)),
      APPENDS("1D 28 45 02 00 06 61", h.QueryCustomValue97(out)),
      APPENDS("1D 28 45 04 00 05 74 01 01", h.SetCustomValue116(out, true)),
      APPENDS("1D 28 45 04 00 05 74 01 00", h.SetCustomValue116(out, false)),
      APPENDS("1D 28 45 02 00 06 74", h.QueryCustomValue116(out)),
      APPENDS("1D 28 45 04 00 05 76 55 00", h.SetCustomValue118(out, true)),
      APPENDS("1D 28 45 04 00 05 76 46 00", h.SetCustomValue118(out, false)),
      APPENDS("1D 28 45 02 00 06 76", h.QueryCustomValue118(out)),
      APPENDS("1D 28 45 02 00 06 20", h.QueryCustomValue(out, 0x20)),
      ACCEPTS("1D 28 45 06 00 0B 01 39 36 30 30", h.SetSerialBaud(out, "9600")),
      REJECTS(h.SetSerialBaud(out, "96")),
      REJECTS(h.SetSerialBaud(out, nullptr)),
      APPENDS("1D 28 45 02 00 0C 01", h.QuerySerialBaud(out)),
      APPENDS("1D 28 45 03 00 0B 02 01", h.SetSerialParity(out, 1)),
      APPENDS("1D 28 45 03 00 0B 03 00", h.SetSerialHandshake(out, 0)),
      APPENDS("1D 28 45 03 00 0B 04 08", h.SetSerialDataBits(out, 8)),
      APPENDS("1D 28 45 02 00 0C 02", h.QuerySerialParity(out)),
      APPENDS("1D 28 45 02 00 0C 03", h.QuerySerialHandshake(out)),
      APPENDS("1D 28 45 02 00 0C 04", h.QuerySerialDataBits(out)),
      APPENDS("", h.PrepareSend(out)),
  });
}

TEST(CCmdHelperBaseSetup, DeviceSettings) {
  CCmdHelperBase helper;
  ExpectCases(helper, {
      ACCEPTS("1D 28 4B 02 00 32 09", h.SetPrintSpeed(out, 9)),
      ACCEPTS("1D 28 4B 02 00 32 39", h.SetPrintSpeed(out, '9')),
      REJECTS(h.SetPrintSpeed(out, 10)),
      REJECTS(h.SetPrintSpeed(out, 58)),
      ACCEPTS("1D 28 4B 02 00 61 80", h.SetHeadDivision(out, 128)),
      ACCEPTS("1D 28 4B 02 00 61 34", h.SetHeadDivision(out, 52)),
      REJECTS(h.SetHeadDivision(out, 3)),
      APPENDS("1D 28 4E 02 00 30 31", h.SelectCharacterColor(out, 0x31)),
      APPENDS("1D 28 4E 02 00 30 33", h.SelectCharacterColor(out, 0x33)),
      APPENDS("", h.SelectCharacterColor(out, 0x34)),
      APPENDS("", h.SelectCharacterColor(out, 0x01)),
  });
}

TEST(CCmdHelperBaseSetup, GraphicsBlocks) {
  CCmdHelperBase helper;
  ExpectCases(helper, {
      // p = 11 + 2 bytes a row x 8 rows.
      ACCEPTS("1D 28 4C 1B 00 30 43 30 41 42 01 10 00 08 00 31",
              h.DefineNvGraphicsHeader(out, false, 16, 8, 'A', 'B')),
      ACCEPTS("1D 28 4C 1B 00 30 43 30 41 42 01 10 00 08 00 32",
              h.DefineNvGraphicsHeader(out, true, 16, 8, 'A', 'B')),
      // Rows are whole bytes: 10 dots take 2 bytes a row, p = 11 + 2 x 3.
      ACCEPTS("1D 28 4C 11 00 30 43 30 41 42 01 0A 00 03 00 31",
              h.DefineNvGraphicsHeader(out, false, 10, 3, 'A', 'B')),
      ACCEPTS("1D 28 4C 0C 00 30 43 30 41 42 01 01 00 01 00 31",
              h.DefineNvGraphicsHeader(out, false, 1, 1, 'A', 'B')),
      // The 16-bit length cannot carry this image.
      REJECTS(h.DefineNvGraphicsHeader(out, false, 1024, 1024, 'A', 'B')),
      REJECTS(h.DefineNvGraphicsHeader(out, false, 0, 8, 'A', 'B')),
      REJECTS(h.DefineNvGraphicsHeader(out, false, 8, 0, 'A', 'B')),
      REJECTS(h.DefineNvGraphicsHeader(out, false, 8193, 1, 'A', 'B')),
      APPENDS("1D 38 4C 52 00 00 00 30 70 30 01 01 31 18 00 18 00",
              h.StoreGraphicsHeader(out, 72, 24, 24)),
      APPENDS("1D 38 4C 0A 00 01 00 30 70 30 01 01 31 40 02 10 00",
              h.StoreGraphicsHeader(out, 65536, 576, 16)),
      APPENDS("1D 38 4C 02 00 00 00 30 02", h.PrintGraphicsBuffer(out)),
      APPENDS("1D 38 4C 02 00 00 00 30 00", h.QueryNvGraphicsCapacity(out, true)),
      APPENDS("1D 38 4C 02 00 00 00 30 03", h.QueryNvGraphicsCapacity(out, false)),
      ACCEPTS("1D 28 4C 06 00 30 45 30 37 01 01", h.PrintNvGraphicsByNumber(out, 7)),
      ACCEPTS("1D 28 4C 06 00 30 45 34 32 01 01", h.PrintNvGraphicsByNumber(out, 42)),
      REJECTS(h.PrintNvGraphicsByNumber(out, -1)),
      REJECTS(h.PrintNvGraphicsByNumber(out, 100)),
      ACCEPTS("1D 38 4C 06 00 00 00 30 45 41 42 01 02", h.PrintNvGraphics(out, 'A', 'B', 1, 2)),
      REJECTS(h.PrintNvGraphics(out, 'A', 'B', 3, 1)),
      REJECTS(h.PrintNvGraphics(out, 'A', 'B', 1, 0)),
      APPENDS("1D 38 4C 04 00 00 00 30 40 4B 43", h.ListNvGraphicsKeys(out)),
      APPENDS("1D 38 4C 05 00 00 00 30 41 43 4C 52", h.DeleteAllNvGraphics(out)),
      ACCEPTS("1D 38 4C 04 00 00 00 30 42 41 31", h.DeleteNvGraphics(out, 'A', '1')),
      REJECTS(h.DeleteNvGraphics(out, 31, 'A')),
      REJECTS(h.DeleteNvGraphics(out, 'A', 127)),
  });
}

TEST(CCmdHelperBaseSetup, NvGraphicsDefinitionPadsShortData) {
  CCmdHelperBase helper;
  const uint8_t three[] = {1, 2, 3};
  const uint8_t two[] = {0xAA, 0xBB};
  PrinterBuffer mono, toned, rejected;
  // 10 dots wide is two bytes a row; two rows need four bytes. a = 30
  // follows fn 67, and each plane is led by its colour.
  EXPECT_TRUE(helper.DefineNvGraphics(mono, 'A', 'B', false, 10, 2, three, sizeof three));
  EXPECT_EQ(ToHex(Content(mono)),
            ToHex(Hex("1D 38 4C 0F 00 00 00 30 43 30 41 42 01 0A 00 02 00 31 01 02 03 00")));
  // Two tones: the first plane in colour 1 (31), the second in colour 2 (32).
  EXPECT_TRUE(helper.DefineNvGraphics(toned, 'A', 'B', true, 8, 1, two, sizeof two));
  EXPECT_EQ(ToHex(Content(toned)),
            ToHex(Hex("1D 38 4C 0E 00 00 00 30 43 30 41 42 02 08 00 01 00 31 AA 32 BB")));
  EXPECT_FALSE(helper.DefineNvGraphics(rejected, 'A', 'B', false, 0, 8, two, sizeof two));
  EXPECT_FALSE(helper.DefineNvGraphics(rejected, 'A', 'B', false, 8, -1, two, sizeof two));
  EXPECT_FALSE(helper.DefineNvGraphics(rejected, 'A', 'B', false, 8193, 1, two, sizeof two));
  EXPECT_FALSE(helper.DefineNvGraphics(rejected, 'A', 'B', false, 8, 2305, two, sizeof two));
  EXPECT_TRUE(rejected.isEmpty());
  // Data longer than the planes is cut, never read beyond what is needed.
  PrinterBuffer cut;
  EXPECT_TRUE(helper.DefineNvGraphics(cut, 'A', 'B', false, 8, 1, two, sizeof two));
  EXPECT_EQ(cut.size(), 9u + 8u + 1u + 1u);
}

TEST(CCmdHelperBaseSetup, PlacementLookups) {
  CCmdHelperBase helper;
  EXPECT_EQ(helper.AlignmentForBitmap(-3), 2);
  EXPECT_EQ(helper.AlignmentForBitmap(-2), 1);
  EXPECT_EQ(helper.AlignmentForBitmap(-1), 0);
  EXPECT_EQ(helper.AlignmentForBitmap(120), 0);
  EXPECT_EQ(helper.AlignmentForBarcode(-3), 2);
  EXPECT_EQ(helper.AlignmentForBarcode(-2), 1);
  EXPECT_EQ(helper.AlignmentForBarcode(5), 0);
  EXPECT_EQ(helper.HriPositionForTextPosition(-13), 2);
  EXPECT_EQ(helper.HriPositionForTextPosition(-12), 1);
  EXPECT_EQ(helper.HriPositionForTextPosition(-11), 0);
  EXPECT_EQ(helper.HriPositionForTextPositionAll(-13), 2);
  EXPECT_EQ(helper.HriPositionForTextPositionAll(-12), 1);
  EXPECT_EQ(helper.HriPositionForTextPositionAll(-11), 0);
  EXPECT_EQ(helper.HriPositionForTextPositionAll(-10), 3);
  EXPECT_EQ(helper.ReservedQuery(), 0);
}

}  // namespace
