#pragma once
// Stands in for the COM layer: records the events a core raises and answers
// the worker's poll by reading the printer state, as the service object does.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "so/printer/CPrinterBase.h"
#include "so/printer/IPrinterEventHandle.h"

namespace testing_support {

class RecordingEventSink : public QEL::Printer::IPrinterEventHandle {
 public:
  void Attach(QEL::Printer::CPrinterBase* core) {
    std::lock_guard<std::mutex> l(m_);
    core_ = core;
  }
  void Detach() { Attach(nullptr); }

  void OnError(const std::u16string&) override {}
  void OnOutputComplete(int32_t outputId) override {
    std::lock_guard<std::mutex> l(m_);
    completions_.push_back(outputId);
    changed_.notify_all();
  }
  void OnOutputError(int32_t resultCode, int32_t resultCodeExtended) override {
    std::lock_guard<std::mutex> l(m_);
    outputErrors_.push_back({resultCode, resultCodeExtended});
    changed_.notify_all();
  }
  void OnStatusUpdate(int32_t status) override {
    std::lock_guard<std::mutex> l(m_);
    statuses_.push_back(status);
    changed_.notify_all();
  }
  int32_t QueryPrinterState() override {
    QEL::Printer::CPrinterBase* core;
    {
      std::lock_guard<std::mutex> l(m_);
      core = core_;
      ++polls_;
    }
    return core != nullptr ? core->GetPrinterState(false) : -1;
  }

  std::vector<int32_t> Statuses() const {
    std::lock_guard<std::mutex> l(m_);
    return statuses_;
  }
  std::vector<int32_t> Completions() const {
    std::lock_guard<std::mutex> l(m_);
    return completions_;
  }
  // ResultCode and ResultCodeExtended of each failed queued job, in order.
  std::vector<std::pair<int32_t, int32_t>> OutputErrors() const {
    std::lock_guard<std::mutex> l(m_);
    return outputErrors_;
  }
  bool WaitForOutputErrors(size_t count, int timeoutMs) {
    std::unique_lock<std::mutex> l(m_);
    return changed_.wait_for(l, std::chrono::milliseconds(timeoutMs),
                             [&] { return outputErrors_.size() >= count; });
  }
  int Polls() const {
    std::lock_guard<std::mutex> l(m_);
    return polls_;
  }
  // True once `status` was raised (at or after position `from`).
  bool WaitForStatus(int32_t status, size_t from, int timeoutMs) {
    std::unique_lock<std::mutex> l(m_);
    return changed_.wait_for(l, std::chrono::milliseconds(timeoutMs), [&] {
      for (size_t i = from; i < statuses_.size(); ++i) {
        if (statuses_[i] == status) return true;
      }
      return false;
    });
  }
  bool WaitForCompletions(size_t count, int timeoutMs) {
    std::unique_lock<std::mutex> l(m_);
    return changed_.wait_for(l, std::chrono::milliseconds(timeoutMs),
                             [&] { return completions_.size() >= count; });
  }

 private:
  mutable std::mutex m_;
  std::condition_variable changed_;
  QEL::Printer::CPrinterBase* core_ = nullptr;
  std::vector<int32_t> statuses_;
  std::vector<int32_t> completions_;
  std::vector<std::pair<int32_t, int32_t>> outputErrors_;
  int polls_ = 0;
};

}  // namespace testing_support
