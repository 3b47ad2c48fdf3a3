// Closing never leaves a worker behind and never hangs on a printer that
// stopped answering or takes its time over every byte.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "sim/virtual_printer.h"
#include "so/io/TCPIPPortSettings.h"
#include "so/printer/CTM_T88IV.h"
#include "so/printer/PropertyIndex.h"
#include "testing/RecordingEventSink.h"

using namespace QEL::Printer;

namespace {

// True once nothing keeps the worker context alive: its thread has ended.
bool WorkerGone(const std::weak_ptr<CPrinterTaskThreadContext>& worker, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    if (worker.expired()) return true;
    platform::SleepMs(10);
  }
  return worker.expired();
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
  sink.Attach(&core);
  OpenClaimEnable(core);
  EXPECT_TRUE(sink.Statuses().empty()) << "no answer, no state";
  std::weak_ptr<CPrinterTaskThreadContext> worker = core.Worker();
  // Let the worker poll the silent printer a few times.
  for (int i = 0; i < 200 && sink.Polls() < 3; ++i) platform::SleepMs(10);
  EXPECT_GE(sink.Polls(), 3);
  int32_t rc = -1;
  core.CloseService(&rc);
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(WorkerGone(worker, 10000));
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
  ASSERT_TRUE(printer.WaitForReceived(1, 10000)) << "the job has started";
  std::weak_ptr<CPrinterTaskThreadContext> worker = core.Worker();
  core.CloseService(&rc);
  EXPECT_TRUE(WorkerGone(worker, 15000));
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
  EXPECT_TRUE(WorkerGone(worker, 10000));
}

}  // namespace
