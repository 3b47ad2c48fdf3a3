#include "so/base/CTaskThreadContext.h"

#include <system_error>
#include <utility>

#include "platform/clock.h"

namespace QEL {
namespace BASE {

namespace {
constexpr int32_t kResultFail = static_cast<int32_t>(0x80004005u);  // E_FAIL
constexpr EventGroup::Mask kLeaveRunning =
    CTaskThreadContext::kStopRequest | CTaskThreadContext::kSuspendRequest;
}  // namespace

CTaskThreadContext::CTaskThreadContext() = default;

CTaskThreadContext::~CTaskThreadContext() {
  ShutDown();
  if (thread_.joinable()) {
    // The worker held a reference until it left its procedure, so it has
    // nothing left to do but return; when it let go of the last reference
    // itself, this runs on the worker and it cannot wait for itself.
    if (thread_.get_id() == std::this_thread::get_id()) {
      thread_.detach();
    } else {
      thread_.join();
    }
  }
}

void CTaskThreadContext::ShutDown() {
  events_.Set(kShuttingDown);
  // No worker can be inside a task here (it holds a reference while it runs),
  // so the queue is emptied without the suspend handshake.
  queue_.Clear();
  std::lock_guard<std::mutex> guard(idleLock_);
  idleTask_.reset();
}

int32_t CTaskThreadContext::Init(const std::shared_ptr<CTaskThreadContext>& self) {
  if (self.get() != this) return kResultInvalidArgument;
  std::lock_guard<std::mutex> guard(controlLock_);
  if (state_.load() == kNew) procedure_ = &CTaskThreadContext::DefaultThreadProcedure;
  threadArgument_ = self;
  state_.store(kInitialised);
  return kResultOk;
}

void CTaskThreadContext::SetIdleTask(std::shared_ptr<ITask2> task) {
  std::lock_guard<std::mutex> guard(idleLock_);
  idleTask_ = std::move(task);
}

bool CTaskThreadContext::SetClock(std::shared_ptr<platform::Clock> clock) {
  if (!clock) return false;
  std::lock_guard<std::mutex> guard(controlLock_);
  // A worker, even one told to stop, may still be waiting on the old clock.
  if (thread_.joinable()) return false;
  clock_ = clock;
  events_.SetClock(std::move(clock));
  return true;
}

std::shared_ptr<platform::Clock> CTaskThreadContext::Clock() const {
  std::lock_guard<std::mutex> guard(controlLock_);
  return clock_;
}

std::shared_ptr<ITask2> CTaskThreadContext::IdleTask() const {
  std::lock_guard<std::mutex> guard(idleLock_);
  return idleTask_;
}

void CTaskThreadContext::OnIdle() {
  if (pausePolling_.load() != 0) return;
  if (std::shared_ptr<ITask2> task = IdleTask()) task->Run();
}

void CTaskThreadContext::CancelFront() {
  if (std::shared_ptr<ITaskBase> task = queue_.Front()) task->Cancel();
}

int32_t CTaskThreadContext::ExecuteOne() {
  if ((events_.Current() & (kTaskFailed | kShuttingDown)) != 0) return 1;
  std::shared_ptr<ITaskBase> task = queue_.Front();
  if (!task) return 1;
  int32_t result = 0;
  try {
    result = task->Execute();
  } catch (...) {
    events_.Set(kTaskFailed);
    result = 0;
  }
  // Only this task: a Clear that gave up waiting for the worker may have
  // emptied the queue and let new tasks in while it ran.
  if (result != 0) queue_.PopFrontIf(task);
  return result;
}

void CTaskThreadContext::PushBack(std::shared_ptr<ITaskBase> task) {
  if (!task) return;
  queue_.PushBack(std::move(task));
  events_.Set(kTaskAdded);
}

void CTaskThreadContext::PushFront(std::shared_ptr<ITaskBase> task) {
  if (!task) return;
  queue_.PushFront(std::move(task));
  events_.Set(kTaskAdded);
}

int32_t CTaskThreadContext::Start() {
  std::lock_guard<std::mutex> guard(controlLock_);
  const int32_t previous = state_.load();
  if (previous == kNew) return kResultUnexpected;
  if (threadActive_) {
    ResumeLocked();
    return kResultOk;
  }
  std::shared_ptr<CTaskThreadContext> self = threadArgument_.lock();
  if (!self || procedure_ == nullptr) return kResultUnexpected;
  JoinStoppedThread();
  // The state first: the new worker looks at it before anything else.
  state_.store(kRunning);
  events_.Change(kResumeRequest, kStopRequest | kSuspendRequest);
  try {
    thread_ = std::thread([procedure = procedure_, self]() mutable { procedure(std::move(self)); });
  } catch (const std::system_error&) {
    state_.store(previous);
    return kResultFail;
  }
  threadActive_ = true;
  return kResultOk;
}

void CTaskThreadContext::Resume() {
  bool start = false;
  {
    std::lock_guard<std::mutex> guard(controlLock_);
    if (threadActive_) {
      ResumeLocked();
    } else {
      start = true;
    }
  }
  if (start) Start();
}

void CTaskThreadContext::ResumeLocked() {
  state_.store(kRunning);
  events_.Change(kResumeRequest, kStopRequest | kSuspendRequest);
}

void CTaskThreadContext::Suspend() {
  std::lock_guard<std::mutex> guard(controlLock_);
  SuspendLocked();
}

void CTaskThreadContext::SuspendLocked() {
  if (!threadActive_ || state_.load() == kSuspended) return;
  events_.Change(kSuspendRequest, kResumeRequest | kSuspendDone);
  // A task that suspends its own worker cannot wait for it: the worker parks
  // as soon as that task returns.
  if (thread_.get_id() != std::this_thread::get_id()) {
    clock_->SleepMs(kSuspendSettleMs);
    events_.WaitAny(kSuspendDone, kSuspendAckMs);
  }
  state_.store(kSuspended);
}

void CTaskThreadContext::Stop() {
  std::lock_guard<std::mutex> guard(controlLock_);
  StopLocked();
}

void CTaskThreadContext::StopLocked() {
  if (!threadActive_) return;
  events_.Change(kStopRequest, kStopDone);
  // The handle stays for a later join; the context no longer has a worker.
  threadActive_ = false;
  state_.store(kStopped);
}

bool CTaskThreadContext::StopAndJoin(uint32_t timeoutMs) {
  std::lock_guard<std::mutex> guard(controlLock_);
  StopLocked();
  if (!thread_.joinable()) return true;
  if (thread_.get_id() == std::this_thread::get_id()) return false;
  if (events_.WaitAny(kStopDone, timeoutMs) == 0) return false;
  thread_.join();
  return true;
}

void CTaskThreadContext::JoinStoppedThread() {
  if (!thread_.joinable()) return;
  if (thread_.get_id() == std::this_thread::get_id()) {
    // Restarted from a task of the stopped worker itself: that worker ends
    // on its own once the task returns, holding its own reference.
    thread_.detach();
    return;
  }
  // Before the stop request is taken back: otherwise the old worker would
  // never see it and two workers would share one queue.
  thread_.join();
}

void CTaskThreadContext::Clear() {
  std::lock_guard<std::mutex> guard(controlLock_);
  events_.Reset(kTaskFailed);
  if (queue_.Empty()) return;
  // A worker that was parked already (disabled device) stays parked.
  const bool resumeAfter = threadActive_ && state_.load() == kRunning;
  SuspendLocked();
  queue_.Clear();
  events_.Reset(kTaskFailed);
  if (resumeAfter) ResumeLocked();
}

void CTaskThreadContext::RunningPass() {
  bool work = !queue_.Empty();
  if (!work) {
    EventGroup::Mask woke = events_.WaitAny(kTaskAdded | kLeaveRunning, kIdleAfterMs);
    if ((woke & kLeaveRunning) != 0) return;
    work = woke != 0 || !queue_.Empty();
    if (!work) {
      idlePasses_.fetch_add(1);
      try {
        OnIdle();
      } catch (...) {
        // The idle task reports nothing; the worker must survive it.
      }
      woke = events_.WaitAny(kTaskAdded | kLeaveRunning, kIdleRepeatMs);
      if ((woke & kLeaveRunning) != 0) return;
      work = woke != 0 || !queue_.Empty();
    }
  }
  if (work) {
    // At most one task per spacing; a stop or suspend meanwhile goes first.
    if (events_.WaitAny(kLeaveRunning, kTaskSpacingMs) != 0) return;
    if (!queue_.Empty()) {
      taskPasses_.fetch_add(1);
      try {
        ExecuteOne();
      } catch (...) {
      }
    }
  }
  if (queue_.Empty()) events_.Reset(kTaskAdded);
}

uint32_t CTaskThreadContext::DefaultThreadProcedure(std::shared_ptr<CTaskThreadContext> self) {
  CTaskThreadContext& context = *self;
  EventGroup& events = context.events_;
  for (;;) {
    EventGroup::Mask current = events.Current();
    if ((current & kStopRequest) != 0) {
      events.Set(kStopDone);
      break;
    }
    if ((current & kSuspendRequest) != 0) {
      // Between two tasks: acknowledge, then stay parked until resumed,
      // stopped or asked to suspend once more.
      if ((current & kSuspendDone) == 0) {
        context.suspendAcks_.fetch_add(1);
        events.Set(kSuspendDone);
      }
      current = events.WaitUntil(
          [](EventGroup::Mask m) {
            return (m & (kStopRequest | kResumeRequest)) != 0 || (m & kSuspendRequest) == 0 ||
                   (m & kSuspendDone) == 0;
          },
          EventGroup::kInfinite);
      if ((current & kResumeRequest) != 0) events.Reset(kResumeRequest);
      continue;
    }
    if (context.state_.load() == kRunning) {
      context.RunningPass();
      continue;
    }
    current = events.WaitAny(kStopRequest | kResumeRequest | kSuspendRequest, EventGroup::kInfinite);
    if ((current & kResumeRequest) != 0) events.Reset(kResumeRequest);
  }
  self.reset();
  return 0;
}

}  // namespace BASE
}  // namespace QEL
