// Output modes and the admission of output: direct or queued, the
// transaction that collects a job, the job's prologue and the pending
// settings that go in front of it.
#include <algorithm>

#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {
constexpr int32_t kStationReceipt = 2;
constexpr int32_t kTransactionStart = 11;
constexpr int32_t kTransactionEnd = 12;
constexpr int32_t kPrologueEnterPageMode = 1;
}  // namespace

bool CPrinterBase::IsDirectSend() const {
  return !modes_.transaction && !modes_.pageMode && !modes_.Sideways();
}

PrinterBuffer* CPrinterBase::CurrentPrinterBuffer() {
  if (modes_.Sideways()) return &rotationBuffer_;
  if (modes_.pageMode) return &pageModeBuffer_;
  if (modes_.transaction) return &transactionBuffer_;
  return nullptr;
}

int32_t CPrinterBase::CheckOutputAdmission(bool collecting) {
  if (!collecting && !modes_.transaction && props_.asyncMode == 0 && !IsIdle()) {
    return SetRC(OPOS_E_BUSY);
  }
  return CheckCoverAndPaper();
}

int32_t CPrinterBase::CheckCoverAndPaper() {
  if (props_.asyncMode != 0) return OPOS_SUCCESS;
  // Until a reading was evaluated nothing is known about cover and paper; a
  // printer that cannot be asked must still print.
  bool evaluated = false;
  tagPrinterStatus known;
  {
    std::lock_guard<std::mutex> lock(statusMutex_);
    evaluated = statusEvaluated_;
    known = status_;
  }
  if (!evaluated) return OPOS_SUCCESS;
  if (known.coverOpen) return SetRC(OPOS_EPTR_COVER_OPEN);
  if (known.paperOut) return SetRC(OPOS_EPTR_REC_EMPTY);
  return OPOS_SUCCESS;
}

void CPrinterBase::set_printerSettings(PrinterBuffer& buffer) {
  if (cmdHelper_ == nullptr) return;
  CCmdHelperBase& helper = *cmdHelper_;
  if (pending_.upsideDown) helper.SetUpsideDown(pendingSettings_, modes_.rotate180);
  if (pending_.characterSet) helper.SelectCodePage(pendingSettings_, props_.characterSet);
  if (pending_.font) helper.SelectCharacterFont(pendingSettings_, props_.recLineChars == 64 ? 1 : 0);
  if (pending_.lineSpacing) {
    helper.SetLineSpacing(pendingSettings_, static_cast<uint8_t>(props_.recLineSpacing));
  }
  if (pending_.lineWidth) {
    props_.recLineWidth = std::min(props_.recLineWidth, traits_.printWidth);
    helper.SetPrintAreaWidth(pendingSettings_, props_.recLineWidth);
  }
  if (pending_.smoothing) helper.SetSmoothing(pendingSettings_, smoothing_ != 0);
  const bool upsideDown = pending_.upsideDown;
  const bool printArea = pending_.printArea;
  pending_.Clear();
  pending_.upsideDown = upsideDown;  // stays until a rotation change settles it
  pending_.printArea = printArea;    // positioned by page-mode output, not here
  if (!pendingSettings_.isEmpty()) {
    buffer.insert(0, pendingSettings_.data(), pendingSettings_.size());
    pendingSettings_.clear();
  }
}

void CPrinterBase::InitOutBufferWithPMControl(PrinterBuffer& buffer, int32_t mode) {
  if (cmdHelper_ == nullptr) return;
  CCmdHelperBase& helper = *cmdHelper_;
  helper.SelectPeripheral(buffer, true);
  helper.SetJustification(buffer, 0);
  helper.SetLeftMargin(buffer, 0);
  // The job prologue comes after the pending settings: a fixed ESC { 0 here
  // would cancel the upside-down setting carried in front of it.
  helper.SetUpsideDown(buffer, modes_.rotate180);
  // The code page reaches the printer with the pending settings of the job.
  helper.SelectCodePage(pendingSettings_, props_.characterSet);
  helper.SetPrintMode(buffer, props_.recLineChars == 64, false, false, false, false);
  helper.SetSmoothing(buffer, smoothing_ != 0);
  const bool rotated = modes_.Sideways() || modes_.RotatedPageDirection();
  const int32_t spacing = rotated ? props_.recLineSpacing : H2V(props_.recLineSpacing);
  helper.SetLineSpacing(buffer, static_cast<uint8_t>(spacing));
  if (mode == kPrologueEnterPageMode) {
    helper.LineFeed(buffer);
    helper.EnterPageMode(buffer);
  }
}

long CPrinterBase::TransactionPrint(int32_t station, int32_t control, int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  if (station != kStationReceipt) {
    rc = SetRC(OPOS_E_NOT_SUPPORTED);
    return 0;
  }
  SetRC(OPOS_SUCCESS);
  rc = OPOS_SUCCESS;
  if (control == kTransactionEnd && modes_.transaction) {
    LeaveCollectingModes();
    if (props_.asyncMode == 0 && !IsIdle()) {
      rc = SetRC(OPOS_E_BUSY);
      return 0;
    }
    rc = SetRC(Send(transactionBuffer_, 0));
    transactionBuffer_.clear();
    modes_.transaction = false;
    return 0;
  }
  if (control == kTransactionStart && !modes_.transaction) {
    LeaveCollectingModes();
    transactionBuffer_.clear();
    modes_.transaction = true;
    InitOutBufferWithPMControl(transactionBuffer_, 3);
    return 0;
  }
  modes_.transaction = control == kTransactionStart;
  return 0;
}

void CPrinterBase::LeaveCollectingModes() {
  if (modes_.pageMode) {
    modes_.pageMode = false;
    pageModeBuffer_.clear();
  }
  if (modes_.AnyRotation()) {
    props_.rotateSpecial = SetRotation(1);
    SetRC(OPOS_SUCCESS);
  }
}

long CPrinterBase::ClearOutput(int32_t* /*result*/) {
  if (worker_ && !IsIdle()) {
    worker_->CancelFront();
    worker_->Clear();
  }
  transactionBuffer_.clear();
  pageModeBuffer_.clear();
  rotationBuffer_.clear();
  unrotatedObjectBuffer_.clear();
  directIoBuffer_.clear();
  layout_.Reset();
  // The area and the sideways direction went with the collected bytes: the
  // next output in those modes needs them again.
  if (modes_.pageMode) pending_.printArea = true;
  if (modes_.Sideways() && cmdHelper_ != nullptr) {
    cmdHelper_->SetPageDirection(rotationBuffer_, modes_.rotateRight90 ? '3' : '1');
  }
  return 0;
}

void CPrinterBase::Retry() {
  if (!opened_ || !claimed_ || !enabled_ || !worker_) return;
  worker_->RetryHeld();
  worker_->Resume();
}

void CPrinterBase::OutputFailureCodes(CPrinterOutTask::Failure failure, int32_t* resultCode,
                                      int32_t* resultCodeExtended) const {
  int32_t rc = failure == CPrinterOutTask::Failure::kPortBusy ? OPOS_E_BUSY : OPOS_E_NOHARDWARE;
  int32_t extended = 0;
  bool evaluated = false;
  tagPrinterStatus known;
  {
    std::lock_guard<std::mutex> lock(statusMutex_);
    evaluated = statusEvaluated_;
    known = status_;
  }
  // Before the first reading the paper only counts as out; nothing is known.
  if (evaluated && (known.coverOpen || known.paperOut)) {
    rc = OPOS_E_EXTENDED;
    extended = known.coverOpen ? OPOS_EPTR_COVER_OPEN : OPOS_EPTR_REC_EMPTY;
  }
  if (resultCode != nullptr) *resultCode = rc;
  if (resultCodeExtended != nullptr) *resultCodeExtended = extended;
}

void CPrinterBase::ReportOutputFailure(CPrinterOutTask::Failure failure) {
  int32_t rc = 0;
  int32_t extended = 0;
  OutputFailureCodes(failure, &rc, &extended);
  // The event object, not the result properties: those belong to the
  // caller's thread, and this runs on the worker.
  if (eventObject_) eventObject_->OnOutputError(rc, extended);
}

}  // namespace Printer
}  // namespace QEL
