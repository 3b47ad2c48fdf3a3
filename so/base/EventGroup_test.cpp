#include "so/base/EventGroup.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>

#include "platform/manual_clock.h"
#include "testing/TestTasks.h"

namespace {

using QEL::BASE::EventGroup;
using task_test::Quiet;

constexpr EventGroup::Mask kA = 1, kB = 2, kC = 4;

bool Pending(std::future<EventGroup::Mask>& wait) {
  return wait.wait_for(std::chrono::seconds(0)) == std::future_status::timeout;
}

class EventGroupOnAManualClock : public ::testing::Test {
 protected:
  std::shared_ptr<platform::ManualClock> clock = std::make_shared<platform::ManualClock>();
  EventGroup group{clock};
};

TEST(EventGroup, EventsStaySetUntilReset) {
  EventGroup group;
  EXPECT_EQ(group.Current(), 0u);
  group.Set(kA | kC);
  EXPECT_EQ(group.WaitAny(kA, 0), kA);
  EXPECT_EQ(group.WaitAny(kA | kB | kC, 0), kA | kC) << "a wait consumes nothing";
  group.Change(kB, kA);
  EXPECT_EQ(group.Current(), kB | kC);
  group.Reset(kB | kC);
  EXPECT_EQ(group.WaitAny(kA | kB | kC, 0), 0u) << "a wait that finds nothing reports nothing";
}

TEST(EventGroup, ChangeResetsWhenAnEventIsBothSetAndReset) {
  EventGroup group;
  group.Change(kA | kB, kB);
  EXPECT_EQ(group.Current(), kA);
}

TEST_F(EventGroupOnAManualClock, TimedWaitEndsWhenTheClockReachesItsLimit) {
  auto wait = std::async(std::launch::async, [&] { return group.WaitAny(kA, 100); });
  ASSERT_TRUE(Quiet(*clock));
  clock->Advance(99);
  ASSERT_TRUE(Quiet(*clock));
  EXPECT_TRUE(Pending(wait));
  group.Set(kB);  // not one it waits for
  ASSERT_TRUE(Quiet(*clock));
  EXPECT_TRUE(Pending(wait));
  clock->Advance(1);
  EXPECT_EQ(wait.get(), 0u) << "a time-out reports nothing set";
}

TEST_F(EventGroupOnAManualClock, WaiterWakesForAnyOfItsEventsOnly) {
  auto wait = std::async(std::launch::async, [&] { return group.WaitAny(kB | kC, EventGroup::kInfinite); });
  ASSERT_TRUE(Quiet(*clock));
  group.Set(kA);
  ASSERT_TRUE(Quiet(*clock)) << "it looked and went back to sleep";
  EXPECT_TRUE(Pending(wait));
  group.Set(kC);
  EXPECT_EQ(wait.get(), kC);
  EXPECT_EQ(clock->NowMs(), 0u);
}

TEST_F(EventGroupOnAManualClock, ConditionWaitSeesAResetToo) {
  group.Set(kA);
  auto wait = std::async(std::launch::async, [&] {
    return group.WaitUntil([](EventGroup::Mask m) { return (m & kA) == 0; }, 1000);
  });
  ASSERT_TRUE(Quiet(*clock));
  group.Reset(kA);
  EXPECT_EQ(wait.get() & kA, 0u);
  EXPECT_EQ(clock->NowMs(), 0u) << "ended by the reset, not by time";
}

}  // namespace
