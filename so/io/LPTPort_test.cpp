// The parallel port's open on a stand-in driver: an ordinary file plays the
// device (what the port writes lands in it; what it reads comes from it) and
// a fake control plays the driver's status.
#include "so/io/LPTPort.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "testing/TempFileForTest.h"

namespace QEL {
namespace IO {
namespace {

using iotest::TempFile;

class FakeParallelControl : public ParallelControl {
 public:
  bool statusKnown = true;
  uint8_t status = 0;
  std::vector<platform::PortTimeouts> timeoutsAsked;

  bool SetTimeouts(platform::DeviceFile&, const platform::PortTimeouts& timeouts) override {
    timeoutsAsked.push_back(timeouts);
    return false;  // a driver that keeps its own
  }
  bool QueryStatus(platform::DeviceFile&, uint8_t* out) override {
    if (statusKnown) *out = status;
    return statusKnown;
  }
};

const std::string kStatusRequest = "\x1D\x72\x01";

LPTPortSettings SettingsFor(const TempFile& device) {
  LPTPortSettings settings;
  settings.Parse(device.Path());
  return settings;
}

struct OpenCase {
  const char* name;
  bool statusKnown;
  uint8_t status;
  // The file the port opens: after the 3 bytes a request overwrites, a reply
  // byte or nothing.
  std::string device;
  bool requestSent;
  bool readable;
};

TEST(LPTPort, OpenAsksForStatusOnlyWhenThePrinterCanAnswer) {
  const std::string answers = std::string(3, '\0') + "\x12";
  const OpenCase cases[] = {
      {"PaperEmpty", true, platform::kParallelPaperEmpty, answers, false, true},
      {"PaperEmptyAmongOtherBits", true, 0x0C, answers, false, true},
      {"NoStatus", false, 0, answers, false, true},
      {"Answers", true, 0x00, answers, true, true},
      {"NeverAnswers", true, 0x00, "", true, false},
  };
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFile device("lpt", c.device);
    auto control = std::make_shared<FakeParallelControl>();
    control->statusKnown = c.statusKnown;
    control->status = c.status;
    LPTPort port(SettingsFor(device), control);
    ASSERT_EQ(port.Open(), 1);
    EXPECT_EQ(port.IsOpen(), 1);
    EXPECT_TRUE(port.IsByteWiseRead());
    ASSERT_EQ(control->timeoutsAsked.size(), 1u);
    const platform::PortTimeouts& t = control->timeoutsAsked[0];
    EXPECT_EQ(t.readInterval, 5u);
    EXPECT_EQ(t.readTotalMultiplier, 5u);
    EXPECT_EQ(t.readTotalConstant, 1000u);
    EXPECT_EQ(t.writeTotalMultiplier, 1u);
    EXPECT_EQ(t.writeTotalConstant, 2000u);
    EXPECT_EQ(port.IsReady(), c.readable);
    port.Close();
    const std::string written = device.Contents();
    EXPECT_EQ(written.compare(0, 3, kStatusRequest) == 0, c.requestSent);
  }
}

TEST(LPTPort, AWriteOnlyPortGoesOnWritingWhileReadsFailAtOnce) {
  TempFile device("lpt_silent");
  auto control = std::make_shared<FakeParallelControl>();
  LPTPort port(SettingsFor(device), control);
  ASSERT_EQ(port.Open(), 1);
  ASSERT_FALSE(port.IsReady());
  const uint8_t job[] = {0x1B, 0x40, 'A', 0x0A};
  EXPECT_EQ(port.Write(job, 0, 4), 1);
  uint8_t buffer[4] = {};
  int32_t received = -1;
  EXPECT_EQ(port.Read(buffer, 0, 1, &received, 1), 0);
  EXPECT_EQ(received, 0);
  EXPECT_EQ(port.ReadAvailable(buffer, 0, 4, &received), 0);
  port.Close();
  EXPECT_EQ(device.Contents(), kStatusRequest + "\x1B\x40" "A\n");
}

TEST(LPTPort, PaperEmptyPortReadsByteWise) {
  // After the open nothing was written, so the read starts at the file's head.
  TempFile device("lpt_paper", "\x10\x20");
  auto control = std::make_shared<FakeParallelControl>();
  control->status = platform::kParallelPaperEmpty;
  LPTPort port(SettingsFor(device), control);
  ASSERT_EQ(port.Open(), 1);
  uint8_t buffer[4] = {};
  int32_t received = 0;
  ASSERT_EQ(port.ReadAvailable(buffer, 0, 4, &received), 1);
  EXPECT_EQ(received, 2);
  EXPECT_EQ(buffer[0], 0x10);
  EXPECT_EQ(buffer[1], 0x20);
}

TEST(LPTPort, MissingDeviceFailsOpen) {
  TempFile device("lpt_missing", "", false);
  auto control = std::make_shared<FakeParallelControl>();
  LPTPort port(SettingsFor(device), control);
  EXPECT_EQ(port.Open(), 0);
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_NE(port.GetSystemError(), 0);
  EXPECT_TRUE(control->timeoutsAsked.empty());
}

}  // namespace
}  // namespace IO
}  // namespace QEL
