#pragma once
// The module width that makes a one-dimensional barcode fit a given width in
// dots, and the width the barcode then has. The printer draws the bars; the
// service only chooses GS w.
#include <cstddef>
#include <cstdint>

namespace QEL {
namespace Printer {

struct BarcodeModuleFit {
  int32_t moduleWidth = 0;
  int32_t totalWidth = 0;
};

// width below 7 is the module width itself. Otherwise the widest module
// width 2..6 whose barcode is not wider than width; when even 2 is too wide
// the module width is 2 and the total is reported as width. Symbologies whose
// width is not known here keep width as the total.
BarcodeModuleFit FitBarcodeModuleWidth(int32_t symbology, int32_t width, const uint8_t* data,
                                       size_t length);

// Width in dots of a barcode of symbology with the given data at module width
// m; negative when the symbology's width is not known.
int64_t BarcodeWidthForModule(int32_t symbology, int32_t m, const uint8_t* data, size_t length);

}  // namespace Printer
}  // namespace QEL
