// The core's reports on their way to the control objects: queued from the
// core's threads, delivered on the owner's event thread to every client that
// is enabled, has a receiver and is not frozen.
#include <vector>

#include "so/com/CQELOposPrinterSO.h"
#include "so/com/OposCodes.h"

namespace QEL {
namespace COM {

namespace {

constexpr LCID kEventLocale = 1024;  // LOCALE_USER_DEFAULT
// Drawer clients hear only the drawer's own states, printer clients all else.
constexpr int32_t kHighestDrawerStatus = 5;
constexpr int32_t kHighestStatusForDrawersOnly = 4;
constexpr int32_t kErrorLevelRecoverable = 2;  // OPOS_EL_RECOVERABLE

// One event method call with the arguments in declared order; OLE Automation
// wants them last first. The error response goes by reference.
HRESULT Deliver(IDispatch* receiver, DISPID id, EventKind kind, int32_t* values, size_t count) {
  std::vector<VARIANT> args(count);
  for (size_t i = 0; i < count; ++i) {
    VARIANT& v = args[count - 1 - i];
    VariantInit(&v);
    if (kind == EventKind::kError && i == 3) {
      v.vt = VT_BYREF | VT_I4;
      v.plVal = reinterpret_cast<LONG*>(&values[i]);
    } else {
      v.vt = VT_I4;
      v.lVal = values[i];
    }
  }
  DISPPARAMS params = {args.data(), nullptr, static_cast<UINT>(count), 0};
  return receiver->Invoke(id, IID_NULL, kEventLocale, DISPATCH_METHOD, &params, nullptr, nullptr,
                          nullptr);
}

}  // namespace

size_t CQELOposPrinterSO::PendingEvents() const {
  const CQELOposPrinterSO* target = Target();
  return target->events_ ? target->events_->Pending() : 0;
}

void CQELOposPrinterSO::QueueEvent(EventKind kind, const int32_t* values, size_t count) {
  if (!events_) return;
  events_->Queue(std::make_unique<CPrinterCOEventsTask>(this, kind, values, count));
}

void CQELOposPrinterSO::OnOutputComplete(int32_t outputId) {
  QueueEvent(EventKind::kOutputComplete, &outputId, 1);
  // The worker reports a job before it takes it off its queue: idle means
  // that job is the last one there.
  if (flagWhenIdle_ == 0 || !core_) return;
  const auto worker = core_->Worker();
  const bool idle = !worker || worker->Count() <= 1;
  if (idle && flagWhenIdle_.exchange(0) != 0) OnStatusUpdate(kStatusIdle);
}

void CQELOposPrinterSO::OnOutputError(int32_t resultCode, int32_t resultCodeExtended) {
  // A job held for the application's answer is a recoverable error. The
  // result properties stay the caller's: this runs on the core's worker.
  errorLevel_ = kErrorLevelRecoverable;
  const int32_t values[4] = {resultCode, resultCodeExtended, kErrorLocusOutput, kErrorResponseRetry};
  QueueEvent(EventKind::kError, values, 4);
}

void CQELOposPrinterSO::OnStatusUpdate(int32_t status) {
  if (status == 0 || status == -1) return;
  if (lastStatus_.exchange(status) == status) return;
  QueueEvent(EventKind::kStatusUpdate, &status, 1);
}

int32_t CQELOposPrinterSO::QueryPrinterState() {
  if (!core_) return -1;
  return core_->GetPrinterState(false);
}

int32_t CQELOposPrinterSO::FireEvent(EventKind kind, int32_t* values, size_t count) {
  if (suppressEvents_ || !clients_ || count == 0) return 0;
  int32_t result = 0;
  clients_->ForEach([&](const ClientSlot& client) {
    if (!client.enabled || client.receiver == nullptr || client.frozen) return;
    HRESULT hr;
    if (!client.isPrinter) {
      if (kind != EventKind::kStatusUpdate || values[0] > kHighestDrawerStatus) return;
      int32_t drawerState = values[0] - 1;
      hr = Deliver(client.receiver, client.dispids[kDrawerStatusUpdate], kind, &drawerState, 1);
    } else {
      if (kind == EventKind::kStatusUpdate && values[0] <= kHighestStatusForDrawersOnly) return;
      hr = Deliver(client.receiver, client.dispids[static_cast<int32_t>(kind)], kind, values,
                   count);
    }
    if (FAILED(hr)) {
      resultCode_ = kIllegal;
      result = kIllegal;
    }
  });
  return result;
}

void CQELOposPrinterSO::RequestClearOutput() {
  int32_t rc = 0;
  ClearOutput(&rc);
}

int32_t CQELOposPrinterSO::RequestRetry() {
  if (!core_ || !deviceEnabled_) return 0;
  try {
    core_->Retry();
  } catch (...) {
    return kFailure;
  }
  return 0;
}

}  // namespace COM
}  // namespace QEL
