#include "so/format/BarcodeModuleWidth.h"

#include <limits>

namespace QEL {
namespace Printer {

namespace {

constexpr int32_t kSmallestFitted = 2;
constexpr int32_t kWidestFitted = 6;
constexpr int32_t kModuleWidthLimit = 7;  // below this a width is a module width

// Interleaved 2 of 5: the printer's wide bar is 2.5 narrow bars, rounded up
// (5, 8, 10, 13, 15 for modules 2 to 6).
int64_t WideBar(int64_t m) { return (5 * m + 1) / 2; }

int32_t ClampWidth(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

}  // namespace

int64_t BarcodeWidthForModule(int32_t symbology, int32_t module, const uint8_t* data,
                              size_t length) {
  const int64_t m = module;
  const int64_t n = static_cast<int64_t>(data != nullptr ? length : 0);
  switch (symbology) {
    case 101:  // UPC-A
    case 104:  // EAN-13
      return 95 * m;
    case 102: return 53 * m;  // UPC-E
    case 103: return 67 * m;  // EAN-8
    case 106: {               // Interleaved 2 of 5
      const int64_t w = WideBar(m);
      return w + n * (3 * m + 2 * w) + 6 * m;
    }
    case 107: {  // Codabar: start character, data, and the stop when there is more than one byte
      int64_t total = 11 * m;
      for (int64_t i = 0; i < n; ++i) total += data[i] > '9' ? 11 * m : 10 * m;
      if (n > 1) total += 10 * m;
      return total;
    }
    case 108: return m * (13 * n + 25);  // Code 39
    case 109: return m * (9 * n + 39);   // Code 93
    case 110:                            // Code 128
    case 123:                            // parsed Code 128
      return m * (11 * n + 35);
    default: return -1;
  }
}

BarcodeModuleFit FitBarcodeModuleWidth(int32_t symbology, int32_t width, const uint8_t* data,
                                       size_t length) {
  BarcodeModuleFit fit;
  if (BarcodeWidthForModule(symbology, kSmallestFitted, data, length) < 0) {
    fit.moduleWidth = width < kModuleWidthLimit ? width : kSmallestFitted;
    fit.totalWidth = width;
    return fit;
  }
  if (width < kModuleWidthLimit) {
    fit.moduleWidth = width;
    fit.totalWidth = ClampWidth(BarcodeWidthForModule(symbology, width, data, length));
    return fit;
  }
  fit.moduleWidth = kSmallestFitted;
  fit.totalWidth = width;
  for (int32_t m = kSmallestFitted; m <= kWidestFitted; ++m) {
    const int64_t total = BarcodeWidthForModule(symbology, m, data, length);
    if (total > width) break;
    fit.moduleWidth = m;
    fit.totalWidth = ClampWidth(total);
  }
  return fit;
}

}  // namespace Printer
}  // namespace QEL
