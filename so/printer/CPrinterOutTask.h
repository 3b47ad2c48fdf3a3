#pragma once
// One piece of asynchronous output: a private copy of the bytes and the
// OutputID the application was given for them. The worker sends it and
// reports its completion, once.
#include <atomic>
#include <cstdint>
#include <memory>

#include "so/base/ITaskBase.h"
#include "so/base/WorkerHeaps.h"
#include "so/printer/CPrinterPort.h"
#include "so/printer/IPrinterEventHandle.h"

namespace QEL {
namespace Printer {

class CPrinterOutTask : public BASE::ITaskBase {
 public:
  // How long Execute tries for the port lock: one try, then `retries` more
  // `pauseMs` apart (10 s by default).
  struct LockWait {
    int retries = 100;
    uint32_t pauseMs = 100;
  };

  CPrinterOutTask(std::shared_ptr<CPrinterPort> port, std::shared_ptr<IPrinterEventHandle> eventObject);

  // Takes the copied bytes and their OutputID; until then Id reads -1.
  void StoreData(BASE::HeapBlock data, int32_t outputId);
  void SetLockWait(LockWait wait) { lockWait_ = wait; }

  // Why the last Execute left the job unwritten.
  enum class Failure : int32_t {
    kNone = 0,
    kWriteFailed = 1,  // the port was closed or refused the bytes
    kPortBusy = 2,     // the port lock was not free within the lock wait
  };

  // Sends the bytes under the port lock and reports the completion.
  // 1 (finished) once the bytes went to the port; the completion is
  // reported then and only then.
  // 0 (not finished) when they could not be written: nothing is reported,
  // LastFailure says why, and the job is left for the worker to hold until
  // the application retries it or clears the output.
  // 1 without sending for a cancelled task, one without data, or one that
  // already finished: a job is never written or reported twice.
  int32_t Execute() override;
  Failure LastFailure() const { return failure_.load(); }
  void Cancel() override { cancelled_.store(1); }
  int32_t Id() override { return outputId_.load(); }
  int32_t IsRunning() override { return running_.load(); }
  int32_t IsCancelled() override { return cancelled_.load(); }

  const BASE::HeapBlock& Data() const { return data_; }

 private:
  std::atomic<int32_t> outputId_{-1};
  std::shared_ptr<CPrinterPort> port_;
  std::shared_ptr<IPrinterEventHandle> eventObject_;
  BASE::HeapBlock data_;
  std::atomic<int32_t> running_{0};
  std::atomic<int32_t> cancelled_{0};
  // Set once the bytes went to the port (and the completion was reported).
  std::atomic<bool> finished_{false};
  std::atomic<Failure> failure_{Failure::kNone};
  LockWait lockWait_;
};

}  // namespace Printer
}  // namespace QEL
