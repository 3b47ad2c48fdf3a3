#include "platform/manual_clock.h"

#include <algorithm>
#include <chrono>

namespace platform {

uint32_t ManualClock::NowMs() {
  std::lock_guard<std::mutex> guard(mutex_);
  return static_cast<uint32_t>(now_);
}

void ManualClock::SleepMs(uint32_t milliseconds) {
  std::unique_lock<std::mutex> guard(mutex_);
  if (milliseconds == 0) return;
  if (autoAdvance_) {
    now_ += milliseconds;
    changed_.notify_all();
    return;
  }
  Blocked self;
  self.deadline = now_ + milliseconds;
  self.parked = true;
  blocked_.push_back(&self);
  changed_.notify_all();
  changed_.wait(guard, [&] { return now_ >= self.deadline; });
  Remove(&self);
}

bool ManualClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& changed,
                            uint32_t timeoutMs, const std::function<bool()>& ready) {
  // The caller holds `lock` and changes to what `ready` reads are made under
  // it, each followed by Notify. Registered before the first look at the
  // condition, this wait cannot miss a Notify that comes after that look.
  Blocked self;
  self.condition = &changed;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    self.deadline = timeoutMs == kInfinite ? kNoDeadline : now_ + timeoutMs;
    blocked_.push_back(&self);
  }
  // Leaves the register on every way out, a condition that raises included.
  struct Registration {
    ManualClock& clock;
    const Blocked* blocked;
    ~Registration() {
      std::lock_guard<std::mutex> guard(clock.mutex_);
      clock.Remove(blocked);
    }
  } registration{*this, &self};

  for (;;) {
    if (ready()) return true;
    std::unique_lock<std::mutex> guard(mutex_);
    if (now_ >= self.deadline) return false;
    if (self.notified) {
      self.notified = false;
      continue;
    }
    self.parked = true;
    changed_.notify_all();
    lock.unlock();
    changed_.wait(guard, [&] { return self.notified || now_ >= self.deadline; });
    self.parked = false;
    self.notified = false;
    // The condition is looked at again under the caller's lock, which is
    // taken without holding the clock's (the order is always caller, clock).
    guard.unlock();
    lock.lock();
  }
}

void ManualClock::Notify(std::condition_variable& changed) {
  std::lock_guard<std::mutex> guard(mutex_);
  bool any = false;
  for (Blocked* blocked : blocked_) {
    if (blocked->condition == &changed) {
      blocked->notified = true;
      any = true;
    }
  }
  if (any) changed_.notify_all();
}

void ManualClock::Advance(uint32_t milliseconds) {
  std::lock_guard<std::mutex> guard(mutex_);
  now_ += milliseconds;
  changed_.notify_all();
}

bool ManualClock::AdvanceToNextDeadline(uint32_t limitMs) {
  std::lock_guard<std::mutex> guard(mutex_);
  uint64_t next = kNoDeadline;
  for (const Blocked* blocked : blocked_) {
    if (blocked->deadline > now_) next = std::min(next, blocked->deadline);
  }
  if (next == kNoDeadline) return false;
  now_ = std::min(next, now_ + limitMs);
  changed_.notify_all();
  return true;
}

void ManualClock::SetAutoAdvance(bool on) {
  std::lock_guard<std::mutex> guard(mutex_);
  autoAdvance_ = on;
}

size_t ManualClock::Sleepers() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return SleepersLocked();
}

bool ManualClock::WaitForSleepers(size_t n, uint32_t realTimeoutMs) const {
  std::unique_lock<std::mutex> guard(mutex_);
  return changed_.wait_for(guard, std::chrono::milliseconds(realTimeoutMs),
                           [&] { return SleepersLocked() >= n; });
}

size_t ManualClock::SleepersLocked() const {
  size_t n = 0;
  for (const Blocked* blocked : blocked_) {
    if (blocked->parked && !blocked->notified && blocked->deadline > now_) ++n;
  }
  return n;
}

void ManualClock::Remove(const Blocked* blocked) {
  blocked_.erase(std::find(blocked_.begin(), blocked_.end(), blocked));
  changed_.notify_all();
}

}  // namespace platform
