#pragma once
// A cash drawer on the printer's drawer kick-out connector. The printer puts
// pulses out on pin 2 or pin 5; the drawer's solenoid hangs on one of them and
// its latch lets go when a pulse comes there. Its open/closed switch is read
// on pin 3, high or low when open depending on how the drawer is made.
//
// Times are the caller's clock in milliseconds (wrapping like a tick count),
// so the model itself never waits.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace sim {

struct DrawerPulse {
  int pin = 2;  // kick-out connector pin: 2 or 5
  int onMs = 0;
  int offMs = 0;
  // Put out at once on receipt (DLE DC4 1) rather than in turn with the
  // printed data; such a request is dropped while its pin is still pulsing.
  bool realTime = false;

  bool operator==(const DrawerPulse& o) const {
    return pin == o.pin && onMs == o.onMs && offMs == o.offMs && realTime == o.realTime;
  }
};

// The pulse a whole command asks for: ESC p m t1 t2 (on t1 x 2 ms, off
// t2 x 2 ms but never shorter than on) or DLE DC4 1 m t (on and off t x
// 100 ms). Nothing for any other command or for parameters out of range.
std::optional<DrawerPulse> DrawerPulseOf(const uint8_t* p, size_t n);

class CashDrawer {
 public:
  enum class Change { kNone, kOpened, kClosed };

  // pin: the connector pin the solenoid hangs on (2 or 5; anything else is
  // refused). openLevelHigh: pin 3 reads high while the drawer is open.
  bool SetWiring(int pin, bool openLevelHigh);
  int WiredPin() const { return pin_; }
  bool OpenLevelHigh() const { return openLevelHigh_; }

  // Someone pushes the drawer shut this long after it opened, however it
  // opened; 0: it stays open until closed.
  void SetClosesAfter(uint32_t ms) { closesAfterMs_ = ms; }

  // Puts a pulse out. A pulse is recorded whichever pin it is on (unless it
  // was dropped); only one on the wired pin with some on-time opens.
  Change Pulse(const DrawerPulse& pulse, uint32_t nowMs);
  Change OpenByHand(uint32_t nowMs);
  Change Close();
  // The timed close, when it is due by nowMs.
  Change CloseIfDue(uint32_t nowMs);
  // Takes the switch level someone set directly: the drawer is open when the
  // level is its open level.
  Change FollowSensor(bool level, uint32_t nowMs);

  bool IsOpen() const { return open_; }
  // The level of pin 3.
  bool SensorLevel() const { return open_ == openLevelHigh_; }
  const std::vector<DrawerPulse>& Pulses() const { return pulses_; }

 private:
  Change Open(uint32_t nowMs);
  static size_t PinIndex(int pin) { return pin == 5 ? 1 : 0; }

  int pin_ = 2;
  bool openLevelHigh_ = true;
  uint32_t closesAfterMs_ = 0;
  bool open_ = false;
  uint32_t openedAtMs_ = 0;
  std::vector<DrawerPulse> pulses_;
  // The last pulse on each pin: when it began and how long it lasts, on and
  // off time together.
  bool pulsed_[2] = {false, false};
  uint32_t pulseStartMs_[2] = {0, 0};
  uint32_t pulseLengthMs_[2] = {0, 0};
};

}  // namespace sim
