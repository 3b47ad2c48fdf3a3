#include "so/printer/CPrinterTaskThreadContext.h"

#include <utility>

#include "so/printer/OutputIdCounter.h"

namespace QEL {
namespace Printer {

CPrinterTaskThreadContext::CPrinterTaskThreadContext(std::shared_ptr<CPrinterPort> port,
                                                     std::shared_ptr<IPrinterEventHandle> eventObject,
                                                     std::shared_ptr<BASE::ITask2> idleTask)
    : port_(std::move(port)), eventObject_(std::move(eventObject)) {
  SetIdleTask(std::move(idleTask));
}

CPrinterTaskThreadContext::~CPrinterTaskThreadContext() {
  // The queued tasks go while the heaps and the port are still here.
  ShutDown();
}

int32_t CPrinterTaskThreadContext::Init(const std::shared_ptr<BASE::CTaskThreadContext>& self) {
  const int32_t result = CTaskThreadContext::Init(self);
  if (result == BASE::kResultOk) OutputIdCounter::Reset();
  return result;
}

int32_t CPrinterTaskThreadContext::ExecuteOne() {
  const BASE::EventGroup::Mask current = Events().Current();
  if ((current & kShuttingDown) != 0) return 1;
  if ((current & kTaskFailed) != 0) {
    // The held job waits for the application's answer; meanwhile the
    // printer's status is still watched, so a closed cover is seen.
    if (++heldPasses_ % kHeldPassesPerPoll == 0) OnIdle();
    return 1;
  }
  heldPasses_ = 0;
  std::shared_ptr<BASE::ITaskBase> task = Queue().Front();
  if (!task) return 1;
  const bool internal = task->Id() < 0;
  const bool cancelled = task->IsCancelled() != 0;
  int32_t result = 1;
  if (!cancelled) {
    try {
      result = task->Execute();
    } catch (...) {
      // Stays in front, and nothing runs any more until a Clear.
      Events().Set(kTaskFailed);
      result = 0;
    }
  }
  if (result == 0) HoldIfOutputFailed(*task);
  // Only this task: a Clear that gave up waiting for the worker may have
  // emptied the queue and let new tasks in while it ran.
  if (result != 0) Queue().PopFrontIf(task);
  task.reset();
  if (internal && !cancelled && result != 0) internalDone_.Set();
  return result;
}

void CPrinterTaskThreadContext::HoldIfOutputFailed(BASE::ITaskBase& task) {
  auto* output = dynamic_cast<CPrinterOutTask*>(&task);
  if (output == nullptr) return;
  const CPrinterOutTask::Failure failure = output->LastFailure();
  if (failure == CPrinterOutTask::Failure::kNone) return;
  // Held before the report goes out: an answer to the report may come at
  // once, and a retry must find the job held.
  Events().Set(kTaskFailed);
  std::lock_guard<std::mutex> guard(reporterLock_);
  if (reporter_) reporter_(output->Id(), failure);
}

void CPrinterTaskThreadContext::SetOutputFailureReporter(OutputFailureReporter reporter) {
  std::lock_guard<std::mutex> guard(reporterLock_);
  reporter_ = std::move(reporter);
}

bool CPrinterTaskThreadContext::RetryHeld() {
  if (!Held()) return false;
  // The job is still in front; the worker takes it on its next pass.
  Events().Change(kTaskAdded, kTaskFailed);
  return true;
}

std::shared_ptr<CPrinterOutTask> CPrinterTaskThreadContext::CreateOutTask(const uint8_t* data,
                                                                          int32_t length,
                                                                          int32_t outputId) {
  auto task = std::make_shared<CPrinterOutTask>(port_, eventObject_);
  const size_t size = length > 0 ? static_cast<size_t>(length) : 0;
  task->StoreData(heaps_.Copy(data, size), outputId);
  return task;
}

int32_t CPrinterTaskThreadContext::QueueOutput(const uint8_t* data, int32_t length, int32_t outputId,
                                               bool toFront) {
  std::shared_ptr<CPrinterOutTask> task = CreateOutTask(data, length, outputId);
  if (toFront) {
    PushFront(std::move(task));
  } else {
    PushBack(std::move(task));
  }
  return 0;
}

}  // namespace Printer
}  // namespace QEL
