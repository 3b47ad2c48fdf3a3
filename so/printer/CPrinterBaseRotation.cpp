// Rotated printing. The printer turns text only in page mode, so a sideways
// job is collected and printed as one page when the rotation ends; upside
// down is a printer setting carried by the next job.
#include <algorithm>

#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {
constexpr int32_t kStationReceipt = 2;
constexpr int32_t kRotationNormal = 1;
constexpr int32_t kRotationRight90 = 257;
constexpr int32_t kRotationLeft90 = 258;
constexpr int32_t kRotation180 = 259;
}  // namespace

long CPrinterBase::RotatePrint(int32_t station, int32_t rotation, int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  if (station != kStationReceipt) {
    rc = SetRC(OPOS_E_NOT_SUPPORTED);
    return 0;
  }
  // Back to normal when nothing is turned prints nothing.
  const bool alreadyNormal = rotation == kRotationNormal &&
                             props_.rotateSpecial == kRotationNormal && !modes_.AnyRotation();
  if (!alreadyNormal) props_.rotateSpecial = SetRotation(rotation);
  rc = SetRC(OPOS_SUCCESS);
  return 0;
}

void CPrinterBase::FlushSidewaysJob(int32_t rotation) {
  CCmdHelperBase& helper = *cmdHelper_;
  // Upright again for whatever the printer composes next; the page's own
  // form feed below prints it (a second one would reach the printer in
  // standard mode, where it means nothing).
  if (rotation == kRotationNormal && !rotationBuffer_.isEmpty()) {
    helper.SetPageDirection(rotationBuffer_, '0');
  }
  PrinterBuffer& target = modes_.transaction ? transactionBuffer_ : jobBuffer_;
  if (!modes_.transaction) jobBuffer_.discard();
  // Objects that stay upright print ahead of the turned page.
  target.append(unrotatedObjectBuffer_);
  if (!rotationBuffer_.isEmpty()) {
    helper.EnterPageMode(target);
    // The page is as long as the widest line, and never longer than the
    // printer's page area.
    const int32_t length = std::min(layout_.widestLine + traits_.pageModeConstant,
                                    H2V(traits_.pageAreaHeight));
    helper.SetPageArea(target, 0, 0, traits_.printWidth, length);
    target.append(rotationBuffer_);
    helper.FormFeed(target);
  }
  if (!modes_.transaction) {
    Send(jobBuffer_, 0);
    jobBuffer_.discard();
  }
  rotationBuffer_.clear();
  unrotatedObjectBuffer_.clear();
}

int32_t CPrinterBase::SetRotation(int32_t rotation) {
  if (cmdHelper_ != nullptr && modes_.Sideways() &&
      (!rotationBuffer_.isEmpty() || !unrotatedObjectBuffer_.isEmpty())) {
    FlushSidewaysJob(rotation);
  }
  layout_.Reset();

  if (rotation == kRotationNormal) {
    if (modes_.rotate180) pending_.upsideDown = true;
    modes_.rotateRight90 = modes_.rotateLeft90 = modes_.rotate180 = false;
    modes_.barcodeRotation = modes_.bitmapRotation = false;
    if (cmdHelper_ == nullptr) return kRotationNormal;
    // The printer's page direction back to upright. Outside page mode
    // there is no page to end: a form feed there is refused by printers.
    CCmdHelperBase& helper = *cmdHelper_;
    if (modes_.pageMode) {
      helper.SetPageDirection(pageModeBuffer_, '0');
    } else if (modes_.transaction) {
      helper.SetPageDirection(transactionBuffer_, '0');
    } else {
      jobBuffer_.discard();
      helper.SetPageDirection(jobBuffer_, '0');
      Send(jobBuffer_, 0);
      jobBuffer_.discard();
    }
    return kRotationNormal;
  }

  if (rotation < 0x3000) {
    modes_.barcodeRotation = (rotation & 0xF000) == 0x1000;
    modes_.bitmapRotation = (rotation & 0xF000) == 0x2000;
  } else {
    modes_.barcodeRotation = modes_.bitmapRotation = true;
  }
  switch (rotation & 0xFFF) {
    case kRotation180:
      modes_.rotateRight90 = modes_.rotateLeft90 = false;
      modes_.rotate180 = true;
      pending_.upsideDown = true;
      break;
    case kRotationRight90:
      modes_.rotateRight90 = true;
      modes_.rotateLeft90 = modes_.rotate180 = false;
      if (cmdHelper_ != nullptr) cmdHelper_->SetPageDirection(rotationBuffer_, '3');
      break;
    case kRotationLeft90:
      modes_.rotateLeft90 = true;
      modes_.rotateRight90 = modes_.rotate180 = false;
      if (cmdHelper_ != nullptr) cmdHelper_->SetPageDirection(rotationBuffer_, '1');
      break;
    default:
      break;
  }
  return rotation;
}

int32_t CPrinterBase::SetPageModePrintDirection(int32_t direction) {
  if (direction < 1 || direction > 4) return OPOS_E_ILLEGAL;
  props_.pageModePrintDirection = direction;
  for (int i = 0; i < 4; ++i) modes_.pageDirection[i] = (i == direction - 1);
  // A new direction starts a new line.
  layout_.lineHasContent = false;
  layout_.horizontalPosition = 0;
  PrinterBuffer* mode = CurrentPrinterBuffer();
  if (mode != nullptr && cmdHelper_ != nullptr) {
    cmdHelper_->SetPageDirection(*mode, static_cast<uint8_t>(direction - 1));
    // The spacing counts along the new direction's line feeds.
    const int32_t spacing = IsInRotate90Mode() ? props_.recLineSpacing : H2V(props_.recLineSpacing);
    cmdHelper_->SetLineSpacing(*mode, static_cast<uint8_t>(std::min(spacing, 255)));
  }
  return OPOS_SUCCESS;
}

}  // namespace Printer
}  // namespace QEL
