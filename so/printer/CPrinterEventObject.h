#pragma once
// Gate between a printer core and its COM layer: events pass only while on,
// so nothing reaches the application outside enable ... disable.
#include <atomic>
#include <cstdint>
#include <string>

#include "so/base/ITask2.h"
#include "so/printer/IPrinterEventHandle.h"

namespace QEL {
namespace Printer {

class CPrinterEventObject : public IPrinterEventHandle, public BASE::ITask2 {
 public:
  explicit CPrinterEventObject(IPrinterEventHandle* target) : target_(target) {}

  void SetEventsOn(bool on) { eventsOn_.store(on ? 1 : 0); }
  bool EventsOn() const { return eventsOn_.load() != 0; }

  void OnError(const std::u16string& description) override;
  void OnOutputComplete(int32_t outputId) override;
  void OnOutputError(int32_t resultCode, int32_t resultCodeExtended) override;
  void OnStatusUpdate(int32_t status) override;
  // -1 while events are off: nobody is there to be told.
  int32_t QueryPrinterState() override;
  // The worker's idle task: ask the owner to poll the printer.
  void Run() override { QueryPrinterState(); }

 private:
  IPrinterEventHandle* target_;  // not owned
  std::atomic<int32_t> eventsOn_{0};
};

}  // namespace Printer
}  // namespace QEL
