#include "so/printer/CPrinterOutTask.h"

#include <utility>

namespace QEL {
namespace Printer {

namespace {
// Clears the running flag on every way out of the write.
struct RunningFlag {
  explicit RunningFlag(std::atomic<int32_t>& flag) : flag(flag) { flag.store(1); }
  ~RunningFlag() { flag.store(0); }
  std::atomic<int32_t>& flag;
};
}  // namespace

CPrinterOutTask::CPrinterOutTask(std::shared_ptr<CPrinterPort> port,
                                 std::shared_ptr<IPrinterEventHandle> eventObject)
    : port_(std::move(port)), eventObject_(std::move(eventObject)) {}

void CPrinterOutTask::StoreData(BASE::HeapBlock data, int32_t outputId) {
  data_ = std::move(data);
  outputId_.store(outputId);
}

int32_t CPrinterOutTask::Execute() {
  if (finished_.load() || data_.Data() == nullptr || data_.Length() == 0 || cancelled_.load() != 0) {
    return 1;
  }
  failure_.store(Failure::kNone);
  if (!port_) {
    failure_.store(Failure::kWriteFailed);
    return 0;
  }
  PortLockHolder lock(*port_, lockWait_.retries, lockWait_.pauseMs);
  if (!lock.Held()) {
    failure_.store(Failure::kPortBusy);
    return 0;
  }
  int32_t written = 0;
  {
    RunningFlag running(running_);
    written = port_->write(data_.Data(), 0, static_cast<int32_t>(data_.Length()));
  }
  if (written == 0) {
    failure_.store(Failure::kWriteFailed);
    return 0;
  }
  // Finished before the report goes out: should the sink raise, a later run
  // of this task must not write or report it again.
  finished_.store(true);
  const int32_t id = outputId_.load();
  if (id != -1 && eventObject_) eventObject_->OnOutputComplete(id);
  return 1;
}

}  // namespace Printer
}  // namespace QEL
