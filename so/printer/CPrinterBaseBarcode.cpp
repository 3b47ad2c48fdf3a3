// Barcodes: the printer draws every symbol itself (GS k, GS ( k). The
// service only works out the parameters that make a symbol fit the size the
// application asked for, and places the symbol for the current mode.
#include <string>

#include "so/format/BarcodeDataRules.h"
#include "so/format/BarcodeSequence.h"
#include "so/format/Code128Conversion.h"
#include "so/format/SymbolSizing.h"
#include "so/printer/CPrinterBase.h"
#include "so/printer/PropertyIndex.h"

namespace QEL {
namespace Printer {

namespace {

constexpr int32_t kCapRecBarCode = 8516;
constexpr int32_t kJustifyAbsolute = 255;

enum Symbology : int32_t {
  kUpcA = 101,
  kUpcE = 102,
  kEan8 = 103,
  kEan13 = 104,
  kItf = 106,
  kCodabar = 107,
  kCode39 = 108,
  kCode93 = 109,
  kCode128 = 110,
  kEan128 = 120,
  kCode128Parsed = 123,
  kPdf417 = 201,
  kQrCode = 204,
  kQrModel2 = 504,
  kQrModel2Alt = 505,
};

bool PrintBarCodeAccepts(int32_t symbology) {
  switch (symbology) {
    case kUpcA: case kUpcE: case kEan8: case kEan13: case kItf: case kCodabar:
    case kCode39: case kCode93: case kCode128: case kEan128: case kCode128Parsed:
    case kPdf417: case kQrCode: case kQrModel2: case kQrModel2Alt:
      return true;
    default:
      return false;
  }
}

bool IsOposAlignment(int32_t alignment) { return alignment >= -3 && alignment <= -1; }

bool IsTextPosition(int32_t position) { return position >= -13 && position <= -11; }

// QR model 1 holds less; larger data needs model 2.
constexpr size_t kQrModel1Limit = 250;

std::u16string Widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

long CPrinterBase::PrintBarCode(int32_t /*station*/, const std::u16string& data,
                                int32_t symbology, int32_t height, int32_t width,
                                int32_t alignment, int32_t textPosition, int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  symbolEncoderText_.clear();
  const bool sideways = modes_.Sideways();
  if (!modes_.transaction && !modes_.pageMode && !sideways && props_.asyncMode == 0 &&
      !IsIdle()) {
    rc = SetRC(OPOS_E_BUSY);
    return 0;
  }
  if (cmdHelper_ == nullptr || props_.Cap(kCapRecBarCode) == 0 || width < 0 || height < 0) {
    rc = SetRC(OPOS_E_ILLEGAL);
    return 0;
  }
  const int32_t tallest = sideways ? traits_.pageAreaWidth : traits_.pageAreaHeight;
  const int32_t widest = sideways ? traits_.pageAreaHeight : traits_.pageAreaWidth;
  if (MapNumber2DOT_H(height) > tallest ||
      (!IsOposAlignment(alignment) &&
       (alignment <= 0 || MapNumber2DOT_H(alignment) >= widest)) ||
      !IsTextPosition(textPosition)) {
    rc = SetRC(OPOS_E_ILLEGAL);
    return 0;
  }
  if (!ReadyToPlaceObject(&rc)) return 0;
  PrinterBuffer& converted = convertedBuffer_;
  converted.discard();
  if (!ConvertPrintData(data, converted, nullptr)) {
    rc = SetRC(OPOS_E_FAILURE);
    return 0;
  }
  if (converted.isEmpty()) {
    rc = SetRC(OPOS_E_ILLEGAL);
    return 0;
  }
  if (!PrintBarCodeAccepts(symbology)) {
    rc = SetRC(OPOS_SUCCESS);
    return 0;
  }

  symbolBuffer_.discard();
  const int32_t formatted = FormatBarcode(symbolBuffer_, converted.data(), converted.size(),
                                          symbology, height, width, alignment, textPosition);
  if (formatted != OPOS_SUCCESS) {
    // A receipt that silently lacks its code is worse than a refusal.
    rc = SetRC(formatted);
    return 0;
  }
  if (IsDirectSend()) {
    jobBuffer_.discard();
    InitOutBufferWithPMControl(jobBuffer_, 3);
    jobBuffer_.append(symbolBuffer_);
    rc = FinishJob(jobBuffer_);
    return 0;
  }
  PrinterBuffer* target = &unrotatedObjectBuffer_;
  if (!sideways || modes_.barcodeRotation) {
    target = CurrentPrinterBuffer();
    if (modes_.pageMode) {
      const int32_t vertical = props_.pageModeVerticalPosition;
      cmdHelper_->SetAbsoluteVertical(*target, sideways ? vertical : H2V(vertical));
    } else {
      set_printerSettings(*target);
    }
  }
  target->append(symbolBuffer_);
  rc = SetRC(OPOS_SUCCESS);
  return 0;
}

int32_t CPrinterBase::FormatBarcode(PrinterBuffer& out, const uint8_t* data, size_t length,
                                    int32_t symbology, int32_t height, int32_t width,
                                    int32_t alignment, int32_t textPosition) {
  if (cmdHelper_ == nullptr) return OPOS_E_FAILURE;
  CCmdHelperBase& helper = *cmdHelper_;
  // The conversions read only so much; a code that silently lost the rest
  // of its data would scan as something else.
  if ((symbology == kCode128 || symbology == kCode128Parsed) && length > kCode128InputLimit) {
    return OPOS_E_ILLEGAL;
  }
  std::string bytes(reinterpret_cast<const char*>(data), length);
  if (symbology == kCode128 && !ConvertCode128(bytes)) return OPOS_E_ILLEGAL;
  if (symbology == kCode128Parsed && !ConvertParsedCode128(bytes)) return OPOS_E_ILLEGAL;
  const auto* symbolData = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t symbolLength = bytes.size();

  const int32_t heightDots = MapNumber2DOT_H(height);
  const int32_t widthDots = static_cast<uint16_t>(MapNumber2DOT_H(width));

  PrinterBuffer& symbol = symbolCommands_;
  symbol.discard();
  int32_t totalWidth = 0;
  std::string encoderText;
  auto refuse = [&](SymbolFitResult fit) {
    if (fit == SymbolFitResult::kEncoderFailed) {
      symbolEncoderText_ = Widen(encoderText);
      return OPOS_E_FAILURE;
    }
    return OPOS_E_ILLEGAL;
  };

  if (symbology == kPdf417) {
    Pdf417Fit fit;
    const SymbolFitResult found =
        FitPdf417(symbolData, symbolLength, heightDots, widthDots, &fit, &encoderText);
    if (found != SymbolFitResult::kFitted) return refuse(found);
    helper.Pdf417ModuleWidth(symbol, fit.moduleWidth);
    helper.Pdf417Columns(symbol, fit.columns);
    helper.Pdf417RowHeight(symbol, fit.rowHeight);
    helper.Pdf417ErrorLevel(symbol, '1', 1);
    // Without its data the print command would print whatever symbol the
    // printer stored last.
    if (!helper.Pdf417Store(symbol, symbolData, symbolLength)) return OPOS_E_ILLEGAL;
    helper.Pdf417Print(symbol);
    totalWidth = fit.totalWidth;
  } else if (symbology == kQrCode || symbology == kQrModel2 || symbology == kQrModel2Alt) {
    QrFit fit;
    const SymbolFitResult found = FitQr(symbolData, symbolLength, heightDots, &fit, &encoderText);
    if (found != SymbolFitResult::kFitted) return refuse(found);
    const bool model1 = symbology == kQrCode && symbolLength <= kQrModel1Limit;
    helper.QrModel(symbol, model1 ? '1' : '2');
    helper.QrModuleSize(symbol, fit.moduleSize);
    helper.QrErrorLevel(symbol, 48);
    if (!helper.QrStore(symbol, symbolData, symbolLength)) return OPOS_E_ILLEGAL;
    helper.QrPrint(symbol);
    totalWidth = fit.totalWidth;
  } else {
    int32_t moduleWidth = 0;
    if (width < 7) {
      moduleWidth = width;
      totalWidth = helper.FitBarcodeModuleWidth(symbology, width, symbolData, symbolLength).totalWidth;
    } else {
      const BarcodeModuleFit fit =
          helper.FitBarcodeModuleWidth(symbology, widthDots, symbolData, symbolLength);
      moduleWidth = fit.moduleWidth;
      totalWidth = fit.totalWidth;
    }
    if (IsInRotate90Mode()) {
      totalWidth = static_cast<int32_t>(totalWidth * traits_.horizontalDotPitch /
                                        traits_.verticalDotPitch);
    }
    if (!BarcodeDataFits(symbology, symbolData, symbolLength) ||
        !helper.SetupAndPrintBarcode(symbol, symbology, heightDots, moduleWidth, textPosition,
                                     static_cast<uint8_t>(currentFont_), symbolData,
                                     symbolLength)) {
      return OPOS_E_ILLEGAL;
    }
  }

  int32_t justification = kJustifyAbsolute;
  int32_t offset = 0;
  if (IsOposAlignment(alignment) || alignment < 1) {
    justification = helper.AlignmentForBarcode(alignment);
  } else {
    offset = MapNumber2DOT_H(alignment);
  }
  return FormatObject(out, symbol, totalWidth, heightDots, justification, offset,
                      modes_.barcodeRotation);
}

SequenceOutcome CPrinterBase::PrintBarcodeSequence(PrinterBuffer& out, const uint8_t* parameters,
                                                   size_t length, bool validateOnly) {
  BarcodeSequence p;
  if (!ParseBarcodeSequence(parameters, length, &p)) return SequenceOutcome::kUnusable;
  if (!PrintBarCodeAccepts(p.symbology)) return SequenceOutcome::kDone;
  // A code that cannot be printed is left out and reported, as PrintBarCode
  // reports it; validating measures it the same way.
  PrinterBuffer& target = validateOnly ? symbolBuffer_ : out;
  if (validateOnly) symbolBuffer_.discard();
  const int32_t formatted = p.length == 0 ? OPOS_E_ILLEGAL
                                          : FormatBarcode(target, p.data, p.length, p.symbology,
                                                          p.height, p.width, p.alignment,
                                                          p.textPosition);
  return formatted == OPOS_SUCCESS ? SequenceOutcome::kDone : SequenceOutcome::kValueReplaced;
}

}  // namespace Printer
}  // namespace QEL
