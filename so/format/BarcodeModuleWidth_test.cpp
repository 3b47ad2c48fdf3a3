#include "so/format/BarcodeModuleWidth.h"

#include <gtest/gtest.h>

#include <string>

using namespace QEL::Printer;

namespace {

struct FitRow {
  int32_t symbology;
  std::string data;
  int32_t width;
  int32_t module;
  int32_t total;
};

TEST(BarcodeModuleWidth, Fitting) {
  const FitRow rows[] = {
      // A width below 7 is the module width itself.
      {104, "490123456789", 3, 3, 285},
      {101, "01234567890", 1, 1, 95},
      // The widest module 2..6 that fits.
      {101, "01234567890", 400, 4, 380},
      {101, "01234567890", 570, 6, 570},
      {101, "01234567890", 1000, 6, 570},
      {101, "01234567890", 569, 5, 475},
      // Even module 2 too wide: 2, and the width as given.
      {101, "01234567890", 150, 2, 150},
      {102, "0123456", 200, 3, 159},
      {103, "0123456", 134, 2, 134},
      // Interleaved 2 of 5, 4 digits: w + 4 (3m + 2w) + 6m.
      {106, "1234", 100, 2, 81},
      {106, "1234", 126, 3, 126},
      {106, "1234", 230, 5, 207},
      {106, "1234", 1, 1, 45},
      // Codabar: letters are 11 modules, digits 10, plus 11 and the 10 stop.
      {107, "A123B", 3, 3, 219},
      {107, "A123B", 200, 2, 146},
      {107, "1", 2, 2, 42},
      {108, "1234", 300, 3, 231},
      {109, "1234", 5, 5, 375},
      {110, "1234", 400, 5, 395},
      {123, "1234", 400, 5, 395},
      // Unknown widths: nothing to fit.
      {120, "1234", 3, 3, 3},
      {120, "1234", 400, 2, 400},
      {204, "1234", 400, 2, 400},
  };
  for (const FitRow& r : rows) {
    const BarcodeModuleFit fit =
        FitBarcodeModuleWidth(r.symbology, r.width,
                              reinterpret_cast<const uint8_t*>(r.data.data()), r.data.size());
    EXPECT_EQ(fit.moduleWidth, r.module) << r.symbology << " " << r.width;
    EXPECT_EQ(fit.totalWidth, r.total) << r.symbology << " " << r.width;
  }
}

TEST(BarcodeModuleWidth, FittedWidthNeverExceedsTheRequest) {
  const std::string data = "12345678901234567890";
  for (int32_t symbology : {101, 102, 103, 104, 106, 107, 108, 109, 110, 123}) {
    for (int32_t width = 7; width <= 2000; width += 13) {
      const BarcodeModuleFit fit = FitBarcodeModuleWidth(
          symbology, width, reinterpret_cast<const uint8_t*>(data.data()), data.size());
      ASSERT_GE(fit.moduleWidth, 2);
      ASSERT_LE(fit.moduleWidth, 6);
      ASSERT_LE(fit.totalWidth, width) << symbology << " " << width;
    }
  }
}

TEST(BarcodeModuleWidth, NoDataCountsNoCharacters) {
  EXPECT_EQ(BarcodeWidthForModule(108, 2, nullptr, 10), 50);
  EXPECT_EQ(BarcodeWidthForModule(120, 2, nullptr, 0), -1);
}

}  // namespace
