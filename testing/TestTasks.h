#pragma once
// Tasks, waits and a clock driver shared by the tests of the worker framework
// and of the printer worker.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/manual_clock.h"
#include "platform/manual_reset_event.h"
#include "so/base/ITask2.h"
#include "so/base/ITaskBase.h"

namespace task_test {

// Real time another thread is given to get somewhere: a safety net that only
// a failing test ever waits out. Generous, since the tests run on two shared
// cores, under sanitizers and under wine.
constexpr uint32_t kPatienceMs = 20000;

// Waits until condition() holds, checking now and then; false after timeoutMs.
// For what happens without the clock moving (a task ran, a flag was set).
inline bool Eventually(const std::function<bool()>& condition, uint32_t timeoutMs = kPatienceMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Waits until the `threads` threads that use the clock are all asleep on it:
// from then on nothing happens until time moves or something they wait for
// changes, so whatever has not happened by now will not happen by itself.
inline bool Quiet(platform::ManualClock& clock, size_t threads = 1) {
  return clock.WaitForSleepers(threads, kPatienceMs);
}

// Lets the clock's threads run as if time passed: whenever all `threads` of
// them are asleep on the clock, it jumps to the nearest deadline, until
// condition() holds. False when it still does not hold after `limitMs` of
// clock time, when every thread sleeps without a deadline (nothing can change
// any more), or when the threads stay away from the clock (busy elsewhere)
// for kPatienceMs of real time.
inline bool RunUntil(platform::ManualClock& clock, const std::function<bool()>& condition,
                     size_t threads = 1, uint32_t limitMs = 60000) {
  const uint32_t start = clock.NowMs();
  auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
  for (;;) {
    if (condition()) return true;
    // In short slices: the condition may come true while a thread works
    // outside the clock (in a task that blocks on something else).
    if (!clock.WaitForSleepers(threads, 5)) {
      if (std::chrono::steady_clock::now() >= giveUp) return condition();
      continue;
    }
    if (condition()) return true;
    if (static_cast<uint32_t>(clock.NowMs() - start) >= limitMs) return false;
    if (!clock.AdvanceToNextDeadline()) return condition();
    giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
  }
}

// Lets `ms` of clock time pass in steps from deadline to deadline, so that
// every pause and time-out due in that span happens in its turn; returns once
// the threads are asleep again at the end of the span.
inline bool RunFor(platform::ManualClock& clock, uint32_t ms, size_t threads = 1) {
  uint32_t left = ms;
  for (;;) {
    if (!Quiet(clock, threads)) return false;
    if (left == 0) return true;
    const uint32_t before = clock.NowMs();
    if (!clock.AdvanceToNextDeadline(left)) clock.Advance(left);
    const uint32_t moved = clock.NowMs() - before;
    left = moved >= left ? 0 : left - moved;
  }
}

// The order in which tasks ran, across threads.
class Journal {
 public:
  void Record(int32_t id) {
    std::lock_guard<std::mutex> guard(lock_);
    ids_.push_back(id);
    changed_.notify_all();
  }
  std::vector<int32_t> Ids() const {
    std::lock_guard<std::mutex> guard(lock_);
    return ids_;
  }
  size_t Count(int32_t id) const {
    std::lock_guard<std::mutex> guard(lock_);
    size_t n = 0;
    for (int32_t i : ids_) n += i == id ? 1 : 0;
    return n;
  }
  bool WaitForSize(size_t n, uint32_t timeoutMs = kPatienceMs) {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] { return ids_.size() >= n; });
  }

 private:
  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::vector<int32_t> ids_;
};

// Records itself when executed; can hold inside Execute until released, fail
// by raising, or ask to be run again a number of times.
class RecordingTask : public QEL::BASE::ITaskBase {
 public:
  RecordingTask(int32_t id, std::shared_ptr<Journal> journal) : id_(id), journal_(std::move(journal)) {}

  void HoldUntilReleased() { hold_ = true; }
  void Release() { released_.Set(); }
  void ThrowOnExecute() { throw_ = true; }
  // Execute returns 0 this many times before it returns 1.
  void UnfinishedTimes(int n) { unfinished_ = n; }
  void AlwaysResult(int32_t result) { fixedResult_ = result; hasFixedResult_ = true; }

  platform::ManualResetEvent& Entered() { return entered_; }
  int Executions() const { return executions_.load(); }

  int32_t Execute() override {
    running_.store(1);
    executions_.fetch_add(1);
    entered_.Set();
    if (hold_) released_.Wait(platform::ManualResetEvent::kInfinite);
    journal_->Record(id_);
    running_.store(0);
    if (throw_) throw std::runtime_error("task failed");
    if (hasFixedResult_) return fixedResult_;
    if (unfinished_ > 0) {
      --unfinished_;
      return 0;
    }
    return 1;
  }
  void Cancel() override { cancelled_.store(1); }
  int32_t Id() override { return id_; }
  int32_t IsRunning() override { return running_.load(); }
  int32_t IsCancelled() override { return cancelled_.load(); }

 private:
  int32_t id_;
  std::shared_ptr<Journal> journal_;
  bool hold_ = false;
  bool throw_ = false;
  int unfinished_ = 0;
  bool hasFixedResult_ = false;
  int32_t fixedResult_ = 1;
  platform::ManualResetEvent entered_;
  platform::ManualResetEvent released_;
  std::atomic<int> executions_{0};
  std::atomic<int32_t> running_{0};
  std::atomic<int32_t> cancelled_{0};
};

// An idle task that counts its runs and signals each one.
class CountingIdleTask : public QEL::BASE::ITask2 {
 public:
  void Run() override {
    runs_.fetch_add(1);
    ran_.Set();
  }
  int Runs() const { return runs_.load(); }
  platform::ManualResetEvent& Ran() { return ran_; }

 private:
  std::atomic<int> runs_{0};
  platform::ManualResetEvent ran_;
};

}  // namespace task_test
