// A point-of-sale application that opens and closes its printer again and
// again, with COM unloading the library in between, must not collect
// threads or memory: every thread the library started is gone once COM
// unloads it, and what the process holds stops growing after the first rounds.
#include "so/com/e2e/RegisteredClass_test.h"  // first: the system's headers need windows.h

#include <psapi.h>
#include <tlhelp32.h>

#include <cstddef>

namespace e2e {
namespace {

constexpr int kRounds = 30;
// Rounds before the memory reference: the heaps, wine's caches and the
// virtual printer's buffers settle first.
constexpr int kWarmRounds = 5;
// What the process may gain over the measured rounds. Under wine each fresh
// load of a statically linked library leaves a few KB behind in the loader
// and the runtime, and this library about 25 KB once it opened a device; a
// library kept loaded stays flat. An enabled core with its two threads
// commits about 1 MB, so a core leaked per round exceeds this many times.
constexpr size_t kAllowedGrowth = 4 * 1024 * 1024;

int ThreadsOfThisProcess() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry;
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

// The private memory the process committed. Wine leaves PrivateUsage unset;
// its PagefileUsage, the commit charge, is the same quantity on Windows.
size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof(counters))) {
    return 0;
  }
  return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

class LoadUnloadLoop : public RegisteredClassTest {};

TEST_F(LoadUnloadLoop, EachRoundLeavesNoThreadsAndNoGrowingMemory) {
  ASSERT_EQ(LoadedLibrary(), nullptr) << "nothing of this test loaded it yet";
  const int baseline = ThreadsOfThisProcess();
  ASSERT_GT(baseline, 0);
  size_t warm = 0;
  for (int round = 1; round <= kRounds; ++round) {
    {
      testing_support::TestControlObject control(CreateRegistered);
      ASSERT_NE(LoadedLibrary(), nullptr);
      ASSERT_EQ(control.Open(u"POSPrinter", device), 0) << "round " << round;
      ASSERT_EQ(control.Call(u"ClaimDevice", {1000}), 0) << "round " << round;
      ASSERT_EQ(control.SetNumber(kDeviceEnabled, 1), 0) << "round " << round;
      ASSERT_GT(ThreadsOfThisProcess(), baseline) << "an enabled device has its own threads";
      // Closing an enabled device disables and releases it on the way.
      ASSERT_EQ(control.Call(u"CloseService"), 0) << "round " << round;
    }
    // Without delay: COM frees a library at once when DllCanUnloadNow agrees.
    CoFreeUnusedLibrariesEx(0, 0);
    ASSERT_EQ(LoadedLibrary(), nullptr) << "round " << round << ": COM kept the library";
    ASSERT_TRUE(WaitUntil([&] { return ThreadsOfThisProcess() == baseline; }))
        << "round " << round << ": " << ThreadsOfThisProcess() << " threads, " << baseline
        << " before";
    printer.ClearReceived();
    if (round == kWarmRounds) warm = PrivateBytes();
  }
  const size_t end = PrivateBytes();
  ASSERT_GT(warm, 0u);
  EXPECT_LT(end, warm + kAllowedGrowth)
      << "grew by " << (end - warm) / 1024 << " KiB over " << kRounds - kWarmRounds << " rounds";
}

}  // namespace
}  // namespace e2e
