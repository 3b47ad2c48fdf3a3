#pragma once
// Stands in for the COM layer: records every event a core, its event object or
// its worker raises, in order and by kind, and answers the status poll by
// reading the attached core's printer state, as the service object does.
// Also serves as the worker's idle task, counting the polls it is given.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/manual_reset_event.h"
#include "so/base/ITask2.h"
#include "so/printer/CPrinterBase.h"
#include "so/printer/IPrinterEventHandle.h"
#include "testing/TestTasks.h"

namespace testing_support {

class RecordingEventSink : public QEL::Printer::IPrinterEventHandle, public QEL::BASE::ITask2 {
 public:
  using Journal = task_test::Journal;

  void Attach(QEL::Printer::CPrinterBase* core) {
    std::lock_guard<std::mutex> l(m_);
    core_ = core;
  }
  void Detach() { Attach(nullptr); }
  // What a poll answers while no core is attached (-1: the printer cannot be asked).
  void SetUnattachedPollAnswer(int32_t answer) { unattachedAnswer_.store(answer); }
  // Each completion is recorded, then refused by raising while set.
  void ThrowOnCompletion(bool on) { throwOnCompletion_.store(on); }

  void OnError(const std::u16string&) override { Log("error"); }
  void OnOutputComplete(int32_t outputId) override {
    Log("complete " + std::to_string(outputId));
    completions_.Record(outputId);
    if (throwOnCompletion_.load()) throw std::runtime_error("the sink failed");
  }
  void OnOutputError(int32_t resultCode, int32_t extended) override {
    std::lock_guard<std::mutex> l(m_);
    log_.push_back("output error " + std::to_string(resultCode) + "/" + std::to_string(extended));
    outputErrors_.emplace_back(resultCode, extended);
  }
  void OnStatusUpdate(int32_t status) override {
    Log("status " + std::to_string(status));
    statuses_.Record(status);
  }
  int32_t QueryPrinterState() override {
    QEL::Printer::CPrinterBase* core;
    {
      std::lock_guard<std::mutex> l(m_);
      core = core_;
      log_.push_back("poll");
    }
    polls_.fetch_add(1);
    polled_.Set();
    return core != nullptr ? core->GetPrinterState(false) : unattachedAnswer_.load();
  }
  // As the worker's idle task.
  void Run() override {
    polls_.fetch_add(1);
    polled_.Set();
  }

  Journal& Completions() { return completions_; }
  Journal& Statuses() { return statuses_; }
  // ResultCode and ResultCodeExtended of each failed write, in order.
  std::vector<std::pair<int32_t, int32_t>> OutputErrors() const {
    std::lock_guard<std::mutex> l(m_);
    return outputErrors_;
  }
  int Polls() const { return polls_.load(); }
  platform::ManualResetEvent& Polled() { return polled_; }
  // Every event and poll in the order they came.
  std::vector<std::string> Events() const {
    std::lock_guard<std::mutex> l(m_);
    return log_;
  }

  // True once `status` was raised (at or after position `from`).
  bool WaitForStatus(int32_t status, size_t from, int timeoutMs) {
    return task_test::Eventually(
        [&] {
          const std::vector<int32_t> seen = statuses_.Ids();
          for (size_t i = from; i < seen.size(); ++i) {
            if (seen[i] == status) return true;
          }
          return false;
        },
        static_cast<uint32_t>(timeoutMs));
  }
  bool WaitForCompletions(size_t count, int timeoutMs) {
    return completions_.WaitForSize(count, static_cast<uint32_t>(timeoutMs));
  }
  bool WaitForOutputErrors(size_t count, int timeoutMs) {
    return task_test::Eventually([&] { return OutputErrors().size() >= count; },
                                 static_cast<uint32_t>(timeoutMs));
  }

 private:
  void Log(std::string entry) {
    std::lock_guard<std::mutex> l(m_);
    log_.push_back(std::move(entry));
  }

  mutable std::mutex m_;
  QEL::Printer::CPrinterBase* core_ = nullptr;
  std::vector<std::string> log_;
  Journal completions_;
  Journal statuses_;
  std::vector<std::pair<int32_t, int32_t>> outputErrors_;
  std::atomic<int32_t> unattachedAnswer_{-1};
  std::atomic<bool> throwOnCompletion_{false};
  std::atomic<int> polls_{0};
  platform::ManualResetEvent polled_;
};

}  // namespace testing_support
