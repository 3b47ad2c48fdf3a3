// Start, suspend, resume and stop of a worker, alone and among many. The
// workers run on a manual clock: their pauses pass when the test lets time
// pass, and a worker that is asleep on the clock can be checked for what it
// did not do.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "platform/manual_clock.h"
#include "so/base/CTaskThreadContext.h"
#include "testing/TestTasks.h"

namespace {

using QEL::BASE::CTaskThreadContext;
using task_test::Journal;
using task_test::kPatienceMs;
using task_test::Quiet;
using task_test::RecordingTask;
using task_test::RunFor;
using task_test::RunUntil;

// Clock time for a worker that wrongly ran on to run several tasks.
constexpr uint32_t kQuietMs = 1000;

bool NotReturned(std::future<void>& call) {
  return call.wait_for(std::chrono::seconds(0)) == std::future_status::timeout;
}

class ContextControl : public ::testing::Test {
 protected:
  void SetUp() override {
    // The caller's own pauses (Suspend's settling) move the clock; the
    // workers' waits end only when the clock gets there.
    clock_->SetAutoAdvance(true);
  }
  std::shared_ptr<CTaskThreadContext> NewContext() {
    auto context = std::make_shared<CTaskThreadContext>();
    EXPECT_TRUE(context->SetClock(clock_));
    EXPECT_EQ(context->Init(context), QEL::BASE::kResultOk);
    contexts_.push_back(context);
    return context;
  }
  std::shared_ptr<RecordingTask> Task(int32_t id) { return std::make_shared<RecordingTask>(id, journal_); }
  bool Ran(size_t n) { return RunUntil(*clock_, [&] { return journal_->Ids().size() >= n; }); }
  void TearDown() override {
    for (auto& context : contexts_) EXPECT_TRUE(context->StopAndJoin(kPatienceMs));
  }

  std::shared_ptr<platform::ManualClock> clock_ = std::make_shared<platform::ManualClock>();
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

TEST_F(ContextControl, ClockCanBeChangedOnlyWhileNoWorkerExists) {
  auto context = std::make_shared<CTaskThreadContext>();
  EXPECT_EQ(context->Clock(), platform::SystemClock()) << "the system's by default";
  EXPECT_FALSE(context->SetClock(nullptr));
  ASSERT_TRUE(context->SetClock(clock_));
  ASSERT_EQ(context->Init(context), 0);
  ASSERT_EQ(context->Start(), 0);
  EXPECT_FALSE(context->SetClock(platform::SystemClock())) << "the worker waits on the old one";
  EXPECT_EQ(context->Clock(), clock_);
  ASSERT_TRUE(context->StopAndJoin(kPatienceMs));
  EXPECT_TRUE(context->SetClock(platform::SystemClock()));
}

TEST_F(ContextControl, SuspendedWorkerRunsNoTaskUntilResumed) {
  auto context = NewContext();
  ASSERT_EQ(context->Start(), 0);
  EXPECT_EQ(context->State(), CTaskThreadContext::kRunning);
  context->Suspend();
  EXPECT_EQ(context->State(), CTaskThreadContext::kSuspended);
  EXPECT_EQ(context->SuspendAcks(), 1u) << "the worker acknowledged";
  for (int32_t id = 1; id <= 3; ++id) context->PushBack(Task(id));
  ASSERT_TRUE(RunFor(*clock_, kQuietMs));
  EXPECT_TRUE(journal_->Ids().empty());
  EXPECT_EQ(context->Count(), 3);

  context->Resume();
  EXPECT_EQ(context->State(), CTaskThreadContext::kRunning);
  ASSERT_TRUE(Ran(3));
  EXPECT_EQ(journal_->Ids(), (std::vector<int32_t>{1, 2, 3}));

  // A second round: the handshake works more than once.
  context->Suspend();
  context->PushBack(Task(4));
  ASSERT_TRUE(RunFor(*clock_, kQuietMs));
  EXPECT_EQ(journal_->Ids().size(), 3u);
  EXPECT_EQ(context->Start(), 0) << "Start resumes an existing worker";
  ASSERT_TRUE(Ran(4));
}

TEST_F(ContextControl, SuspendReturnsOnlyAfterTheRunningTaskFinished) {
  auto context = NewContext();
  auto held = Task(1);
  held->HoldUntilReleased();
  auto next = Task(2);
  context->PushBack(held);
  context->PushBack(next);
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(RunUntil(*clock_, [&] { return held->Entered().IsSet(); }));

  auto suspended = std::async(std::launch::async, [&] { context->Suspend(); });
  // The caller waits for the acknowledgement (the worker is in the task).
  ASSERT_TRUE(Quiet(*clock_));
  // Past its own settling pause, one millisecond short of its give-up time.
  clock_->Advance(CTaskThreadContext::kSuspendAckMs - 1);
  ASSERT_TRUE(Quiet(*clock_));
  EXPECT_TRUE(NotReturned(suspended)) << "Suspend came back while the task still ran";
  held->Release();
  suspended.get();
  EXPECT_EQ(held->Executions(), 1);
  EXPECT_EQ(held->IsRunning(), 0);
  ASSERT_TRUE(RunFor(*clock_, kQuietMs));
  EXPECT_EQ(next->Executions(), 0);
  context->Resume();
  EXPECT_TRUE(Ran(2));
}

TEST_F(ContextControl, SuspendGivesUpOnAStuckTaskAndCountsAsSuspended) {
  auto context = NewContext();
  auto held = Task(1);
  held->HoldUntilReleased();
  context->PushBack(held);
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(RunUntil(*clock_, [&] { return held->Entered().IsSet(); }));
  auto suspended = std::async(std::launch::async, [&] { context->Suspend(); });
  ASSERT_TRUE(Quiet(*clock_));
  clock_->Advance(CTaskThreadContext::kSuspendAckMs);
  suspended.get();
  EXPECT_EQ(context->State(), CTaskThreadContext::kSuspended);
  EXPECT_EQ(context->SuspendAcks(), 0u) << "the worker never saw the request";
  held->Release();
  // It sees the request as soon as the task is done, and parks.
  ASSERT_TRUE(RunUntil(*clock_, [&] { return context->SuspendAcks() == 1; }));
}

TEST_F(ContextControl, StopFromAnotherThreadLetsTheRunningTaskFinishAndRunsNoMore) {
  auto context = NewContext();
  auto held = Task(1);
  held->HoldUntilReleased();
  auto next = Task(2);
  context->PushBack(held);
  context->PushBack(next);
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(RunUntil(*clock_, [&] { return held->Entered().IsSet(); }));

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
  ASSERT_TRUE(RunUntil(*clock_, [&] { return held->Entered().IsSet(); }));
  auto joined = std::async(std::launch::async, [&] { return context->StopAndJoin(50); });
  ASSERT_TRUE(Quiet(*clock_));
  clock_->Advance(50);
  EXPECT_FALSE(joined.get());
  held->Release();
  EXPECT_TRUE(context->StopAndJoin(kPatienceMs));
  EXPECT_TRUE(context->StopAndJoin(0)) << "nothing left to join";
}

TEST_F(ContextControl, NoWorkerOutlivesStopAndJoin) {
  std::vector<std::weak_ptr<CTaskThreadContext>> watched;
  for (int i = 0; i < 6; ++i) {
    auto context = std::make_shared<CTaskThreadContext>();
    context->SetClock(clock_);
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
  ASSERT_TRUE(Ran(4));
  ASSERT_TRUE(RunFor(*clock_, kQuietMs));
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
  constexpr size_t kWorkers = kContexts - 1;  // all but the stopped one
  for (int i = 0; i < kContexts; ++i) {
    for (int32_t id = 1; id <= 2; ++id) all[i]->PushBack(std::make_shared<RecordingTask>(id, journals[i]));
  }
  auto eachRan = [&](int from, size_t n) {
    for (int i = from; i < kContexts; ++i) {
      if (journals[i]->Ids().size() < n) return false;
    }
    return true;
  };
  ASSERT_TRUE(RunUntil(*clock_, [&] { return eachRan(2, 2); }, kWorkers))
      << "a context was held by another's suspend or stop";
  ASSERT_TRUE(RunFor(*clock_, kQuietMs, kWorkers));
  for (int i = 2; i < kContexts; ++i) EXPECT_EQ(all[i]->State(), CTaskThreadContext::kRunning);
  EXPECT_TRUE(journals[0]->Ids().empty());
  EXPECT_TRUE(journals[1]->Ids().empty());
  EXPECT_EQ(all[0]->State(), CTaskThreadContext::kSuspended);

  // Suspending and resuming one does not touch the handshake of the others.
  all[2]->Suspend();
  all[0]->Resume();
  EXPECT_TRUE(RunUntil(*clock_, [&] { return journals[0]->Ids().size() == 2; }, kWorkers));
  all[3]->PushBack(std::make_shared<RecordingTask>(3, journals[3]));
  EXPECT_TRUE(RunUntil(*clock_, [&] { return journals[3]->Ids().size() == 3; }, kWorkers));
  EXPECT_EQ(all[2]->State(), CTaskThreadContext::kSuspended);
  EXPECT_EQ(all[2]->SuspendAcks(), 1u);
  EXPECT_EQ(all[3]->SuspendAcks(), 0u);
}

}  // namespace
