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
  EXPECT_FALSE(o.pty);

  ASSERT_TRUE(ParseOptions({"--port", "0", "--cover-open", "--paper-near-end", "--paper-out", "--drawer-open",
                            "--offline", "--silent", "--slow", "25", "--raw", "--connections", "2", "--ignore-stdin",
                            "--pty"},
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
  EXPECT_TRUE(o.pty);
}

TEST(Options, BadCommandLinesAreRefusedAndLeaveTheOptionsAlone) {
  const std::vector<std::vector<std::string>> bad = {
      {"--port"}, {"--port", "65536"}, {"--port", "12x"}, {"--slow", "-1"}, {"--connections", "0"}, {"--bogus"},
      {"--drawer-pin"}, {"--drawer-pin", "3"}, {"--drawer-pin", "1"}, {"--drawer-pin", "pin2"},
      {"--drawer-open-level"}, {"--drawer-open-level", "HIGH"}, {"--drawer-open-level", "1"},
      {"--drawer-closes-after"}, {"--drawer-closes-after", "-5"}, {"--drawer-closes-after", "3600001"},
      {"--images"}, {"--images", ""},
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

TEST(Options, DrawerWiringAndClosingTime) {
  Options o;
  std::string error;
  ASSERT_TRUE(ParseOptions({}, &o, &error));
  EXPECT_EQ(o.drawerPin, 2);
  EXPECT_TRUE(o.drawerOpenLevelHigh);
  EXPECT_EQ(o.drawerClosesAfterMs, 0);

  ASSERT_TRUE(ParseOptions({"--drawer-pin", "5", "--drawer-open-level", "low", "--drawer-closes-after", "2500"}, &o,
                           &error))
      << error;
  EXPECT_EQ(o.drawerPin, 5);
  EXPECT_FALSE(o.drawerOpenLevelHigh);
  EXPECT_EQ(o.drawerClosesAfterMs, 2500);
  EXPECT_TRUE(o.state.drawerSensor) << "a shut drawer reads high when open reads low";

  // The sensor follows the drawer through the open level, in any order.
  const struct {
    std::vector<std::string> args;
    bool sensor;
  } levels[] = {
      {{"--drawer-open"}, true},
      {{"--drawer-open", "--drawer-open-level", "low"}, false},
      {{"--drawer-open-level", "low", "--drawer-open"}, false},
      {{"--drawer-open-level", "high"}, false},
  };
  for (const auto& c : levels) {
    ASSERT_TRUE(ParseOptions(c.args, &o, &error)) << error;
    EXPECT_EQ(o.state.drawerSensor, c.sensor) << c.args.back();
  }
}

TEST(Options, ImagesGoWhereTheyAreAskedTo) {
  Options o;
  std::string error;
  ASSERT_TRUE(ParseOptions({}, &o, &error));
  EXPECT_EQ(o.imageDirectory, "");
  ASSERT_TRUE(ParseOptions({"--images", "out/printed", "--raw"}, &o, &error)) << error;
  EXPECT_EQ(o.imageDirectory, "out/printed");
  EXPECT_TRUE(o.raw);
}

TEST(Options, PaperIsEightyOrFiftyEightMillimetres) {
  Options o;
  std::string error;
  ASSERT_TRUE(ParseOptions({}, &o, &error));
  EXPECT_EQ(o.paperMm, 80);
  ASSERT_TRUE(ParseOptions({"--paper", "58"}, &o, &error)) << error;
  EXPECT_EQ(o.paperMm, 58);
  for (const char* bad : {"57", "60", "112", "x"}) {
    EXPECT_FALSE(ParseOptions({"--paper", bad}, &o, &error)) << bad;
    EXPECT_EQ(o.paperMm, 58) << "a refused command line leaves the options alone";
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
