// A TM-T88IV core on a serial line at 9600 baud: the line is the slave of a
// pseudo-terminal that the virtual printer serves, so the port's real
// terminal set-up and I/O carry the whole session. Where the system has no
// pseudo-terminals the cases are skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/pseudo_terminal.h"
#include "sim/transcript.h"
#include "sim/virtual_printer.h"
#include "so/io/SerialPortSettings.h"
#include "so/printer/CTM_T88IV.h"
#include "so/printer/OposResults.h"
#include "testing/RecordingEventSink.h"

using namespace QEL::Printer;
using testing_support::RecordingEventSink;

namespace {

// Only a safety net: each wait ends as soon as what it waits for happened.
constexpr int kWaitMs = 20000;
constexpr int32_t kReceipt = 2;

std::vector<std::string> Lines(const std::string& transcript) {
  std::vector<std::string> lines;
  std::istringstream in(transcript);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class SerialOverPty : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!platform::PseudoTerminal::Available()) GTEST_SKIP() << "no pseudo-terminals here";
    const std::string path = printer.StartPty();
    ASSERT_FALSE(path.empty());
    sink.Attach(&core);
    const std::string text = path + ",BaudRate_9600";
    QEL::IO::SerialPortSettings settings;
    settings.Parse(std::u16string(text.begin(), text.end()));
    int32_t rc = -1;
    core.SetPortSettings(&settings, &rc);
    core.OpenServiceW(u"x", &sink, &rc);
    ASSERT_EQ(rc, 0);
    core.ClaimDevice(100, &rc);
    ASSERT_EQ(rc, 0);
  }
  void TearDown() override {
    int32_t rc = 0;
    core.CloseService(&rc);
    sink.Detach();
  }
  void SetCover(bool open) {
    sim::PrinterState s = printer.State();
    s.coverOpen = open;
    printer.SetState(s);
  }

  RecordingEventSink sink;
  sim::VirtualPrinter printer;
  CTM_T88IV core{u"TM-T88IV"};
};

TEST_F(SerialOverPty, ClaimStatusReceiptAndReleaseOverTheLine) {
  ASSERT_EQ(core.DeviceEnable(1), 1);
  EXPECT_EQ(sink.Statuses().Ids(), (std::vector<int32_t>{PTR_SUE_REC_PAPEROK, PTR_SUE_COVER_OK}));
  size_t before = sink.Statuses().Ids().size();
  SetCover(true);
  ASSERT_TRUE(sink.WaitForStatus(PTR_SUE_COVER_OPEN, before, kWaitMs));
  before = sink.Statuses().Ids().size();
  SetCover(false);
  ASSERT_TRUE(sink.WaitForStatus(PTR_SUE_COVER_OK, before, kWaitMs));

  int32_t rc = -1;
  core.PrintNormal(kReceipt, u"Coffee\x1b|rA2.50\n", &rc);
  ASSERT_EQ(rc, OPOS_SUCCESS);
  core.CutPaper(100, &rc);
  ASSERT_EQ(rc, OPOS_SUCCESS);
  core.ReleaseDevice(&rc);
  ASSERT_EQ(rc, OPOS_SUCCESS);
  // The release closed the line: the session is over and every byte is in.
  ASSERT_TRUE(printer.WaitForIdle(1, kWaitMs));
  EXPECT_EQ(printer.ConnectionsAccepted(), 1) << "the open's probe sends nothing";
  EXPECT_EQ(printer.InvalidCommands(), 0) << printer.Transcript();

  const std::vector<std::string> lines = Lines(printer.Transcript());
  const std::vector<std::string> receipt = {"TEXT \"Coffee\"", "ESC $ 208 1", "TEXT \"2.50\"", "LF"};
  EXPECT_NE(std::search(lines.begin(), lines.end(), receipt.begin(), receipt.end()), lines.end())
      << printer.Transcript();
  const auto cut = std::find(lines.begin(), lines.end(), "GS V 0");
  EXPECT_NE(cut, lines.end()) << printer.Transcript();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "GS a 0") << "the release switches automatic status back off last";
}

TEST_F(SerialOverPty, ALineThatVanishesMidJobFailsTheOutput) {
  ASSERT_EQ(core.DeviceEnable(1), 1);
  int32_t rc = -1;
  core.PrintNormal(kReceipt, u"first\n", &rc);
  ASSERT_EQ(rc, OPOS_SUCCESS);
  ASSERT_TRUE(printer.WaitForBytes({'f', 'i', 'r', 's', 't', '\n'}, kWaitMs));
  // Closing the pseudo-terminal hangs the line up under the open port, as
  // pulling a USB serial adapter does.
  printer.Stop();
  core.PrintNormal(kReceipt, u"second\n", &rc);
  EXPECT_EQ(rc, OPOS_E_NOHARDWARE);
  core.PrintNormal(kReceipt, u"third\n", &rc);
  EXPECT_EQ(rc, OPOS_E_NOHARDWARE) << "a dead line stays dead";
  core.ReleaseDevice(&rc);
  EXPECT_EQ(rc, OPOS_SUCCESS);
}

// The same session on a port the environment names
// (ZOBELSO_SERIAL_E2E_PORT, "COM47"), whose other end is a virtual printer
// started by whoever set it: under wine, a COM port of the prefix linked to
// the printer's pseudo-terminal, so the Win32 serial calls run for real. The
// printer's own transcript is checked by the script that started it.
TEST(SerialOverSystemPort, ClaimStatusReceiptAndRelease) {
  const char* name = std::getenv("ZOBELSO_SERIAL_E2E_PORT");
  if (name == nullptr || *name == '\0') GTEST_SKIP() << "no serial port named for this run";
  RecordingEventSink sink;
  CTM_T88IV core(u"TM-T88IV");
  sink.Attach(&core);
  const std::string text = std::string(name) + ",BaudRate_9600";
  QEL::IO::SerialPortSettings settings;
  settings.Parse(std::u16string(text.begin(), text.end()));
  int32_t rc = -1;
  core.SetPortSettings(&settings, &rc);
  core.OpenServiceW(u"x", &sink, &rc);
  ASSERT_EQ(rc, OPOS_SUCCESS);
  core.ClaimDevice(1000, &rc);
  ASSERT_EQ(rc, OPOS_SUCCESS);
  // The two statuses come from the printer's answers: the line carries both ways.
  ASSERT_EQ(core.DeviceEnable(1), 1);
  EXPECT_EQ(sink.Statuses().Ids(), (std::vector<int32_t>{PTR_SUE_REC_PAPEROK, PTR_SUE_COVER_OK}));
  core.PrintNormal(kReceipt, u"Coffee\x1b|rA2.50\n", &rc);
  EXPECT_EQ(rc, OPOS_SUCCESS);
  core.CutPaper(100, &rc);
  EXPECT_EQ(rc, OPOS_SUCCESS);
  core.ReleaseDevice(&rc);
  EXPECT_EQ(rc, OPOS_SUCCESS);
  core.CloseService(&rc);
  sink.Detach();
}

}  // namespace
