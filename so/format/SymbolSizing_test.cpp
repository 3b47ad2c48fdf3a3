#include "so/format/SymbolSizing.h"

#include <gtest/gtest.h>
#include <zint.h>

#include <cstdint>
#include <limits>
#include <string>

using namespace QEL::Printer;

namespace {

const std::string kUrl = "https://receipts.example.com/r/2024/05/20/0042-7781?c=9F3A2B";

// 300 bytes of a receipt as a QR Code would carry it.
std::string ReceiptData() {
  std::string text;
  for (int line = 0; text.size() < 300; ++line) {
    text += "ITEM " + std::to_string(1000 + line) + " COFFEE BEANS 250G  1 x 7.95 EUR\n";
  }
  text.resize(300);
  return text;
}

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

// libzint's own answer for the data, encoded the way the printer will lay it
// out: PDF417 with the given data columns, or the smallest QR Code.
struct Encoded {
  int result;
  int rows;
  int width;  // in modules
  std::string text;
};

Encoded EncodeDirectly(int symbology, int columns, const std::string& data) {
  zint_symbol* symbol = ZBarcode_Create();
  symbol->symbology = symbology;
  symbol->option_1 = 1;
  symbol->option_2 = columns;
  symbol->input_mode = DATA_MODE;
  const int rc = ZBarcode_Encode(symbol, Bytes(data), static_cast<int>(data.size()));
  const Encoded encoded{rc, symbol->rows, symbol->width, symbol->errtxt};
  ZBarcode_Delete(symbol);
  return encoded;
}

// What a fitted PDF417 must satisfy, checked against libzint's symbol for the
// chosen columns: it fits the box less the 14-dot margins, and a module one
// dot wider, or rows one module higher, would not.
void ExpectPdf417Fits(const Pdf417Fit& fit, const std::string& data, int64_t heightDots,
                      int64_t widthDots) {
  const Encoded symbol = EncodeDirectly(BARCODE_PDF417, fit.columns, data);
  ASSERT_LT(symbol.result, ZINT_ERROR) << symbol.text;
  EXPECT_EQ(symbol.width, 17 * fit.columns + 69) << "libzint kept the columns";
  EXPECT_GE(fit.moduleWidth, 2);
  EXPECT_GE(fit.rowHeight, 1);
  EXPECT_EQ(fit.totalWidth, int64_t{symbol.width} * fit.moduleWidth);
  EXPECT_LE(fit.totalWidth, widthDots - 14);
  EXPECT_GT(int64_t{symbol.width} * (fit.moduleWidth + 1), widthDots - 14);
  const int64_t rowDots = int64_t{fit.rowHeight} * fit.moduleWidth;
  EXPECT_LE(symbol.rows * rowDots, heightDots - 14);
  EXPECT_GT(symbol.rows * (rowDots + fit.moduleWidth), heightDots - 14);
}

TEST(SymbolSizing, Pdf417OfAUrlFillsItsBox) {
  ASSERT_EQ(kUrl.size(), 60u);
  Pdf417Fit fit;
  std::string text = "stale";
  ASSERT_EQ(FitPdf417(Bytes(kUrl), kUrl.size(), 200, 400, &fit, &text), SymbolFitResult::kFitted);
  EXPECT_EQ(text, "");
  // A 400-dot width would take six columns; the first try takes at most three.
  EXPECT_EQ(fit.columns, 3);
  ExpectPdf417Fits(fit, kUrl, 200, 400);
}

TEST(SymbolSizing, Pdf417TooTallGainsColumns) {
  // Three columns leave rows under one module high: columns are added until
  // the rows fit.
  Pdf417Fit fit;
  ASSERT_EQ(FitPdf417(Bytes(kUrl), kUrl.size(), 114, 1200, &fit, nullptr),
            SymbolFitResult::kFitted);
  EXPECT_GT(fit.columns, 3);
  ExpectPdf417Fits(fit, kUrl, 114, 1200);
  // With one column fewer, rows of a single module would not have fitted.
  const Encoded fewer = EncodeDirectly(BARCODE_PDF417, fit.columns - 1, kUrl);
  const int64_t fewerModule = (1200 - 14) / (17 * (fit.columns - 1) + 69);
  EXPECT_GT(fewer.rows * fewerModule, 114 - 14);
}

TEST(SymbolSizing, Pdf417AtTheLargestSizesStaysInRange) {
  Pdf417Fit fit;
  const int32_t big = std::numeric_limits<int32_t>::max();
  ASSERT_EQ(FitPdf417(Bytes(kUrl), kUrl.size(), big, big, &fit, nullptr),
            SymbolFitResult::kFitted);
  ExpectPdf417Fits(fit, kUrl, big, big);
}

TEST(SymbolSizing, Pdf417ThatCannotFitIsRefusedWithoutEncoderText) {
  const int32_t lowest = std::numeric_limits<int32_t>::min();
  const int32_t highest = std::numeric_limits<int32_t>::max();
  const struct {
    int32_t height;
    int32_t width;
  } boxes[] = {
      {0, 0},        {14, 14},         {200, 180},          // too narrow for one column
      {30, 400},     {0, 400},         {-5, 400},           // too low even with more columns
      {200, -5},     {lowest, lowest}, {highest, lowest},   // no width at all
      {lowest, highest},
  };
  for (const auto& box : boxes) {
    Pdf417Fit fit{-1, -1, -1, -1};
    std::string text = "stale";
    EXPECT_EQ(FitPdf417(Bytes(kUrl), kUrl.size(), box.height, box.width, &fit, &text),
              SymbolFitResult::kDoesNotFit)
        << box.height << " x " << box.width;
    EXPECT_EQ(text, "");
    EXPECT_EQ(fit.columns, -1) << "left alone";
  }
}

TEST(SymbolSizing, QrOfAReceiptFillsTheHeight) {
  const std::string data = ReceiptData();
  ASSERT_EQ(data.size(), 300u);
  const int width = EncodeDirectly(BARCODE_QRCODE, 0, data).width;
  for (int32_t height : {400, 250, 150}) {
    QrFit fit;
    std::string text = "stale";
    ASSERT_EQ(FitQr(Bytes(data), data.size(), height, &fit, &text), SymbolFitResult::kFitted);
    EXPECT_EQ(text, "");
    EXPECT_EQ(fit.symbolWidth, width);
    EXPECT_LE(fit.moduleSize * width, height);
    EXPECT_GT((fit.moduleSize + 1) * width, height);
    EXPECT_EQ(fit.totalWidth, fit.moduleSize * width);
  }
}

TEST(SymbolSizing, QrBelowOneModuleLeavesTheModuleToThePrinter) {
  const std::string data = ReceiptData();
  QrFit fit;
  ASSERT_EQ(FitQr(Bytes(data), data.size(), 10, &fit, nullptr), SymbolFitResult::kFitted);
  EXPECT_EQ(fit.moduleSize, 0);
  EXPECT_EQ(fit.totalWidth, 0);
  EXPECT_GT(fit.symbolWidth, 10);

  QrFit untouched{-1, -1, -1};
  EXPECT_EQ(FitQr(Bytes(data), data.size(), -1, &untouched, nullptr),
            SymbolFitResult::kDoesNotFit);
  EXPECT_EQ(untouched.moduleSize, -1);
}

TEST(SymbolSizing, EncoderRefusalsCarryLibzintsText) {
  const std::string tooLongForQr(3000, 'x');
  const std::string tooLongForPdf417(2000, '\x81');
  const std::string empty;
  const struct {
    const char* what;
    int symbology;
    const std::string& data;
  } cases[] = {
      {"empty QR", BARCODE_QRCODE, empty},
      {"QR beyond version 40", BARCODE_QRCODE, tooLongForQr},
      {"empty PDF417", BARCODE_PDF417, empty},
      {"PDF417 beyond 928 codewords", BARCODE_PDF417, tooLongForPdf417},
  };
  for (const auto& c : cases) {
    const Encoded direct = EncodeDirectly(c.symbology, c.symbology == BARCODE_PDF417 ? 3 : 0, c.data);
    ASSERT_GE(direct.result, ZINT_ERROR) << c.what;
    ASSERT_NE(direct.text, "") << c.what;
    std::string text;
    SymbolFitResult result;
    if (c.symbology == BARCODE_QRCODE) {
      QrFit fit{-1, -1, -1};
      result = FitQr(Bytes(c.data), c.data.size(), 400, &fit, &text);
      EXPECT_EQ(fit.moduleSize, -1) << c.what;
    } else {
      Pdf417Fit fit{-1, -1, -1, -1};
      result = FitPdf417(Bytes(c.data), c.data.size(), 600, 560, &fit, &text);
      EXPECT_EQ(fit.columns, -1) << c.what;
    }
    EXPECT_EQ(result, SymbolFitResult::kEncoderFailed) << c.what;
    EXPECT_EQ(text, direct.text) << c.what;
  }
  // No data at all is no data.
  std::string text;
  EXPECT_EQ(FitQr(nullptr, 5, 400, nullptr, &text), SymbolFitResult::kEncoderFailed);
  EXPECT_EQ(text, EncodeDirectly(BARCODE_QRCODE, 0, empty).text);
  EXPECT_EQ(FitPdf417(nullptr, 5, 600, 560, nullptr, nullptr), SymbolFitResult::kEncoderFailed);
}

TEST(SymbolSizing, Pdf417BeyondNinetyRowsDoesNotFit) {
  // 600 bytes need far more than 90 rows of three columns: libzint widens the
  // symbol and only warns, which is no encoder failure. A printer told three
  // columns could not print it, so it does not fit.
  const std::string data(600, 'A');
  const Encoded widened = EncodeDirectly(BARCODE_PDF417, 3, data);
  ASSERT_LT(widened.result, ZINT_ERROR);
  ASSERT_GT(widened.width, 17 * 3 + 69) << "libzint raised the columns";
  std::string text = "stale";
  Pdf417Fit fit;
  EXPECT_EQ(FitPdf417(Bytes(data), data.size(), 2000, 2000, &fit, &text),
            SymbolFitResult::kDoesNotFit);
  EXPECT_EQ(text, "");
}

}  // namespace
