#pragma once
// The worker of one opened printer: sends queued asynchronous output and,
// while idle, has the printer status polled through the event object.
#include <cstdint>
#include <memory>
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
  int32_t ExecuteOne() override;

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
  BASE::WorkerHeaps heaps_;
  std::shared_ptr<CPrinterPort> port_;
  std::shared_ptr<IPrinterEventHandle> eventObject_;
  platform::ManualResetEvent internalDone_;
};

}  // namespace Printer
}  // namespace QEL
