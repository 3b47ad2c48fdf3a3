#pragma once
// The event queue and thread of one printer owner. Events are queued from any
// thread and delivered in order on this thread, one at most every 100 ms, so
// that a control object is never called back from inside one of its own
// calls. Each owner has its own queue, thread and handshake; nothing is
// shared between owners or processes.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/clock.h"
#include "so/com/CPrinterCOEventsTask.h"

namespace QEL {
namespace COM {

class SOEventThread {
 public:
  static constexpr uint32_t kPacingMs = 100;

  explicit SOEventThread(std::shared_ptr<platform::Clock> clock);
  ~SOEventThread();  // stops and joins
  SOEventThread(const SOEventThread&) = delete;
  SOEventThread& operator=(const SOEventThread&) = delete;

  // Appends a task and wakes the thread; never waits for delivery.
  void Queue(std::unique_ptr<CPrinterCOEventsTask> task);
  // Runs the thread: starts it when there is none, else lifts a suspension.
  void Start();
  // Holds delivery; queued tasks stay until Resume. A task being delivered
  // finishes first.
  void Suspend();
  void Resume();
  // Ends the thread and joins it; queued tasks stay for the next Start.
  // Called on the thread itself (from inside a delivery), it only asks.
  void Stop();
  // Cancels the task being delivered and drops every queued one.
  void Clear();

  size_t Pending() const;
  bool Running() const;
  bool Suspended() const;

 private:
  void Loop();

  std::shared_ptr<platform::Clock> clock_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<CPrinterCOEventsTask>> queue_;
  CPrinterCOEventsTask* inProgress_ = nullptr;
  bool stop_ = false;
  bool suspend_ = false;
  std::thread thread_;
};

}  // namespace COM
}  // namespace QEL
