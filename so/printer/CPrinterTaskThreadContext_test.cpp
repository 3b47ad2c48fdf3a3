#include "so/printer/CPrinterTaskThreadContext.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <utility>
#include <thread>
#include <vector>

#include "platform/manual_clock.h"
#include "platform/manual_reset_event.h"
#include "so/printer/OutputIdCounter.h"
#include "testing/FakePort.h"
#include "testing/RecordingEventSink.h"
#include "testing/TestTasks.h"

namespace {

using QEL::BASE::HeapKind;
using QEL::Printer::CPrinterPort;
using QEL::Printer::CPrinterTaskThreadContext;
using QEL::Printer::OutputIdCounter;
using task_test::Journal;
using task_test::kPatienceMs;
using testing_support::RecordingEventSink;
using task_test::RecordingTask;
using task_test::RunFor;
using task_test::RunUntil;
using testing_support::FakePort;
using Bytes = std::vector<uint8_t>;
using Failure = QEL::Printer::CPrinterOutTask::Failure;

// Clock time in which a worker that wrongly ran on would run several tasks.
constexpr uint32_t kQuietMs = 1000;

// The worker, its port and the port's retries all run on one manual clock.
class PrinterWorker : public ::testing::Test {
 protected:
  void SetUp() override {
    clock->SetAutoAdvance(true);  // the caller's settling pauses move the clock
    int32_t rc = 0;
    ASSERT_EQ(port->openForClaim(&rc), 1);
    ASSERT_TRUE(context->SetClock(clock));
    ASSERT_EQ(context->Init(context), 0);
  }
  void TearDown() override { EXPECT_TRUE(context->StopAndJoin(kPatienceMs)); }
  std::shared_ptr<RecordingTask> Task(int32_t id) { return std::make_shared<RecordingTask>(id, journal); }
  bool Ran(size_t n) { return RunUntil(*clock, [&] { return journal->Ids().size() >= n; }); }
  bool Completed(size_t n) { return RunUntil(*clock, [&] { return events->Completions().Ids().size() >= n; }); }
  bool FewMorePasses() {
    const uint64_t start = context->TaskPasses();
    return RunUntil(*clock, [&] { return context->TaskPasses() >= start + 3; });
  }

  std::shared_ptr<platform::ManualClock> clock = std::make_shared<platform::ManualClock>();
  std::shared_ptr<FakePort> fake = std::make_shared<FakePort>();
  std::shared_ptr<CPrinterPort> port = std::make_shared<CPrinterPort>(fake, clock);
  std::shared_ptr<RecordingEventSink> events = std::make_shared<RecordingEventSink>();
  std::shared_ptr<CPrinterTaskThreadContext> context = std::make_shared<CPrinterTaskThreadContext>(port, events);
  std::shared_ptr<Journal> journal = std::make_shared<Journal>();
};

TEST_F(PrinterWorker, QueuedOutputIsWrittenInOrderWithCompletions) {
  ASSERT_EQ(context->Start(), 0);
  const Bytes first = {'A', 0x0A};
  const Bytes second = {'B', 0x0A};
  const Bytes urgent = {0x1B, 0x40};
  context->Suspend();  // all three queued before the worker looks
  EXPECT_EQ(context->QueueOutput(first.data(), 2, 1, false), 0);
  EXPECT_EQ(context->QueueOutput(second.data(), 2, 2, false), 0);
  EXPECT_EQ(context->QueueOutput(urgent.data(), 2, 3, true), 0);
  EXPECT_EQ(context->Count(), 3);
  context->Resume();
  ASSERT_TRUE(Completed(3));
  EXPECT_EQ(events->Completions().Ids(), (std::vector<int32_t>{3, 1, 2}));
  EXPECT_EQ(fake->WriteCalls(), (std::vector<Bytes>{urgent, first, second}));
}

TEST_F(PrinterWorker, UnfinishedTaskStaysInFrontAndRunsAgainUntilItFinishes) {
  auto unfinished = Task(1);
  unfinished->UnfinishedTimes(2);
  context->PushBack(unfinished);
  context->PushBack(Task(2));
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(Ran(4));
  EXPECT_EQ(journal->Ids(), (std::vector<int32_t>{1, 1, 1, 2}));
  ASSERT_TRUE(RunUntil(*clock, [&] { return context->Count() == 0; }));
  EXPECT_EQ(unfinished.use_count(), 1) << "the worker kept no copy";
}

TEST_F(PrinterWorker, OutputThatCannotHaveThePortIsHeldReportedOnceAndSentOnRetry) {
  std::vector<std::pair<int32_t, Failure>> reports;  // written by the worker, read once it is held
  context->SetOutputFailureReporter([&](int32_t id, Failure f) { reports.emplace_back(id, f); });
  platform::ManualResetEvent taken, release;
  std::thread holder([&] {
    port->TryLock();
    taken.Set();
    release.Wait(platform::ManualResetEvent::kInfinite);
    port->Unlock();
  });
  taken.Wait(platform::ManualResetEvent::kInfinite);
  const Bytes job = {'J', 0x0A};
  context->QueueOutput(job.data(), 2, 21, false);
  context->QueueOutput(job.data(), 1, 22, false);
  ASSERT_EQ(context->Start(), 0);
  // The first job gives up on the lock after its ten seconds of retries.
  ASSERT_TRUE(RunUntil(*clock, [&] { return context->Held(); }));
  release.Set();
  holder.join();
  ASSERT_TRUE(FewMorePasses());
  EXPECT_EQ(context->Count(), 2) << "the job stays in front, the next behind it";
  EXPECT_TRUE(fake->Written().empty()) << "a held job is not sent again by itself";
  EXPECT_TRUE(events->Completions().Ids().empty());
  EXPECT_EQ(reports, (std::vector<std::pair<int32_t, Failure>>{{21, Failure::kPortBusy}}));

  ASSERT_TRUE(context->RetryHeld());
  EXPECT_FALSE(context->RetryHeld()) << "nothing more is held";
  ASSERT_TRUE(Completed(2));
  ASSERT_TRUE(RunFor(*clock, kQuietMs));
  EXPECT_EQ(events->Completions().Ids(), (std::vector<int32_t>{21, 22})) << "each reported once, in order";
  EXPECT_EQ(fake->WriteCalls(), (std::vector<Bytes>{job, {'J'}}));
  EXPECT_EQ(reports.size(), 1u);
}

TEST_F(PrinterWorker, FailedWriteHoldsTheQueueWhilePollingGoesOnAndClearDropsIt) {
  std::atomic<int> reports{0};
  context->SetOutputFailureReporter([&](int32_t id, Failure f) {
    EXPECT_EQ(id, 31);
    EXPECT_EQ(f, Failure::kWriteFailed);
    reports.fetch_add(1);
  });
  fake->FailWrites(true);
  const Bytes job = {'F', 0x0A};
  context->QueueOutput(job.data(), 2, 31, false);
  context->QueueOutput(job.data(), 2, 32, false);
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(RunUntil(*clock, [&] { return context->Held(); }));
  const int polls = events->Polls();
  ASSERT_TRUE(RunUntil(*clock, [&] { return events->Polls() >= polls + 2; }))
      << "the status is still watched while the job is held";
  EXPECT_EQ(reports.load(), 1) << "held, not re-sent and reported again";
  EXPECT_EQ(context->Count(), 2);
  EXPECT_TRUE(events->Completions().Ids().empty());

  // A retry that fails again is held and reported again, once.
  ASSERT_TRUE(context->RetryHeld());
  ASSERT_TRUE(RunUntil(*clock, [&] { return reports.load() == 2 && context->Held(); }));
  ASSERT_TRUE(FewMorePasses());
  EXPECT_EQ(reports.load(), 2);

  fake->FailWrites(false);
  context->Clear();
  EXPECT_FALSE(context->Held());
  EXPECT_EQ(context->Count(), 0);
  ASSERT_TRUE(RunFor(*clock, kQuietMs));
  EXPECT_TRUE(fake->Written().empty()) << "the dropped jobs are never written";
  const Bytes next = {'N'};
  context->QueueOutput(next.data(), 1, 33, false);
  ASSERT_TRUE(Completed(1));
  EXPECT_EQ(events->Completions().Ids(), (std::vector<int32_t>{33}));
  EXPECT_EQ(fake->Written(), next);
}

TEST_F(PrinterWorker, RemovedReporterHearsNothingAndTheJobIsHeldAllTheSame) {
  fake->FailWrites(true);
  std::atomic<int> reports{0};
  context->SetOutputFailureReporter([&](int32_t, Failure) { reports.fetch_add(1); });
  context->SetOutputFailureReporter(nullptr);
  const Bytes job = {'X'};
  context->QueueOutput(job.data(), 1, 41, false);
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(RunUntil(*clock, [&] { return context->Held(); }));
  EXPECT_EQ(reports.load(), 0);
}

TEST_F(PrinterWorker, CompletionRefusedBySinkIsNotReportedAgain) {
  events->ThrowOnCompletion(true);
  const Bytes job = {'S'};
  context->QueueOutput(job.data(), 1, 41, false);
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(RunUntil(*clock, [&] { return context->TaskFailed(); }));
  events->ThrowOnCompletion(false);
  ASSERT_TRUE(FewMorePasses());
  EXPECT_EQ(events->Completions().Ids(), (std::vector<int32_t>{41}));
  EXPECT_EQ(fake->Written(), job);
  EXPECT_EQ(context->Count(), 1) << "a failed worker runs nothing until Clear";
  context->Clear();
  context->QueueOutput(job.data(), 1, 42, false);
  ASSERT_TRUE(Completed(2));
  EXPECT_EQ(events->Completions().Ids(), (std::vector<int32_t>{41, 42}));
}

TEST_F(PrinterWorker, InternalTaskSignalsInternalDoneWhenFinishedUnlessCancelled) {
  auto cancelled = Task(-2);
  cancelled->Cancel();
  context->PushBack(cancelled);
  context->PushBack(Task(5));  // an output task: no signal either
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(RunUntil(*clock, [&] { return context->Count() == 0; }));
  EXPECT_FALSE(context->InternalDone().IsSet());
  EXPECT_EQ(cancelled->Executions(), 0);

  auto internal = Task(-1);
  internal->UnfinishedTimes(1);
  context->PushBack(internal);
  ASSERT_TRUE(Ran(2));
  ASSERT_TRUE(task_test::Quiet(*clock));
  EXPECT_FALSE(context->InternalDone().IsSet()) << "not finished yet";
  ASSERT_TRUE(RunUntil(*clock, [&] { return context->InternalDone().IsSet(); }));
  EXPECT_EQ(journal->Ids(), (std::vector<int32_t>{5, -1, -1}));
}

TEST_F(PrinterWorker, FailedTaskStopsLaterTasksUntilClear) {
  auto failing = Task(1);
  failing->ThrowOnExecute();
  auto later = Task(2);
  context->PushBack(failing);
  context->PushBack(later);
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(RunUntil(*clock, [&] { return context->TaskFailed(); }));
  ASSERT_TRUE(FewMorePasses());
  EXPECT_EQ(later->Executions(), 0);
  EXPECT_EQ(failing->Executions(), 1);
  EXPECT_EQ(context->Count(), 2);

  context->Clear();
  EXPECT_EQ(context->Count(), 0);
  EXPECT_EQ(context->State(), CPrinterTaskThreadContext::kRunning);
  const uint8_t data[] = {'C'};
  context->QueueOutput(data, 1, 9, false);
  ASSERT_TRUE(Completed(1));
  EXPECT_EQ(fake->Written(), (Bytes{'C'}));
  EXPECT_EQ(later->Executions(), 0);
  EXPECT_EQ(failing->Executions(), 1);
}

TEST_F(PrinterWorker, IdlePollGoesToTheEventObjectUnlessPaused) {
  context->PausePolling();
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(RunUntil(*clock, [&] { return context->IdlePasses() >= 3; }));
  EXPECT_EQ(events->Polls(), 0);
  context->ResumePolling();
  EXPECT_TRUE(RunUntil(*clock, [&] { return events->Polls() >= 1; }));
}

TEST_F(PrinterWorker, InitStartsTheOutputIdsAfresh) {
  OutputIdCounter::SetLastForTesting(41);
  auto fresh = std::make_shared<CPrinterTaskThreadContext>(port, events, nullptr);
  ASSERT_EQ(fresh->Init(fresh), 0);
  EXPECT_EQ(OutputIdCounter::Last(), 0);
  EXPECT_EQ(OutputIdCounter::Next(), 1);
  OutputIdCounter::SetLastForTesting(41);
  auto other = std::make_shared<CPrinterTaskThreadContext>(port, events, nullptr);
  EXPECT_NE(fresh->Init(other), 0);
  EXPECT_EQ(OutputIdCounter::Last(), 41) << "a refused Init changes nothing";
  OutputIdCounter::Reset();
}

TEST_F(PrinterWorker, OutputDataGoesToTheSmallHeapUpTo65535Bytes) {
  std::vector<uint8_t> data(65536, 0x55);
  auto small = context->CreateOutTask(data.data(), 65535, 1);
  auto large = context->CreateOutTask(data.data(), 65536, 2);
  EXPECT_EQ(small->Data().Kind(), HeapKind::Small);
  EXPECT_EQ(small->Data().Heap(), context->Heaps().SmallHeap());
  EXPECT_EQ(large->Data().Kind(), HeapKind::Large);
  EXPECT_EQ(large->Data().Heap(), context->Heaps().LargeHeap());
  EXPECT_EQ(small->Data().Length(), 65535u);

  // A full small heap sends small data to the large one.
  std::vector<std::shared_ptr<QEL::Printer::CPrinterOutTask>> held{small};
  for (int i = 0; i < 16 && held.back()->Data().Kind() == HeapKind::Small; ++i) {
    held.push_back(context->CreateOutTask(data.data(), 65535, 3 + i));
  }
  EXPECT_EQ(held.back()->Data().Kind(), HeapKind::Large);
}

TEST_F(PrinterWorker, QueuedDataOutlivesTheWorker) {
  const uint8_t data[] = {1, 2, 3};
  auto task = context->CreateOutTask(data, 3, 4);
  ASSERT_TRUE(context->StopAndJoin(kPatienceMs));
  context.reset();
  EXPECT_EQ(task->Execute(), 1);
  EXPECT_EQ(fake->Written(), (Bytes{1, 2, 3}));
  context = std::make_shared<CPrinterTaskThreadContext>(port, events);  // for TearDown
}

}  // namespace
