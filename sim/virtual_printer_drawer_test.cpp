#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/manual_clock.h"
#include "sim/byte_builders_test.h"
#include "sim/printer_client_test.h"
#include "sim/virtual_printer.h"

namespace sim {
namespace {

using namespace testbytes;
using testclient::Client;
using testclient::kWaitMs;

const Bytes kAskStatus = B({0x10, 0x04, 0x01});  // DLE EOT 1: drawer in bit 2
const Bytes kAskDrawer = B({0x1D, 0x72, 0x02});  // GS r 2: drawer in bit 0
const Bytes kAsbOn = B({0x1D, 0x61, 0x01});
const Bytes kKickPin2 = B({0x1B, 0x70, 0x00, 0x19, 0xFA});  // ESC p 0 25 250
// Automatic status back's first byte, with the drawer sensor high and low.
const Bytes kAsbSensorHigh = B({0x14, 0x00, 0x00, 0x00});
const Bytes kAsbSensorLow = B({0x10, 0x00, 0x00, 0x00});

// Lines handed to a handler on the serving thread, waited for as they come.
class Lines {
 public:
  void Add(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(line);
    changed_.notify_all();
  }
  // Each wait is only a safety net.
  std::vector<std::string> WaitFor(size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(kWaitMs), [&] { return lines_.size() >= count; });
    return lines_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> lines_;
};

class DrawerTest : public ::testing::Test {
 protected:
  void Connect(Client* client) {
    ASSERT_TRUE(printer.Start(0));
    ASSERT_TRUE(client->Connect(printer.Port()));
  }
  std::shared_ptr<platform::ManualClock> clock = std::make_shared<platform::ManualClock>();
  VirtualPrinter printer{clock};
};

TEST(VirtualPrinterDrawer, PulseOnTheWiredPinOpensAndTheSensorReportsItByTheWiring) {
  struct Case {
    int pin;
    bool openHigh;
    Bytes kick;
    const char* line;
    bool opens;
    Bytes answers;  // to DLE EOT 1 and GS r 2 after the kick
    int pulsePin;
  };
  const Case cases[] = {
      {2, true, kKickPin2, "ESC p 0 25 250", true, B({0x16, 0x01}), 2},
      {2, false, B({0x1B, 0x70, '0', 0x19, 0xFA}), "ESC p 48 25 250", true, B({0x12, 0x00}), 2},
      {5, true, B({0x1B, 0x70, '1', 0x32, 0x32}), "ESC p 49 50 50", true, B({0x16, 0x01}), 5},
      {5, false, B({0x10, 0x14, 0x01, 0x01, 0x02}), "DLE DC4 1 1 2", true, B({0x12, 0x00}), 5},
      // On the other pin: put out, but the drawer stays shut.
      {2, true, B({0x1B, 0x70, 0x01, 0x19, 0xFA}), "ESC p 1 25 250", false, B({0x12, 0x00}), 5},
      {2, false, B({0x10, 0x14, 0x01, 0x01, 0x08}), "DLE DC4 1 1 8", false, B({0x16, 0x01}), 5},
      {5, true, kKickPin2, "ESC p 0 25 250", false, B({0x12, 0x00}), 2},
      // No on-time, no pull on the solenoid.
      {2, true, B({0x1B, 0x70, 0x00, 0x00, 0x00}), "ESC p 0 0 0", false, B({0x12, 0x00}), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line + std::string(c.openHigh ? ", open high" : ", open low") + ", pin " +
                 std::to_string(c.pin));
    VirtualPrinter printer(std::make_shared<platform::ManualClock>());
    ASSERT_TRUE(printer.SetDrawerWiring(c.pin, c.openHigh));
    ASSERT_TRUE(printer.Start(0));
    Client client;
    ASSERT_TRUE(client.Connect(printer.Port()));
    client.Send(c.kick + kAskStatus + kAskDrawer);
    EXPECT_EQ(client.Read(2), c.answers);
    EXPECT_EQ(printer.DrawerOpen(), c.opens);
    EXPECT_EQ(printer.State().drawerSensor, c.opens == c.openHigh);
    EXPECT_EQ(printer.Transcript(),
              std::string(c.line) + "\n" + (c.opens ? "DRAWER OPENED\n" : "") + "DLE EOT 1\nGS r 2\n");
    ASSERT_EQ(printer.DrawerPulses().size(), 1u) << "every pulse is recorded";
    EXPECT_EQ(printer.DrawerPulses()[0].pin, c.pulsePin);
  }
}

TEST_F(DrawerTest, EveryDrawerChangePushesAutomaticStatusInTurnWithTheAnswers) {
  Client c;
  Connect(&c);
  c.Send(kAsbOn);
  EXPECT_EQ(c.Read(4), kAsbSensorLow);
  // The push comes where the kick was read: before the answer after it.
  c.Send(kKickPin2 + kAskStatus);
  EXPECT_EQ(c.Read(5), kAsbSensorHigh + B({0x16}));

  printer.CloseDrawer();
  EXPECT_EQ(c.Read(4), kAsbSensorLow);
  printer.CloseDrawer();  // already shut: nothing to report
  c.Send(kAskStatus);
  EXPECT_EQ(c.Read(1), B({0x12}));
  EXPECT_FALSE(printer.DrawerOpen());
  EXPECT_EQ(printer.Transcript(), "GS a 1\nESC p 0 25 250\nDRAWER OPENED\nDLE EOT 1\nDRAWER CLOSED\nDLE EOT 1\n");
}

TEST_F(DrawerTest, TimedCloseComesOnTheClockWithItsStatusAndItsLine) {
  printer.SetDrawerClosesAfter(3000);
  Client c;
  Connect(&c);
  c.Send(kAsbOn);
  EXPECT_EQ(c.Read(4), kAsbSensorLow);
  c.Send(kKickPin2);
  EXPECT_EQ(c.Read(4), kAsbSensorHigh);

  clock->Advance(2999);
  c.Send(kAskStatus);  // looked at after the clock moved
  EXPECT_EQ(c.Read(1), B({0x16})) << "still open, and nothing pushed before the answer";
  clock->Advance(1);
  EXPECT_EQ(c.Read(4), kAsbSensorLow) << "pushed once the serving thread saw the time";
  c.Send(kAskStatus);
  EXPECT_EQ(c.Read(1), B({0x12}));
  EXPECT_FALSE(printer.DrawerOpen());
  EXPECT_EQ(printer.Transcript(), "GS a 1\nESC p 0 25 250\nDRAWER OPENED\nDLE EOT 1\nDRAWER CLOSED\nDLE EOT 1\n");
}

TEST_F(DrawerTest, TimedCloseNeedsNoConnectionAndIsToldBetweenConnections) {
  printer.SetDrawerClosesAfter(500);
  Lines idle;
  printer.SetIdleNoteHandler([&](const std::string& line) { idle.Add(line); });
  Lines connectionTranscripts;
  printer.SetConnectionClosedHandler([&](int, const Bytes& bytes, const std::vector<TranscriptNote>& notes) {
    connectionTranscripts.Add(DecodeTranscript(bytes, JobEnd::kEnded, notes));
  });
  {
    Client c;
    Connect(&c);
    c.Send(kKickPin2 + B({'A'}));
    ASSERT_TRUE(printer.WaitForHandled(6, kWaitMs));
  }
  ASSERT_TRUE(printer.WaitForIdle(1, kWaitMs));
  EXPECT_EQ(connectionTranscripts.WaitFor(1), std::vector<std::string>{"ESC p 0 25 250\nDRAWER OPENED\nTEXT \"A\"\n"});

  clock->Advance(499);
  EXPECT_TRUE(printer.DrawerOpen());
  clock->Advance(1);
  EXPECT_TRUE(printer.WaitForDrawer(false, kWaitMs)) << "the serving thread closes it on its own";
  EXPECT_EQ(idle.WaitFor(1), std::vector<std::string>{"DRAWER CLOSED"});
  EXPECT_FALSE(printer.State().drawerSensor);
  EXPECT_EQ(printer.Transcript(), "ESC p 0 25 250\nDRAWER OPENED\nTEXT \"A\"\nDRAWER CLOSED\n");

  // Opened by hand, it is pushed shut on the same clock.
  printer.OpenDrawerByHand();
  EXPECT_TRUE(printer.State().drawerSensor);
  clock->Advance(500);
  EXPECT_TRUE(printer.WaitForDrawer(false, kWaitMs));
  EXPECT_EQ(idle.WaitFor(3), (std::vector<std::string>{"DRAWER CLOSED", "DRAWER OPENED", "DRAWER CLOSED"}));
}

TEST_F(DrawerTest, StaysOpenWithoutATimedCloseAndFollowsTheSensorLevelSetDirectly) {
  Client c;
  Connect(&c);
  c.Send(kKickPin2);
  ASSERT_TRUE(printer.WaitForHandled(5, kWaitMs));
  clock->Advance(24 * 3600 * 1000);
  EXPECT_TRUE(printer.DrawerOpen());

  PrinterState s = printer.State();
  s.drawerSensor = false;  // the closed level
  printer.SetState(s);
  EXPECT_FALSE(printer.DrawerOpen());
  // Rewired to read low when open: the shut drawer now reads high.
  ASSERT_TRUE(printer.SetDrawerWiring(2, false));
  EXPECT_TRUE(printer.State().drawerSensor);
  c.Send(kAskDrawer);
  EXPECT_EQ(c.Read(1), B({0x01}));
  EXPECT_FALSE(printer.SetDrawerWiring(3, true));
  EXPECT_TRUE(printer.State().drawerSensor) << "a refused wiring changes nothing";
}

TEST_F(DrawerTest, MalformedPulsesAreInvalidAndOpenNothing) {
  Client c;
  Connect(&c);
  c.Send(B({0x1B, 0x70, 0x02, 0x19, 0xFA}) + B({0x1B, 0x70, '2', 0x19, 0xFA}) + B({0x10, 0x14, 0x01, 0x02, 0x01}) +
         B({0x10, 0x14, 0x01, 0x00, 0x00}) + B({0x10, 0x14, 0x01, 0x00, 0x09}) + kAskStatus);
  EXPECT_EQ(c.Read(1), B({0x12}));
  EXPECT_FALSE(printer.DrawerOpen());
  EXPECT_TRUE(printer.DrawerPulses().empty());
  EXPECT_EQ(printer.Transcript(),
            "INVALID ESC p 2 25 250: m 2 outside 0, 1, 48 or 49\n"
            "INVALID ESC p 50 25 250: m 50 outside 0, 1, 48 or 49\n"
            "INVALID DLE DC4 1 2 1: m 2 outside 0..1\n"
            "INVALID DLE DC4 1 0 0: t 0 outside 1..8\n"
            "INVALID DLE DC4 1 0 9: t 9 outside 1..8\n"
            "DLE EOT 1\n");
}

}  // namespace
}  // namespace sim
