#include "so/io/SerialTimeouts.h"

#include <gtest/gtest.h>

namespace QEL {
namespace IO {
namespace {

TEST(SerialTimeouts, WriteMultiplierFollowsTheBaudRate) {
  const struct {
    uint32_t baud;
    uint32_t multiplier;
  } cases[] = {
      {115200, 1}, {19200, 1},  {19199, 2}, {9600, 2}, {4801, 2},
      {4800, 3},   {2401, 3},   {2400, 5},  {1200, 5}, {1, 5},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WriteMultiplierForBaud(c.baud, 77), c.multiplier) << c.baud;
  }
  EXPECT_EQ(WriteMultiplierForBaud(0, 77), 77u) << "no rate keeps what the line had";
}

TEST(SerialTimeouts, ReadsGiveUpAfterAQuietTenthAndWritesAfterTheWriteTimeout) {
  platform::PortTimeouts current{1, 2, 3, 4, 5};
  platform::PortTimeouts t = SerialTimeoutsFor(9600, 1000, current);
  EXPECT_EQ(t.readInterval, 100u);
  EXPECT_EQ(t.readTotalMultiplier, 0u);
  EXPECT_EQ(t.readTotalConstant, 100u);
  EXPECT_EQ(t.writeTotalMultiplier, 2u);
  EXPECT_EQ(t.writeTotalConstant, 1000u);
  EXPECT_EQ(SerialTimeoutsFor(0, 1000, current).writeTotalMultiplier, 4u);
}

}  // namespace
}  // namespace IO
}  // namespace QEL
