#pragma once
// One worker thread with its task queue: the caller's thread queues tasks and
// steers the worker (start, suspend, resume, stop); the worker runs the tasks
// one at a time, in order, and an idle task when there is nothing to do.
//
// The worker keeps its own shared reference to the context while it runs, so
// the context outlives the owner's reference until the worker has ended. The
// owner must stop the worker (StopAndJoin, or Stop and let the worker end on
// its own) before it lets go of the context: a worker that was never told to
// stop keeps the context alive.
//
// Every pause and time-out of the worker and of the control operations runs
// on the context's clock (the system's unless SetClock gave another).
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/clock.h"
#include "so/base/EventGroup.h"
#include "so/base/ITask2.h"
#include "so/base/ITaskBase.h"
#include "so/base/SafeDeque.h"

namespace QEL {
namespace BASE {

// HRESULT-like results of the control operations.
constexpr int32_t kResultOk = 0;
constexpr int32_t kResultUnexpected = static_cast<int32_t>(0x8000FFFFu);  // E_UNEXPECTED
constexpr int32_t kResultInvalidArgument = static_cast<int32_t>(0x80070057u);  // E_INVALIDARG

class CTaskThreadContext {
 public:
  enum State : int32_t { kNew = 0, kInitialised = 1, kRunning = 2, kSuspended = 3, kStopped = 4 };
  using ThreadProcedure = uint32_t (*)(std::shared_ptr<CTaskThreadContext> self);

  // The worker's events; each context has a set of its own.
  enum Event : EventGroup::Mask {
    kSuspendRequest = 1u << 0,
    kResumeRequest = 1u << 1,
    kSuspendDone = 1u << 2,
    kStopRequest = 1u << 3,
    kStopDone = 1u << 4,
    kTaskAdded = 1u << 5,
    kTaskFailed = 1u << 6,
    kShuttingDown = 1u << 7,
  };

  // Pauses of the worker, in milliseconds.
  static constexpr uint32_t kIdleAfterMs = 100;     // without work before the idle task runs
  static constexpr uint32_t kIdleRepeatMs = 200;    // more between two idle runs
  static constexpr uint32_t kTaskSpacingMs = 100;   // before each task
  static constexpr uint32_t kSuspendSettleMs = 100;
  static constexpr uint32_t kSuspendAckMs = 3000;

  CTaskThreadContext();
  virtual ~CTaskThreadContext();
  CTaskThreadContext(const CTaskThreadContext&) = delete;
  CTaskThreadContext& operator=(const CTaskThreadContext&) = delete;

  // `self` is the owner's shared reference to this very context; the worker
  // takes its own reference from it when it starts. State becomes initialised.
  // kResultInvalidArgument (and nothing changes) when `self` is not this.
  virtual int32_t Init(const std::shared_ptr<CTaskThreadContext>& self);
  virtual void OnIdle();
  virtual void PausePolling() { pausePolling_.store(1); }
  virtual void ResumePolling() { pausePolling_.store(0); }
  virtual int32_t Count() const { return static_cast<int32_t>(queue_.Size()); }
  // Runs the front task once (on the worker thread). Always 1 once a task
  // failed or the context is shutting down: nothing runs any more then.
  virtual int32_t ExecuteOne();
  virtual void CancelFront();

  // The clock of every pause and time-out of this context. Only before a
  // worker thread exists: false, and nothing changes, once there is one.
  bool SetClock(std::shared_ptr<platform::Clock> clock);
  std::shared_ptr<platform::Clock> Clock() const;

  // kResultUnexpected before Init, or when the owner's reference is gone.
  int32_t Start();
  void Resume();
  // Returns once the worker parked between two tasks, or after a bounded
  // wait when it is stuck in a task; the state is suspended either way.
  void Suspend();
  // Signals the worker to end after its current task; does not wait.
  void Stop();
  // Stop, then wait up to timeoutMs for the worker to end and join it. True
  // when no worker thread of this context is left. Never waits for the
  // worker from the worker itself.
  bool StopAndJoin(uint32_t timeoutMs);

  void PushBack(std::shared_ptr<ITaskBase> task);
  void PushFront(std::shared_ptr<ITaskBase> task);
  void PopFront() { queue_.PopFront(); }
  std::shared_ptr<ITaskBase> Front() const { return queue_.Front(); }
  // Empties the queue with the worker parked, so that no task is half taken.
  // The worker then runs again if it ran before. Forgets an earlier failure.
  void Clear();

  int32_t State() const { return state_.load(); }
  bool PollingPaused() const { return pausePolling_.load() != 0; }
  bool TaskFailed() const { return events_.IsSet(kTaskFailed); }
  void SetIdleTask(std::shared_ptr<ITask2> task);
  // Passes of the worker through its idle branch, whether or not the idle
  // task ran; lets a caller see that the worker has been idle.
  uint64_t IdlePasses() const { return idlePasses_.load(); }
  // Passes of the worker that offered the front task to ExecuteOne.
  uint64_t TaskPasses() const { return taskPasses_.load(); }
  // Times the worker acknowledged a suspend request.
  uint64_t SuspendAcks() const { return suspendAcks_.load(); }

 protected:
  static uint32_t DefaultThreadProcedure(std::shared_ptr<CTaskThreadContext> self);
  // One pass of a running worker: wait for work or run the idle task, then
  // run at most one task.
  void RunningPass();
  // The queue for the derived forms of ExecuteOne.
  SafeDeque& Queue() { return queue_; }
  EventGroup& Events() { return events_; }
  // Called by a derived destructor before its own members go: nothing may
  // run any more, and the queued tasks are dropped while the derived part
  // still exists.
  void ShutDown();

 private:
  bool ThreadExists() const { return threadActive_; }
  void ResumeLocked();
  void SuspendLocked();
  void StopLocked();
  // Waits for a worker that was told to stop; from Start, before the stop
  // request is taken back.
  void JoinStoppedThread();
  std::shared_ptr<ITask2> IdleTask() const;

  std::weak_ptr<CTaskThreadContext> threadArgument_;
  EventGroup events_;
  std::thread thread_;
  bool threadActive_ = false;  // a thread that has not been told to stop
  std::atomic<int32_t> state_{kNew};
  ThreadProcedure procedure_ = nullptr;
  SafeDeque queue_;
  mutable std::mutex idleLock_;
  std::shared_ptr<ITask2> idleTask_;
  std::atomic<int32_t> pausePolling_{0};
  std::atomic<uint64_t> idlePasses_{0};
  std::atomic<uint64_t> taskPasses_{0};
  std::atomic<uint64_t> suspendAcks_{0};
  // Serialises the control operations of callers; the worker never takes it.
  mutable std::mutex controlLock_;
  std::shared_ptr<platform::Clock> clock_ = platform::SystemClock();
};

}  // namespace BASE
}  // namespace QEL
