#include "so/printer/CPrinterTaskThreadContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "so/base/TestTasks.h"
#include "so/printer/OutputIdCounter.h"
#include "so/printer/PrinterTaskTestSupport.h"
#include "testing/FakePort.h"

namespace {

using QEL::BASE::HeapKind;
using QEL::Printer::CPrinterPort;
using QEL::Printer::CPrinterTaskThreadContext;
using QEL::Printer::OutputIdCounter;
using task_test::Eventually;
using task_test::Journal;
using task_test::kPatienceMs;
using task_test::RecordingEventObject;
using task_test::RecordingTask;
using testing_support::FakePort;

class PrinterWorker : public ::testing::Test {
 protected:
  void SetUp() override {
    int32_t rc = 0;
    ASSERT_EQ(port->openForClaim(&rc), 1);
    ASSERT_EQ(context->Init(context), 0);
  }
  void TearDown() override { EXPECT_TRUE(context->StopAndJoin(kPatienceMs)); }
  std::shared_ptr<RecordingTask> Task(int32_t id) { return std::make_shared<RecordingTask>(id, journal); }
  bool FewMorePasses() {
    const uint64_t start = context->TaskPasses();
    return Eventually([&] { return context->TaskPasses() >= start + 3; });
  }

  std::shared_ptr<FakePort> fake = std::make_shared<FakePort>();
  std::shared_ptr<CPrinterPort> port = std::make_shared<CPrinterPort>(fake);
  std::shared_ptr<RecordingEventObject> events = std::make_shared<RecordingEventObject>();
  std::shared_ptr<CPrinterTaskThreadContext> context = std::make_shared<CPrinterTaskThreadContext>(port, events);
  std::shared_ptr<Journal> journal = std::make_shared<Journal>();
};

TEST_F(PrinterWorker, QueuedOutputIsWrittenInOrderWithCompletions) {
  ASSERT_EQ(context->Start(), 0);
  const std::vector<uint8_t> first = {'A', 0x0A};
  const std::vector<uint8_t> second = {'B', 0x0A};
  const std::vector<uint8_t> urgent = {0x1B, 0x40};
  context->Suspend();  // all three queued before the worker looks
  EXPECT_EQ(context->QueueOutput(first.data(), 2, 1, false), 0);
  EXPECT_EQ(context->QueueOutput(second.data(), 2, 2, false), 0);
  EXPECT_EQ(context->QueueOutput(urgent.data(), 2, 3, true), 0);
  EXPECT_EQ(context->Count(), 3);
  context->Resume();
  ASSERT_TRUE(events->Completions().WaitForSize(3));
  EXPECT_EQ(events->Completions().Ids(), (std::vector<int32_t>{3, 1, 2}));
  EXPECT_EQ(fake->WriteCalls(), (std::vector<std::vector<uint8_t>>{urgent, first, second}));
}

TEST_F(PrinterWorker, TaskIsTakenOutBeforeItRunsAndNeverRunsAgain) {
  auto unfinished = Task(1);
  unfinished->AlwaysResult(0);
  context->PushBack(unfinished);
  context->PushBack(Task(2));
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(journal->WaitForSize(2));
  EXPECT_EQ(journal->Ids(), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(unfinished->Executions(), 1);
  EXPECT_EQ(unfinished.use_count(), 1) << "the worker kept no copy";
}

TEST_F(PrinterWorker, InternalTaskSignalsInternalDoneUnlessCancelled) {
  auto cancelled = Task(-2);
  cancelled->Cancel();
  context->PushBack(cancelled);
  context->PushBack(Task(5));  // an output task: no signal either
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(journal->WaitForSize(1));
  ASSERT_TRUE(Eventually([&] { return context->Count() == 0; }));
  EXPECT_FALSE(context->InternalDone().IsSet());
  EXPECT_EQ(cancelled->Executions(), 0);

  context->PushBack(Task(-1));
  EXPECT_TRUE(context->InternalDone().Wait(kPatienceMs));
  EXPECT_EQ(journal->Ids(), (std::vector<int32_t>{5, -1}));
}

TEST_F(PrinterWorker, FailedTaskStopsLaterTasksUntilClear) {
  auto failing = Task(1);
  failing->ThrowOnExecute();
  auto later = Task(2);
  context->PushBack(failing);
  context->PushBack(later);
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(Eventually([&] { return context->TaskFailed(); }));
  ASSERT_TRUE(FewMorePasses());
  EXPECT_EQ(later->Executions(), 0);
  EXPECT_EQ(context->Count(), 1);

  context->Clear();
  EXPECT_EQ(context->Count(), 0);
  EXPECT_EQ(context->State(), CPrinterTaskThreadContext::kRunning);
  const uint8_t data[] = {'C'};
  context->QueueOutput(data, 1, 9, false);
  ASSERT_TRUE(events->Completions().WaitForSize(1));
  EXPECT_EQ(fake->Written(), (std::vector<uint8_t>{'C'}));
  EXPECT_EQ(later->Executions(), 0);
  EXPECT_EQ(failing->Executions(), 1);
}

TEST_F(PrinterWorker, IdlePollGoesToTheEventObjectUnlessPaused) {
  context->PausePolling();
  ASSERT_EQ(context->Start(), 0);
  ASSERT_TRUE(Eventually([&] { return context->IdlePasses() >= 3; }));
  EXPECT_EQ(events->Polls(), 0);
  context->ResumePolling();
  EXPECT_TRUE(events->Polled().Wait(kPatienceMs));
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
  EXPECT_EQ(fake->Written(), (std::vector<uint8_t>{1, 2, 3}));
  context = std::make_shared<CPrinterTaskThreadContext>(port, events);  // for TearDown
}

}  // namespace
