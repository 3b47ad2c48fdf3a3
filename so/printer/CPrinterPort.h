#pragma once
// The core's holder of its port and of the lock that serialises every use of
// it. Gates try the lock without waiting; the core's own longer exchanges
// hold it with a bounded retry (LockWithRetry) for the whole exchange, which
// the recursive lock lets the gates pass. The pauses between the tries run on
// the port's clock.
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/clock.h"
#include "so/io/IPort.h"

namespace QEL {
namespace Printer {

class CPrinterPort {
 public:
  explicit CPrinterPort(std::shared_ptr<IO::IPort> port,
                        std::shared_ptr<platform::Clock> clock = platform::SystemClock())
      : port_(std::move(port)), clock_(std::move(clock)) {}

  IO::IPort* Port() const { return port_.get(); }
  // Before the port is shared with another thread.
  void SetClock(std::shared_ptr<platform::Clock> clock) { clock_ = std::move(clock); }
  const std::shared_ptr<platform::Clock>& Clock() const { return clock_; }

  // Opens and closes the port once; 0 when the lock is held elsewhere.
  int32_t probe();
  // Opens the port; stores 113 in *result when the lock is held elsewhere.
  int32_t openForClaim(int32_t* result);
  int32_t write(const uint8_t* data, int32_t offset, int32_t count);
  int32_t read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
               int32_t waitForAll);
  int32_t readAvailable(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received);
  // Closes the port when the lock is free or already ours (see LockWithRetry).
  void close();

  // Takes the lock: one try, then up to `retries` more with pauseMs between.
  bool LockWithRetry(int retries, uint32_t pauseMs);
  bool TryLock() { return lock_.try_lock(); }
  void Unlock() { lock_.unlock(); }

 private:
  std::shared_ptr<IO::IPort> port_;
  std::shared_ptr<platform::Clock> clock_;
  std::recursive_mutex lock_;
};

// Holds the port lock of a CPrinterPort for a scope once it was taken.
class PortLockHolder {
 public:
  PortLockHolder(CPrinterPort& port, int retries, uint32_t pauseMs)
      : port_(port), held_(port.LockWithRetry(retries, pauseMs)) {}
  ~PortLockHolder() {
    if (held_) port_.Unlock();
  }
  PortLockHolder(const PortLockHolder&) = delete;
  PortLockHolder& operator=(const PortLockHolder&) = delete;
  bool Held() const { return held_; }

 private:
  CPrinterPort& port_;
  bool held_;
};

}  // namespace Printer
}  // namespace QEL
