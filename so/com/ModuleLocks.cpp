#include "so/com/ModuleLocks.h"

#include <atomic>

namespace QEL {
namespace COM {
namespace ModuleLocks {

namespace {
// Constant-initialised, so it is valid before any constructor of the
// library runs and after every destructor.
std::atomic<long> locks{0};
}  // namespace

void Lock() { locks.fetch_add(1, std::memory_order_relaxed); }

void Unlock() { locks.fetch_sub(1, std::memory_order_acq_rel); }

long Count() { return locks.load(std::memory_order_acquire); }

}  // namespace ModuleLocks
}  // namespace COM
}  // namespace QEL
