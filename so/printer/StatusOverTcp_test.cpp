// Status watching end to end: a core on TCP/IP to the virtual printer, with
// the worker polling and a recording sink in the COM layer's place.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "sim/transcript.h"
#include "sim/virtual_printer.h"
#include "so/io/TCPIPPortSettings.h"
#include "so/printer/CTM_T88IV.h"
#include "so/printer/PropertyIndex.h"
#include "testing/FakePort.h"
#include "testing/RecordingEventSink.h"

using namespace QEL::Printer;
using testing_support::RecordingEventSink;

namespace {

// Only a safety net: each wait ends as soon as what it waits for happened.
constexpr int kWaitMs = 20000;

std::vector<uint8_t> BytesOf(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

class StatusOverTcp : public ::testing::TestWithParam<const char16_t*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(printer.Start(0));
    core = std::make_unique<CTM_T88IV>(GetParam());
    sink.Attach(core.get());
    const std::string text = "127.0.0.1," + std::to_string(printer.Port());
    QEL::IO::TCPIPPortSettings settings;
    settings.Parse(std::u16string(text.begin(), text.end()));
    int32_t rc = 0;
    core->SetPortSettings(&settings, &rc);
    core->OpenServiceW(u"x", &sink, &rc);
    ASSERT_EQ(rc, 0);
    core->ClaimDevice(100, &rc);
    ASSERT_EQ(rc, 0);
  }
  void TearDown() override {
    int32_t rc = 0;
    if (core) core->CloseService(&rc);
    sink.Detach();
    // The open's probe and the claim's connection, both over: every byte is in.
    EXPECT_TRUE(printer.WaitForIdle(2, kWaitMs));
    // Whatever reached the printer, a printer takes.
    EXPECT_EQ(sim::CountInvalidLines(printer.Transcript()), 0) << printer.Transcript();
  }
  void SetCover(bool open) {
    sim::PrinterState s = printer.State();
    s.coverOpen = open;
    printer.SetState(s);
  }

  RecordingEventSink sink;
  sim::VirtualPrinter printer;
  std::unique_ptr<CTM_T88IV> core;
};

// "TM-T88IV" watches through automatic status back, "TM-T88IIM" (no profile)
// through real-time requests.
INSTANTIATE_TEST_SUITE_P(BothStatusPaths, StatusOverTcp,
                         ::testing::Values(u"TM-T88IV", u"TM-T88IIM"));

TEST_P(StatusOverTcp, UsesTheExpectedStatusPath) {
  EXPECT_EQ(core->UseAsb(), std::u16string(GetParam()) == u"TM-T88IV" ? 1 : 0);
}

TEST_P(StatusOverTcp, EnableReportsPaperOkThenCoverClosed) {
  ASSERT_EQ(core->DeviceEnable(1), 1);
  EXPECT_EQ(sink.Statuses().Ids(), (std::vector<int32_t>{PTR_SUE_REC_PAPEROK, PTR_SUE_COVER_OK}));
  int32_t value = -1;
  core->GetPropertyNumber(Pidx::RecEmpty, &value);
  EXPECT_EQ(value, 0);
}

TEST_P(StatusOverTcp, CoverOpenedIsReportedAndRefusesSynchronousOutput) {
  ASSERT_EQ(core->DeviceEnable(1), 1);
  const size_t before = sink.Statuses().Ids().size();
  SetCover(true);
  ASSERT_TRUE(sink.WaitForStatus(PTR_SUE_COVER_OPEN, before, kWaitMs));
  EXPECT_EQ(core->CheckOutputAdmission(false), OPOS_E_EXTENDED);
  EXPECT_EQ(core->ResultCodeExtended(), OPOS_EPTR_COVER_OPEN);

  int32_t rc = -1;
  core->SetPropertyNumber(Pidx::AsyncMode, 1, &rc);
  EXPECT_EQ(core->CheckOutputAdmission(false), 0) << "asynchronous output is queued anyway";
  PrinterBuffer job(32, 32);
  job.append("X\n", 2);
  EXPECT_EQ(core->Send(job, 0), 0);

  const size_t afterOpen = sink.Statuses().Ids().size();
  SetCover(false);
  EXPECT_TRUE(sink.WaitForStatus(PTR_SUE_COVER_OK, afterOpen, kWaitMs));
}

TEST_P(StatusOverTcp, PaperOutIsReported) {
  ASSERT_EQ(core->DeviceEnable(1), 1);
  const size_t before = sink.Statuses().Ids().size();
  sim::PrinterState s = printer.State();
  s.paperOut = true;
  printer.SetState(s);
  ASSERT_TRUE(sink.WaitForStatus(PTR_SUE_REC_EMPTY, before, kWaitMs));
  EXPECT_EQ(core->CheckOutputAdmission(false), OPOS_E_EXTENDED);
  EXPECT_EQ(core->ResultCodeExtended(), OPOS_EPTR_REC_EMPTY);
}

TEST_P(StatusOverTcp, AsynchronousOutputCompletesInOrder) {
  ASSERT_EQ(core->DeviceEnable(1), 1);
  int32_t rc = -1;
  core->SetPropertyNumber(Pidx::AsyncMode, 1, &rc);
  PrinterBuffer first(32, 32), second(32, 32);
  first.append("first\n", 6);
  second.append("second\n", 7);
  ASSERT_EQ(core->Send(first, 0), 0);
  int32_t id1 = 0, id2 = 0;
  core->GetPropertyNumber(Pidx::OutputID, &id1);
  ASSERT_EQ(core->Send(second, 0), 0);
  core->GetPropertyNumber(Pidx::OutputID, &id2);
  EXPECT_EQ(id2, id1 + 1);
  ASSERT_TRUE(sink.WaitForCompletions(2, kWaitMs));
  EXPECT_EQ(sink.Completions().Ids(), (std::vector<int32_t>{id1, id2}));
  ASSERT_TRUE(printer.WaitForBytes(BytesOf("second\n"), kWaitMs));
  const std::string transcript = printer.Transcript();
  EXPECT_LT(transcript.find("TEXT \"first\""), transcript.find("TEXT \"second\""));
}

TEST_P(StatusOverTcp, SynchronousOutputMeetsAQueuedJobAsBusy) {
  int32_t rc = -1;
  core->SetPropertyNumber(Pidx::AsyncMode, 1, &rc);
  PrinterBuffer job(32, 32);
  job.append("queued\n", 7);
  // Not enabled: the worker does not run, so the job stays queued.
  ASSERT_EQ(core->Send(job, 0), 0);
  core->SetPropertyNumber(Pidx::AsyncMode, 0, &rc);
  EXPECT_TRUE(core->IsBusy());
  EXPECT_EQ(core->CheckOutputAdmission(false), OPOS_E_BUSY);
  EXPECT_EQ(core->Send(job, 0), OPOS_E_BUSY);
  core->ClearOutput(&rc);
  EXPECT_TRUE(core->IsIdle());
}

TEST_P(StatusOverTcp, ClearOutputLeavesATransactionOpenAndEmpty) {
  int32_t rc = -1;
  core->TransactionPrint(2, 11, &rc);
  ASSERT_EQ(rc, 0);
  ASSERT_FALSE(core->TransactionBuffer().isEmpty()) << "the prologue";
  core->ClearOutput(&rc);
  EXPECT_TRUE(core->Modes().transaction);
  EXPECT_TRUE(core->TransactionBuffer().isEmpty());
}

TEST_P(StatusOverTcp, TransactionIsSentAsOneJobAtItsEnd) {
  ASSERT_EQ(core->DeviceEnable(1), 1);
  // GS L 0 0 opens every job and nothing else the core sends.
  const std::vector<uint8_t> jobPrologue = {0x1D, 0x4C, 0x00, 0x00};
  int32_t rc = -1;
  core->TransactionPrint(1, 11, &rc);
  EXPECT_EQ(rc, OPOS_E_EXTENDED);
  EXPECT_EQ(core->ResultCodeExtended(), OPOS_E_NOT_SUPPORTED);
  core->TransactionPrint(2, 11, &rc);
  ASSERT_EQ(rc, 0);
  // Sent straight past the open transaction: once it arrived, whatever the
  // core wrote before it has arrived too.
  PrinterBuffer marker(32, 32);
  marker.append("mark\n", 5);
  ASSERT_EQ(core->DirectSend(marker, 0, 7), 0);
  ASSERT_TRUE(printer.WaitForBytes(BytesOf("mark\n"), kWaitMs));
  EXPECT_FALSE(printer.WaitForBytes(jobPrologue, 0)) << "nothing leaves before the end";
  core->TransactionPrint(2, 12, &rc);
  EXPECT_EQ(rc, 0);
  EXPECT_FALSE(core->Modes().transaction);
  EXPECT_TRUE(printer.WaitForBytes(jobPrologue, kWaitMs));
}

TEST(StatusWithoutBidi, APrinterFoundSilentAtClaimNeverRaisesStatus) {
  RecordingEventSink sink;
  CTM_T88IV core(u"FX-310");  // on a parallel port it must first prove it answers
  sink.Attach(&core);
  core.AttachPort(std::make_shared<testing_support::FakePort>(u"LPT"));
  int32_t rc = 0;
  core.OpenServiceW(u"x", &sink, &rc);
  core.ClaimDevice(0, &rc);
  ASSERT_EQ(rc, 0);
  EXPECT_EQ(core.Bidirectional(), 0);
  ASSERT_EQ(core.DeviceEnable(1), 1);
  EXPECT_EQ(core.GetPrinterState(true), -1);
  EXPECT_EQ(core.GetPrinterState(false), -1);
  EXPECT_TRUE(sink.Statuses().Ids().empty());
  EXPECT_EQ(core.CheckOutputAdmission(false), 0) << "nothing known, so nothing refused";
  core.CloseService(&rc);
  sink.Detach();
}

}  // namespace
