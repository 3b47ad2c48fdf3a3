#include <vector>

#include "so/printer/CPrinterBase.h"
#include "so/printer/PropertyIndex.h"

namespace QEL {
namespace Printer {

namespace {
constexpr int kLockRetries = 100;
constexpr uint32_t kLockPauseMs = 100;
constexpr int kInitialAttempts = 6;

}  // namespace

int32_t CPrinterBase::GetPrinterState(bool initial) {
  if (cmdHelper_ == nullptr || !port_ || !bidirectional_) return -1;

  tagPrinterStatus work = KnownStatus();
  bool valid = false;
  bool printerReading = false;
  const int attempts = initial ? kInitialAttempts : 1;
  for (int attempt = 0; attempt < attempts && !valid; ++attempt) {
    const int32_t modes = serviceModes_;
    if (useAsb_) {
      valid = printerReading = GetPrinterStateByASB(&work);
    } else if ((modes & 2) && !(modes & 1)) {
      // Only drawers use this printer: their sensor is all there is to watch.
      work.drawerOpen = GetDrawerOpenState(true) ? 1 : 0;
      valid = true;
    } else {
      ClearUnReadDataInPrinter();
      if (traits_.statusMethod & 1) {
        valid = printerReading = GetPrinterStateByRealTime(&work);
      } else if (traits_.statusMethod & 2) {
        valid = printerReading = GetPrinterStateBySendCmd(&work);
      }
    }
  }
  if (!valid) return 0;
  ApplyReading(work, printerReading, initial);
  return 0;
}

void CPrinterBase::ApplyReading(tagPrinterStatus work, bool printerReading, bool initial) {
  if (printerReading) {
    const bool bit = work.drawerBit != 0;
    work.drawerOpen = (drawerOpenLevel_ == 1 ? bit : !bit) ? 1 : 0;
  }
  // Events are raised after the lock is left: a sink may read properties.
  std::vector<int32_t> events;
  {
    std::lock_guard<std::mutex> lock(statusMutex_);
    Evaluate(work, initial, &events);
    statusEvaluated_ = true;
  }
  for (int32_t value : events) RaiseStateUpdateEvent(value);
}

void CPrinterBase::Evaluate(const tagPrinterStatus& work, bool initial, std::vector<int32_t>* events) {
  tagPrinterStatus& known = status_;
  if (initial) {
    known.coverOpen = work.coverOpen;
    known.paperOut = work.paperOut;
    known.nearEnd = work.nearEnd;
    known.drawerBit = work.drawerBit;
    known.offline = work.offline;
    if (work.paperOut) events->push_back(PTR_SUE_REC_EMPTY);
    if (work.nearEnd) events->push_back(PTR_SUE_REC_NEAREMPTY);
    if (!work.paperOut && !work.nearEnd) events->push_back(PTR_SUE_REC_PAPEROK);
    events->push_back(work.coverOpen ? PTR_SUE_COVER_OPEN : PTR_SUE_COVER_OK);
    return;
  }

  if (work.coverOpen && !known.coverOpen) {
    known.coverOpen = work.coverOpen;
    events->push_back(PTR_SUE_COVER_OPEN);
  } else if (!work.coverOpen && known.coverOpen) {
    known.coverOpen = 0;
    events->push_back(PTR_SUE_COVER_OK);
  }
  if (work.paperOut && !known.paperOut) {
    known.paperOut = work.paperOut;
    events->push_back(PTR_SUE_REC_EMPTY);
  }
  if (work.nearEnd && !known.nearEnd) {
    known.nearEnd = work.nearEnd;
    events->push_back(PTR_SUE_REC_NEAREMPTY);
  }
  if (!work.nearEnd && !work.paperOut && (known.nearEnd || known.paperOut)) {
    known.nearEnd = known.paperOut = 0;
    events->push_back(PTR_SUE_REC_PAPEROK);
  }
  if (work.nearEnd && !work.paperOut && known.paperOut) {
    known.paperOut = 0;
    events->push_back(PTR_SUE_REC_NEAREMPTY);
  }
  known.paperOut = work.paperOut;
  known.nearEnd = work.nearEnd;
  known.drawerBit = work.drawerBit;
  known.offline = work.offline;
  if (serviceModes_ != 0) {
    if (work.drawerOpen && !known.drawerOpen) {
      known.drawerOpen = work.drawerOpen;
      events->push_back(kStatusDrawerOpened);
    } else if (!work.drawerOpen && known.drawerOpen) {
      known.drawerOpen = 0;
      events->push_back(kStatusDrawerClosed);
    }
  }
}

bool CPrinterBase::GetPrinterStateByASB(tagPrinterStatus* status) {
  std::shared_ptr<CPrinterPort> port = port_;
  if (!port || cmdHelper_ == nullptr) return false;
  PortLockHolder lock(*port, kLockRetries, kLockPauseMs);
  if (!lock.Held()) return false;
  uint8_t reply[4] = {};
  int32_t got = 0;
  port->readAvailable(reply, 0, 4, &got);
  if (got <= 0) return false;
  if (got < 4) {
    clock_->SleepMs(10);
    int32_t more = 0;
    port->readAvailable(reply, got, 4 - got, &more);
    if (more > 0) got += more;
  }
  if (got < 4) return false;
  return cmdHelper_->DecodeAsb(reply, status);
}

namespace {

// One request and its one-byte answer: the last byte that came.
bool AskPrinter(CPrinterPort& port, const PrinterBuffer& request, bool usb, bool parallel,
                uint8_t* reply, size_t replySize, uint8_t* answer) {
  platform::Clock& clock = *port.Clock();
  if (!port.write(request.data(), 0, static_cast<int32_t>(request.size()))) return false;
  clock.SleepMs(10);
  const int32_t want = usb ? static_cast<int32_t>(replySize) : 1;
  int32_t got = 0;
  port.readAvailable(reply, 0, want, &got);
  if (got <= 0) {
    if (!usb && !parallel) return false;
    clock.SleepMs(50);
    port.readAvailable(reply, 0, want, &got);
    if (got <= 0) return false;
  }
  *answer = reply[got - 1];
  return true;
}

}  // namespace

bool CPrinterBase::GetPrinterStateByRealTime(tagPrinterStatus* status) {
  std::shared_ptr<CPrinterPort> port = port_;
  if (!port || cmdHelper_ == nullptr) return false;
  // The poll runs on the worker: it keeps its reply apart from the caller's.
  uint8_t reply[256] = {};
  PrinterBuffer request(32, 32);
  uint8_t n = 1;
  for (;;) {
    request.clear();
    cmdHelper_->RequestRealtimeStatus(request, n);
    uint8_t answer = 0;
    if (!AskPrinter(*port, request, isUsb_, isParallel_, reply, sizeof reply, &answer)) {
      return false;
    }
    if (n == 1) {
      if (!cmdHelper_->DecodePrinterStatus(answer, status)) return false;
      if (!status->offline) {
        status->coverOpen = status->nearEnd = status->paperOut = 0;
        if (props_.Cap(Pidx::CapRecNearEndSensor) == 0) return true;
        n = 4;
      } else {
        n = 2;
      }
    } else if (n == 2) {
      if (!cmdHelper_->DecodeOfflineStatus(answer, status)) return false;
      n = 4;
    } else {
      return cmdHelper_->DecodeRollPaperStatus(answer, status);
    }
    clock_->SleepMs(10);
  }
}

bool CPrinterBase::GetPrinterStateBySendCmd(tagPrinterStatus* status) {
  std::shared_ptr<CPrinterPort> port = port_;
  if (!port || cmdHelper_ == nullptr) return false;
  uint8_t reply[256] = {};
  PrinterBuffer request(32, 32);
  cmdHelper_->RequestStatus(request, 1);
  uint8_t answer = 0;
  if (!AskPrinter(*port, request, isUsb_, isParallel_, reply, sizeof reply, &answer) ||
      !cmdHelper_->DecodePaperSensorStatus(answer, status)) {
    return false;
  }
  clock_->SleepMs(10);
  request.clear();
  cmdHelper_->RequestStatus(request, 2);
  if (!AskPrinter(*port, request, isUsb_, isParallel_, reply, sizeof reply, &answer)) {
    return false;
  }
  return cmdHelper_->DecodeDrawerStatus(answer, &status->drawerBit);
}

void CPrinterBase::ClearUnReadDataInPrinter() {
  std::shared_ptr<CPrinterPort> port = port_;
  if (!bidirectional_ || !port) return;
  uint8_t discard[256];
  int32_t got = 0;
  if (isUsb_) {
    port->readAvailable(discard, 0, static_cast<int32_t>(sizeof discard), &got);
    clock_->SleepMs(10);
    return;
  }
  // Bounded: a printer that keeps talking must not hold the poll forever.
  for (size_t i = 0; i < sizeof discard; ++i) {
    got = 0;
    port->readAvailable(discard, 0, 1, &got);
    if (got <= 0) break;
  }
}

void CPrinterBase::RaiseStateUpdateEvent(int32_t value) {
  if (eventObject_) eventObject_->OnStatusUpdate(value);
}

}  // namespace Printer
}  // namespace QEL
