#include "so/base/EventGroup.h"

#include <gtest/gtest.h>

#include <thread>

#include "so/base/TestTasks.h"

namespace {

using QEL::BASE::EventGroup;

constexpr EventGroup::Mask kA = 1, kB = 2, kC = 4;

TEST(EventGroup, EventsStaySetUntilReset) {
  EventGroup group;
  EXPECT_EQ(group.Current(), 0u);
  group.Set(kA | kC);
  EXPECT_EQ(group.WaitAny(kA, 0), kA);
  EXPECT_EQ(group.WaitAny(kA | kB | kC, 0), kA | kC) << "a wait consumes nothing";
  group.Change(kB, kA);
  EXPECT_EQ(group.Current(), kB | kC);
  group.Reset(kB | kC);
  EXPECT_EQ(group.WaitAny(kA | kB | kC, 10), 0u) << "time-out reports nothing set";
}

TEST(EventGroup, ChangeResetsWhenAnEventIsBothSetAndReset) {
  EventGroup group;
  group.Change(kA | kB, kB);
  EXPECT_EQ(group.Current(), kA);
}

TEST(EventGroup, WaiterWakesForAnyOfItsEventsOnly) {
  EventGroup group;
  EventGroup::Mask woke = 0;
  std::thread waiter([&] { woke = group.WaitAny(kB | kC, EventGroup::kInfinite); });
  group.Set(kA);  // not one it waits for
  group.Set(kC);
  waiter.join();
  EXPECT_EQ(woke, kC);
}

TEST(EventGroup, ConditionWaitSeesAResetToo) {
  EventGroup group;
  group.Set(kA);
  EventGroup::Mask seen = kA;
  std::thread waiter([&] {
    seen = group.WaitUntil([](EventGroup::Mask m) { return (m & kA) == 0; }, task_test::kPatienceMs);
  });
  group.Reset(kA);
  waiter.join();
  EXPECT_EQ(seen & kA, 0u);
}

}  // namespace
