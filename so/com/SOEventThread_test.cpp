// The event thread on a manual clock: its pacing, suspension and stop, and
// what an event task does with the control object's error response.
#include "so/com/SOEventThread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/manual_clock.h"

namespace QEL {
namespace COM {
namespace {

constexpr uint32_t kRealWaitMs = 20000;

class RecordingTarget : public ISOFireEvents {
 public:
  int32_t FireEvent(EventKind, int32_t* values, size_t count) override {
    std::lock_guard<std::mutex> lock(mutex_);
    fired_.push_back(values[0]);
    if (count >= 4) values[3] = response_;  // as the control object answers
    return 0;
  }
  void RequestClearOutput() override {
    std::lock_guard<std::mutex> lock(mutex_);
    ++clears_;
  }
  int32_t RequestRetry() override {
    std::lock_guard<std::mutex> lock(mutex_);
    ++retries_;
    return 0;
  }
  std::vector<int32_t> Fired() {
    std::lock_guard<std::mutex> lock(mutex_);
    return fired_;
  }
  int Clears() {
    std::lock_guard<std::mutex> lock(mutex_);
    return clears_;
  }
  int Retries() {
    std::lock_guard<std::mutex> lock(mutex_);
    return retries_;
  }
  void Respond(int32_t response) { response_ = response; }

 private:
  std::mutex mutex_;
  std::vector<int32_t> fired_;
  int clears_ = 0;
  int retries_ = 0;
  int32_t response_ = 0;
};

class EventThreadTest : public ::testing::Test {
 protected:
  void Queue(int32_t value) {
    thread.Queue(std::make_unique<CPrinterCOEventsTask>(&target, EventKind::kStatusUpdate, &value, 1));
  }
  // Lets the thread run until it waits for the clock again.
  void Settle() { ASSERT_TRUE(clock->WaitForSleepers(1, kRealWaitMs)); }

  std::shared_ptr<platform::ManualClock> clock = std::make_shared<platform::ManualClock>();
  RecordingTarget target;
  SOEventThread thread{clock};
};

TEST_F(EventThreadTest, DeliversOneEventPerPacingInterval) {
  thread.Start();
  Queue(1);
  Queue(2);
  Settle();
  EXPECT_TRUE(target.Fired().empty()) << "the first waits out its pause";
  clock->Advance(SOEventThread::kPacingMs);
  Settle();
  EXPECT_EQ(target.Fired(), (std::vector<int32_t>{1}));
  clock->Advance(SOEventThread::kPacingMs - 1);
  Settle();
  EXPECT_EQ(target.Fired().size(), 1u);
  clock->Advance(1);
  Settle();
  EXPECT_EQ(target.Fired(), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(thread.Pending(), 0u);
}

TEST_F(EventThreadTest, ASuspendedThreadKeepsItsQueueUntilResumed) {
  clock->SetAutoAdvance(true);
  thread.Start();
  thread.Suspend();
  Queue(7);
  Settle();
  EXPECT_TRUE(target.Fired().empty());
  EXPECT_EQ(thread.Pending(), 1u);
  thread.Resume();
  Queue(8);
  ASSERT_TRUE(clock->WaitForSleepers(1, kRealWaitMs));
  Settle();
  EXPECT_EQ(target.Fired(), (std::vector<int32_t>{7, 8}));
}

TEST_F(EventThreadTest, StoppedTasksWaitForTheNextStartAndClearDropsThem) {
  clock->SetAutoAdvance(true);
  Queue(1);
  thread.Start();
  thread.Stop();
  EXPECT_FALSE(thread.Running());
  Queue(2);
  const size_t kept = thread.Pending();
  EXPECT_GE(kept, 1u);
  thread.Clear();
  EXPECT_EQ(thread.Pending(), 0u);
  Queue(3);
  thread.Start();
  Settle();
  const std::vector<int32_t> fired = target.Fired();
  ASSERT_FALSE(fired.empty());
  EXPECT_EQ(fired.back(), 3);
  EXPECT_EQ(std::count(fired.begin(), fired.end(), 2), 0) << "cleared before it was delivered";
}

TEST(CPrinterCOEventsTask, ActsOnTheErrorResponseTheControlObjectLeft) {
  struct Case {
    EventKind kind;
    int32_t locus;
    int32_t response;
    int clears;
    int retries;
  };
  const Case cases[] = {
      {EventKind::kError, kErrorLocusOutput, kErrorResponseClear, 1, 0},
      {EventKind::kError, kErrorLocusOutput, kErrorResponseRetry, 0, 1},
      {EventKind::kError, kErrorLocusOutput, 13, 0, 0},  // continue input: nothing to do here
      {EventKind::kError, 2, kErrorResponseClear, 0, 0},  // not an output error
      {EventKind::kStatusUpdate, kErrorLocusOutput, kErrorResponseClear, 0, 0},
  };
  for (const Case& c : cases) {
    RecordingTarget target;
    target.Respond(c.response);
    const int32_t values[4] = {114, 201, c.locus, kErrorResponseRetry};
    CPrinterCOEventsTask task(&target, c.kind, values, 4);
    EXPECT_TRUE(task.Execute());
    EXPECT_EQ(target.Clears(), c.clears) << c.response;
    EXPECT_EQ(target.Retries(), c.retries) << c.response;
  }
  RecordingTarget target;
  target.Respond(kErrorResponseClear);
  const int32_t values[4] = {114, 201, kErrorLocusOutput, kErrorResponseRetry};
  CPrinterCOEventsTask cancelled(&target, EventKind::kError, values, 4);
  cancelled.SetCancelled();
  cancelled.Execute();
  EXPECT_EQ(target.Clears(), 0) << "a cancelled task delivers but does not act";
}

}  // namespace
}  // namespace COM
}  // namespace QEL
