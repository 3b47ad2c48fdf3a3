#pragma once
// The worker of one opened printer: sends queued asynchronous output and,
// while idle, has the printer status polled through the event object.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <type_traits>

#include "platform/manual_reset_event.h"
#include "so/base/CTaskThreadContext.h"
#include "so/base/ITask2.h"
#include "so/base/WorkerHeaps.h"
#include "so/printer/CPrinterOutTask.h"
#include "so/printer/CPrinterPort.h"
#include "so/printer/IPrinterEventHandle.h"

namespace QEL {
namespace Printer {

class CPrinterTaskThreadContext : public BASE::CTaskThreadContext {
 public:
  // Told, on the worker thread, that a queued job could not be written.
  using OutputFailureReporter = std::function<void(int32_t outputId, CPrinterOutTask::Failure failure)>;
  // While a job is held the worker still passes every task spacing; every
  // this many passes it polls the printer status instead of sending, about
  // as often as an idle worker polls.
  static constexpr uint32_t kHeldPassesPerPoll = 3;

  // `eventObject` receives output completions; `idleTask` is run while the
  // worker is idle and polling is not paused (the event object's status poll).
  // Throws std::bad_alloc when the heaps cannot be created.
  CPrinterTaskThreadContext(std::shared_ptr<CPrinterPort> port,
                            std::shared_ptr<IPrinterEventHandle> eventObject,
                            std::shared_ptr<BASE::ITask2> idleTask);
  // For an event object that is also the idle task.
  template <class EventObject,
            class = std::enable_if_t<std::is_base_of<IPrinterEventHandle, EventObject>::value &&
                                     std::is_base_of<BASE::ITask2, EventObject>::value>>
  CPrinterTaskThreadContext(std::shared_ptr<CPrinterPort> port, const std::shared_ptr<EventObject>& eventObject)
      : CPrinterTaskThreadContext(std::move(port), eventObject, eventObject) {}
  ~CPrinterTaskThreadContext() override;

  // Also starts the process-wide OutputID sequence afresh.
  int32_t Init(const std::shared_ptr<BASE::CTaskThreadContext>& self) override;
  // Runs the front task as the base does: a task whose Execute returns 0 is
  // not finished and stays in front to run again on a later pass; a finished
  // or cancelled one leaves the queue. A task with a negative Id that
  // finished without being cancelled sets internalDone.
  // An output job that could not be written is held instead: it stays in
  // front, the reporter hears of it once, and no task runs (the status is
  // still polled) until RetryHeld or Clear.
  int32_t ExecuteOne() override;

  // Replaces the reporter; null stops the reports. Returns only once a
  // report in flight has ended, so what the old reporter refers to may go.
  void SetOutputFailureReporter(OutputFailureReporter reporter);
  // True while a job is held after a failure (or a task raised).
  bool Held() const { return TaskFailed(); }
  // Lets the held job run once more on the worker's next pass. False, and
  // nothing changes, when no job is held.
  bool RetryHeld();

  // An output task holding a copy of `data` in one of the heaps (data of up
  // to 65535 bytes in the small heap while it has room, else the large heap).
  // Throws std::bad_alloc when neither heap has room.
  std::shared_ptr<CPrinterOutTask> CreateOutTask(const uint8_t* data, int32_t length, int32_t outputId);
  // CreateOutTask, then queue it at the back (at the front when toFront).
  // Returns 0.
  int32_t QueueOutput(const uint8_t* data, int32_t length, int32_t outputId, bool toFront);

  platform::ManualResetEvent& InternalDone() { return internalDone_; }
  const BASE::WorkerHeaps& Heaps() const { return heaps_; }
  const std::shared_ptr<CPrinterPort>& Port() const { return port_; }
  const std::shared_ptr<IPrinterEventHandle>& EventObject() const { return eventObject_; }

 private:
  // After a task left unfinished: holds it when it was output that failed.
  void HoldIfOutputFailed(BASE::ITaskBase& task);

  BASE::WorkerHeaps heaps_;
  std::shared_ptr<CPrinterPort> port_;
  std::shared_ptr<IPrinterEventHandle> eventObject_;
  platform::ManualResetEvent internalDone_;
  std::mutex reporterLock_;
  OutputFailureReporter reporter_;
  uint32_t heldPasses_ = 0;  // the worker's alone
};

}  // namespace Printer
}  // namespace QEL
