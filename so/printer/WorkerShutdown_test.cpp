// Closing never leaves a worker behind and never hangs on a printer that
// stopped answering or takes its time over every byte.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/manual_clock.h"
#include "sim/virtual_printer.h"
#include "so/io/TCPIPPortSettings.h"
#include "so/printer/CTM_T88IV.h"
#include "so/printer/PropertyIndex.h"
#include "testing/RecordingEventSink.h"
#include "testing/TestTasks.h"

using namespace QEL::Printer;

namespace {

// True once nothing keeps the worker context alive: its thread has ended.
// The wait is only a safety net: a worker that ends does so at once.
bool WorkerGone(const std::weak_ptr<CPrinterTaskThreadContext>& worker) {
  return task_test::Eventually([&] { return worker.expired(); });
}

class WorkerShutdown : public ::testing::Test {
 protected:
  void OpenClaimEnable(CTM_T88IV& core) {
    const std::string text = "127.0.0.1," + std::to_string(printer.Port());
    QEL::IO::TCPIPPortSettings settings;
    settings.Parse(std::u16string(text.begin(), text.end()));
    int32_t rc = 0;
    core.SetPortSettings(&settings, &rc);
    core.OpenServiceW(u"x", &sink, &rc);
    ASSERT_EQ(rc, 0);
    core.ClaimDevice(100, &rc);
    ASSERT_EQ(rc, 0);
    ASSERT_EQ(core.DeviceEnable(1), 1);
  }
  testing_support::RecordingEventSink sink;
  sim::VirtualPrinter printer;
};

TEST_F(WorkerShutdown, SilentPrinter) {
  ASSERT_TRUE(printer.Start(0));
  printer.SetSilent(true);
  CTM_T88IV core(u"TM-T88IIM");
  // The worker's rhythm on a manual clock; the socket keeps its real time-outs.
  auto clock = std::make_shared<platform::ManualClock>();
  clock->SetAutoAdvance(true);
  core.SetClock(clock);
  sink.Attach(&core);
  OpenClaimEnable(core);
  EXPECT_TRUE(sink.Statuses().Ids().empty()) << "no answer, no state";
  std::weak_ptr<CPrinterTaskThreadContext> worker = core.Worker();
  // Let the worker poll the silent printer a few times.
  ASSERT_TRUE(task_test::RunUntil(*clock, [&] { return sink.Polls() >= 3; }));
  int32_t rc = -1;
  core.CloseService(&rc);
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(WorkerGone(worker));
  sink.Detach();
}

TEST_F(WorkerShutdown, SlowPrinterInTheMiddleOfALongJob) {
  ASSERT_TRUE(printer.Start(0));
  printer.SetAcceptDelayPerChunk(20);
  CTM_T88IV core(u"TM-T88IIM");
  sink.Attach(&core);
  OpenClaimEnable(core);
  int32_t rc = -1;
  core.SetPropertyNumber(Pidx::AsyncMode, 1, &rc);
  PrinterBuffer job(32, 32);
  std::vector<uint8_t> text(64 * 1024, 'x');
  job.append(text.data(), text.size());
  ASSERT_EQ(core.Send(job, 0), 0);
  ASSERT_TRUE(printer.WaitForBytes(std::vector<uint8_t>(16, 'x'), task_test::kPatienceMs))
      << "the job has started";
  std::weak_ptr<CPrinterTaskThreadContext> worker = core.Worker();
  core.CloseService(&rc);
  EXPECT_TRUE(WorkerGone(worker));
  sink.Detach();
}

TEST_F(WorkerShutdown, DestroyingAnEnabledCoreStopsItsWorker) {
  ASSERT_TRUE(printer.Start(0));
  std::weak_ptr<CPrinterTaskThreadContext> worker;
  {
    CTM_T88IV core(u"TM-T88IIM");
    sink.Attach(&core);
    OpenClaimEnable(core);
    worker = core.Worker();
    sink.Detach();
  }
  EXPECT_TRUE(WorkerGone(worker));
}

}  // namespace
