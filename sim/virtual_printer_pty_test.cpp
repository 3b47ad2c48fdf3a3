// The virtual printer on a pseudo-terminal: a client opens the slave path as
// a serial device and gets the same answers as over TCP.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/device_file.h"
#include "platform/pseudo_terminal.h"
#include "platform/serial_line.h"
#include "sim/virtual_printer.h"

namespace sim {
namespace {

constexpr int kWaitMs = 10000;

class VirtualPrinterPty : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!platform::PseudoTerminal::Available()) GTEST_SKIP() << "no pseudo-terminals here";
    path = printer.StartPty();
    ASSERT_FALSE(path.empty());
  }
  // A client whose reads give up after a quiet tenth of a second, so that a
  // printer that never answers fails the test instead of hanging it.
  bool OpenClient(platform::DeviceFile& client) {
    if (!client.OpenExisting(std::u16string(path.begin(), path.end()))) return false;
    platform::PortTimeouts timeouts;
    timeouts.readInterval = 100;
    timeouts.readTotalConstant = 100;
    return platform::SetSerialTimeouts(client, timeouts);
  }
  // One reply byte, waiting as long as the printer may take.
  bool ReadByte(platform::DeviceFile& client, uint8_t* byte) {
    for (int tries = 0; tries < kWaitMs / 100; ++tries) {
      size_t got = 0;
      if (!client.Read(byte, 1, &got)) return false;
      if (got == 1) return true;
    }
    return false;
  }

  VirtualPrinter printer;
  std::string path;
};

TEST_F(VirtualPrinterPty, AnswersStatusAndCountsEachSession) {
  EXPECT_EQ(printer.PtyPath(), path);
  EXPECT_FALSE(printer.Start(0)) << "already running";
  EXPECT_EQ(printer.StartPty(), "") << "already running";
  for (int session = 1; session <= 2; ++session) {
    SCOPED_TRACE(session);
    platform::DeviceFile client;
    ASSERT_TRUE(OpenClient(client));
    // DLE EOT 1: the printer status, 0x12 for a printer that is fine.
    const uint8_t request[] = {0x10, 0x04, 0x01};
    size_t written = 0;
    ASSERT_TRUE(client.Write(request, 3, &written));
    ASSERT_EQ(written, 3u);
    uint8_t answer = 0;
    ASSERT_TRUE(ReadByte(client, &answer));
    EXPECT_EQ(answer, 0x12);
    client.Close();
    EXPECT_TRUE(printer.WaitForIdle(session, kWaitMs));
  }
  EXPECT_EQ(printer.ConnectionsAccepted(), 2);
  EXPECT_EQ(printer.InvalidCommands(), 0);
}

TEST_F(VirtualPrinterPty, StopHangsTheLineUp) {
  platform::DeviceFile client;
  ASSERT_TRUE(OpenClient(client));
  printer.Stop();
  EXPECT_EQ(printer.PtyPath(), "");
  const uint8_t data[] = {0x1B, 0x40};
  size_t written = 0;
  EXPECT_FALSE(client.Write(data, 2, &written));
}

}  // namespace
}  // namespace sim
