#pragma once
// A manual-reset event: stays signalled until reset, wakes every waiter.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace platform {

class ManualResetEvent {
 public:
  explicit ManualResetEvent(bool initiallySignalled = false) : signalled_(initiallySignalled) {}
  void Set();
  void Reset();
  bool IsSet() const;
  // Waits until signalled or timeoutMs elapsed; kInfinite waits without limit.
  bool Wait(uint32_t timeoutMs);
  static constexpr uint32_t kInfinite = 0xFFFFFFFFu;

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_;
};

}  // namespace platform
