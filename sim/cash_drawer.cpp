#include "sim/cash_drawer.h"

namespace sim {

std::optional<DrawerPulse> DrawerPulseOf(const uint8_t* p, size_t n) {
  if (n != 5) return std::nullopt;
  DrawerPulse pulse;
  if (p[0] == 0x1B && p[1] == 'p') {  // ESC p m t1 t2
    switch (p[2]) {
      case 0:
      case '0':
        pulse.pin = 2;
        break;
      case 1:
      case '1':
        pulse.pin = 5;
        break;
      default:
        return std::nullopt;
    }
    // The off time keeps the solenoid from overheating: printers stretch one
    // shorter than the on time to the on time.
    const int on = p[3], off = p[4] < p[3] ? p[3] : p[4];
    pulse.onMs = on * 2;
    pulse.offMs = off * 2;
    return pulse;
  }
  if (p[0] == 0x10 && p[1] == 0x14 && p[2] == 1) {  // DLE DC4 1 m t
    if (p[3] > 1 || p[4] < 1 || p[4] > 8) return std::nullopt;
    pulse.pin = p[3] == 0 ? 2 : 5;
    pulse.onMs = p[4] * 100;
    pulse.offMs = pulse.onMs;
    pulse.realTime = true;
    return pulse;
  }
  return std::nullopt;
}

bool CashDrawer::SetWiring(int pin, bool openLevelHigh) {
  if (pin != 2 && pin != 5) return false;
  pin_ = pin;
  openLevelHigh_ = openLevelHigh;
  return true;
}

CashDrawer::Change CashDrawer::Pulse(const DrawerPulse& pulse, uint32_t nowMs) {
  const size_t i = PinIndex(pulse.pin);
  const bool busy = pulsed_[i] && static_cast<uint32_t>(nowMs - pulseStartMs_[i]) < pulseLengthMs_[i];
  if (pulse.realTime && busy) return Change::kNone;
  pulses_.push_back(pulse);
  pulsed_[i] = true;
  pulseStartMs_[i] = nowMs;
  pulseLengthMs_[i] = static_cast<uint32_t>(pulse.onMs + pulse.offMs);
  // Without any on-time the solenoid never pulls.
  if (pulse.pin != pin_ || pulse.onMs == 0) return Change::kNone;
  return Open(nowMs);
}

CashDrawer::Change CashDrawer::OpenByHand(uint32_t nowMs) { return Open(nowMs); }

CashDrawer::Change CashDrawer::Open(uint32_t nowMs) {
  if (open_) return Change::kNone;
  open_ = true;
  openedAtMs_ = nowMs;
  return Change::kOpened;
}

CashDrawer::Change CashDrawer::Close() {
  if (!open_) return Change::kNone;
  open_ = false;
  return Change::kClosed;
}

CashDrawer::Change CashDrawer::CloseIfDue(uint32_t nowMs) {
  if (!open_ || closesAfterMs_ == 0) return Change::kNone;
  if (static_cast<uint32_t>(nowMs - openedAtMs_) < closesAfterMs_) return Change::kNone;
  return Close();
}

CashDrawer::Change CashDrawer::FollowSensor(bool level, uint32_t nowMs) {
  return level == openLevelHigh_ ? Open(nowMs) : Close();
}

}  // namespace sim
