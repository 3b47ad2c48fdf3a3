// Asynchronous output that cannot be written: the job is held at the front of
// the queue and reported once with the codes a synchronous write would have
// answered; Retry writes it once, ClearOutput drops it, and only a written
// job is reported complete. The core's pauses run on a manual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/manual_clock.h"
#include "platform/manual_reset_event.h"
#include "so/printer/PropertyIndex.h"
#include "testing/FakePort.h"
#include "testing/RecordingEventSink.h"
#include "testing/TestPrinterModel.h"
#include "testing/TestTasks.h"

namespace {

using QEL::Printer::OPOS_E_BUSY;
using QEL::Printer::OPOS_E_EXTENDED;
using QEL::Printer::OPOS_E_NOHARDWARE;
using QEL::Printer::OPOS_EPTR_COVER_OPEN;
using QEL::Printer::OPOS_EPTR_REC_EMPTY;
namespace Pidx = QEL::Printer::Pidx;
using task_test::RunUntil;
using testing_support::FakePort;
using testing_support::RecordingEventSink;
using Codes = std::pair<int32_t, int32_t>;

constexpr int kWaitMs = 20000;
constexpr int32_t kReceipt = 2;

// A model whose last status reading a test can state outright.
class StatusModel : public testing_support::TestPrinterModel {
 public:
  void KnowStatus(bool coverOpen, bool paperOut) {
    std::lock_guard<std::mutex> lock(statusMutex_);
    status_.coverOpen = coverOpen ? 1 : 0;
    status_.paperOut = paperOut ? 1 : 0;
    statusEvaluated_ = true;
  }
};

size_t Occurrences(const std::vector<uint8_t>& bytes, const std::string& text) {
  size_t n = 0;
  auto at = bytes.begin();
  for (;;) {
    at = std::search(at, bytes.end(), text.begin(), text.end());
    if (at == bytes.end()) return n;
    ++n;
    ++at;
  }
}

class AsyncOutputFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    clock->SetAutoAdvance(true);
    core.SetClock(clock);
    core.AttachPort(port);
    int32_t rc = -1;
    core.OpenServiceW(u"TEST", &sink, &rc);
    ASSERT_EQ(rc, 0);
    core.ClaimDevice(1000, &rc);
    ASSERT_EQ(rc, 0);
    ASSERT_EQ(core.DeviceEnable(1), 1);
    core.SetPropertyNumber(Pidx::AsyncMode, 1, &rc);
    ASSERT_EQ(rc, 0);
    core.KnowStatus(false, false);  // a printer ready to print, as far as was read
    port->ClearWritten();
  }
  void TearDown() override {
    int32_t rc = 0;
    core.CloseService(&rc);
  }

  // Queues one job and returns its OutputID.
  int32_t Print(const std::string& text) {
    int32_t rc = -1;
    core.PrintNormal(kReceipt, std::u16string(text.begin(), text.end()), &rc);
    EXPECT_EQ(rc, 0) << "queued";
    int32_t id = 0;
    core.GetPropertyNumber(Pidx::OutputID, &id);
    return id;
  }
  bool Held() { return RunUntil(*clock, [&] { return core.Worker()->Held(); }); }
  bool Completed(size_t n) {
    return RunUntil(*clock, [&] { return sink.Completions().Ids().size() >= n; });
  }
  // Worker passes after the one that held the job: a job it wrongly sent
  // or reported again would have shown by then.
  bool FewMorePasses() {
    const uint64_t start = core.Worker()->TaskPasses();
    return RunUntil(*clock, [&] { return core.Worker()->TaskPasses() >= start + 4; });
  }
  // The queue ran empty and the worker went idle a few times since.
  bool Settled() {
    const uint64_t start = core.Worker()->IdlePasses();
    return RunUntil(*clock, [&] { return core.Worker()->IdlePasses() >= start + 2; });
  }
  size_t Written(const std::string& text) const { return Occurrences(port->Written(), text); }

  std::shared_ptr<platform::ManualClock> clock = std::make_shared<platform::ManualClock>();
  std::shared_ptr<FakePort> port = std::make_shared<FakePort>(u"TCP/IP");
  RecordingEventSink sink;  // not attached: the worker's polls read nothing
  StatusModel core;
};

TEST_F(AsyncOutputFailure, FailedWriteIsReportedOnceWithTheCodesTheStatusCalls) {
  struct Case {
    const char* name;
    bool coverOpen, paperOut;
    Codes codes;
  };
  const Case cases[] = {
      {"printer gone", false, false, {OPOS_E_NOHARDWARE, 0}},
      {"cover open", true, false, {OPOS_E_EXTENDED, OPOS_EPTR_COVER_OPEN}},
      {"paper out", false, true, {OPOS_E_EXTENDED, OPOS_EPTR_REC_EMPTY}},
  };
  size_t reported = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    core.KnowStatus(c.coverOpen, c.paperOut);
    port->FailWrites(true);
    const std::string text = std::string("job ") + c.name + "\n";
    const int32_t id = Print(text);
    ASSERT_TRUE(Held());
    ASSERT_TRUE(FewMorePasses());
    ++reported;
    ASSERT_EQ(sink.OutputErrors().size(), reported) << "raised once, not once per pass";
    EXPECT_EQ(sink.OutputErrors().back(), c.codes);
    EXPECT_TRUE(core.IsInErrorState());
    EXPECT_EQ(core.Worker()->Count(), 1) << "the job is kept";
    EXPECT_EQ(sink.Completions().Ids().size(), reported - 1) << "no completion for it yet";

    // The printer can take it again: Retry writes it exactly once.
    port->FailWrites(false);
    core.KnowStatus(false, false);
    core.Retry();
    ASSERT_TRUE(Completed(reported));
    ASSERT_TRUE(Settled());
    EXPECT_EQ(sink.Completions().Ids().back(), id);
    EXPECT_EQ(sink.Completions().Ids().size(), reported);
    EXPECT_EQ(Written(text), 1u);
    EXPECT_EQ(sink.OutputErrors().size(), reported);
    EXPECT_FALSE(core.IsInErrorState());
    EXPECT_EQ(core.Worker()->Count(), 0);
  }
}

TEST_F(AsyncOutputFailure, LaterJobsWaitBehindTheHeldOneAndFollowItInOrder) {
  port->FailWrites(true);
  const int32_t first = Print("first\n");
  ASSERT_TRUE(Held());
  const int32_t second = Print("second\n");
  ASSERT_TRUE(FewMorePasses());
  EXPECT_EQ(core.Worker()->Count(), 2);
  EXPECT_TRUE(port->Written().empty());
  port->FailWrites(false);
  core.Retry();
  ASSERT_TRUE(Completed(2));
  EXPECT_EQ(sink.Completions().Ids(), (std::vector<int32_t>{first, second}));
  const std::vector<uint8_t> written = port->Written();
  const std::string both(written.begin(), written.end());
  ASSERT_NE(both.find("first\n"), std::string::npos);
  EXPECT_LT(both.find("first\n"), both.find("second\n"));
  EXPECT_EQ(sink.OutputErrors().size(), 1u);
}

TEST_F(AsyncOutputFailure, ClearOutputDropsTheHeldJobAndWhatWaitedBehindIt) {
  port->FailWrites(true);
  Print("dropped\n");
  ASSERT_TRUE(Held());
  Print("dropped too\n");
  int32_t rc = 0;
  core.ClearOutput(&rc);
  EXPECT_FALSE(core.IsInErrorState());
  EXPECT_TRUE(core.IsIdle());
  port->FailWrites(false);
  const int32_t next = Print("next\n");
  ASSERT_TRUE(Completed(1));
  EXPECT_EQ(sink.Completions().Ids(), (std::vector<int32_t>{next})) << "no completion for a dropped job";
  EXPECT_EQ(Written("dropped"), 0u);
  EXPECT_EQ(Written("next\n"), 1u);
  EXPECT_EQ(sink.OutputErrors().size(), 1u);
}

TEST_F(AsyncOutputFailure, APortLockHeldTenSecondsIsReportedBusyAndTheJobKept) {
  std::shared_ptr<QEL::Printer::CPrinterPort> printerPort = core.PrinterPort();
  platform::ManualResetEvent taken, release;
  std::thread holder([&] {
    printerPort->TryLock();
    taken.Set();
    release.Wait(platform::ManualResetEvent::kInfinite);
    printerPort->Unlock();
  });
  taken.Wait(platform::ManualResetEvent::kInfinite);
  const uint32_t start = clock->NowMs();
  const int32_t id = Print("locked out\n");
  ASSERT_TRUE(Held());
  EXPECT_GE(clock->NowMs() - start, 10000u) << "the whole lock wait passed first";
  release.Set();
  holder.join();
  ASSERT_TRUE(FewMorePasses());
  EXPECT_EQ(sink.OutputErrors(), (std::vector<Codes>{{OPOS_E_BUSY, 0}}));
  EXPECT_EQ(Written("locked out\n"), 0u);
  core.Retry();
  ASSERT_TRUE(Completed(1));
  EXPECT_EQ(sink.Completions().Ids(), (std::vector<int32_t>{id}));
  EXPECT_EQ(Written("locked out\n"), 1u);
}

TEST_F(AsyncOutputFailure, SynchronousOutputIsRefusedBusyWhileAJobIsHeld) {
  port->FailWrites(true);
  Print("held\n");
  ASSERT_TRUE(Held());
  int32_t rc = 0;
  core.SetPropertyNumber(Pidx::AsyncMode, 0, &rc);
  core.PrintNormal(kReceipt, u"sync\n", &rc);
  EXPECT_EQ(rc, OPOS_E_BUSY);
  EXPECT_EQ(Written("sync\n"), 0u);
}

TEST_F(AsyncOutputFailure, NothingIsReportedOrHeldOnceTheDeviceIsDisabled) {
  port->FailWrites(true);
  Print("lost on disable\n");
  ASSERT_TRUE(Held());
  EXPECT_EQ(core.DeviceEnable(0), 1);
  EXPECT_FALSE(core.IsInErrorState()) << "disabling clears the output";
  EXPECT_TRUE(core.IsIdle());
  core.Retry();  // not enabled: nothing to retry
  EXPECT_EQ(sink.OutputErrors().size(), 1u);
  EXPECT_TRUE(sink.Completions().Ids().empty());
}

}  // namespace
