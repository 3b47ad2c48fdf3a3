#include "so/format/SymbolSizing.h"

#include <zint.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

namespace QEL {
namespace Printer {

namespace {

// PDF417 at level 1, QR Code at level L: the levels the printer is told too.
constexpr int kErrorCorrection = 1;

// A PDF417 row is 17 modules per data column plus 69 for the start and stop
// patterns and the two row indicators.
constexpr int64_t kPdf417ModulesPerColumn = 17;
constexpr int64_t kPdf417RowOverhead = 69;
constexpr int64_t kPdf417MaxColumns = 30;
constexpr int64_t kPdf417MaxRows = 90;
// Dots of the box kept clear around the symbol, per direction.
constexpr int64_t kClearDots = 14;

struct SymbolSize {
  int64_t rows = 0;
  int64_t width = 0;  // in modules
};

struct SymbolDeleter {
  void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

// Encodes the data with libzint only to learn the symbol's size. A warning
// (a column count libzint had to raise, say) still gives a usable size.
bool MeasureSymbol(int symbology, int columns, const uint8_t* data, size_t length,
                   SymbolSize* size, std::string* encoderText) {
  std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
  if (!symbol) {
    if (encoderText != nullptr) *encoderText = "libzint could not allocate a symbol";
    return false;
  }
  symbol->symbology = symbology;
  symbol->option_1 = kErrorCorrection;
  symbol->option_2 = columns;
  symbol->input_mode = DATA_MODE;  // the printer's bytes, taken as they are
  static const unsigned char kNoData[1] = {0};
  const unsigned char* source = data != nullptr ? data : kNoData;
  // libzint refuses anything this long itself, with its own message.
  const int sourceLength =
      data != nullptr
          ? static_cast<int>(std::min<size_t>(length, std::numeric_limits<int>::max()))
          : 0;
  if (ZBarcode_Encode(symbol.get(), source, sourceLength) >= ZINT_ERROR) {
    if (encoderText != nullptr) {
      encoderText->assign(symbol->errtxt, strnlen(symbol->errtxt, sizeof symbol->errtxt));
    }
    return false;
  }
  size->rows = symbol->rows;
  size->width = symbol->width;
  return true;
}

// Sizes are checked, never trusted: a division by no rows or no modules
// gives 0, which every caller treats as "does not fit".
int64_t Quotient(int64_t a, int64_t b) { return b > 0 ? a / b : 0; }
int64_t CeilQuotient(int64_t a, int64_t b) { return b > 0 && a > 0 ? (a + b - 1) / b : 0; }

int32_t Saturate(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

// The PDF417 figures for n data columns in the box left after the clear
// margins. cells is the symbol's data cells (rows x columns) as libzint laid
// it out first.
struct Pdf417Box {
  int64_t width;
  int64_t height;
  int64_t cells;

  int64_t RowModules(int64_t n) const {
    return kPdf417ModulesPerColumn * n + kPdf417RowOverhead;
  }
  int64_t ModuleWidth(int64_t n) const { return Quotient(width, RowModules(n)); }
  // Row height as a multiple of module width g: the rows at n columns share
  // the height.
  int64_t RowHeight(int64_t n, int64_t g) const {
    return Quotient(Quotient(height, CeilQuotient(cells, n)), g);
  }
};

}  // namespace

SymbolFitResult FitPdf417(const uint8_t* data, size_t length, int32_t heightDots,
                          int32_t widthDots, Pdf417Fit* fit, std::string* encoderText) {
  if (encoderText != nullptr) encoderText->clear();
  // The first try: as many columns as the width suggests, but never more
  // than three.
  int64_t n = (static_cast<int64_t>(widthDots) / 2 - 83) / kPdf417ModulesPerColumn;
  if (n > 2) n = 3;
  SymbolSize size;
  // libzint reads 0 columns as "choose yourself", and treats fewer the same.
  if (!MeasureSymbol(BARCODE_PDF417, static_cast<int>(std::max<int64_t>(n, 0)), data, length,
                     &size, encoderText)) {
    return SymbolFitResult::kEncoderFailed;
  }
  const int64_t usedColumns = std::max<int64_t>(
      0, (size.width - kPdf417RowOverhead) / kPdf417ModulesPerColumn);
  const Pdf417Box box{static_cast<int64_t>(widthDots) - kClearDots,
                      static_cast<int64_t>(heightDots) - kClearDots, size.rows * usedColumns};
  n = std::max<int64_t>(n, 1);
  auto moduleWidth = [&box](int64_t columns) {
    return std::max<int64_t>(box.ModuleWidth(columns), 1);
  };
  int64_t g = moduleWidth(n);
  int64_t h = box.RowHeight(n, g);

  bool encodeAgain = false;
  if (g < 2) {
    // Too wide: give up columns while the rows stay at least 2 high.
    while (h >= 2 && n > 0 && g < 2) {
      --n;
      g = moduleWidth(n);
      h = box.RowHeight(n, g);
    }
    if (h <= 0 || n <= 0) return SymbolFitResult::kDoesNotFit;
    if (g <= 1 || n <= 2) return SymbolFitResult::kDoesNotFit;
    encodeAgain = true;
  } else if (h <= 0) {
    // Too tall: add columns (fewer rows) while the modules stay at least 3
    // dots wide and the row takes at most 30 columns.
    while (g >= 3 && n <= kPdf417MaxColumns && h <= 0) {
      ++n;
      g = moduleWidth(n);
      h = box.RowHeight(n, g);
    }
    if (g <= 1 || n > kPdf417MaxColumns) return SymbolFitResult::kDoesNotFit;
    if (n <= 2) return SymbolFitResult::kDoesNotFit;
    encodeAgain = true;
  }
  // The symbol's width in modules is that of the column count chosen.
  if (encodeAgain && !MeasureSymbol(BARCODE_PDF417, static_cast<int>(n), data, length, &size,
                                    encoderText)) {
    return SymbolFitResult::kEncoderFailed;
  }

  const int64_t module = box.ModuleWidth(n);
  const int64_t rowHeight = box.RowHeight(n, module);
  if (module < 2 || rowHeight <= 0) return SymbolFitResult::kDoesNotFit;
  // Data that needs more than 90 rows at n columns made libzint widen its
  // symbol; the printer, told n columns, would refuse it, and the width
  // placed would not be the width printed.
  if (CeilQuotient(box.cells, n) > kPdf417MaxRows ||
      size.width * module > static_cast<int64_t>(widthDots)) {
    return SymbolFitResult::kDoesNotFit;
  }
  if (fit != nullptr) {
    fit->columns = Saturate(n);
    fit->moduleWidth = Saturate(module);
    fit->rowHeight = Saturate(rowHeight);
    fit->totalWidth = Saturate(size.width * module);
  }
  return SymbolFitResult::kFitted;
}

SymbolFitResult FitQr(const uint8_t* data, size_t length, int32_t heightDots, QrFit* fit,
                      std::string* encoderText) {
  if (encoderText != nullptr) encoderText->clear();
  SymbolSize size;
  // Version 0: libzint picks the smallest symbol that holds the data.
  if (!MeasureSymbol(BARCODE_QRCODE, 0, data, length, &size, encoderText)) {
    return SymbolFitResult::kEncoderFailed;
  }
  if (heightDots < 0 || size.width <= 0) return SymbolFitResult::kDoesNotFit;
  const int64_t module = Quotient(heightDots, size.width);
  if (fit != nullptr) {
    fit->moduleSize = Saturate(module);
    fit->totalWidth = Saturate(size.width * module);
    fit->symbolWidth = Saturate(size.width);
  }
  return SymbolFitResult::kFitted;
}

}  // namespace Printer
}  // namespace QEL
