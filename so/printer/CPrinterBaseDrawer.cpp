// The cash drawer on the printer's kick-out connector: the pulse that opens
// it, the sensor reading that tells whether it is open, and the wait for it
// to be closed with the printer's buzzer as a reminder. Every pause runs on
// the core's clock.
#include <cstdint>

#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {

constexpr int kKickOutputs = 2;
// The drawer needs a moment to spring open before its sensor says so.
constexpr uint32_t kSettleAfterPulseMs = 200;
constexpr int kChecksAfterPulse = 2;
constexpr uint32_t kBetweenChecksMs = 500;
// Ten seconds in all for the port lock.
constexpr int kLockRetries = 100;
constexpr uint32_t kLockPauseMs = 100;
constexpr uint32_t kReplyWaitMs = 10;
constexpr uint32_t kSecondReadWaitMs = 50;
constexpr int32_t kUsbReplyBytes = 4;
// A printer that pushes its status may have pushed some before the answer.
constexpr int32_t kPushedReplyBytes = 16;
constexpr int kDrainReads = 16;
constexpr uint32_t kWaitPassMs = 300;
constexpr uint8_t kBeepCount = 2;

}  // namespace

void CPrinterBase::SetupCashDrawer(int32_t pinMask, int32_t openVoltage, int32_t statusCapability,
                                   int32_t onTime, int32_t offTime, int32_t closeWaitMs) {
  {
    std::lock_guard<std::mutex> lock(drawerMutex_);
    drawer_.pinMask = pinMask;
    drawer_.openVoltage = openVoltage;
    drawer_.statusCapability = statusCapability;
    drawer_.onTime = onTime;
    drawer_.offTime = offTime;
    drawer_.closeWaitMs = closeWaitMs;
  }
  // The printer's own status replies carry the same sensor level.
  drawerOpenLevel_ = openVoltage != 0 ? 1 : 0;
  SetCashDrawerMode(true);
}

CPrinterBase::DrawerSettings CPrinterBase::Drawer() const {
  std::lock_guard<std::mutex> lock(drawerMutex_);
  return drawer_;
}

long CPrinterBase::OpenDrawer(int32_t* result) {
  if (!IsIdle()) {
    // A pulse must not slip in between queued receipts.
    SetRC(OPOS_E_BUSY);
  } else {
    const DrawerSettings drawer = Drawer();
    drawerBuffer_.clear();
    for (int output = 0; output < kKickOutputs && cmdHelper_ != nullptr; ++output) {
      if ((drawer.pinMask & (1 << output)) == 0) continue;
      cmdHelper_->DrawerPulse(drawerBuffer_, static_cast<uint8_t>(output),
                              static_cast<uint8_t>(drawer.onTime & 0xFF),
                              static_cast<uint8_t>(drawer.offTime & 0xFF));
    }
    // Both outputs in one write: the pulses follow each other at once.
    const int32_t sent = DirectSend(drawerBuffer_, 0, 7);
    SetRC(sent);
    if (sent == OPOS_SUCCESS && drawer.statusCapability != 0) {
      clock_->SleepMs(kSettleAfterPulseMs);
      for (int check = 0; check < kChecksAfterPulse; ++check) {
        bool replied = false;
        if (GetDrawerOpenState(true, &replied) && replied) break;
        clock_->SleepMs(kBetweenChecksMs);
      }
    }
  }
  if (result != nullptr) *result = ResultCode();
  return 0;
}

bool CPrinterBase::GetDrawerOpenState(bool clearFirst, bool* replyReceived) {
  bool open = KnownStatus().drawerOpen != 0;
  if (replyReceived != nullptr) *replyReceived = false;
  std::shared_ptr<CPrinterPort> port = port_;
  if (cmdHelper_ == nullptr || !port || !IsOpened()) return open;
  PortLockHolder lock(*port, kLockRetries, kLockPauseMs);
  if (!lock.Held()) return open;
  if (!drawerRequestBuilt_) {
    if (!cmdHelper_->DrawerStatusRequest(drawerRequest_)) return open;
    drawerRequestBuilt_ = true;
  }

  const bool pushes = useAsb_ != 0;
  if (clearFirst) {
    if (pushes) {
      // Discarding would lose the state changes the printer pushed since the
      // last poll: they are applied instead.
      uint8_t waiting[256];
      int32_t stored = 0;
      for (int i = 0; i < kDrainReads && stored < static_cast<int32_t>(sizeof waiting); ++i) {
        int32_t got = 0;
        port->readAvailable(waiting, stored, static_cast<int32_t>(sizeof waiting) - stored, &got);
        if (got <= 0) break;
        stored += got;
      }
      uint8_t stale = 0;
      TakeStatusPushes(waiting, stored, &stale);
    } else {
      ClearUnReadDataInPrinter();
    }
  }

  if (!port->write(drawerRequest_, 0, static_cast<int32_t>(sizeof drawerRequest_))) return open;
  uint8_t reply[kPushedReplyBytes] = {};
  const int32_t want = pushes ? kPushedReplyBytes : (isUsb_ ? kUsbReplyBytes : 1);
  uint8_t answer = 0;
  bool answered = false;
  for (int read = 0; read < 2 && !answered; ++read) {
    if (read == 1 && !isUsb_ && !isParallel_) break;
    clock_->SleepMs(read == 0 ? kReplyWaitMs : kSecondReadWaitMs);
    int32_t got = 0;
    port->readAvailable(reply, 0, want, &got);
    if (got <= 0) continue;
    if (pushes) {
      answered = TakeStatusPushes(reply, got, &answer);
    } else {
      answer = reply[got - 1];
      answered = true;
    }
  }
  if (!answered) return open;
  if (replyReceived != nullptr) *replyReceived = true;
  return Drawer().openVoltage != 0 ? answer == 1 : answer == 0;
}

bool CPrinterBase::TakeStatusPushes(const uint8_t* bytes, int32_t count, uint8_t* answer) {
  bool answered = false;
  for (int32_t i = 0; i < count;) {
    tagPrinterStatus work = KnownStatus();
    if (i + 4 <= count && cmdHelper_->DecodeAsb(bytes + i, &work)) {
      ApplyReading(work, true, false);
      i += 4;
    } else {
      *answer = bytes[i++];
      answered = true;
    }
  }
  return answered;
}

long CPrinterBase::WaitForDrawerClose(int32_t beepTimeout, int32_t /*beepFrequency*/,
                                      int32_t beepDuration, int32_t beepDelay, int32_t* result) {
  const int64_t limitMs = Drawer().closeWaitMs;
  const uint32_t start = clock_->NowMs();
  beepBuffer_.clear();
  if (cmdHelper_ != nullptr) cmdHelper_->Beep(beepBuffer_, beepDuration, beepDelay, kBeepCount);
  const bool buzzer = traits_.drawerTrait != 0;
  const int64_t repeatMs =
      2 * static_cast<int64_t>(beepDelay) + 2 * static_cast<int64_t>(beepDuration);

  // Until the printer says otherwise the drawer counts as open.
  bool open = true;
  bool beeping = false;
  uint32_t lastBeep = 0;
  int64_t elapsed = 0;
  for (;;) {
    bool replied = false;
    const bool reading = GetDrawerOpenState(true, &replied);
    if (replied) open = reading;
    const uint32_t now = clock_->NowMs();
    const bool due = beeping
                         ? static_cast<int64_t>(static_cast<uint32_t>(now - lastBeep)) > repeatMs
                         : static_cast<int64_t>(static_cast<uint32_t>(now - start)) > beepTimeout;
    if (due) {
      if (buzzer) DirectSend(beepBuffer_, 0, 7);
      beeping = true;
      lastBeep = now;
    }
    clock_->SleepMs(kWaitPassMs);
    elapsed = static_cast<uint32_t>(clock_->NowMs() - start);
    if (!open || elapsed >= limitMs) break;
  }
  SetRC(elapsed > limitMs ? OPOS_E_TIMEOUT : OPOS_SUCCESS);
  if (result != nullptr) *result = ResultCode();
  return 0;
}

}  // namespace Printer
}  // namespace QEL
