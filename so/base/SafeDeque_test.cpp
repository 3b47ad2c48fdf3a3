#include "so/base/SafeDeque.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "testing/TestTasks.h"

namespace {

using QEL::BASE::SafeDeque;
using task_test::Journal;
using task_test::RecordingTask;

std::shared_ptr<RecordingTask> Task(int32_t id) { return std::make_shared<RecordingTask>(id, std::make_shared<Journal>()); }

TEST(SafeDeque, PushesAtBothEndsPopsFromTheFront) {
  SafeDeque queue;
  EXPECT_TRUE(queue.Empty());
  EXPECT_EQ(queue.PopFront(), nullptr);
  EXPECT_EQ(queue.Front(), nullptr);
  queue.PushBack(Task(2));
  queue.PushBack(Task(3));
  queue.PushFront(Task(1));
  EXPECT_EQ(queue.Size(), 3u);
  EXPECT_EQ(queue.Front()->Id(), 1);
  std::vector<int32_t> order;
  while (auto task = queue.PopFront()) order.push_back(task->Id());
  EXPECT_EQ(order, (std::vector<int32_t>{1, 2, 3}));
  EXPECT_TRUE(queue.Empty());
}

TEST(SafeDeque, PoppedAndClearedTasksAreReleased) {
  SafeDeque queue;
  auto a = Task(1);
  auto b = Task(2);
  queue.PushBack(a);
  queue.PushBack(b);
  EXPECT_EQ(a.use_count(), 2);
  queue.PopFront();
  EXPECT_EQ(a.use_count(), 1);
  queue.Clear();
  EXPECT_EQ(b.use_count(), 1);
  EXPECT_TRUE(queue.Empty());
}

TEST(SafeDeque, PopFrontIfRemovesOnlyTheTaskLookedAt) {
  SafeDeque queue;
  auto seen = Task(1);
  queue.PushBack(seen);
  auto front = queue.Front();
  queue.Clear();
  auto newer = Task(2);
  queue.PushBack(newer);
  EXPECT_FALSE(queue.PopFrontIf(front)) << "a task pushed after a Clear must survive";
  EXPECT_EQ(queue.Front(), newer);
  EXPECT_TRUE(queue.PopFrontIf(newer));
  EXPECT_TRUE(queue.Empty());
  EXPECT_FALSE(queue.PopFrontIf(newer));
}

TEST(SafeDeque, ConcurrentProducersAndOneConsumerLoseAndDuplicateNothing) {
  constexpr int kProducers = 4;
  constexpr int kEach = 500;
  SafeDeque queue;
  std::vector<std::shared_ptr<RecordingTask>> tasks;
  for (int i = 0; i < kProducers * kEach; ++i) tasks.push_back(Task(i));
  std::atomic<int> producersLeft{kProducers};
  std::vector<std::thread> producers;
  for (int p = 0; p < kProducers; ++p) {
    producers.emplace_back([&, p] {
      for (int i = 0; i < kEach; ++i) {
        if (i % 2 == 0) {
          queue.PushBack(tasks[p * kEach + i]);
        } else {
          queue.PushFront(tasks[p * kEach + i]);
        }
      }
      producersLeft.fetch_sub(1);
    });
  }
  std::multiset<int32_t> popped;
  while (producersLeft.load() > 0 || !queue.Empty()) {
    if (auto task = queue.PopFront()) popped.insert(task->Id());
  }
  for (auto& t : producers) t.join();
  ASSERT_EQ(popped.size(), tasks.size());
  for (int i = 0; i < kProducers * kEach; ++i) EXPECT_EQ(popped.count(i), 1u) << i;
}

}  // namespace
