#pragma once
// A clock for tests: time stands still until the test moves it. A sleep or a
// timed wait on it blocks until the clock reaches its deadline (or, for a
// wait, until its condition holds), so a test decides when each pause and
// time-out of the code under test ends, and a wait of five seconds costs no
// real time at all.
//
// It also knows which threads have nothing left to do but wait for it: a
// thread counts as a sleeper while it is blocked in a sleep, or in a wait
// whose condition it has looked at since the last Notify, and whose deadline
// is still ahead. Once the threads of the code under test are all sleepers,
// nothing more happens until the test moves time or changes what they wait
// for; that is the moment to check that something did NOT happen.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/clock.h"

namespace platform {

class ManualClock : public Clock {
 public:
  explicit ManualClock(uint32_t startMs = 0) : now_(startMs) {}
  ~ManualClock() override = default;
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;

  uint32_t NowMs() override;
  void SleepMs(uint32_t milliseconds) override;
  bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& changed,
                 uint32_t timeoutMs, const std::function<bool()>& ready) override;
  void Notify(std::condition_variable& changed) override;

  // Moves time forward; every sleep and timed wait due by then ends.
  void Advance(uint32_t milliseconds);
  // Moves time to the nearest deadline of a thread blocked on this clock, but
  // no more than limitMs on; false, and time stands, when none of them has a
  // deadline ahead.
  bool AdvanceToNextDeadline(uint32_t limitMs = kInfinite);
  // With auto-advance, a sleep moves the clock on by its own length and
  // returns at once (ending what is due by then), as if time passed only
  // while a thread sleeps: a loop of sleeps on one thread runs through in no
  // time. Timed waits still end only by their condition or by time that
  // someone else moved.
  void SetAutoAdvance(bool on);

  // Threads blocked on this clock that nothing but time (or a Notify) will
  // wake; see the note at the top.
  size_t Sleepers() const;
  // True once at least n threads are sleepers; false when that did not
  // happen within realTimeoutMs of real time (a safety net only).
  bool WaitForSleepers(size_t n, uint32_t realTimeoutMs) const;

 private:
  static constexpr uint64_t kNoDeadline = UINT64_MAX;

  struct Blocked {
    const std::condition_variable* condition = nullptr;  // null for a sleep
    uint64_t deadline = kNoDeadline;
    bool notified = false;  // its condition may have changed since it looked
    bool parked = false;    // inside the wait, not looking at its condition
  };

  size_t SleepersLocked() const;
  void Remove(const Blocked* blocked);

  mutable std::mutex mutex_;
  // Wakes blocked threads and those waiting for sleepers alike.
  mutable std::condition_variable changed_;
  // Time without wrapping: the 32-bit tick count is cut from it.
  uint64_t now_;
  bool autoAdvance_ = false;
  std::vector<Blocked*> blocked_;
};

}  // namespace platform
