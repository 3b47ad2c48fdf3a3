#include "so/printer/OutputIdCounter.h"

namespace QEL {
namespace Printer {

std::atomic<int32_t> OutputIdCounter::last_{0};

int32_t OutputIdCounter::Next() {
  // 0x7FFFFFFE is still handed out; the counter then restarts at 1, so the
  // ID after it is 2.
  int32_t current = last_.load();
  int32_t id;
  int32_t stored;
  do {
    id = current + 1;
    stored = id >= 0x7FFFFFFE ? 1 : id;
  } while (!last_.compare_exchange_weak(current, stored));
  return id;
}

int32_t OutputIdCounter::Last() { return last_.load(); }

void OutputIdCounter::Reset() { last_.store(0); }

void OutputIdCounter::SetLastForTesting(int32_t value) { last_.store(value); }

}  // namespace Printer
}  // namespace QEL
