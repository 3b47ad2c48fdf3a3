#pragma once
// A set of manual-reset events under one lock, so that a thread can wait for
// any of several of them at once (and for conditions over them) without the
// lost wake-ups of polling separate events. Each worker owns its own group:
// no event is ever shared by name between workers. Time-outs run on the
// group's clock, so a test's manual clock decides when they end.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/clock.h"

namespace QEL {
namespace BASE {

class EventGroup {
 public:
  using Mask = uint32_t;
  static constexpr uint32_t kInfinite = platform::Clock::kInfinite;

  explicit EventGroup(std::shared_ptr<platform::Clock> clock = platform::SystemClock())
      : clock_(std::move(clock)) {}
  // Only while nobody waits on the group.
  void SetClock(std::shared_ptr<platform::Clock> clock);

  // Sets the events of `set` and resets those of `reset` in one step, so that
  // no waiter sees the state half changed. Resetting wins when both name one.
  void Change(Mask set, Mask reset);
  void Set(Mask events) { Change(events, 0); }
  void Reset(Mask events) { Change(0, events); }
  // The events that are set now.
  Mask Current() const;
  bool IsSet(Mask event) const { return (Current() & event) != 0; }

  // Waits until one of `events` is set or timeoutMs passed; returns the set
  // ones among them (0 after a time-out).
  Mask WaitAny(Mask events, uint32_t timeoutMs);
  // Waits until condition(current events) holds or timeoutMs passed; returns
  // the events at that moment. The condition runs under the group's lock.
  template <class Condition>
  Mask WaitUntil(Condition condition, uint32_t timeoutMs);

 private:
  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::shared_ptr<platform::Clock> clock_;
  Mask current_ = 0;
};

template <class Condition>
EventGroup::Mask EventGroup::WaitUntil(Condition condition, uint32_t timeoutMs) {
  std::unique_lock<std::mutex> guard(lock_);
  const std::shared_ptr<platform::Clock> clock = clock_;
  clock->WaitUntil(guard, changed_, timeoutMs, [&] { return condition(current_); });
  return current_;
}

}  // namespace BASE
}  // namespace QEL
