#pragma once
// One event on its way to the control objects: built on whichever thread the
// event arose on, executed later on the owner's event thread.
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "so/com/ISOFireEvents.h"

namespace QEL {
namespace COM {

constexpr int32_t kErrorLocusOutput = 1;  // OPOS_EL_OUTPUT
constexpr int32_t kErrorResponseRetry = 11;  // OPOS_ER_RETRY
constexpr int32_t kErrorResponseClear = 12;  // OPOS_ER_CLEAR

class CPrinterCOEventsTask {
 public:
  static constexpr size_t kMaxValues = 7;

  CPrinterCOEventsTask(ISOFireEvents* target, EventKind kind, const int32_t* values, size_t count);

  // Delivers the event; after an error event, acts on the response the
  // control object gave. True lets the event thread go on.
  bool Execute();
  void SetCancelled() { cancelled_ = true; }
  bool Cancelled() const { return cancelled_; }
  EventKind Kind() const { return kind_; }
  int32_t Value(size_t i) const { return values_[i]; }
  size_t Count() const { return count_; }

 private:
  std::atomic<bool> cancelled_{false};
  ISOFireEvents* target_;
  EventKind kind_;
  int32_t values_[kMaxValues] = {};
  size_t count_;
};

}  // namespace COM
}  // namespace QEL
