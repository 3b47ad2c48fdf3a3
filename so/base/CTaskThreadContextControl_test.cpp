// Start, suspend, resume and stop of a worker, alone and among many.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "so/base/CTaskThreadContext.h"
#include "so/base/TestTasks.h"

namespace {

using QEL::BASE::CTaskThreadContext;
using task_test::Eventually;
using task_test::Journal;
using task_test::kPatienceMs;
using task_test::RecordingTask;

// Long enough for a worker that wrongly ran on to run a few tasks.
constexpr uint32_t kQuietMs = 400;

class ContextControl : public ::testing::Test {
 protected:
  std::shared_ptr<CTaskThreadContext> NewContext() {
    auto context = std::make_shared<CTaskThreadContext>();
    EXPECT_EQ(context->Init(context), QEL::BASE::kResultOk);
    contexts_.push_back(context);
    return context;
  }
  std::shared_ptr<RecordingTask> Task(int32_t id) { return std::make_shared<RecordingTask>(id, journal_); }
  void TearDown() override {
    for (auto& context : contexts_) EXPECT_TRUE(context->StopAndJoin(kPatienceMs));
  }

  std::shared_ptr<Journal> journal_ = std::make_shared<Journal>();
  std::vector<std::shared_ptr<CTaskThreadContext>> contexts_;
};

TEST_F(ContextControl, StartBeforeInitIsUnexpectedAndStartsNoThread) {
  auto context = std::make_shared<CTaskThreadContext>();
  EXPECT_EQ(context->Start(), static_cast<int32_t>(0x8000FFFFu));
  EXPECT_EQ(context->State(), CTaskThreadContext::kNew);
  EXPECT_EQ(context.use_count(), 1) << "no worker took a reference";
  // Resume on a context without a worker starts one, so it is refused too.
  context->Resume();
  EXPECT_EQ(context->State(), CTaskThreadContext::kNew);
  EXPECT_EQ(context.use_count(), 1);
  EXPECT_TRUE(context->StopAndJoin(kPatienceMs));
}

TEST_F(ContextControl, InitTakesOnlyTheContextsOwnReference) {
  auto context = std::make_shared<CTaskThreadContext>();
  auto other = std::make_shared<CTaskThreadContext>();
  EXPECT_EQ(context->Init(other), QEL::BASE::kResultInvalidArgument);
  EXPECT_EQ(context->State(), CTaskThreadContext::kNew);
  EXPECT_EQ(context->Start(), QEL::BASE::kResultUnexpected);
  EXPECT_EQ(context->Init(context), QEL::BASE::kResultOk);
  EXPECT_EQ(context->State(), CTaskThreadContext::kInitialised);
  EXPECT_EQ(context.use_count(), 1) << "the context keeps no reference to itself";
}

TEST_F(ContextControl, SuspendedWorkerRunsNoTaskUntilResumed) {
  auto context = NewContext();
  ASSERT_EQ(context->Start(), 0);
  EXPECT_EQ(context->State(), CTaskThreadContext::kRunning);
  context->Suspend();
  EXPECT_EQ(context->State(), CTaskThreadContext::kSuspended);
  EXPECT_EQ(context->SuspendAcks(), 1u) << "the worker acknowledged";
  for (int32_t id = 1; id <= 3; ++id) context->PushBack(Task(id));
  platform::SleepMs(kQuietMs);
  EXPECT_TRUE(journal_->Ids().empty());
  EXPECT_EQ(context->Count(), 3);

  context->Resume();
  EXPECT_EQ(context->State(), CTaskThreadContext::kRunning);
  ASSERT_TRUE(journal_->WaitForSize(3));
  EXPECT_EQ(journal_->Ids(), (std::vector<int32_t>{1, 2, 3}));

  // A second round: the handshake works more than once.
  context->Suspend();
  context->PushBack(Task(4));
  platform::SleepMs(kQuietMs);
  EXPECT_EQ(journal_->Ids().size(), 3u);
  EXPECT_EQ(context->Start(), 0) << "Start resumes an existing worker";
  ASSERT_TRUE(journal_->WaitForSize(4));
}

TEST_F(ContextControl, SuspendReturnsOnlyAfterTheRunningTaskFinished) {
  auto context = NewContext();
  auto held = Task(1);
  held->HoldUntilReleased();
  auto next = Task(2);
  context->PushBack(held);
  context->PushBack(next);
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(held->Entered().Wait(kPatienceMs));

  auto suspended = std::async(std::launch::async, [&] { context->Suspend(); });
  // Longer than Suspend's own settling pause, shorter than its give-up time.
  platform::SleepMs(400);
  held->Release();
  suspended.get();
  EXPECT_EQ(held->Executions(), 1);
  EXPECT_EQ(held->IsRunning(), 0) << "Suspend came back while the task still ran";
  platform::SleepMs(kQuietMs);
  EXPECT_EQ(next->Executions(), 0);
  context->Resume();
  EXPECT_TRUE(journal_->WaitForSize(2));
}

TEST_F(ContextControl, StopFromAnotherThreadLetsTheRunningTaskFinishAndRunsNoMore) {
  auto context = NewContext();
  auto held = Task(1);
  held->HoldUntilReleased();
  auto next = Task(2);
  context->PushBack(held);
  context->PushBack(next);
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(held->Entered().Wait(kPatienceMs));

  std::thread stopper([&] { context->Stop(); });
  stopper.join();  // Stop only signals: it must not wait for the held task
  EXPECT_EQ(context->State(), CTaskThreadContext::kStopped);
  held->Release();
  ASSERT_TRUE(context->StopAndJoin(kPatienceMs));
  EXPECT_EQ(held->Executions(), 1);
  EXPECT_EQ(next->Executions(), 0);
  EXPECT_EQ(context.use_count(), 2) << "the worker let go of its reference";  // + contexts_
}

TEST_F(ContextControl, StopAndJoinGivesUpOnAStuckTaskAndSucceedsLater) {
  auto context = NewContext();
  auto held = Task(1);
  held->HoldUntilReleased();
  context->PushBack(held);
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(held->Entered().Wait(kPatienceMs));
  EXPECT_FALSE(context->StopAndJoin(50));
  held->Release();
  EXPECT_TRUE(context->StopAndJoin(kPatienceMs));
  EXPECT_TRUE(context->StopAndJoin(0)) << "nothing left to join";
}

TEST_F(ContextControl, NoWorkerOutlivesStopAndJoin) {
  std::vector<std::weak_ptr<CTaskThreadContext>> watched;
  for (int i = 0; i < 6; ++i) {
    auto context = std::make_shared<CTaskThreadContext>();
    context->Init(context);
    ASSERT_EQ(context->Start(), 0);
    context->PushBack(Task(i));
    if (i % 2 == 0) context->Suspend();  // parked workers must end too
    watched.push_back(context);
    EXPECT_TRUE(context->StopAndJoin(kPatienceMs));
    EXPECT_EQ(context.use_count(), 1);
  }
  for (auto& w : watched) EXPECT_TRUE(w.expired());
}

TEST_F(ContextControl, StartAfterStopRunsOneNewWorker) {
  auto context = NewContext();
  ASSERT_EQ(context->Start(), 0);
  context->Stop();
  ASSERT_EQ(context->Start(), 0);
  EXPECT_EQ(context->State(), CTaskThreadContext::kRunning);
  for (int32_t id = 1; id <= 4; ++id) context->PushBack(Task(id));
  ASSERT_TRUE(journal_->WaitForSize(4));
  EXPECT_EQ(journal_->Ids(), (std::vector<int32_t>{1, 2, 3, 4})) << "each task exactly once";
  EXPECT_TRUE(context->StopAndJoin(kPatienceMs));
  EXPECT_EQ(context.use_count(), 2);
}

TEST_F(ContextControl, WorkersOfManyContextsDoNotReachEachOther) {
  constexpr int kContexts = 8;
  std::vector<std::shared_ptr<CTaskThreadContext>> all;
  std::vector<std::shared_ptr<Journal>> journals;
  for (int i = 0; i < kContexts; ++i) {
    all.push_back(NewContext());
    journals.push_back(std::make_shared<Journal>());
    ASSERT_EQ(all.back()->Start(), 0);
  }
  all[0]->Suspend();
  ASSERT_TRUE(all[1]->StopAndJoin(kPatienceMs));
  for (int i = 0; i < kContexts; ++i) {
    for (int32_t id = 1; id <= 2; ++id) all[i]->PushBack(std::make_shared<RecordingTask>(id, journals[i]));
  }
  for (int i = 2; i < kContexts; ++i) {
    EXPECT_TRUE(journals[i]->WaitForSize(2)) << "context " << i << " was held by another's suspend or stop";
    EXPECT_EQ(all[i]->State(), CTaskThreadContext::kRunning);
  }
  EXPECT_TRUE(journals[0]->Ids().empty());
  EXPECT_TRUE(journals[1]->Ids().empty());
  EXPECT_EQ(all[0]->State(), CTaskThreadContext::kSuspended);

  // Suspending and resuming one does not touch the handshake of the others.
  all[2]->Suspend();
  all[0]->Resume();
  EXPECT_TRUE(journals[0]->WaitForSize(2));
  all[3]->PushBack(std::make_shared<RecordingTask>(3, journals[3]));
  EXPECT_TRUE(journals[3]->WaitForSize(3));
  EXPECT_EQ(all[2]->State(), CTaskThreadContext::kSuspended);
  EXPECT_EQ(all[2]->SuspendAcks(), 1u);
  EXPECT_EQ(all[3]->SuspendAcks(), 0u);
}

}  // namespace
