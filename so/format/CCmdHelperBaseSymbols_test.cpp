// Bytes of the two-dimensional symbol builders (GS ( k) and the
// one-dimensional barcode builders of the standard command set.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "so/format/BuilderCases_test.h"
#include "so/format/CCmdHelperBase.h"

using namespace QEL::Printer;
using namespace QEL::Printer::test;

namespace {

const uint8_t kAB[] = {'A', 'B'};
const uint8_t k12[] = {'1', '2'};
const uint8_t kData[] = {'1', '2', '3', '4'};

TEST(CCmdHelperBaseSymbols, Pdf417) {
  CCmdHelperBase helper;
  ExpectCases(helper, {
      ACCEPTS("1D 28 6B 03 00 30 41 00", h.Pdf417Columns(out, 0)),
      ACCEPTS("1D 28 6B 03 00 30 41 1E", h.Pdf417Columns(out, 30)),
      REJECTS(h.Pdf417Columns(out, 31)),
      REJECTS(h.Pdf417Columns(out, 286)),  // not taken modulo 256
      REJECTS(h.Pdf417Columns(out, -1)),
      ACCEPTS("1D 28 6B 03 00 30 42 00", h.Pdf417Rows(out, 0)),
      ACCEPTS("1D 28 6B 03 00 30 42 03", h.Pdf417Rows(out, 3)),
      ACCEPTS("1D 28 6B 03 00 30 42 5A", h.Pdf417Rows(out, 90)),
      REJECTS(h.Pdf417Rows(out, 2)),
      REJECTS(h.Pdf417Rows(out, 91)),
      REJECTS(h.Pdf417Rows(out, 259)),
      ACCEPTS("1D 28 6B 03 00 30 43 02", h.Pdf417ModuleWidth(out, 2)),
      ACCEPTS("1D 28 6B 03 00 30 43 08", h.Pdf417ModuleWidth(out, 8)),
      REJECTS(h.Pdf417ModuleWidth(out, 1)),
      REJECTS(h.Pdf417ModuleWidth(out, 9)),
      REJECTS(h.Pdf417ModuleWidth(out, 258)),
      ACCEPTS("1D 28 6B 03 00 30 44 02", h.Pdf417RowHeight(out, 1)),
      ACCEPTS("1D 28 6B 03 00 30 44 02", h.Pdf417RowHeight(out, -5)),
      ACCEPTS("1D 28 6B 03 00 30 44 05", h.Pdf417RowHeight(out, 5)),
      ACCEPTS("1D 28 6B 03 00 30 44 08", h.Pdf417RowHeight(out, 9)),
      ACCEPTS("1D 28 6B 04 00 30 45 30 30", h.Pdf417ErrorLevel(out, '0', 48)),
      ACCEPTS("1D 28 6B 04 00 30 45 30 38", h.Pdf417ErrorLevel(out, '0', 56)),
      ACCEPTS("1D 28 6B 04 00 30 45 31 01", h.Pdf417ErrorLevel(out, '1', 1)),
      ACCEPTS("1D 28 6B 04 00 30 45 31 28", h.Pdf417ErrorLevel(out, '1', 40)),
      REJECTS(h.Pdf417ErrorLevel(out, '0', 57)),
      REJECTS(h.Pdf417ErrorLevel(out, '0', 1)),
      REJECTS(h.Pdf417ErrorLevel(out, '1', 0)),
      REJECTS(h.Pdf417ErrorLevel(out, '1', 41)),
      REJECTS(h.Pdf417ErrorLevel(out, '2', 1)),
      ACCEPTS("1D 28 6B 03 00 30 46 00", h.Pdf417Options(out, true)),
      ACCEPTS("1D 28 6B 03 00 30 46 01", h.Pdf417Options(out, false)),
      ACCEPTS("1D 28 6B 05 00 30 50 30 41 42", h.Pdf417Store(out, kAB, sizeof kAB)),
      ACCEPTS("1D 28 6B 03 00 30 51 30", h.Pdf417Print(out)),
      ACCEPTS("1D 28 6B 03 00 30 52 30", h.Pdf417QuerySize(out)),
  });
}

TEST(CCmdHelperBaseSymbols, QrCode) {
  CCmdHelperBase helper;
  ExpectCases(helper, {
      ACCEPTS("1D 28 6B 04 00 31 41 31 00", h.QrModel(out, '1')),
      ACCEPTS("1D 28 6B 04 00 31 41 32 00", h.QrModel(out, '2')),
      REJECTS(h.QrModel(out, '3')),
      REJECTS(h.QrModel(out, 2)),
      ACCEPTS("1D 28 6B 03 00 31 43 01", h.QrModuleSize(out, 1)),
      ACCEPTS("1D 28 6B 03 00 31 43 10", h.QrModuleSize(out, 16)),
      REJECTS(h.QrModuleSize(out, 0)),
      REJECTS(h.QrModuleSize(out, 17)),
      REJECTS(h.QrModuleSize(out, 257)),
      ACCEPTS("1D 28 6B 03 00 31 45 30", h.QrErrorLevel(out, 48)),
      ACCEPTS("1D 28 6B 03 00 31 45 33", h.QrErrorLevel(out, 51)),
      REJECTS(h.QrErrorLevel(out, 47)),
      REJECTS(h.QrErrorLevel(out, 52)),
      ACCEPTS("1D 28 6B 05 00 31 50 30 31 32", h.QrStore(out, k12, sizeof k12)),
      ACCEPTS("1D 28 6B 03 00 31 51 30", h.QrPrint(out)),
      ACCEPTS("1D 28 6B 03 00 31 52 30", h.QrQuerySize(out)),
  });
}

// The store's length field is two bytes; QR Code holds at most 7089
// characters. A 300-byte e-receipt QR must reach the printer.
TEST(CCmdHelperBaseSymbols, StoreTakesWhatTheSymbolHolds) {
  CCmdHelperBase helper;
  struct Case {
    bool qr;
    size_t most;
  };
  for (const Case c : {Case{false, 65532}, Case{true, 7089}}) {
    SCOPED_TRACE(c.qr ? "QR" : "PDF417");
    auto store = [&](PrinterBuffer& out, const std::vector<uint8_t>& data) {
      return c.qr ? helper.QrStore(out, data.data(), data.size())
                  : helper.Pdf417Store(out, data.data(), data.size());
    };
    const std::vector<uint8_t> receipt(300, 'x');
    PrinterBuffer accepted, largest, rejected;
    EXPECT_TRUE(store(accepted, receipt));
    ASSERT_EQ(accepted.size(), 8u + 300u);
    EXPECT_EQ(accepted.at(3), 0x2F);  // pL pH = 303
    EXPECT_EQ(accepted.at(4), 0x01);
    EXPECT_EQ(accepted.at(5), c.qr ? 0x31 : 0x30);
    EXPECT_EQ(accepted.at(6), 0x50);
    EXPECT_EQ(accepted.at(7), 0x30);
    EXPECT_TRUE(store(largest, std::vector<uint8_t>(c.most, '1')));
    EXPECT_EQ(largest.size(), 8u + c.most);
    EXPECT_FALSE(store(rejected, std::vector<uint8_t>(c.most + 1, '1')));
    // A store needs data: its length would be one a printer does not take.
    EXPECT_FALSE(store(rejected, {}));
    EXPECT_TRUE(rejected.isEmpty());
  }
}

TEST(CCmdHelperBaseSymbols, BarcodeSystems) {
  CCmdHelperBase helper;
  const std::vector<std::pair<int, int>> systems = {
      {101, 65}, {102, 66}, {103, 68}, {104, 67}, {106, 70}, {107, 71}, {108, 69},
      {109, 72}, {110, 73}, {123, 73}, {120, 74}, {131, 75}, {132, 78}, {105, 0},
      {201, 0},  {204, 0},  {0, 0},
  };
  for (const auto& s : systems) {
    EXPECT_EQ(helper.BarcodeSystemForSymbology(s.first), s.second) << s.first;
  }
}

TEST(CCmdHelperBaseSymbols, AppendBarcodeTakes1To255Bytes) {
  CCmdHelperBase helper;
  const std::string ean = "4901234567894";
  const std::vector<uint8_t> data(ean.begin(), ean.end());
  PrinterBuffer out;
  EXPECT_TRUE(helper.AppendBarcode(out, 104, data.data(), data.size()));
  EXPECT_EQ(ToHex(Content(out)),
            ToHex(Concat({Hex("1D 6B 43 0D"), data})));

  const std::vector<uint8_t> most(255, '1');
  const std::vector<uint8_t> tooMany(256, '1');
  PrinterBuffer accepted, rejected;
  EXPECT_TRUE(helper.AppendBarcode(accepted, 110, most.data(), most.size()));
  EXPECT_EQ(accepted.size(), 4u + 255u);
  EXPECT_EQ(accepted.at(3), 0xFF);
  EXPECT_FALSE(helper.AppendBarcode(rejected, 110, tooMany.data(), tooMany.size()));
  EXPECT_FALSE(helper.AppendBarcode(rejected, 110, data.data(), 0));
  // No GS k system: the printer would read the length byte as data.
  EXPECT_FALSE(helper.AppendBarcode(rejected, 105, data.data(), data.size()));
  EXPECT_TRUE(rejected.isEmpty());
}

TEST(CCmdHelperBaseSymbols, SetupAndPrintBarcodeOrder) {
  CCmdHelperBase helper;
  PrinterBuffer out;
  EXPECT_TRUE(helper.SetupAndPrintBarcode(out, 108, 0, 3, -13, 1, kData, sizeof kData));
  EXPECT_EQ(ToHex(Content(out)),
            ToHex(Hex("1D 77 03 1D 68 A2 1D 48 02 1D 66 01 1D 6B 45 04 31 32 33 34")));

  // The set-up commands stay; the caller learns from the result that the
  // barcode itself is missing.
  const std::vector<uint8_t> tooMany(256, '1');
  PrinterBuffer rejected;
  EXPECT_FALSE(
      helper.SetupAndPrintBarcode(rejected, 108, 50, 9, -11, 0, tooMany.data(), tooMany.size()));
  EXPECT_EQ(ToHex(Content(rejected)), ToHex(Hex("1D 77 02 1D 68 32 1D 48 00 1D 66 00")));

  // Heights above 255 dots go out as 255, never as their low byte; module
  // widths outside 2..6 become 2, and GS h 0 is never sent.
  ExpectCases(helper, {
      ACCEPTS("1D 77 02 1D 68 FF 1D 48 01 1D 66 00 1D 6B 45 01 31",
              h.SetupAndPrintBarcode(out, 108, 256, 258, -12, 0, kData, 1)),
      ACCEPTS("1D 77 02 1D 68 FF 1D 48 00 1D 66 00 1D 6B 45 01 31",
              h.SetupAndPrintBarcode(out, 108, 0x1A2, -1, -11, 0, kData, 1)),
      ACCEPTS("1D 77 06 1D 68 FF 1D 48 00 1D 66 00 1D 6B 45 01 31",
              h.SetupAndPrintBarcode(out, 108, 300, 6, -11, 0, kData, 1)),
      ACCEPTS("1D 77 02 1D 68 A2 1D 48 00 1D 66 00 1D 6B 45 01 31",
              h.SetupAndPrintBarcode(out, 108, -4, 7, -11, 0, kData, 1)),
      ACCEPTS("1D 77 02 1D 68 01 1D 48 00 1D 66 00 1D 6B 45 01 31",
              h.SetupAndPrintBarcode(out, 108, 1, 1, -11, 0, kData, 1)),
  });
}

TEST(CCmdHelperBaseSymbols, BarcodeSetup) {
  CCmdHelperBase helper;
  ExpectCases(helper, {
      APPENDS("1D 77 02", h.SetBarcodeWidth(out, 8)),
      APPENDS("1D 77 02", h.SetBarcodeWidth(out, 255)),
      APPENDS("1D 77 02", h.SetBarcodeWidth(out, 7)),
      APPENDS("1D 77 02", h.SetBarcodeWidth(out, 1)),
      APPENDS("1D 77 02", h.SetBarcodeWidth(out, 0)),
      APPENDS("1D 77 02", h.SetBarcodeWidth(out, 2)),
      APPENDS("1D 77 06", h.SetBarcodeWidth(out, 6)),
      APPENDS("1D 68 A2", h.SetBarcodeHeight(out, 0)),
      APPENDS("1D 68 32", h.SetBarcodeHeight(out, 50)),
      ACCEPTS("1D 48 02", h.SetHriPosition(out, 2)),
      ACCEPTS("1D 48 33", h.SetHriPosition(out, '3')),
      REJECTS(h.SetHriPosition(out, 4)),
      ACCEPTS("1D 66 00", h.SetHriFont(out, 0)),
      ACCEPTS("1D 66 01", h.SetHriFont(out, 1)),
      REJECTS(h.SetHriFont(out, 2)),
      REJECTS(h.SetHriFont(out, 48)),
  });
}

TEST(CCmdHelperBaseSymbols, DownloadedImage) {
  CCmdHelperBase helper;
  const std::vector<uint8_t> columns = {1, 2, 3, 4, 5, 6, 7, 8};
  PrinterBuffer out, rejected;
  EXPECT_TRUE(helper.DefineDownloadedImage(out, 1, 1, columns.data(), columns.size()));
  EXPECT_EQ(ToHex(Content(out)), ToHex(Hex("1D 2A 01 01 01 02 03 04 05 06 07 08")));
  EXPECT_FALSE(helper.DefineDownloadedImage(rejected, 0, 1, columns.data(), columns.size()));
  EXPECT_FALSE(helper.DefineDownloadedImage(rejected, 1, 0, columns.data(), columns.size()));
  EXPECT_FALSE(helper.DefineDownloadedImage(rejected, 1, 1, columns.data(), 7));
  EXPECT_FALSE(helper.DefineDownloadedImage(rejected, 1, 2, columns.data(), columns.size()));
  // At most 48 units of 8 dots high, and 1536 units in all.
  const std::vector<uint8_t> tall(49 * 8, 0x0F), large(32 * 49 * 8, 0x0F), most(32 * 48 * 8, 0x0F);
  EXPECT_FALSE(helper.DefineDownloadedImage(rejected, 1, 49, tall.data(), tall.size()));
  EXPECT_FALSE(helper.DefineDownloadedImage(rejected, 32, 49, large.data(), large.size()));
  EXPECT_FALSE(helper.DefineDownloadedImage(rejected, 33, 47, large.data(), 33 * 47 * 8));
  EXPECT_TRUE(rejected.isEmpty());
  PrinterBuffer largest;
  EXPECT_TRUE(helper.DefineDownloadedImage(largest, 32, 48, most.data(), most.size()));

  ExpectCases(helper, {
      ACCEPTS("1D 2F 00", h.PrintDownloadedImage(out, 0)),
      ACCEPTS("1D 2F 33", h.PrintDownloadedImage(out, '3')),
      REJECTS(h.PrintDownloadedImage(out, 4)),
  });
}

}  // namespace
