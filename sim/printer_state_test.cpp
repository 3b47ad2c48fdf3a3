#include "sim/printer_state.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

PrinterState Make(bool cover, bool nearEnd, bool out, bool drawer, bool offline) {
  PrinterState s;
  s.coverOpen = cover;
  s.paperNearEnd = nearEnd;
  s.paperOut = out;
  s.drawerSensor = drawer;
  s.offline = offline;
  return s;
}

struct Expected {
  PrinterState state;
  uint8_t eot1, eot2, eot4, gsr1, gsr2;
  uint8_t asb0, asb2;
};

TEST(StatusBytes, EveryAnswerForSeveralStates) {
  const Expected cases[] = {
      {Make(false, false, false, false, false), 0x12, 0x12, 0x12, 0x00, 0x00, 0x10, 0x00},
      {Make(true, false, false, false, true), 0x1A, 0x16, 0x12, 0x00, 0x00, 0x38, 0x00},
      {Make(false, true, false, false, false), 0x12, 0x12, 0x1E, 0x03, 0x00, 0x10, 0x03},
      {Make(false, false, true, false, true), 0x1A, 0x32, 0x72, 0x0C, 0x00, 0x18, 0x0C},
      // Paper out stops the printer: offline although the switch is not set.
      {Make(false, true, true, true, false), 0x1E, 0x32, 0x7E, 0x0F, 0x01, 0x1C, 0x0F},
      // So does an open cover.
      {Make(true, false, false, false, false), 0x1A, 0x16, 0x12, 0x00, 0x00, 0x38, 0x00},
      {Make(true, true, true, true, true), 0x1E, 0x36, 0x7E, 0x0F, 0x01, 0x3C, 0x0F},
  };
  for (const Expected& e : cases) {
    SCOPED_TRACE(testing::Message() << int(e.eot1) << "/" << int(e.eot2) << "/" << int(e.eot4));
    EXPECT_EQ(RealTimeStatusByte(1, e.state), e.eot1);
    EXPECT_EQ(RealTimeStatusByte(2, e.state), e.eot2);
    EXPECT_EQ(RealTimeStatusByte(4, e.state), e.eot4);
    EXPECT_EQ(TransmitStatusByte(1, e.state), e.gsr1);
    EXPECT_EQ(TransmitStatusByte(49, e.state), e.gsr1);
    EXPECT_EQ(TransmitStatusByte(2, e.state), e.gsr2);
    EXPECT_EQ(TransmitStatusByte(50, e.state), e.gsr2);
    auto asb = AutomaticStatusBytes(e.state);
    EXPECT_EQ(asb[0], e.asb0);
    EXPECT_EQ(asb[1], 0x00);
    EXPECT_EQ(asb[2], e.asb2);
    EXPECT_EQ(asb[3], 0x00);
  }
}

TEST(StatusBytes, AnswersAlwaysPassTheServiceValidityMasks) {
  for (int bits = 0; bits < 32; ++bits) {
    PrinterState s = Make(bits & 1, bits & 2, bits & 4, bits & 8, bits & 16);
    EXPECT_EQ(*RealTimeStatusByte(1, s) & 0x13, 0x12);
    EXPECT_EQ(*RealTimeStatusByte(2, s) & 0x93, 0x12);
    EXPECT_EQ(*RealTimeStatusByte(4, s) & 0x93, 0x12);
    auto asb = AutomaticStatusBytes(s);
    EXPECT_EQ(asb[0] & 0x93, 0x10);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(asb[i] & 0x90, 0);
  }
}

TEST(StatusBytes, RequestsWithoutAnAnswer) {
  PrinterState s;
  EXPECT_FALSE(RealTimeStatusByte(0, s).has_value());
  EXPECT_FALSE(RealTimeStatusByte(5, s).has_value());
  EXPECT_EQ(RealTimeStatusByte(3, s), 0x12);
  EXPECT_FALSE(TransmitStatusByte(3, s).has_value());
  EXPECT_FALSE(TransmitStatusByte(0, s).has_value());
}

}  // namespace
}  // namespace sim
