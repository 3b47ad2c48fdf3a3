// What the worker does with its queue: order, retries, failures, Clear and
// the idle task. The worker runs on a manual clock (see
// CTaskThreadContextControl_test.cpp).
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "platform/manual_clock.h"
#include "so/base/CTaskThreadContext.h"
#include "testing/TestTasks.h"

namespace {

using QEL::BASE::CTaskThreadContext;
using task_test::CountingIdleTask;
using task_test::Journal;
using task_test::kPatienceMs;
using task_test::Quiet;
using task_test::RecordingTask;
using task_test::RunFor;
using task_test::RunUntil;

class ContextQueue : public ::testing::Test {
 protected:
  void SetUp() override {
    clock_->SetAutoAdvance(true);  // the caller's settling pauses move the clock
    ASSERT_TRUE(context_->SetClock(clock_));
    ASSERT_EQ(context_->Init(context_), 0);
  }
  void TearDown() override { EXPECT_TRUE(context_->StopAndJoin(kPatienceMs)); }
  std::shared_ptr<RecordingTask> Task(int32_t id) { return std::make_shared<RecordingTask>(id, journal_); }
  bool Ran(size_t n) { return RunUntil(*clock_, [&] { return journal_->Ids().size() >= n; }); }
  // Lets the worker offer its front task a few more times.
  bool FewMorePasses() {
    const uint64_t start = context_->TaskPasses();
    return RunUntil(*clock_, [&] { return context_->TaskPasses() >= start + 3; });
  }

  std::shared_ptr<platform::ManualClock> clock_ = std::make_shared<platform::ManualClock>();
  std::shared_ptr<CTaskThreadContext> context_ = std::make_shared<CTaskThreadContext>();
  std::shared_ptr<Journal> journal_ = std::make_shared<Journal>();
};

TEST_F(ContextQueue, TasksRunOnceEachInQueueOrderFrontPushesFirst) {
  context_->PushBack(Task(2));
  context_->PushBack(Task(3));
  context_->PushFront(Task(1));
  context_->PushBack(nullptr);  // ignored, never run
  EXPECT_EQ(context_->Count(), 3);
  EXPECT_EQ(context_->Front()->Id(), 1);
  ASSERT_EQ(context_->Start(), 0);
  context_->PushBack(Task(4));
  ASSERT_TRUE(RunUntil(*clock_, [&] { return context_->Count() == 0; }));
  EXPECT_EQ(journal_->Ids(), (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST_F(ContextQueue, TasksAreSpacedByTheWorkersPause) {
  context_->PushBack(Task(1));
  context_->PushBack(Task(2));
  ASSERT_EQ(context_->Start(), 0);
  ASSERT_TRUE(Quiet(*clock_));
  const uint32_t spacing = CTaskThreadContext::kTaskSpacingMs;
  clock_->Advance(spacing - 1);
  ASSERT_TRUE(Quiet(*clock_));
  EXPECT_TRUE(journal_->Ids().empty()) << "not before the pause is over";
  clock_->Advance(1);
  ASSERT_TRUE(journal_->WaitForSize(1));
  ASSERT_TRUE(Quiet(*clock_));
  clock_->Advance(spacing - 1);
  ASSERT_TRUE(Quiet(*clock_));
  EXPECT_EQ(journal_->Ids().size(), 1u) << "one task per pause";
  clock_->Advance(1);
  ASSERT_TRUE(journal_->WaitForSize(2));
}

TEST_F(ContextQueue, UnfinishedTaskStaysInFrontUntilItFinishes) {
  auto retried = Task(1);
  retried->UnfinishedTimes(2);
  context_->PushBack(retried);
  context_->PushBack(Task(2));
  ASSERT_EQ(context_->Start(), 0);
  ASSERT_TRUE(Ran(4));
  EXPECT_EQ(journal_->Ids(), (std::vector<int32_t>{1, 1, 1, 2}));
}

TEST_F(ContextQueue, FailedTaskStopsEveryLaterTaskUntilClear) {
  auto failing = Task(1);
  failing->ThrowOnExecute();
  auto later = Task(2);
  context_->PushBack(failing);
  context_->PushBack(later);
  ASSERT_EQ(context_->Start(), 0);
  ASSERT_TRUE(RunUntil(*clock_, [&] { return context_->TaskFailed(); }));
  context_->PushBack(Task(3));
  ASSERT_TRUE(FewMorePasses());
  EXPECT_EQ(failing->Executions(), 1) << "a failed task is not retried";
  EXPECT_EQ(later->Executions(), 0);
  EXPECT_EQ(journal_->Ids().size(), 1u);
  EXPECT_EQ(context_->ExecuteOne(), 1) << "nothing runs while failed";
  EXPECT_EQ(context_->Count(), 3);

  context_->Clear();
  EXPECT_FALSE(context_->TaskFailed());
  EXPECT_EQ(context_->Count(), 0);
  EXPECT_EQ(context_->State(), CTaskThreadContext::kRunning);
  context_->PushBack(Task(4));
  ASSERT_TRUE(Ran(2));
  EXPECT_EQ(journal_->Ids(), (std::vector<int32_t>{1, 4})) << "cleared tasks never run";
}

TEST_F(ContextQueue, ClearOnAnEmptyQueueDoesNotSuspend) {
  ASSERT_EQ(context_->Start(), 0);
  context_->Clear();
  EXPECT_EQ(context_->SuspendAcks(), 0u);
  EXPECT_EQ(context_->State(), CTaskThreadContext::kRunning);
  // Nor does it wake a parked worker.
  context_->Suspend();
  context_->Clear();
  EXPECT_EQ(context_->SuspendAcks(), 1u);
  EXPECT_EQ(context_->State(), CTaskThreadContext::kSuspended);
}

TEST_F(ContextQueue, ClearWaitsForTheRunningTaskDropsTheRestAndRunsOn) {
  auto held = Task(1);
  held->HoldUntilReleased();
  auto dropped = Task(2);
  context_->PushBack(held);
  context_->PushBack(dropped);
  ASSERT_EQ(context_->Start(), 0);
  ASSERT_TRUE(RunUntil(*clock_, [&] { return held->Entered().IsSet(); }));

  auto cleared = std::async(std::launch::async, [&] { context_->Clear(); });
  // Clear waits for the worker's acknowledgement while the task still runs.
  ASSERT_TRUE(Quiet(*clock_));
  EXPECT_EQ(cleared.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
  EXPECT_EQ(context_->Count(), 2) << "nothing is dropped under a running task";
  held->Release();
  cleared.get();
  EXPECT_EQ(context_->SuspendAcks(), 1u);
  EXPECT_EQ(context_->Count(), 0);
  EXPECT_EQ(context_->State(), CTaskThreadContext::kRunning);
  context_->PushBack(Task(3));
  ASSERT_TRUE(Ran(2));
  EXPECT_EQ(journal_->Ids(), (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(dropped->Executions(), 0);
  EXPECT_EQ(dropped.use_count(), 1) << "the queue let go of the cleared task";
}

TEST_F(ContextQueue, ClearKeepsAParkedWorkerParked) {
  ASSERT_EQ(context_->Start(), 0);
  context_->Suspend();
  context_->PushBack(Task(1));
  context_->Clear();
  EXPECT_EQ(context_->Count(), 0);
  EXPECT_EQ(context_->State(), CTaskThreadContext::kSuspended);
  context_->PushBack(Task(2));
  context_->Resume();
  ASSERT_TRUE(Ran(1));
  EXPECT_EQ(journal_->Ids(), (std::vector<int32_t>{2}));
}

TEST_F(ContextQueue, CancelFrontMarksTheFrontTask) {
  auto first = Task(1);
  auto second = Task(2);
  context_->PushBack(first);
  context_->PushBack(second);
  context_->CancelFront();
  EXPECT_EQ(first->IsCancelled(), 1);
  EXPECT_EQ(second->IsCancelled(), 0);
  context_->PopFront();
  EXPECT_EQ(context_->Front(), second);
  EXPECT_EQ(first.use_count(), 1);
}

TEST_F(ContextQueue, IdleTaskRunsOnlyWhilePollingIsNotPaused) {
  auto idle = std::make_shared<CountingIdleTask>();
  context_->SetIdleTask(idle);
  context_->PausePolling();
  EXPECT_TRUE(context_->PollingPaused());
  ASSERT_EQ(context_->Start(), 0);
  ASSERT_TRUE(RunUntil(*clock_, [&] { return context_->IdlePasses() >= 3; }));
  EXPECT_EQ(idle->Runs(), 0);

  context_->ResumePolling();
  ASSERT_TRUE(RunUntil(*clock_, [&] { return idle->Runs() >= 1; }));
  // Work in the queue goes before polling: a task still runs.
  context_->PushBack(Task(1));
  EXPECT_TRUE(Ran(1));
}

TEST_F(ContextQueue, IdleTaskRunsAfterTheIdlePauseAndThenAtItsRhythm) {
  auto idle = std::make_shared<CountingIdleTask>();
  context_->SetIdleTask(idle);
  ASSERT_EQ(context_->Start(), 0);
  ASSERT_TRUE(Quiet(*clock_));
  clock_->Advance(CTaskThreadContext::kIdleAfterMs - 1);
  ASSERT_TRUE(Quiet(*clock_));
  EXPECT_EQ(idle->Runs(), 0);
  clock_->Advance(1);
  ASSERT_TRUE(idle->Ran().Wait(kPatienceMs));
  ASSERT_TRUE(Quiet(*clock_));
  // Then every kIdleRepeatMs + kIdleAfterMs while nothing is queued.
  ASSERT_TRUE(RunFor(*clock_, CTaskThreadContext::kIdleRepeatMs + CTaskThreadContext::kIdleAfterMs - 1));
  EXPECT_EQ(idle->Runs(), 1);
  clock_->Advance(1);
  ASSERT_TRUE(Quiet(*clock_));  // asleep again only after its pass
  EXPECT_EQ(idle->Runs(), 2);
}

TEST_F(ContextQueue, ProducersAndClearsUnderLoadNeverRunATaskTwice) {
  constexpr int kProducers = 4;
  constexpr int kPerProducer = 4;
  std::vector<std::shared_ptr<RecordingTask>> tasks;
  for (int i = 0; i < kProducers * kPerProducer; ++i) tasks.push_back(Task(i));
  ASSERT_EQ(context_->Start(), 0);
  std::atomic<bool> producing{true};
  std::vector<std::thread> producers;
  for (int p = 0; p < kProducers; ++p) {
    producers.emplace_back([&, p] {
      for (int i = 0; i < kPerProducer; ++i) {
        context_->PushBack(tasks[p * kPerProducer + i]);
        std::this_thread::yield();
      }
    });
  }
  std::thread disturber([&] {
    for (int round = 0; round < 3 && producing.load(); ++round) {
      context_->Clear();
      context_->Suspend();
      context_->Resume();
    }
  });
  for (auto& t : producers) t.join();
  producing.store(false);
  disturber.join();
  // What is still queued now runs to the end.
  const size_t queued = static_cast<size_t>(context_->Count());
  ASSERT_TRUE(RunUntil(*clock_, [&] { return context_->Count() == 0; }));
  for (auto& task : tasks) EXPECT_LE(task->Executions(), 1) << "task " << task->Id();
  EXPECT_GE(journal_->Ids().size(), queued);
}

}  // namespace
