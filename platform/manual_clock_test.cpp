#include "platform/manual_clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

namespace platform {
namespace {

// Real time allowed for another thread to reach its wait: a safety net only.
constexpr uint32_t kPatienceMs = 20000;

// A flag behind a lock, waited for on a clock the way EventGroup does it.
class Flag {
 public:
  explicit Flag(Clock& clock) : clock_(clock) {}
  bool Wait(uint32_t timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return clock_.WaitUntil(lock, changed_, timeoutMs, [this] { return set_; });
  }
  void Set() {
    std::lock_guard<std::mutex> lock(mutex_);
    set_ = true;
    clock_.Notify(changed_);
  }
  // Notifies without changing anything, holding the lock until `check` ran.
  template <class Check>
  void NotifyAndCheck(Check check) {
    std::lock_guard<std::mutex> lock(mutex_);
    clock_.Notify(changed_);
    check();
  }

 private:
  Clock& clock_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool set_ = false;
};

TEST(ManualClock, TimeMovesOnlyWhenAdvancedAndWrapsLikeATickCount) {
  ManualClock clock(0xFFFFFF00u);
  EXPECT_EQ(clock.NowMs(), 0xFFFFFF00u);
  EXPECT_EQ(clock.NowMs(), 0xFFFFFF00u);
  clock.Advance(0x100);
  EXPECT_EQ(clock.NowMs(), 0u);
  clock.Advance(250);
  EXPECT_EQ(clock.NowMs(), 250u);
  EXPECT_FALSE(clock.AdvanceToNextDeadline()) << "nobody waits";
  EXPECT_EQ(clock.NowMs(), 250u);
  clock.SleepMs(0);  // returns without anyone moving time
}

TEST(ManualClock, SleepEndsExactlyAtItsDeadline) {
  ManualClock clock(1000);
  auto sleeper = std::async(std::launch::async, [&] { clock.SleepMs(100); });
  ASSERT_TRUE(clock.WaitForSleepers(1, kPatienceMs));
  clock.Advance(99);
  EXPECT_EQ(clock.Sleepers(), 1u) << "one millisecond short";
  EXPECT_EQ(sleeper.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
  clock.Advance(1);
  sleeper.get();
  EXPECT_EQ(clock.Sleepers(), 0u);
  EXPECT_EQ(clock.NowMs(), 1100u);
}

TEST(ManualClock, TimedWaitEndsByItsConditionOrByItsDeadline) {
  ManualClock clock;
  Flag flag(clock);
  auto satisfied = std::async(std::launch::async, [&] { return flag.Wait(500); });
  ASSERT_TRUE(clock.WaitForSleepers(1, kPatienceMs));
  flag.Set();
  EXPECT_TRUE(satisfied.get());
  EXPECT_EQ(clock.NowMs(), 0u) << "no time had to pass";

  Flag never(clock);
  auto timedOut = std::async(std::launch::async, [&] { return never.Wait(500); });
  ASSERT_TRUE(clock.WaitForSleepers(1, kPatienceMs));
  ASSERT_TRUE(clock.AdvanceToNextDeadline());
  EXPECT_EQ(clock.NowMs(), 500u);
  EXPECT_FALSE(timedOut.get());
  EXPECT_FALSE(never.Wait(0)) << "a zero wait looks once";
}

TEST(ManualClock, ANotifiedWaiterIsNoSleeperUntilItLookedAgain) {
  ManualClock clock;
  Flag flag(clock);
  auto waiter = std::async(std::launch::async, [&] { return flag.Wait(Clock::kInfinite); });
  ASSERT_TRUE(clock.WaitForSleepers(1, kPatienceMs));
  EXPECT_FALSE(clock.AdvanceToNextDeadline()) << "an unlimited wait has no deadline";
  // Until the waiter gets the lock back it cannot have looked again.
  flag.NotifyAndCheck([&] { EXPECT_EQ(clock.Sleepers(), 0u); });
  ASSERT_TRUE(clock.WaitForSleepers(1, kPatienceMs)) << "it looked and went back to sleep";
  clock.Advance(1000000);
  EXPECT_EQ(waiter.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
  flag.Set();
  EXPECT_TRUE(waiter.get());
}

TEST(ManualClock, NextDeadlineIsTheNearestOfAllBlockedThreads) {
  ManualClock clock;
  Flag flag(clock);
  std::atomic<int> order{0};
  std::atomic<int> longSleepEnded{0}, waitEnded{0};
  std::thread longSleep([&] {
    clock.SleepMs(300);
    longSleepEnded = ++order;
  });
  std::thread wait([&] {
    EXPECT_FALSE(flag.Wait(100));
    waitEnded = ++order;
  });
  ASSERT_TRUE(clock.WaitForSleepers(2, kPatienceMs));
  ASSERT_TRUE(clock.AdvanceToNextDeadline());
  EXPECT_EQ(clock.NowMs(), 100u);
  wait.join();
  ASSERT_TRUE(clock.WaitForSleepers(1, kPatienceMs));
  EXPECT_EQ(longSleepEnded.load(), 0);
  ASSERT_TRUE(clock.AdvanceToNextDeadline());
  EXPECT_EQ(clock.NowMs(), 300u);
  longSleep.join();
  EXPECT_EQ(waitEnded.load(), 1);
  EXPECT_EQ(longSleepEnded.load(), 2);
}

TEST(ManualClock, AutoAdvanceLetsASleepMoveTimeAndEndWhatIsDue) {
  ManualClock clock;
  Flag flag(clock);
  auto waiter = std::async(std::launch::async, [&] { return flag.Wait(1000); });
  ASSERT_TRUE(clock.WaitForSleepers(1, kPatienceMs));
  clock.SetAutoAdvance(true);
  for (int i = 0; i < 9; ++i) clock.SleepMs(100);
  EXPECT_EQ(clock.NowMs(), 900u);
  EXPECT_EQ(waiter.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
  clock.SleepMs(100);
  EXPECT_FALSE(waiter.get()) << "its deadline came with the tenth sleep";
  EXPECT_EQ(clock.NowMs(), 1000u);
}

TEST(SystemClock, IsOneClockForTheWholeProcessAndWaitsForItsCondition) {
  EXPECT_EQ(SystemClock().get(), SystemClock().get());
  Flag flag(*SystemClock());
  EXPECT_FALSE(flag.Wait(0));
  std::thread setter([&] { flag.Set(); });
  EXPECT_TRUE(flag.Wait(Clock::kInfinite));
  setter.join();
}

}  // namespace
}  // namespace platform
