#include <cstring>

#include "platform/clock.h"
#include "so/printer/CPrinterBase.h"
#include "so/printer/PropertyIndex.h"

namespace QEL {
namespace Printer {

namespace {
constexpr int kLockRetries = 100;
constexpr uint32_t kLockPauseMs = 100;
constexpr int kInitialAttempts = 6;

constexpr int32_t kStatusCoverOpen = 11;
constexpr int32_t kStatusCoverClosed = 12;
constexpr int32_t kStatusPaperOut = 24;
constexpr int32_t kStatusPaperNearEnd = 25;
constexpr int32_t kStatusPaperOk = 26;
constexpr int32_t kStatusDrawerOpen = 2;
constexpr int32_t kStatusDrawerClosed = 1;
}  // namespace

int32_t CPrinterBase::GetPrinterState(bool initial) {
  if (cmdHelper_ == nullptr || !port_ || !bidirectional_) return -1;

  tagPrinterStatus work = status_;
  bool valid = false;
  bool printerReading = false;
  const int attempts = initial ? kInitialAttempts : 1;
  for (int attempt = 0; attempt < attempts && !valid; ++attempt) {
    if (useAsb_) {
      valid = printerReading = GetPrinterStateByASB(&work);
    } else if ((serviceModes_ & 2) && !(serviceModes_ & 1)) {
      GetDrawerOpenState(&work);
      valid = true;
    } else {
      ClearUnReadDataInPrinter();
      if (traits_.statusMethod & 1) {
        valid = printerReading = GetPrinterStateByRealTime(&work, 0);
      } else if (traits_.statusMethod & 2) {
        valid = printerReading = GetPrinterStateBySendCmd(&work, 0);
      }
    }
  }
  if (!valid) return 0;
  if (printerReading) {
    const bool bit = work.drawerBit != 0;
    work.drawerOpen = (drawerOpenLevel_ == 1 ? bit : !bit) ? 1 : 0;
  }

  if (initial) {
    status_.coverOpen = work.coverOpen;
    status_.paperOut = work.paperOut;
    status_.nearEnd = work.nearEnd;
    status_.drawerBit = work.drawerBit;
    status_.offline = work.offline;
    if (work.paperOut) RaiseStateUpdateEvent(kStatusPaperOut);
    if (work.nearEnd) RaiseStateUpdateEvent(kStatusPaperNearEnd);
    if (!work.paperOut && !work.nearEnd) RaiseStateUpdateEvent(kStatusPaperOk);
    RaiseStateUpdateEvent(work.coverOpen ? kStatusCoverOpen : kStatusCoverClosed);
    return 0;
  }

  if (work.coverOpen && !status_.coverOpen) {
    status_.coverOpen = work.coverOpen;
    RaiseStateUpdateEvent(kStatusCoverOpen);
  } else if (!work.coverOpen && status_.coverOpen) {
    status_.coverOpen = 0;
    RaiseStateUpdateEvent(kStatusCoverClosed);
  }
  if (work.paperOut && !status_.paperOut) {
    status_.paperOut = work.paperOut;
    RaiseStateUpdateEvent(kStatusPaperOut);
  }
  if (work.nearEnd && !status_.nearEnd) {
    status_.nearEnd = work.nearEnd;
    RaiseStateUpdateEvent(kStatusPaperNearEnd);
  }
  if (!work.nearEnd && !work.paperOut && (status_.nearEnd || status_.paperOut)) {
    status_.nearEnd = status_.paperOut = 0;
    RaiseStateUpdateEvent(kStatusPaperOk);
  }
  if (work.nearEnd && !work.paperOut && status_.paperOut) {
    status_.paperOut = 0;
    RaiseStateUpdateEvent(kStatusPaperNearEnd);
  }
  status_.paperOut = work.paperOut;
  status_.nearEnd = work.nearEnd;
  status_.drawerBit = work.drawerBit;
  status_.offline = work.offline;
  if (serviceModes_ != 0) {
    if (work.drawerOpen && !status_.drawerOpen) {
      status_.drawerOpen = work.drawerOpen;
      RaiseStateUpdateEvent(kStatusDrawerOpen);
    } else if (!work.drawerOpen && status_.drawerOpen) {
      status_.drawerOpen = 0;
      RaiseStateUpdateEvent(kStatusDrawerClosed);
    }
  }
  return 0;
}

bool CPrinterBase::GetPrinterStateByASB(tagPrinterStatus* status) {
  std::shared_ptr<CPrinterPort> port = port_;
  if (!port || cmdHelper_ == nullptr) return false;
  PortLockHolder lock(*port, kLockRetries, kLockPauseMs);
  if (!lock.Held()) return false;
  int32_t got = 0;
  port->readAvailable(replyArea_, 0, 4, &got);
  if (got <= 0) return false;
  if (got < 4) {
    platform::SleepMs(10);
    int32_t more = 0;
    port->readAvailable(replyArea_, got, 4 - got, &more);
    if (more > 0) got += more;
  }
  if (got < 4) return false;
  return cmdHelper_->DecodeAsb(replyArea_, status);
}

namespace {

// One request and its one-byte answer: the last byte that came.
bool AskPrinter(CPrinterPort& port, const PrinterBuffer& request, bool usb, bool parallel,
                uint8_t* reply, size_t replySize, uint8_t* answer) {
  if (!port.write(request.data(), 0, static_cast<int32_t>(request.size()))) return false;
  platform::SleepMs(10);
  const int32_t want = usb ? static_cast<int32_t>(replySize) : 1;
  int32_t got = 0;
  port.readAvailable(reply, 0, want, &got);
  if (got <= 0) {
    if (!usb && !parallel) return false;
    platform::SleepMs(50);
    port.readAvailable(reply, 0, want, &got);
    if (got <= 0) return false;
  }
  *answer = reply[got - 1];
  return true;
}

}  // namespace

bool CPrinterBase::GetPrinterStateByRealTime(tagPrinterStatus* status, int32_t /*unused*/) {
  std::shared_ptr<CPrinterPort> port = port_;
  if (!port || cmdHelper_ == nullptr) return false;
  std::memset(replyArea_, 0, sizeof replyArea_);
  PrinterBuffer request(32, 32);
  uint8_t n = 1;
  for (;;) {
    request.clear();
    cmdHelper_->RequestRealtimeStatus(request, n);
    uint8_t answer = 0;
    if (!AskPrinter(*port, request, isUsb_, isParallel_, replyArea_, sizeof replyArea_, &answer)) {
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
    platform::SleepMs(10);
  }
}

bool CPrinterBase::GetPrinterStateBySendCmd(tagPrinterStatus* status, int32_t /*unused*/) {
  std::shared_ptr<CPrinterPort> port = port_;
  if (!port || cmdHelper_ == nullptr) return false;
  std::memset(replyArea_, 0, sizeof replyArea_);
  PrinterBuffer request(32, 32);
  cmdHelper_->RequestStatus(request, 1);
  uint8_t answer = 0;
  if (!AskPrinter(*port, request, isUsb_, isParallel_, replyArea_, sizeof replyArea_, &answer) ||
      !cmdHelper_->DecodePaperSensorStatus(answer, status)) {
    return false;
  }
  platform::SleepMs(10);
  request.clear();
  cmdHelper_->RequestStatus(request, 2);
  if (!AskPrinter(*port, request, isUsb_, isParallel_, replyArea_, sizeof replyArea_, &answer)) {
    return false;
  }
  return cmdHelper_->DecodeDrawerStatus(answer, &status->drawerBit);
}

void CPrinterBase::ClearUnReadDataInPrinter() {
  std::shared_ptr<CPrinterPort> port = port_;
  if (!bidirectional_ || !port) return;
  int32_t got = 0;
  if (isUsb_) {
    port->readAvailable(replyArea_, 0, static_cast<int32_t>(sizeof replyArea_), &got);
    platform::SleepMs(10);
    return;
  }
  // Bounded: a printer that keeps talking must not hold the poll forever.
  for (size_t i = 0; i < sizeof replyArea_; ++i) {
    got = 0;
    port->readAvailable(replyArea_, 0, 1, &got);
    if (got <= 0) break;
  }
}

void CPrinterBase::RaiseStateUpdateEvent(int32_t value) {
  if (eventObject_) eventObject_->OnStatusUpdate(value);
}

}  // namespace Printer
}  // namespace QEL
