#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "platform/manual_clock.h"
#include "platform/manual_reset_event.h"
#include "testing/FakePort.h"
#include "testing/TestPrinterModel.h"

using namespace QEL::Printer;
using testing_support::FakePort;
using testing_support::TestPrinterModel;
using Bytes = std::vector<uint8_t>;

namespace {

const Bytes kInitialize = {0x1B, 0x40};
const Bytes kClaimSetup = {0x1B, 0x3D, 0x01, 0x1B, 0x63, 0x34, 0xFC, 0x1B, 0x63, 0x33, 0x00, 0x1C, 0x26};
const Bytes kAsbOff = {0x1D, 0x61, 0x00};

// Holds a core's port lock on another thread until released.
class ForeignLockHolder {
 public:
  explicit ForeignLockHolder(std::shared_ptr<CPrinterPort> port) : port_(std::move(port)) {
    thread_ = std::thread([this] {
      port_->TryLock();
      taken_.Set();
      release_.Wait(platform::ManualResetEvent::kInfinite);
      port_->Unlock();
    });
    taken_.Wait(platform::ManualResetEvent::kInfinite);
  }
  ~ForeignLockHolder() {
    release_.Set();
    thread_.join();
  }

 private:
  std::shared_ptr<CPrinterPort> port_;
  platform::ManualResetEvent taken_, release_;
  std::thread thread_;
};

// Every pause of the core (claim settling, retries, the worker's handshake)
// runs on a manual clock that a pause moves on by itself: the core sees the
// time it waited for pass, and the test does not wait for it.
std::shared_ptr<platform::ManualClock> AutoAdvancingClock() {
  auto clock = std::make_shared<platform::ManualClock>();
  clock->SetAutoAdvance(true);
  return clock;
}

class Lifecycle : public ::testing::Test {
 protected:
  void SetUp() override {
    port = std::make_shared<FakePort>(u"TCP/IP");
    core.SetClock(clock);
    core.AttachPort(port);
  }
  void Open() {
    int32_t rc = -1;
    core.OpenServiceW(u"TM-T88IV", nullptr, &rc);
    ASSERT_EQ(rc, 0);
  }
  void Claim() {
    int32_t rc = 0;
    core.ClaimDevice(1000, &rc);
    ASSERT_EQ(rc, 0);
  }

  std::shared_ptr<platform::ManualClock> clock = AutoAdvancingClock();
  std::shared_ptr<FakePort> port;
  TestPrinterModel core;
};

TEST_F(Lifecycle, ClaimBeforeOpenIsClosed) {
  int32_t rc = 0;
  core.ClaimDevice(0, &rc);
  EXPECT_EQ(rc, OPOS_E_CLOSED);
  EXPECT_EQ(core.ResultCode(), OPOS_E_CLOSED);
  EXPECT_EQ(port->OpenCount(), 0);
}

TEST_F(Lifecycle, OpenProbesThePortOnceAndLeavesItClosed) {
  Open();
  EXPECT_TRUE(core.IsOpened());
  EXPECT_EQ(port->OpenCount(), 1);
  EXPECT_FALSE(port->IsOpen());
  EXPECT_TRUE(core.IsNetwork());
  EXPECT_FALSE(core.IsUsb());
  EXPECT_TRUE(port->Written().empty());
}

TEST_F(Lifecycle, OpenOnAnUnusablePortReports401AndStaysClosed) {
  port->FailOpen(true);
  int32_t rc = 0;
  core.OpenServiceW(u"x", nullptr, &rc);
  EXPECT_EQ(rc, 401);
  EXPECT_FALSE(core.IsOpened());
  EXPECT_EQ(core.ResultCode(), 0) << "401 is never a ResultCode";
}

TEST_F(Lifecycle, OpenWithoutAPortReports401) {
  TestPrinterModel bare;
  int32_t rc = 0;
  bare.OpenServiceW(u"x", nullptr, &rc);
  EXPECT_EQ(rc, 401);
  EXPECT_FALSE(bare.IsOpened());
}

TEST_F(Lifecycle, ReopenResetsPropertiesWithoutProbing) {
  Open();
  Claim();
  int32_t rc = 55;
  core.OpenServiceW(u"x", nullptr, &rc);
  EXPECT_EQ(rc, 55) << "a repeated open leaves the result alone";
  EXPECT_EQ(core.SetPropertyOpenCount(), 2);
  EXPECT_FALSE(core.IsClaimed());
  EXPECT_EQ(port->OpenCount(), 2) << "probe at the first open and the claim's open only";
}

TEST_F(Lifecycle, ClaimSendsTheInitialisationConversation) {
  Open();
  Claim();
  EXPECT_TRUE(core.IsClaimed());
  EXPECT_TRUE(port->IsOpen());
  EXPECT_EQ(port->WriteCalls(), (std::vector<Bytes>{kInitialize, kClaimSetup}));
  EXPECT_EQ(core.ResultCode(), 0);
  EXPECT_EQ(core.ClaimTimeout(), 1000);
  EXPECT_EQ(core.Bidirectional(), 1);
}

TEST_F(Lifecycle, SecondClaimSucceedsWithoutTouchingThePort) {
  Open();
  Claim();
  const int opens = port->OpenCount();
  const size_t writes = port->WriteCalls().size();
  Claim();
  EXPECT_EQ(port->OpenCount(), opens);
  EXPECT_EQ(port->WriteCalls().size(), writes);
}

TEST_F(Lifecycle, ClaimWhileAnotherThreadHoldsThePortIsBusy) {
  Open();
  int32_t rc = 0;
  {
    ForeignLockHolder holder(core.PrinterPort());
    core.ClaimDevice(0, &rc);
  }
  EXPECT_EQ(rc, OPOS_E_BUSY);
  EXPECT_EQ(core.ResultCode(), OPOS_E_ILLEGAL);
  EXPECT_FALSE(core.IsClaimed());
  EXPECT_TRUE(port->Written().empty());
}

TEST_F(Lifecycle, ClaimOfAPortThatWillNotOpenIsIllegal) {
  Open();
  port->FailOpen(true);
  int32_t rc = 0;
  core.ClaimDevice(0, &rc);
  EXPECT_EQ(rc, OPOS_E_ILLEGAL);
  EXPECT_EQ(core.ResultCode(), OPOS_E_ILLEGAL);
  EXPECT_FALSE(core.IsClaimed());
}

TEST_F(Lifecycle, ClaimWithANonZeroIncomingResultDoesNothing) {
  Open();
  int32_t rc = 7;
  core.ClaimDevice(0, &rc);
  EXPECT_EQ(rc, 7);
  EXPECT_FALSE(core.IsClaimed());
}

TEST_F(Lifecycle, ClaimStaysClaimedWhenThePrinterTakesNothing) {
  Open();
  port->FailWrites(true);
  int32_t rc = 0;
  core.ClaimDevice(0, &rc);
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(core.IsClaimed());
}

TEST_F(Lifecycle, ReadBackPortWithoutBidiSupportAsksThePaperSensor) {
  core.SetSupportsBidi(0);
  port->SetReadBack(1);
  Open();
  Claim();
  ASSERT_EQ(core.Bidirectional(), 0);
  // The same again, now with a printer that answers the sensor request; stale
  // bytes waiting before the request must not count as its answer.
  int32_t rc = 0;
  core.ReleaseDevice(&rc);
  port->ClearWritten();
  port->QueueReply({0x55});
  port->ReplyAfterNextWrite({});
  port->ReplyAfterNextWrite({});
  port->ReplyAfterNextWrite({0x00});
  Claim();
  const auto calls = port->WriteCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[2], (Bytes{0x1D, 0x72, 0x01}));
  EXPECT_EQ(core.Bidirectional(), 1);
}

TEST_F(Lifecycle, SilentPrinterWithoutBidiSupportIsNotBidirectional) {
  core.SetSupportsBidi(0);
  core.SetAsbConfigured(1);
  port->SetReadBack(1);
  Open();
  Claim();
  EXPECT_EQ(core.Bidirectional(), 0);
  EXPECT_EQ(core.UseAsb(), 0);
  EXPECT_EQ(core.GetPrinterState(true), -1);
}

TEST_F(Lifecycle, PrinterInformationIsReadOnlyWhenConfigured) {
  core.SetRefreshInfoAtClaim(1);
  Open();
  Claim();
  EXPECT_EQ(core.Calls(), (std::vector<std::string>{"refresh"}));
}

TEST_F(Lifecycle, EnableNeedsAClaim) {
  Open();
  EXPECT_EQ(core.DeviceEnable(1), 0);
  EXPECT_FALSE(core.IsEnabled());
  TestPrinterModel closed;
  EXPECT_EQ(closed.DeviceEnable(1), 0);
}

TEST_F(Lifecycle, EnableTwiceReportsTheChangeOnce) {
  Open();
  Claim();
  port->ClearWritten();
  EXPECT_EQ(core.DeviceEnable(1), 1);
  EXPECT_EQ(core.DeviceEnable(1), 0);
  EXPECT_TRUE(core.IsEnabled());
  EXPECT_TRUE(core.EventObject()->EventsOn());
  // ESC = 1, ESC 3 36 (line spacing at open: 24 x 1.5), ESC ! 0, ESC a 0, ESC - 0,
  // then six real-time status requests that this silent printer never answers.
  std::vector<Bytes> expected = {
      {0x1B, 0x3D, 0x01, 0x1B, 0x33, 36, 0x1B, 0x21, 0x00, 0x1B, 0x61, 0x00, 0x1B, 0x2D, 0x00}};
  for (int i = 0; i < 6; ++i) expected.push_back({0x10, 0x04, 0x01});
  EXPECT_EQ(port->WriteCalls(), expected);
  EXPECT_EQ(core.Calls(), (std::vector<std::string>{"state(initial)", "start"}));
}

TEST_F(Lifecycle, EnableScalesTheLineSpacingByTheDotPitches) {
  core.SetDotPitches(0.125f, 0.0625f);
  Open();
  Claim();
  port->ClearWritten();
  core.DeviceEnable(1);
  const Bytes first = port->WriteCalls().at(0);
  EXPECT_EQ(first.at(4), 0x33);
  EXPECT_EQ(first.at(5), 72);
}

TEST_F(Lifecycle, EnableOnANetworkPortSwitchesAutomaticStatusBackOn) {
  core.SetAsbConfigured(1);
  Open();
  Claim();
  EXPECT_EQ(core.UseAsb(), 1);
  port->ClearWritten();
  core.DeviceEnable(1);
  const auto calls = port->WriteCalls();
  ASSERT_EQ(calls.size(), 8u);
  for (size_t i = 1; i < 7; ++i) EXPECT_EQ(calls[i], (Bytes{0x10, 0x04, 0x01}));
  EXPECT_EQ(calls.back(), (Bytes{0x1D, 0x61, 0xFF}));
  EXPECT_EQ(core.Calls(), (std::vector<std::string>{"state(initial)", "start"}))
      << "the state is read once before the printer starts pushing it";
}

TEST(LifecycleUsb, UsbNeverUsesAutomaticStatusBack) {
  auto port = std::make_shared<FakePort>(u"USB");
  TestPrinterModel core;
  core.SetClock(AutoAdvancingClock());
  core.SetAsbConfigured(1);
  core.AttachPort(port);
  int32_t rc = 0;
  core.OpenServiceW(u"x", nullptr, &rc);
  core.ClaimDevice(0, &rc);
  ASSERT_TRUE(core.IsUsb());
  EXPECT_EQ(core.UseAsb(), 0);
  port->ClearWritten();
  core.DeviceEnable(1);
  for (const Bytes& call : port->WriteCalls()) EXPECT_NE(call, (Bytes{0x1D, 0x61, 0xFF}));
}

TEST_F(Lifecycle, DisableStopsEventsAndSuspendsTheWorker) {
  Open();
  Claim();
  core.DeviceEnable(1);
  EXPECT_EQ(core.DeviceEnable(0), 1);
  EXPECT_FALSE(core.IsEnabled());
  EXPECT_TRUE(core.IsClaimed());
  EXPECT_FALSE(core.EventObject()->EventsOn());
  EXPECT_EQ(core.Calls().back(), "suspend");
}

TEST_F(Lifecycle, ReleaseOfANeverClaimedDeviceSendsNothing) {
  Open();
  int32_t rc = 9;
  core.ReleaseDevice(&rc);
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(port->Written().empty());
  EXPECT_EQ(port->CloseCount(), 1) << "only the probe's close";
}

TEST_F(Lifecycle, ReleaseSwitchesStatusBackOffAndClosesThePort) {
  Open();
  Claim();
  port->ClearWritten();
  int32_t rc = 9;
  core.ReleaseDevice(&rc);
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(port->WriteCalls(), (std::vector<Bytes>{kAsbOff}));
  EXPECT_FALSE(port->IsOpen());
  EXPECT_FALSE(core.IsClaimed());
  EXPECT_TRUE(core.IsOpened());
}

TEST_F(Lifecycle, ReleaseWhileThePortStaysBusyGivesUpAfterFiveSeconds) {
  Open();
  Claim();
  int32_t rc = 0;
  const uint32_t before = clock->NowMs();
  {
    ForeignLockHolder holder(core.PrinterPort());
    core.ReleaseDevice(&rc);
  }
  EXPECT_EQ(clock->NowMs() - before, 5000u) << "50 tries 100 ms apart on the core's clock";
  EXPECT_EQ(rc, OPOS_E_BUSY);
  EXPECT_EQ(core.ErrorInformation(), u"Cann't close port!");
  EXPECT_FALSE(core.IsClaimed()) << "released anyway";
}

TEST_F(Lifecycle, CloseOfAnEnabledDeviceDisablesReleasesAndCloses) {
  Open();
  Claim();
  core.DeviceEnable(1);
  port->ClearWritten();
  int32_t rc = 5;
  core.CloseService(&rc);
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(core.Calls(), (std::vector<std::string>{"state(initial)", "start", "suspend", "stop"}));
  EXPECT_EQ(port->WriteCalls(), (std::vector<Bytes>{kAsbOff}));
  EXPECT_FALSE(port->IsOpen());
  EXPECT_FALSE(core.IsOpened());
  EXPECT_FALSE(core.IsClaimed());
  EXPECT_FALSE(core.IsEnabled());
  EXPECT_EQ(core.PrinterPort(), nullptr);
}

TEST_F(Lifecycle, CloseOfAClosedServiceLeavesTheResultAlone) {
  int32_t rc = 42;
  core.CloseService(&rc);
  EXPECT_EQ(rc, 42);
}

TEST_F(Lifecycle, OpenAfterCloseNeedsNewPortSettings) {
  Open();
  int32_t rc = 0;
  core.CloseService(&rc);
  core.OpenServiceW(u"x", nullptr, &rc);
  EXPECT_EQ(rc, 401);
  core.AttachPort(port);
  Open();
  EXPECT_TRUE(core.IsOpened());
}

}  // namespace
