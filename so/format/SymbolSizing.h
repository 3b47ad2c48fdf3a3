#pragma once
// Sizes the printer's own PDF417 and QR Code symbols to a box in dots. The
// printer draws the symbol from the data and a few size parameters; libzint
// encodes the same data once only to learn how many rows, columns and modules
// the symbol has. Nothing libzint renders is used.
#include <cstddef>
#include <cstdint>
#include <string>

namespace QEL {
namespace Printer {

// Parameters of the printer's PDF417 commands: data columns, module width in
// dots, row height as a multiple of the module width, and the symbol's width
// in dots (for placement).
struct Pdf417Fit {
  int32_t columns = 0;
  int32_t moduleWidth = 0;
  int32_t rowHeight = 0;
  int32_t totalWidth = 0;
};

// QR Code: module size in dots, symbol width in dots, and in modules.
struct QrFit {
  int32_t moduleSize = 0;
  int32_t totalWidth = 0;
  int32_t symbolWidth = 0;
};

enum class SymbolFitResult {
  kFitted,
  kDoesNotFit,     // no size of the printer's parameters puts the symbol in the box
  kEncoderFailed,  // libzint refused the data; its message is in encoderText
};

// PDF417 at error-correction level 1 in a box of widthDots x heightDots. The
// symbol keeps 14 dots of the box clear in each direction. *fit is written
// only when the result is kFitted; *encoderText (either may be null) is
// cleared, and receives libzint's message on kEncoderFailed.
SymbolFitResult FitPdf417(const uint8_t* data, size_t length, int32_t heightDots,
                          int32_t widthDots, Pdf417Fit* fit, std::string* encoderText);

// QR Code at error-correction level L whose height is at most heightDots. The
// module size is not limited here: one outside what the printer accepts
// (1..16) makes the printer keep its own. A negative height does not fit.
SymbolFitResult FitQr(const uint8_t* data, size_t length, int32_t heightDots, QrFit* fit,
                      std::string* encoderText);

}  // namespace Printer
}  // namespace QEL
