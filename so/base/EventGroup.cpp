#include "so/base/EventGroup.h"

#include <utility>

namespace QEL {
namespace BASE {

void EventGroup::SetClock(std::shared_ptr<platform::Clock> clock) {
  std::lock_guard<std::mutex> guard(lock_);
  clock_ = std::move(clock);
}

void EventGroup::Change(Mask set, Mask reset) {
  std::lock_guard<std::mutex> guard(lock_);
  current_ = (current_ | set) & ~reset;
  clock_->Notify(changed_);
}

EventGroup::Mask EventGroup::Current() const {
  std::lock_guard<std::mutex> guard(lock_);
  return current_;
}

EventGroup::Mask EventGroup::WaitAny(Mask events, uint32_t timeoutMs) {
  return WaitUntil([events](Mask current) { return (current & events) != 0; }, timeoutMs) & events;
}

}  // namespace BASE
}  // namespace QEL
