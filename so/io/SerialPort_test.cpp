// The serial port on a real terminal device: the slave of a pseudo-terminal,
// whose master side this test plays. Where the system has none, only the
// cases that need no terminal run.
#include "so/io/SerialPort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/pseudo_terminal.h"
#include "testing/TempFileForTest.h"

namespace QEL {
namespace IO {
namespace {

constexpr int kWaitMs = 5000;

SerialPortSettings SettingsFor(const std::string& path, uint32_t baud) {
  const std::string text = path + ",BaudRate_" + std::to_string(baud);
  SerialPortSettings settings;
  settings.Parse(std::u16string(text.begin(), text.end()));
  return settings;
}

// All that arrives at the master until `count` bytes came or the time is up.
std::vector<uint8_t> ReceiveAtMaster(platform::PseudoTerminal& pty, size_t count) {
  std::vector<uint8_t> bytes;
  uint8_t buffer[256];
  while (bytes.size() < count) {
    size_t got = 0;
    if (!pty.Receive(buffer, sizeof buffer, kWaitMs, &got)) break;
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  return bytes;
}

class SerialPortOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!platform::PseudoTerminal::Available()) GTEST_SKIP() << "no pseudo-terminals here";
    ASSERT_TRUE(pty.Open());
  }
  platform::PseudoTerminal pty;
};

TEST_F(SerialPortOnPty, OpenSetsUpTheLineForTheBaudRate) {
  const struct {
    uint32_t baud;
    uint32_t multiplier;
  } cases[] = {{9600, 2}, {2400, 5}, {115200, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.baud);
    SerialPort port(SettingsFor(pty.SlavePath(), c.baud));
    ASSERT_EQ(port.Open(), 1);
    EXPECT_EQ(port.GetErrorCode(), 0) << std::string(port.GetErrorText().begin(), port.GetErrorText().end());
    const platform::SerialLineState& line = port.CommState();
    EXPECT_EQ(line.baudRate, c.baud);
    EXPECT_TRUE(line.binary);
    EXPECT_FALSE(line.parityCheck);
    EXPECT_FALSE(line.ctsOutFlow);
    EXPECT_FALSE(line.xonXoffOut);
    EXPECT_FALSE(line.xonXoffIn);
    EXPECT_EQ(line.byteSize, 8);
    EXPECT_EQ(line.parity, 0);
    EXPECT_EQ(line.stopBits, 0);
    EXPECT_EQ(port.RequestedTimeouts().writeTotalMultiplier, c.multiplier);
    EXPECT_EQ(port.RequestedTimeouts().writeTotalConstant, 1000u);
    port.Close();
  }
}

TEST_F(SerialPortOnPty, EveryByteValuePassesUnchangedBothWays) {
  SerialPort port(SettingsFor(pty.SlavePath(), 9600));
  ASSERT_EQ(port.Open(), 1);
  // CR, LF, XON, XOFF, DEL and the terminal's interrupt characters included.
  std::vector<uint8_t> all(256);
  for (int i = 0; i < 256; ++i) all[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  ASSERT_EQ(port.Write(all.data(), 0, 256), 1);
  EXPECT_EQ(ReceiveAtMaster(pty, 256), all);

  size_t sent = 0;
  ASSERT_TRUE(pty.Send(all.data(), all.size(), kWaitMs, &sent));
  ASSERT_EQ(sent, all.size());
  std::vector<uint8_t> back(256);
  int32_t received = 0;
  ASSERT_EQ(port.Read(back.data(), 0, 256, &received, 1), 1);
  EXPECT_EQ(received, 256);
  EXPECT_EQ(back, all);
}

TEST_F(SerialPortOnPty, AQuietLineEndsAReadWithNothing) {
  SerialPort port(SettingsFor(pty.SlavePath(), 9600));
  ASSERT_EQ(port.Open(), 1);
  uint8_t buffer[4];
  int32_t received = -1;
  // Returns because of the line's read time-out; without it this would hang.
  EXPECT_EQ(port.Read(buffer, 0, 4, &received, 0), 0);
  EXPECT_EQ(received, 0);
}

TEST_F(SerialPortOnPty, AVanishedDeviceFailsWritesAtOnce) {
  SerialPort port(SettingsFor(pty.SlavePath(), 9600));
  ASSERT_EQ(port.Open(), 1);
  const uint8_t data[] = {0x1B, 0x40};
  ASSERT_EQ(port.Write(data, 0, 2), 1);
  pty.Close();  // the other end is gone, as an unplugged adapter is
  EXPECT_EQ(port.Write(data, 0, 2), 0);
  EXPECT_NE(port.GetSystemError(), 0);
  uint8_t buffer[2];
  int32_t received = -1;
  EXPECT_EQ(port.Read(buffer, 0, 2, &received, 1), 0);
}

TEST_F(SerialPortOnPty, ASecondOpenerIsRefused) {
  SerialPort first(SettingsFor(pty.SlavePath(), 9600));
  SerialPort second(SettingsFor(pty.SlavePath(), 9600));
  ASSERT_EQ(first.Open(), 1);
  EXPECT_EQ(second.Open(), 0);
  first.Close();
  EXPECT_EQ(second.Open(), 1);
}

TEST(SerialPort, APathThatIsNoTerminalOpensButReportsTheTimeoutQuery) {
  iotest::TempFile file("not_a_tty", "x");
  const std::u16string path = file.Path();
  SerialPort port(SettingsFor(std::string(path.begin(), path.end()), 9600));
  ASSERT_EQ(port.Open(), 1) << "the line set-up never fails the open";
  EXPECT_NE(port.GetErrorCode(), 0);
  const std::u16string text = port.GetErrorText();
  const std::u16string expected =
      u"SerialPort::SetupTimeouts - Unable to obtain timeout information. ErrorCode:";
  EXPECT_EQ(text.compare(0, expected.size(), expected), 0) << std::string(text.begin(), text.end());
  const std::string code = std::to_string(port.GetErrorCode());
  EXPECT_EQ(text.substr(expected.size(), code.size()), std::u16string(code.begin(), code.end()));
}

TEST(SerialPort, AMissingDeviceFailsOpen) {
  iotest::TempFile file("no_tty", "", false);
  const std::u16string path = file.Path();
  SerialPort port(SettingsFor(std::string(path.begin(), path.end()), 9600));
  EXPECT_EQ(port.Open(), 0);
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_NE(port.GetSystemError(), 0);
}

}  // namespace
}  // namespace IO
}  // namespace QEL
