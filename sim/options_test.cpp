#include "sim/options.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

TEST(Options, DefaultsAndEveryFlag) {
  Options o;
  std::string error;
  ASSERT_TRUE(ParseOptions({}, &o, &error));
  EXPECT_EQ(o.port, 9100);
  EXPECT_EQ(o.state, PrinterState());
  EXPECT_FALSE(o.silent);
  EXPECT_EQ(o.connections, 0);

  ASSERT_TRUE(ParseOptions({"--port", "0", "--cover-open", "--paper-near-end", "--paper-out", "--drawer-open",
                            "--offline", "--silent", "--slow", "25", "--raw", "--connections", "2", "--ignore-stdin"},
                           &o, &error))
      << error;
  EXPECT_EQ(o.port, 0);
  EXPECT_TRUE(o.state.coverOpen && o.state.paperNearEnd && o.state.paperOut && o.state.drawerSensor &&
              o.state.offline);
  EXPECT_TRUE(o.silent);
  EXPECT_EQ(o.slowMs, 25);
  EXPECT_TRUE(o.raw);
  EXPECT_EQ(o.connections, 2);
  EXPECT_TRUE(o.ignoreStdin);
}

TEST(Options, BadCommandLinesAreRefusedAndLeaveTheOptionsAlone) {
  const std::vector<std::vector<std::string>> bad = {
      {"--port"}, {"--port", "65536"}, {"--port", "12x"}, {"--slow", "-1"}, {"--connections", "0"}, {"--bogus"},
  };
  for (const auto& args : bad) {
    Options o;
    o.port = 1234;
    std::string error;
    EXPECT_FALSE(ParseOptions(args, &o, &error)) << args[0];
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(o.port, 1234);
  }
}

TEST(Options, HexDumpHasSixteenBytesALine) {
  std::vector<uint8_t> bytes(17, 0xAB);
  bytes[0] = 0x1B;
  EXPECT_EQ(HexDump(bytes),
            "RAW 1B AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB\n"
            "RAW AB\n");
  EXPECT_EQ(HexDump({}), "");
}

}  // namespace
}  // namespace sim
