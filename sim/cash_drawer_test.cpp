#include "sim/cash_drawer.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "sim/byte_builders_test.h"
#include "sim/printer_logic.h"

namespace sim {
namespace {

using namespace testbytes;
using Change = CashDrawer::Change;

DrawerPulse Pulse(int pin, int onMs, int offMs, bool realTime = false) {
  DrawerPulse p;
  p.pin = pin;
  p.onMs = onMs;
  p.offMs = offMs;
  p.realTime = realTime;
  return p;
}

TEST(DrawerPulseOf, ReadsPinAndTimesOfBothKickCommands) {
  struct Case {
    Bytes command;
    bool isPulse;
    DrawerPulse pulse;
  };
  const Case cases[] = {
      {B({0x1B, 0x70, 0, 25, 250}), true, Pulse(2, 50, 500)},
      {B({0x1B, 0x70, '0', 1, 255}), true, Pulse(2, 2, 510)},
      {B({0x1B, 0x70, 1, 255, 255}), true, Pulse(5, 510, 510)},
      {B({0x1B, 0x70, '1', 0, 0}), true, Pulse(5, 0, 0)},
      // An off time shorter than the on time is stretched to it.
      {B({0x1B, 0x70, 0, 100, 10}), true, Pulse(2, 200, 200)},
      {B({0x10, 0x14, 1, 0, 1}), true, Pulse(2, 100, 100, true)},
      {B({0x10, 0x14, 1, 1, 8}), true, Pulse(5, 800, 800, true)},
      {B({0x1B, 0x70, 2, 25, 250}), false, {}},
      {B({0x1B, 0x70, '2', 25, 250}), false, {}},
      {B({0x10, 0x14, 1, 2, 1}), false, {}},
      {B({0x10, 0x14, 1, 0, 0}), false, {}},
      {B({0x10, 0x14, 1, 0, 9}), false, {}},
      {B({0x10, 0x14, 2, 1, 8}), false, {}},  // power off, not a pulse
      {B({0x1B, 0x71, 0, 25, 250}), false, {}},
  };
  for (const Case& c : cases) {
    const auto pulse = DrawerPulseOf(c.command.data(), c.command.size());
    ASSERT_EQ(pulse.has_value(), c.isPulse) << ::testing::PrintToString(c.command);
    if (pulse) {
      EXPECT_EQ(*pulse, c.pulse) << ::testing::PrintToString(c.command);
    }
  }
}

TEST(CashDrawer, OnlyAPulseWithOnTimeOnTheWiredPinOpens) {
  CashDrawer drawer;
  EXPECT_FALSE(drawer.IsOpen());
  EXPECT_FALSE(drawer.SensorLevel());
  EXPECT_EQ(drawer.Pulse(Pulse(5, 50, 500), 0), Change::kNone);
  EXPECT_EQ(drawer.Pulse(Pulse(2, 0, 500), 0), Change::kNone);
  EXPECT_EQ(drawer.Pulse(Pulse(2, 50, 500), 0), Change::kOpened);
  EXPECT_TRUE(drawer.SensorLevel());
  EXPECT_EQ(drawer.Pulse(Pulse(2, 50, 500), 0), Change::kNone) << "already open";
  EXPECT_EQ(drawer.Pulses().size(), 4u);
  EXPECT_EQ(drawer.Close(), Change::kClosed);
  EXPECT_EQ(drawer.Close(), Change::kNone);

  ASSERT_TRUE(drawer.SetWiring(5, false));
  EXPECT_TRUE(drawer.SensorLevel()) << "shut, and the open level is low";
  EXPECT_EQ(drawer.Pulse(Pulse(2, 50, 500), 0), Change::kNone);
  EXPECT_EQ(drawer.Pulse(Pulse(5, 50, 500), 0), Change::kOpened);
  EXPECT_FALSE(drawer.SensorLevel());
  EXPECT_FALSE(drawer.SetWiring(4, true));
  EXPECT_EQ(drawer.WiredPin(), 5);
}

TEST(CashDrawer, RealTimePulseIsDroppedWhileItsPinStillPulses) {
  CashDrawer drawer;
  ASSERT_EQ(drawer.Pulse(Pulse(5, 50, 500), 1000), Change::kNone);  // pin 5 busy until 1550
  EXPECT_EQ(drawer.Pulse(Pulse(5, 100, 100, true), 1549), Change::kNone);
  EXPECT_EQ(drawer.Pulses().size(), 1u) << "dropped";
  EXPECT_EQ(drawer.Pulse(Pulse(2, 100, 100, true), 1549), Change::kOpened) << "the other pin is free";
  drawer.Close();
  EXPECT_EQ(drawer.Pulse(Pulse(2, 100, 100, true), 1748), Change::kNone) << "pin 2 busy until 1749";
  EXPECT_EQ(drawer.Pulse(Pulse(2, 100, 100, true), 1749), Change::kOpened);
  drawer.Close();
  // ESC p is never dropped: a printer runs it once the pulse before it ends.
  EXPECT_EQ(drawer.Pulse(Pulse(2, 50, 500), 1750), Change::kOpened);
  EXPECT_EQ(drawer.Pulses().size(), 4u);
}

TEST(CashDrawer, TimedCloseCountsFromTheOpeningAcrossTheTickWrap) {
  CashDrawer drawer;
  drawer.SetClosesAfter(3000);
  const uint32_t opened = 0xFFFFFF00u;
  ASSERT_EQ(drawer.Pulse(Pulse(2, 50, 500), opened), Change::kOpened);
  EXPECT_EQ(drawer.CloseIfDue(opened + 2999), Change::kNone);
  EXPECT_TRUE(drawer.IsOpen());
  EXPECT_EQ(drawer.CloseIfDue(opened + 3000), Change::kClosed);
  EXPECT_EQ(drawer.CloseIfDue(opened + 9000), Change::kNone);

  // However it opened; a closing time of 0 never comes.
  ASSERT_EQ(drawer.OpenByHand(10), Change::kOpened);
  EXPECT_EQ(drawer.CloseIfDue(3010), Change::kClosed);
  ASSERT_EQ(drawer.FollowSensor(true, 20), Change::kOpened);
  drawer.SetClosesAfter(0);
  EXPECT_EQ(drawer.CloseIfDue(0xFFFFFFF0u), Change::kNone);
  EXPECT_EQ(drawer.FollowSensor(false, 30), Change::kClosed);
}

// The printer logic hands each accepted pulse over where it was read and
// reports what the kick changed in turn with its answers.
TEST(PrinterLogicDrawerKick, PulsesGoOutAtTheirPositionsAndTheirChangesInTurn) {
  PrinterLogic logic;
  std::vector<std::pair<DrawerPulse, size_t>> kicks;
  PrinterState open;
  open.drawerSensor = true;
  logic.SetDrawerKick([&](const DrawerPulse& pulse, size_t position) {
    kicks.emplace_back(pulse, position);
    return kicks.size() == 1 ? std::vector<PrinterState>{open} : std::vector<PrinterState>{};
  });
  Bytes replies;
  const Bytes asbOn = B({0x1D, 0x61, 0x01});
  logic.Receive(asbOn.data(), asbOn.size(), PrinterState(), &replies);
  ASSERT_EQ(replies, B({0x10, 0, 0, 0}));
  replies.clear();

  // Malformed first, then two pulses split across reads, a status request
  // between them.
  const Bytes first = B({0x1B, 0x70, 0x05, 1, 1, 0x1B, 0x70, 0x00, 0x19});
  const Bytes second = B({0xFA, 0x10, 0x04, 0x01, 0x10, 0x14, 0x01, 0x01, 0x03});
  logic.Receive(first.data(), first.size(), PrinterState(), &replies);
  EXPECT_TRUE(kicks.empty());
  logic.Receive(second.data(), second.size(), PrinterState(), &replies);
  ASSERT_EQ(kicks.size(), 2u);
  EXPECT_EQ(kicks[0].first, Pulse(2, 50, 500));
  EXPECT_EQ(kicks[0].second, 13u);
  EXPECT_EQ(kicks[1].first, Pulse(5, 300, 300, true));
  EXPECT_EQ(kicks[1].second, 21u);
  EXPECT_EQ(replies, B({0x14, 0, 0, 0, 0x16})) << "the status after the kick is the kicked one";
  EXPECT_EQ(logic.InvalidCommands(), 1);
}

}  // namespace
}  // namespace sim
