#pragma once
// An event object double for the printer worker's tests: records output
// completions and counts idle runs.
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/manual_reset_event.h"
#include "so/base/ITask2.h"
#include "so/base/TestTasks.h"
#include "so/printer/IPrinterEventHandle.h"

namespace task_test {

class RecordingEventObject : public QEL::Printer::IPrinterEventHandle, public QEL::BASE::ITask2 {
 public:
  Journal& Completions() { return completions_; }
  int Polls() const { return polls_.load(); }
  platform::ManualResetEvent& Polled() { return polled_; }

  void OnError(const std::u16string&) override {}
  void OnOutputComplete(int32_t outputId) override { completions_.Record(outputId); }
  void OnStatusUpdate(int32_t) override {}
  int32_t QueryPrinterState() override { return 0; }
  void Run() override {
    polls_.fetch_add(1);
    polled_.Set();
  }

 private:
  Journal completions_;
  std::atomic<int> polls_{0};
  platform::ManualResetEvent polled_;
};

}  // namespace task_test
