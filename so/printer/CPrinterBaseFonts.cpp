#include <algorithm>
#include <cmath>

#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

int32_t CPrinterBase::SelectFont(int32_t n) const {
  if (n <= 0 || traits_.fontCount <= 0) return -1;
  // The dots a character may take, truncated to a byte as the printer's
  // own arithmetic does.
  const int32_t available = static_cast<uint8_t>(traits_.printWidth / n);
  int32_t widest = 0, narrowest = 0;
  for (int32_t i = 1; i < traits_.fontCount; ++i) {
    if (traits_.fonts[i].width > traits_.fonts[widest].width) widest = i;
    if (traits_.fonts[i].width < traits_.fonts[narrowest].width) narrowest = i;
  }
  if (available >= traits_.fonts[widest].width) return widest;
  if (available < traits_.fonts[narrowest].width) return -1;
  int32_t best = -1;
  for (int32_t i = 0; i < traits_.fontCount; ++i) {
    const int32_t w = traits_.fonts[i].width;
    if (w <= available && (best < 0 || w > traits_.fonts[best].width)) best = i;
  }
  return best;
}

int32_t CPrinterBase::SelectMinFont() const {
  int32_t narrowest = 0;
  for (int32_t i = 1; i < traits_.fontCount; ++i) {
    if (traits_.fonts[i].width < traits_.fonts[narrowest].width) narrowest = i;
  }
  return narrowest;
}

void CPrinterBase::SetFont(int32_t font) {
  if (font < 0 || font >= traits_.fontCount) return;
  const PrinterFont& f = traits_.fonts[font];
  currentFont_ = font;
  charWidth_ = f.width;
  charHeight_ = f.height;
  const bool rotated = modes_.Sideways() || modes_.RotatedPageDirection();
  if (!rotated && f.width > 0) props_.recLineChars = traits_.printWidth / f.width;
  props_.recLineHeight = f.height;
  props_.recLineSpacing = f.height * 5 / 4;
  const double hp = traits_.horizontalDotPitch;
  const double vp = traits_.verticalDotPitch;
  const double perLine = props_.recLineSpacing * hp;
  if (perLine > 0) {
    const int32_t lines = static_cast<int32_t>(std::floor((traits_.cutterDistance / 10) / perLine));
    props_.recLinesToPaperCut = lines / 10 + 1;
  }
  const int32_t sidewaysWidth = vp > 0 ? static_cast<int32_t>(f.width * hp / vp) : 0;
  if (sidewaysWidth > 0) props_.recSidewaysMaxChars = traits_.pageAreaHeight / sidewaysWidth;
  if (f.height > 0) props_.recSidewaysMaxLines = traits_.pageAreaWidth / f.height;
  props_.characterSetList = f.codePageList;
}

void CPrinterBase::SelectDefaultFont() {
  SetFont(traits_.defaultFont);
  if (!modes_.Sideways() && !modes_.RotatedPageDirection()) {
    props_.recLineWidth = traits_.printWidth;
  }
}

int32_t CPrinterBase::SetRecLineChars(int32_t n) {
  if (modes_.Sideways() || modes_.RotatedPageDirection()) return OPOS_SUCCESS;
  const int32_t oldFont = currentFont_;
  const int32_t oldWidth = props_.recLineWidth;
  int32_t font = SelectFont(n);
  const bool found = font >= 0;
  if (!found) font = SelectMinFont();
  if (font != currentFont_) SetFont(font);

  int32_t rc = OPOS_SUCCESS;
  if (found) {
    props_.recLineChars = n;
    props_.recLineWidth = std::min<int64_t>(traits_.printWidth, static_cast<int64_t>(charWidth_) * n);
  } else {
    rc = SetRC(OPOS_E_NOT_SUPPORTED);
    props_.recLineWidth = traits_.printWidth;
    if (charWidth_ > 0) props_.recLineChars = traits_.printWidth / charWidth_;
  }
  if (font != oldFont) {
    pending_.font = pending_.lineSpacing = pending_.lineWidth = true;
  } else if (props_.recLineWidth != oldWidth) {
    pending_.lineWidth = true;
  }
  return rc;
}

}  // namespace Printer
}  // namespace QEL
