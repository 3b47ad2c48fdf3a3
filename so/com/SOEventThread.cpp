#include "so/com/SOEventThread.h"

#include <utility>

namespace QEL {
namespace COM {

SOEventThread::SOEventThread(std::shared_ptr<platform::Clock> clock)
    : clock_(clock ? std::move(clock) : platform::SystemClock()) {}

SOEventThread::~SOEventThread() {
  Stop();
  if (thread_.joinable()) thread_.detach();  // only when destroyed from its own delivery
}

void SOEventThread::Queue(std::unique_ptr<CPrinterCOEventsTask> task) {
  std::lock_guard<std::mutex> lock(mutex_);
  queue_.push_back(std::move(task));
  clock_->Notify(changed_);
}

void SOEventThread::Start() {
  std::unique_lock<std::mutex> lock(mutex_);
  suspend_ = false;
  if (thread_.joinable() && !stop_) {
    clock_->Notify(changed_);
    return;
  }
  if (thread_.joinable()) {
    // Asked to stop from inside a delivery and not joined since.
    if (thread_.get_id() == std::this_thread::get_id()) {
      stop_ = false;
      return;
    }
    lock.unlock();
    thread_.join();
    lock.lock();
  }
  stop_ = false;
  thread_ = std::thread([this] { Loop(); });
}

void SOEventThread::Suspend() {
  std::lock_guard<std::mutex> lock(mutex_);
  suspend_ = true;
  clock_->Notify(changed_);
}

void SOEventThread::Resume() {
  std::lock_guard<std::mutex> lock(mutex_);
  suspend_ = false;
  clock_->Notify(changed_);
}

void SOEventThread::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
    clock_->Notify(changed_);
    if (!thread_.joinable() || thread_.get_id() == std::this_thread::get_id()) return;
  }
  thread_.join();
}

void SOEventThread::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (inProgress_ != nullptr) inProgress_->SetCancelled();
  // The task being delivered stays at the front until the thread is done with it.
  while (queue_.size() > (inProgress_ != nullptr ? 1u : 0u)) queue_.pop_back();
}

size_t SOEventThread::Pending() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size();
}

bool SOEventThread::Running() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return thread_.joinable() && !stop_;
}

bool SOEventThread::Suspended() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return suspend_;
}

void SOEventThread::Loop() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    clock_->WaitUntil(lock, changed_, platform::Clock::kInfinite,
                      [this] { return stop_ || (!suspend_ && !queue_.empty()); });
    if (stop_) return;
    // Paces delivery; a stop or suspension that comes meanwhile wins.
    lock.unlock();
    clock_->SleepMs(kPacingMs);
    lock.lock();
    if (stop_) return;
    if (suspend_ || queue_.empty()) continue;
    CPrinterCOEventsTask* task = queue_.front().get();
    inProgress_ = task;
    lock.unlock();
    bool goOn = task->Execute();
    lock.lock();
    inProgress_ = nullptr;
    queue_.pop_front();
    if (!goOn) stop_ = true;
  }
}

}  // namespace COM
}  // namespace QEL
