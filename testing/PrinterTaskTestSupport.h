#pragma once
// An event object double for the printer worker's tests: records output
// completions (and can refuse them by raising) and counts idle runs.
#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/manual_reset_event.h"
#include "so/base/ITask2.h"
#include "so/printer/IPrinterEventHandle.h"
#include "testing/TestTasks.h"

namespace task_test {

class RecordingEventObject : public QEL::Printer::IPrinterEventHandle, public QEL::BASE::ITask2 {
 public:
  Journal& Completions() { return completions_; }
  int Polls() const { return polls_.load(); }
  platform::ManualResetEvent& Polled() { return polled_; }

  void OnError(const std::u16string&) override {}
  // Each completion is recorded, then raised as an error while set.
  void ThrowOnCompletion(bool on) { throwOnCompletion_.store(on); }

  void OnOutputComplete(int32_t outputId) override {
    completions_.Record(outputId);
    if (throwOnCompletion_.load()) throw std::runtime_error("the sink failed");
  }
  void OnOutputError(int32_t resultCode, int32_t) override { outputErrors_.Record(resultCode); }
  // The ResultCode of each failed job, in order.
  Journal& OutputErrors() { return outputErrors_; }
  void OnStatusUpdate(int32_t) override {}
  int32_t QueryPrinterState() override { return 0; }
  void Run() override {
    polls_.fetch_add(1);
    polled_.Set();
  }

 private:
  Journal completions_;
  Journal outputErrors_;
  std::atomic<bool> throwOnCompletion_{false};
  std::atomic<int> polls_{0};
  platform::ManualResetEvent polled_;
};

}  // namespace task_test
