#pragma once
// Time as the code that paces itself sees it: a tick count, sleeps, and waits
// on a condition with a time limit. Whatever retries, pauses or gives up
// after a while is handed a Clock (the system's by default), so that a test
// can hand it one that moves only when the test says so
// (platform/manual_clock.h) and still see every time-out happen.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace platform {

class Clock {
 public:
  static constexpr uint32_t kInfinite = 0xFFFFFFFFu;

  virtual ~Clock() = default;

  // Milliseconds since an arbitrary start; wraps like GetTickCount.
  virtual uint32_t NowMs() = 0;
  virtual void SleepMs(uint32_t milliseconds) = 0;

  // Blocks the calling thread, which holds `lock`, until `ready()` holds or
  // timeoutMs passed on this clock (kInfinite: no limit); returns ready().
  // `ready` runs with the lock held. Whoever changes what `ready` reads does
  // so under the same lock and then calls Notify(changed).
  virtual bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& changed,
                         uint32_t timeoutMs, const std::function<bool()>& ready) = 0;
  // Wakes every thread in WaitUntil on `changed`.
  virtual void Notify(std::condition_variable& changed) = 0;
};

// The process-wide real clock. It is never destroyed, so a thread that
// outlives everything else may still use it.
std::shared_ptr<Clock> SystemClock();

// The real clock's tick count and sleep, for code that is always on real
// time (device I/O with its own time-outs).
uint32_t TickCount();
void SleepMs(uint32_t milliseconds);

}  // namespace platform
