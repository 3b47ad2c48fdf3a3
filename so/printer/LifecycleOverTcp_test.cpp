// The life cycle end to end: a core on a real TCP/IP port talks to the
// virtual printer, and the printer's record is compared byte for byte.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/tcp_listener.h"
#include "sim/transcript.h"
#include "sim/virtual_printer.h"
#include "so/io/TCPIPPortSettings.h"
#include "so/printer/CTM_T88IV.h"

using namespace QEL::Printer;
using Bytes = std::vector<uint8_t>;

namespace {

// Only a safety net: each wait ends as soon as what it waits for happened.
constexpr int kWaitMs = 20000;

std::u16string Address(uint16_t port) {
  const std::string text = "127.0.0.1," + std::to_string(port);
  return std::u16string(text.begin(), text.end());
}

class OverTcp : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(printer.Start(0));
    QEL::IO::TCPIPPortSettings settings;
    settings.Parse(Address(printer.Port()));
    int32_t rc = 0;
    core.SetPortSettings(&settings, &rc);
  }
  // Whatever reached the printer, a printer takes.
  void TearDown() override {
    EXPECT_EQ(sim::CountInvalidLines(printer.Transcript()), 0) << printer.Transcript();
  }
  int32_t Open() {
    int32_t rc = -1;
    core.OpenServiceW(u"x", nullptr, &rc);
    return rc;
  }
  sim::VirtualPrinter printer;
  // A name without a profile: no printer information is read at claim.
  CTM_T88IV core{u"TM-T88IIM"};
};

TEST_F(OverTcp, ClaimInitialisesThePrinter) {
  ASSERT_EQ(Open(), 0);
  int32_t rc = 0;
  core.ClaimDevice(100, &rc);
  ASSERT_EQ(rc, 0);
  const Bytes expected = {0x1B, 0x40, 0x1B, 0x3D, 0x01, 0x1B, 0x63, 0x34, 0xFC,
                          0x1B, 0x63, 0x33, 0x00, 0x1C, 0x26};
  ASSERT_TRUE(printer.WaitForReceived(expected.size(), kWaitMs));
  EXPECT_EQ(printer.Received(), expected);
  EXPECT_EQ(printer.Transcript(), "ESC @\nESC = 1\nESC c 4 252\nESC c 3 0\nFS &\n");
  EXPECT_EQ(printer.ConnectionsAccepted(), 2) << "the open's probe, then the claim";
}

TEST_F(OverTcp, ReleaseSwitchesStatusBackOffAndHangsUp) {
  ASSERT_EQ(Open(), 0);
  int32_t rc = 0;
  core.ClaimDevice(100, &rc);
  ASSERT_TRUE(printer.WaitForReceived(15, kWaitMs));
  printer.ClearReceived();
  core.ReleaseDevice(&rc);
  EXPECT_EQ(rc, 0);
  ASSERT_TRUE(printer.WaitForIdle(2, kWaitMs)) << "the port is closed";
  EXPECT_EQ(printer.Received(), (Bytes{0x1D, 0x61, 0x00}));
}

TEST_F(OverTcp, ReleaseOfAnUnclaimedDeviceSendsNothing) {
  ASSERT_EQ(Open(), 0);
  int32_t rc = 5;
  core.ReleaseDevice(&rc);
  EXPECT_EQ(rc, 0);
  ASSERT_TRUE(printer.WaitForIdle(1, kWaitMs)) << "the open's probe";
  EXPECT_TRUE(printer.Received().empty());
}

TEST_F(OverTcp, CloseOfAnEnabledDeviceEndsWithStatusBackOff) {
  ASSERT_EQ(Open(), 0);
  int32_t rc = 0;
  core.ClaimDevice(100, &rc);
  ASSERT_EQ(core.DeviceEnable(1), 1);
  core.CloseService(&rc);
  EXPECT_EQ(rc, 0);
  ASSERT_TRUE(printer.WaitForIdle(2, kWaitMs));
  const Bytes received = printer.Received();
  ASSERT_GE(received.size(), 3u);
  EXPECT_EQ(Bytes(received.end() - 3, received.end()), (Bytes{0x1D, 0x61, 0x00}));
  EXPECT_FALSE(core.IsOpened());
}

TEST(OverTcpUnreachable, OpenOfAPortWhereNothingListensFails) {
  uint16_t deadPort = 0;
  {
    platform::TcpListener listener;
    ASSERT_TRUE(listener.Listen("127.0.0.1", 0));
    deadPort = listener.Port();
  }
  QEL::IO::TCPIPPortSettings settings;
  settings.Parse(Address(deadPort));
  CTM_T88IV core(u"TM-T88IIM");
  int32_t rc = 0;
  core.SetPortSettings(&settings, &rc);
  core.OpenServiceW(u"x", nullptr, &rc);
  EXPECT_EQ(rc, 401);
  EXPECT_FALSE(core.IsOpened());
  const std::u16string error = core.PrinterPort()->Port()->GetErrorText();
  EXPECT_EQ(error.rfind(u"*Connect Fail!", 0), 0u);
  EXPECT_EQ(core.PrinterPort()->Port()->GetErrorCode(), 2501);
}

TEST(PortSettingsOfTheCore, UnknownPortTypeIsRefusedByTheFactory) {
  CTM_T88IV core(u"TM-T88IV");
  struct Odd : QEL::IO::TCPIPPortSettings {
    std::u16string GetPortType() override { return u"tcp/ip"; }
  } settings;
  int32_t rc = 0;
  EXPECT_THROW(core.SetPortSettings(&settings, &rc), int32_t);
}

}  // namespace

namespace {

TEST_F(OverTcp, APrinterThatVanishesMidSessionLeavesACleanFailure) {
  ASSERT_EQ(Open(), 0);
  int32_t rc = 0;
  core.ClaimDevice(100, &rc);
  ASSERT_EQ(rc, 0);
  ASSERT_TRUE(printer.WaitForReceived(15, kWaitMs)) << "the claim's commands, all of them";
  printer.Stop();  // the connection and the listener are gone: no reconnect possible
  PrinterBuffer job(32, 32);
  const uint8_t text[] = {'A', 'B', '\n'};
  job.append(text, sizeof text);
  EXPECT_EQ(core.DirectSend(job, 0, 7), OPOS_E_NOHARDWARE);
  EXPECT_EQ(core.DeviceEnable(1), 1) << "enabling reports its change even when the printer is gone";
  core.CloseService(&rc);
  EXPECT_EQ(rc, 0);
  EXPECT_FALSE(core.IsOpened());
}

}  // namespace
