#include "so/printer/CPrinterOutTask.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "platform/manual_reset_event.h"
#include "so/base/WorkerHeaps.h"
#include "so/printer/PrinterTaskTestSupport.h"
#include "testing/FakePort.h"

namespace {

using QEL::Printer::CPrinterOutTask;
using QEL::Printer::CPrinterPort;
using task_test::kPatienceMs;
using task_test::RecordingEventObject;
using testing_support::FakePort;

class OutTask : public ::testing::Test {
 protected:
  void SetUp() override {
    int32_t rc = 0;
    ASSERT_EQ(port->openForClaim(&rc), 1);
  }
  std::shared_ptr<CPrinterOutTask> Task(const std::vector<uint8_t>& bytes, int32_t outputId) {
    auto task = std::make_shared<CPrinterOutTask>(port, events);
    task->StoreData(heaps.Copy(bytes.data(), bytes.size()), outputId);
    return task;
  }

  std::shared_ptr<FakePort> fake = std::make_shared<FakePort>();
  std::shared_ptr<CPrinterPort> port = std::make_shared<CPrinterPort>(fake);
  std::shared_ptr<RecordingEventObject> events = std::make_shared<RecordingEventObject>();
  QEL::BASE::WorkerHeaps heaps;
};

TEST_F(OutTask, WritesItsBytesInOnePieceAndReportsItsOutputId) {
  auto task = Task({0x1B, 0x40, 'A', 0x0A}, 7);
  EXPECT_EQ(task->Id(), 7);
  EXPECT_EQ(task->Execute(), 1);
  EXPECT_EQ(fake->WriteCalls(), (std::vector<std::vector<uint8_t>>{{0x1B, 0x40, 'A', 0x0A}}));
  EXPECT_EQ(events->Completions().Ids(), (std::vector<int32_t>{7}));
  EXPECT_EQ(task->IsRunning(), 0);
  EXPECT_TRUE(port->TryLock()) << "the port lock was given back";
  port->Unlock();
}

TEST_F(OutTask, FailedWriteStillReportsCompletion) {
  fake->FailWrites(true);
  auto task = Task({1, 2, 3}, 8);
  EXPECT_EQ(task->Execute(), 0);
  EXPECT_EQ(events->Completions().Ids(), (std::vector<int32_t>{8}));
  fake->FailWrites(false);
  port->close();
  auto closed = Task({4}, 9);
  EXPECT_EQ(closed->Execute(), 0) << "a closed port takes nothing";
  EXPECT_EQ(events->Completions().Ids(), (std::vector<int32_t>{8, 9}));
  EXPECT_TRUE(fake->Written().empty());
}

TEST_F(OutTask, BusyPortLockDropsTheOutputWithoutCompletion) {
  platform::ManualResetEvent locked;
  platform::ManualResetEvent done;
  std::thread holder([&] {
    ASSERT_TRUE(port->TryLock());
    locked.Set();
    done.Wait(kPatienceMs);
    port->Unlock();
  });
  ASSERT_TRUE(locked.Wait(kPatienceMs));
  auto task = Task({1, 2}, 10);
  task->SetLockWait({2, 5});
  EXPECT_EQ(task->Execute(), 0);
  done.Set();
  holder.join();
  EXPECT_TRUE(fake->Written().empty());
  EXPECT_TRUE(events->Completions().Ids().empty());
}

TEST_F(OutTask, CancelledOrEmptyTaskFinishesWithoutSending) {
  auto cancelled = Task({1}, 11);
  cancelled->Cancel();
  EXPECT_EQ(cancelled->IsCancelled(), 1);
  EXPECT_EQ(cancelled->Execute(), 1);
  auto empty = Task({}, 12);
  EXPECT_EQ(empty->Execute(), 1);
  auto unstored = std::make_shared<CPrinterOutTask>(port, events);
  EXPECT_EQ(unstored->Id(), -1);
  EXPECT_EQ(unstored->Execute(), 1);
  EXPECT_TRUE(fake->Written().empty());
  EXPECT_TRUE(events->Completions().Ids().empty());
}

TEST_F(OutTask, NoCompletionWithoutAnOutputId) {
  auto task = Task({5, 6}, -1);
  EXPECT_EQ(task->Execute(), 1);
  EXPECT_EQ(fake->Written(), (std::vector<uint8_t>{5, 6}));
  EXPECT_TRUE(events->Completions().Ids().empty());
}

}  // namespace
