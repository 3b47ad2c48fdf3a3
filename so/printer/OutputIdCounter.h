#pragma once
// The OutputID counter, one for the whole process: every service object in
// it hands out IDs from the same sequence.
#include <atomic>
#include <cstdint>

namespace QEL {
namespace Printer {

class OutputIdCounter {
 public:
  // The next OutputID; the one after 0x7FFFFFFE is 2.
  static int32_t Next();
  // What the OutputID property reads: the counter's value.
  static int32_t Last();
  static void Reset();
  // For tests of the wrap-around.
  static void SetLastForTesting(int32_t value);

 private:
  static std::atomic<int32_t> last_;
};

}  // namespace Printer
}  // namespace QEL
