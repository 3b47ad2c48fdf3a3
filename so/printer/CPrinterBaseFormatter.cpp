// The core's side of the escape-sequence formatter: what the formatter may
// know of this printer, and the print-mode helpers the print methods share
// with it. The walk itself is so/format/EscapeSequenceFormatter.
#include <iterator>

#include "so/format/EscapeSequenceFormatter.h"
#include "so/printer/CPrinterBase.h"
#include "so/printer/PropertyIndex.h"

namespace QEL {
namespace Printer {

class CPrinterBase::FormatterHost final : public IFormatterHost {
 public:
  explicit FormatterHost(CPrinterBase& core) : core_(core) {}

  CCmdHelperBase& CmdHelper() override { return *core_.cmdHelper_; }

  FormatSettings Settings() const override {
    FormatSettings s;
    s.units.mapMode = core_.props_.mapMode;
    s.units.horizontalDotPitch = core_.traits_.horizontalDotPitch;
    s.units.verticalDotPitch = core_.traits_.verticalDotPitch;
    s.font = {core_.charWidth_, core_.charHeight_};
    s.lineSpacing = core_.props_.recLineSpacing;
    s.lineWidth = core_.props_.recLineWidth;
    s.fontCount = core_.traits_.fontCount;
    s.defaultFont = core_.traits_.defaultFont;
    s.cutterDistance = core_.traits_.cutterDistance;
    s.hasCutter = core_.props_.Cap(Pidx::CapRecPapercut) != 0;
    s.pageMode = core_.modes_.pageMode;
    s.sideways = core_.modes_.Sideways();
    s.rotatedPageDirection = core_.modes_.RotatedPageDirection();
    s.page = core_.PageModeLineRoom();
    return s;
  }

  FontMetrics Font(int32_t index) const override {
    const auto& fonts = core_.traits_.fonts;
    if (index < 0 || index >= static_cast<int32_t>(std::size(fonts))) return FontMetrics();
    return {fonts[index].width, fonts[index].height};
  }

  void SendDirectBytes(const uint8_t* bytes, size_t length) override {
    core_.DirectIOBytes(bytes, length);
  }

  void ResetPrintMode(PrinterBuffer& out) override {
    core_.SelectPrintMode(out, false, false, false, false, false, false);
  }

  bool PlacePageModeLine(PrinterBuffer& out, const PageModeLine& line) override {
    return core_.PlacePageModeLine(out, line);
  }

  void NoteSidewaysLine(const PageModeLine& line) override { core_.NoteSidewaysLine(line); }

  SequenceOutcome PrintBarcode(PrinterBuffer& out, const uint8_t* parameters, size_t length,
                               bool validateOnly) override {
    return core_.PrintBarcodeSequence(out, parameters, length, validateOnly);
  }

  SequenceOutcome PrintStoredBitmap(PrinterBuffer& out, int32_t number,
                                    bool validateOnly) override {
    return core_.PrintStoredBitmap(out, number, validateOnly);
  }

  SequenceOutcome PrintLogo(PrinterBuffer& out, LogoPosition position) override {
    core_.AppendLogo(out, position);
    return SequenceOutcome::kDone;
  }

 private:
  CPrinterBase& core_;
};

int32_t CPrinterBase::FormatStringToOutBuffer(PrinterBuffer& out, const uint8_t* in, size_t length,
                                              bool validateOnly) {
  if (cmdHelper_ == nullptr) return OPOS_E_FAILURE;
  FormatterHost host(*this);
  // Each call starts at the page-mode vertical position again, so the page
  // height it may fill is counted afresh.
  layout_.heightUsed = 0;
  return formatter_.Format(host, out, in, length, validateOnly);
}

void CPrinterBase::SelectHPosInStd(PrinterBuffer& buffer, char alignment, int32_t width) {
  PlaceInStandardLine(*cmdHelper_, buffer, alignment, width, props_.recLineWidth);
}

void CPrinterBase::SelectPrintMode(PrinterBuffer& buffer, bool bold, bool /*ignored*/,
                                   bool doubleWidth, bool doubleHeight, bool underline,
                                   bool fontB) {
  if (kanjiMode_) {
    lastKanjiPrintMode_ = static_cast<uint8_t>(
        cmdHelper_->SetKanjiPrintMode(buffer, doubleWidth, doubleHeight, underline));
  } else {
    lastPrintMode_ = static_cast<uint8_t>(
        cmdHelper_->SetPrintMode(buffer, fontB, bold, doubleWidth, doubleHeight, underline));
  }
}

void CPrinterBase::ClearFormatInStd(PrinterBuffer& buffer) {
  cmdHelper_->SetJustification(buffer, 0);
  cmdHelper_->SetLeftMargin(buffer, 0);
  cmdHelper_->SetPrintMode(buffer, false, false, false, false, false);
}

}  // namespace Printer
}  // namespace QEL
