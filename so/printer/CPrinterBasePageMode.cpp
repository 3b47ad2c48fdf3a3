// Page mode: a page is composed in its own buffer, then printed as one
// block (and kept, or left), or thrown away.
#include "so/printer/CPrinterBase.h"
#include "so/printer/PropertyIndex.h"

namespace QEL {
namespace Printer {

namespace {
constexpr int32_t kStationReceipt = 2;
constexpr int32_t kPageModeEnter = 1;
constexpr int32_t kPageModePrintAndKeep = 2;
constexpr int32_t kPageModePrintAndLeave = 3;
constexpr int32_t kPageModeCancel = 4;
constexpr int32_t kPrologueEnterPageMode = 1;
}  // namespace

long CPrinterBase::PageModePrint(int32_t control, int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  if (props_.pageModeStation != kStationReceipt || props_.Cap(Pidx::CapRecPageMode) == 0 ||
      cmdHelper_ == nullptr) {
    rc = SetRC(OPOS_E_ILLEGAL);
    return 0;
  }
  const bool prints = control == kPageModePrintAndKeep || control == kPageModePrintAndLeave;
  if (!modes_.pageMode && (prints || control == kPageModeCancel)) {
    rc = SetRC(OPOS_E_ILLEGAL);
    return 0;
  }
  if (prints && props_.asyncMode == 0 && !IsIdle()) {
    rc = SetRC(OPOS_E_BUSY);
    return 0;
  }
  if (modes_.AnyRotation()) props_.rotateSpecial = SetRotation(1);

  switch (control) {
    case kPageModeEnter:
      if (!modes_.pageMode) {
        pageModeBuffer_.clear();
        layout_.Reset();
        // A new page needs its area again.
        pending_.printArea = true;
        modes_.pageMode = true;
      }
      break;
    case kPageModePrintAndKeep:
      // What the send answers is not the call's result: the page stays
      // composed either way.
      if (!pageModeBuffer_.isEmpty()) PrintPage(true);
      break;
    case kPageModePrintAndLeave:
      modes_.pageMode = false;
      if (!pageModeBuffer_.isEmpty()) PrintPage(false);
      pageModeBuffer_.clear();
      break;
    case kPageModeCancel:
      modes_.pageMode = false;
      pageModeBuffer_.clear();
      break;
    default:
      rc = SetRC(OPOS_E_ILLEGAL);
      return 0;
  }
  rc = SetRC(OPOS_SUCCESS);
  return 0;
}

void CPrinterBase::PrintPage(bool keep) {
  CCmdHelperBase& helper = *cmdHelper_;
  // The page is printed as a page of its own whether it is kept or not: the
  // printer may have left page mode since the last one, and a page's
  // commands and its form feed mean nothing to it in standard mode.
  if (modes_.transaction) {
    helper.EnterPageMode(transactionBuffer_);
    transactionBuffer_.append(pageModeBuffer_);
    if (keep) {
      helper.PageModeFormFeed(transactionBuffer_);
    } else {
      helper.FormFeed(transactionBuffer_);
    }
    return;
  }
  jobBuffer_.discard();
  InitOutBufferWithPMControl(jobBuffer_, kPrologueEnterPageMode);
  jobBuffer_.append(pageModeBuffer_);
  if (keep) {
    helper.PageModeFormFeed(jobBuffer_);
  } else {
    helper.FormFeed(jobBuffer_);
  }
  Send(jobBuffer_, 0);
}

long CPrinterBase::ClearPrintArea(int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  if (!modes_.pageMode || props_.pageModeStation != kStationReceipt || cmdHelper_ == nullptr) {
    rc = SetRC(OPOS_E_ILLEGAL);
    return 0;
  }
  const bool turned = IsInRotate90Mode();
  auto vertical = [&](int32_t dots) { return turned ? dots : H2V(dots); };
  cmdHelper_->SetPageArea(pageModeBuffer_, props_.printAreaX, vertical(props_.printAreaY),
                          props_.printAreaWidth, vertical(props_.printAreaHeight));
  cmdHelper_->CancelPageData(pageModeBuffer_);
  rc = SetRC(OPOS_SUCCESS);
  return 0;
}

void CPrinterBase::PositionPageArea(PrinterBuffer& modeBuffer) {
  if (!pending_.printArea || cmdHelper_ == nullptr) return;
  cmdHelper_->SetPageArea(modeBuffer, props_.printAreaX, H2V(props_.printAreaY),
                          props_.printAreaWidth, H2V(props_.printAreaHeight));
  pending_.printArea = false;
}

}  // namespace Printer
}  // namespace QEL
