#include "so/com/CPrinterCOEventsTask.h"

namespace QEL {
namespace COM {

CPrinterCOEventsTask::CPrinterCOEventsTask(ISOFireEvents* target, EventKind kind,
                                           const int32_t* values, size_t count)
    : target_(target), kind_(kind), count_(count > kMaxValues ? kMaxValues : count) {
  for (size_t i = 0; i < count_; ++i) values_[i] = values[i];
}

bool CPrinterCOEventsTask::Execute() {
  target_->FireEvent(kind_, values_, count_);
  if (cancelled_) return true;
  if (kind_ == EventKind::kError && count_ >= 4 && values_[2] == kErrorLocusOutput) {
    if (values_[3] == kErrorResponseClear) {
      target_->RequestClearOutput();
    } else if (values_[3] == kErrorResponseRetry) {
      target_->RequestRetry();
    }
  }
  return true;
}

}  // namespace COM
}  // namespace QEL
