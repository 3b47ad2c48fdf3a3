// The QX1270 family takes its commands in checksummed frames and has no
// automatic status back: releasing or closing such a printer must not leave
// a raw GS a (or any other unframed byte) on the wire.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "so/printer/CQX1270SMB.h"
#include "testing/FakePort.h"

using QEL::Printer::CQX1270SMB;
using testing_support::FakePort;
using Bytes = std::vector<uint8_t>;

namespace {

// True when the bytes are nothing but whole frames: AA, a length of 1..46,
// the payload, its XOR, BB.
bool AllFramed(const Bytes& bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    if (bytes[i] != 0xAA || i + 1 >= bytes.size()) return false;
    const size_t n = bytes[i + 1];
    if (n == 0 || n > 46 || i + n + 4 > bytes.size()) return false;
    uint8_t check = 0;
    for (size_t k = 0; k < n; ++k) check ^= bytes[i + 2 + k];
    if (bytes[i + 2 + n] != check || bytes[i + 3 + n] != 0xBB) return false;
    i += n + 4;
  }
  return true;
}

class QX1270Release : public ::testing::Test {
 protected:
  void SetUp() override {
    port = std::make_shared<FakePort>(u"TCP/IP");
    core.AttachPort(port);
    int32_t rc = -1;
    core.OpenServiceW(u"QX1270", nullptr, &rc);
    ASSERT_EQ(rc, 0);
    core.ClaimDevice(1000, &rc);
    ASSERT_EQ(rc, 0);
  }

  std::shared_ptr<FakePort> port;
  CQX1270SMB core{u"QX1270"};
};

TEST_F(QX1270Release, ReleaseWritesNothing) {
  port->ClearWritten();
  int32_t rc = 9;
  core.ReleaseDevice(&rc);
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(port->WriteCalls().empty()) << "the family has no status back to switch off";
  EXPECT_FALSE(port->IsOpen());
  EXPECT_FALSE(core.IsClaimed());
}

TEST_F(QX1270Release, CloseOfAnEnabledPrinterWritesOnlyFrames) {
  ASSERT_EQ(core.DeviceEnable(1), 1);
  port->ClearWritten();
  int32_t rc = 5;
  core.CloseService(&rc);
  EXPECT_EQ(rc, 0);
  for (const Bytes& call : port->WriteCalls()) {
    EXPECT_TRUE(AllFramed(call)) << "unframed bytes on release or close";
  }
  EXPECT_FALSE(port->IsOpen());
  EXPECT_FALSE(core.IsOpened());
}

}  // namespace
