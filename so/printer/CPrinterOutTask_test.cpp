#include "so/printer/CPrinterOutTask.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/manual_clock.h"
#include "platform/manual_reset_event.h"
#include "so/base/WorkerHeaps.h"
#include "testing/FakePort.h"
#include "testing/RecordingEventSink.h"
#include "testing/TestTasks.h"

namespace {

using QEL::Printer::CPrinterOutTask;
using QEL::Printer::CPrinterPort;
using task_test::Quiet;
using testing_support::RecordingEventSink;
using testing_support::FakePort;

// Holds the port lock on another thread until Release.
class ForeignLock {
 public:
  explicit ForeignLock(CPrinterPort& port) : port_(port) {
    thread_ = std::thread([this] {
      locked_ = port_.TryLock();
      taken_.Set();
      release_.Wait(platform::ManualResetEvent::kInfinite);
      if (locked_) port_.Unlock();
    });
    taken_.Wait(platform::ManualResetEvent::kInfinite);
  }
  ~ForeignLock() { Release(); }
  bool Locked() const { return locked_; }
  void Release() {
    release_.Set();
    if (thread_.joinable()) thread_.join();
  }

 private:
  CPrinterPort& port_;
  bool locked_ = false;
  platform::ManualResetEvent taken_, release_;
  std::thread thread_;
};

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

  std::shared_ptr<platform::ManualClock> clock = std::make_shared<platform::ManualClock>();
  std::shared_ptr<FakePort> fake = std::make_shared<FakePort>();
  std::shared_ptr<CPrinterPort> port = std::make_shared<CPrinterPort>(fake, clock);
  std::shared_ptr<RecordingEventSink> events = std::make_shared<RecordingEventSink>();
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

TEST_F(OutTask, FailedWriteIsNotFinishedNotReportedAndSaysWhy) {
  using Failure = CPrinterOutTask::Failure;
  fake->FailWrites(true);
  auto task = Task({1, 2, 3}, 8);
  EXPECT_EQ(task->Execute(), 0) << "the job stays for a retry";
  EXPECT_EQ(task->LastFailure(), Failure::kWriteFailed);
  EXPECT_TRUE(port->TryLock()) << "the port lock was given back";
  port->Unlock();
  fake->FailWrites(false);
  port->close();
  auto closed = Task({4}, 9);
  EXPECT_EQ(closed->Execute(), 0) << "a closed port takes nothing";
  EXPECT_EQ(closed->LastFailure(), Failure::kWriteFailed);
  EXPECT_TRUE(events->Completions().Ids().empty()) << "no completion for output that was not written";
  EXPECT_TRUE(fake->Written().empty());

  // The printer is back: the same job goes out once and is reported once.
  int32_t rc = 0;
  ASSERT_EQ(port->openForClaim(&rc), 1);
  EXPECT_EQ(task->Execute(), 1);
  EXPECT_EQ(task->LastFailure(), Failure::kNone);
  EXPECT_EQ(task->Execute(), 1);
  EXPECT_EQ(fake->Written(), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(events->Completions().Ids(), (std::vector<int32_t>{8}));
}

TEST_F(OutTask, BusyPortLockIsAFailureWithNothingSentUntilTheLockIsFree) {
  auto task = Task({1, 2}, 10);
  task->SetLockWait({2, 100});
  {
    ForeignLock holder(*port);
    ASSERT_TRUE(holder.Locked());
    auto tried = std::async(std::launch::async, [&] { return task->Execute(); });
    // One try, then two more 100 ms apart on the port's clock.
    for (int pause = 0; pause < 2; ++pause) {
      ASSERT_TRUE(Quiet(*clock));
      clock->Advance(100);
    }
    EXPECT_EQ(tried.get(), 0) << "not finished: it stays queued";
    EXPECT_EQ(clock->NowMs(), 200u);
  }
  EXPECT_EQ(task->LastFailure(), CPrinterOutTask::Failure::kPortBusy);
  EXPECT_TRUE(fake->Written().empty());
  EXPECT_TRUE(events->Completions().Ids().empty()) << "nothing is reported for a send that did not happen";

  EXPECT_EQ(task->Execute(), 1) << "the lock is free now";
  EXPECT_EQ(fake->Written(), (std::vector<uint8_t>{1, 2}));
  EXPECT_EQ(events->Completions().Ids(), (std::vector<int32_t>{10}));
}

TEST_F(OutTask, NeverSendsOrReportsTheSameOutputTwice) {
  auto task = Task({'A'}, 11);
  EXPECT_EQ(task->Execute(), 1);
  EXPECT_EQ(task->Execute(), 1) << "run again by mistake: finished already";
  // A sink that raises leaves the task to be run again; the report stands.
  events->ThrowOnCompletion(true);
  auto refused = Task({'C'}, 13);
  EXPECT_THROW(refused->Execute(), std::runtime_error);
  events->ThrowOnCompletion(false);
  EXPECT_EQ(refused->Execute(), 1);
  EXPECT_EQ(fake->Written(), (std::vector<uint8_t>{'A', 'C'}));
  EXPECT_EQ(events->Completions().Ids(), (std::vector<int32_t>{11, 13}));
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
