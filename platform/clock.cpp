#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace platform {

namespace {

class RealClock : public Clock {
 public:
  uint32_t NowMs() override {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }

  void SleepMs(uint32_t milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }

  bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& changed,
                 uint32_t timeoutMs, const std::function<bool()>& ready) override {
    if (timeoutMs == kInfinite) {
      changed.wait(lock, ready);
      return true;
    }
    return changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
  }

  void Notify(std::condition_variable& changed) override { changed.notify_all(); }
};

}  // namespace

std::shared_ptr<Clock> SystemClock() {
  // Deliberately leaked: workers that were left to end on their own may
  // still ask for the time while static objects are being destroyed.
  static const std::shared_ptr<Clock>* const shared = new std::shared_ptr<Clock>(new RealClock);
  return *shared;
}

uint32_t TickCount() { return SystemClock()->NowMs(); }

void SleepMs(uint32_t milliseconds) { SystemClock()->SleepMs(milliseconds); }

}  // namespace platform
