#include "so/io/TCPIPPort.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/tcp_listener.h"
#include "platform/tcp_socket.h"

namespace QEL {
namespace IO {
namespace {

// Only safety nets: each wait ends as soon as what it waits for happened.
constexpr int kAcceptMs = 20000;
constexpr int kReceiveMs = 20000;

TCPIPPortSettings LoopbackSettings(uint16_t port) {
  TCPIPPortSettings settings;
  std::string text = "127.0.0.1," + std::to_string(port);
  settings.Parse(std::u16string(text.begin(), text.end()));
  return settings;
}

// Reads exactly n bytes from the printer side (or what came before an error).
std::string ReceiveExactly(platform::TcpSocket& connection, size_t n) {
  std::string got;
  uint8_t buffer[256];
  while (got.size() < n) {
    size_t received = 0;
    size_t want = std::min(sizeof buffer, n - got.size());
    if (!connection.Receive(buffer, want, kReceiveMs, &received)) break;
    got.append(reinterpret_cast<char*>(buffer), received);
  }
  return got;
}

void SendText(platform::TcpSocket& connection, const std::string& text) {
  size_t sent = 0;
  ASSERT_TRUE(connection.Send(reinterpret_cast<const uint8_t*>(text.data()), text.size(), kReceiveMs,
                              &sent));
  ASSERT_EQ(sent, text.size());
}

// A loopback port on which nothing listens.
uint16_t DeadPort() {
  platform::TcpListener listener;
  EXPECT_TRUE(listener.Listen("127.0.0.1", 0));
  uint16_t port = listener.Port();
  listener.Close();
  return port;
}

class TCPIPPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(listener_.Listen("127.0.0.1", 0));
    port_ = std::make_unique<TCPIPPort>(LoopbackSettings(listener_.Port()));
  }
  // Opens the port and takes the printer side of the connection.
  void OpenAndAccept() {
    ASSERT_EQ(port_->Open(), 1);
    ASSERT_TRUE(listener_.Accept(&printer_, kAcceptMs));
  }
  int32_t WriteText(const std::string& text) {
    return port_->Write(reinterpret_cast<const uint8_t*>(text.data()), 0,
                        static_cast<int32_t>(text.size()));
  }

  platform::TcpListener listener_;
  std::unique_ptr<TCPIPPort> port_;
  platform::TcpSocket printer_;
};

TEST_F(TCPIPPortTest, OpenConnectsAndWritesExactBytes) {
  OpenAndAccept();
  EXPECT_EQ(port_->IsOpen(), 1);
  EXPECT_TRUE(port_->IsConnected());
  EXPECT_EQ(port_->GetDevicePath(), u"127.0.0.1");
  const uint8_t job[] = {0xFF, 0x1B, 0x40, 'T', 'e', 's', 't', 0x00, 0x0A};
  EXPECT_EQ(port_->Write(job, 1, 8), 1);
  EXPECT_EQ(ReceiveExactly(printer_, 8), std::string("\x1B@Test\x00\n", 8));
}

TEST_F(TCPIPPortTest, LargeWriteArrivesComplete) {
  OpenAndAccept();
  std::string big(64 * 1024, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  std::string got;
  std::thread reader([&] { got = ReceiveExactly(printer_, big.size()); });
  EXPECT_EQ(WriteText(big), 1);
  reader.join();
  EXPECT_EQ(got, big);
}

TEST_F(TCPIPPortTest, CountZeroSendsNothing) {
  OpenAndAccept();
  const uint8_t data[] = {'N', 'Z'};
  EXPECT_EQ(port_->Write(data, 0, 0), 0);
  EXPECT_EQ(port_->Write(data, 1, 1), 1);
  // Had the empty write sent anything, it would stand in front of the 'Z'.
  EXPECT_EQ(ReceiveExactly(printer_, 1), "Z");
}

TEST_F(TCPIPPortTest, ClosedPortNeitherWritesNorConnects) {
  EXPECT_EQ(WriteText("x"), 0);
  // A connect would have been made inside the write: it would be waiting to
  // be accepted now.
  platform::TcpSocket unexpected;
  EXPECT_FALSE(listener_.Accept(&unexpected, 0));
  OpenAndAccept();
  port_->Close();
  EXPECT_EQ(port_->IsOpen(), 0);
  EXPECT_FALSE(port_->IsConnected());
  port_->Close();
  EXPECT_EQ(WriteText("x"), 0);
}

TEST(TCPIPPort, UnreachablePrinterFailsOpenWith2501) {
  TCPIPPort port(LoopbackSettings(DeadPort()));
  EXPECT_EQ(port.Open(), 0);
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_EQ(port.GetErrorCode(), 2501);
  const std::u16string text = port.GetErrorText();
  const std::u16string prefix = u"*Connect Fail! WSAGetLastError:";
  ASSERT_EQ(text.compare(0, prefix.size(), prefix), 0);
  EXPECT_GT(text.size(), prefix.size());
  EXPECT_NE(text.substr(prefix.size()), u"0");
  port.Close();
}

TEST_F(TCPIPPortTest, PeerClosingBetweenWritesIsNoticedAndReconnected) {
  OpenAndAccept();
  ASSERT_EQ(WriteText("first"), 1);
  ASSERT_EQ(ReceiveExactly(printer_, 5), "first");
  printer_.Close();
  // Let the close reach our side: a read sees the end of the stream.
  uint8_t none[1];
  int32_t received = -1;
  EXPECT_EQ(port_->Read(none, 0, 1, &received, 0), 0);

  EXPECT_EQ(WriteText("second"), 1);
  platform::TcpSocket again;
  ASSERT_TRUE(listener_.Accept(&again, kAcceptMs));
  EXPECT_EQ(ReceiveExactly(again, 6), "second");
  EXPECT_EQ(port_->GetErrorText(), u"");
  EXPECT_EQ(port_->GetErrorCode(), 0);
  EXPECT_EQ(port_->IsOpen(), 1);
  // Nothing more than the second write came on the new connection: the
  // next bytes on it are the next write's.
  EXPECT_EQ(WriteText("!"), 1);
  EXPECT_EQ(ReceiveExactly(again, 1), "!");
}

TEST_F(TCPIPPortTest, FailedReconnectGives2501AndTheWriteError) {
  OpenAndAccept();
  printer_.Close();
  listener_.Close();
  uint8_t none[1];
  int32_t received = -1;
  EXPECT_EQ(port_->Read(none, 0, 1, &received, 0), 0);
  EXPECT_EQ(WriteText("lost"), 0);
  EXPECT_EQ(port_->GetErrorCode(), 2501);
  const std::u16string prefix = u"WriteData reconnect Fail! WSAGetLastError:";
  const std::u16string text = port_->GetErrorText();
  ASSERT_EQ(text.compare(0, prefix.size(), prefix), 0);
  EXPECT_GT(text.size(), prefix.size());
}

TEST_F(TCPIPPortTest, ReadWithoutWaitForAllReturnsAfterTheFirstBytes) {
  OpenAndAccept();
  SendText(printer_, "AB");
  std::vector<uint8_t> buffer(16, 0);
  int32_t received = -1;
  EXPECT_EQ(port_->Read(buffer.data(), 2, 10, &received, 0), 1);
  ASSERT_GE(received, 1);
  ASSERT_LE(received, 2);
  EXPECT_EQ(std::string(buffer.begin() + 2, buffer.begin() + 2 + received),
            std::string("AB").substr(0, static_cast<size_t>(received)));
}

TEST_F(TCPIPPortTest, ReadWithWaitForAllCollectsChunks) {
  OpenAndAccept();
  std::string reply(200, '\0');
  for (size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<char>(255 - i);
  SendText(printer_, reply);
  std::vector<uint8_t> buffer(200);
  int32_t received = -1;
  EXPECT_EQ(port_->Read(buffer.data(), 0, 200, &received, 1), 1);
  EXPECT_EQ(received, 200);
  EXPECT_EQ(std::string(buffer.begin(), buffer.end()), reply);
}

TEST_F(TCPIPPortTest, ReadTimesOutWithNothing) {
  OpenAndAccept();
  uint8_t buffer[4];
  int32_t received = -1;
  EXPECT_EQ(port_->Read(buffer, 0, 4, &received, 0), 0);
  EXPECT_EQ(received, 0);
  EXPECT_EQ(port_->Read(buffer, 0, 0, &received, 0), 0);
}

TEST_F(TCPIPPortTest, ReadAvailableTakesWhatIsThere) {
  OpenAndAccept();
  uint8_t buffer[8];
  int32_t received = -1;
  EXPECT_EQ(port_->ReadAvailable(buffer, 0, 8, &received), 0);
  EXPECT_EQ(received, 0);
  SendText(printer_, "xyz");
  std::string got;
  for (int tries = 0; tries < 500 && got.size() < 3; ++tries) {
    if (port_->ReadAvailable(buffer, 0, 8, &received) == 1) {
      got.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(received));
    }
  }
  EXPECT_EQ(got, "xyz");
}

struct WaitLog {
  static std::atomic<int> calls;
  static std::atomic<uint32_t> bytes;
  static void Record(uint32_t error, uint32_t n, void* record) {
    bytes = n;
    ++calls;
  }
};
std::atomic<int> WaitLog::calls{0};
std::atomic<uint32_t> WaitLog::bytes{0};

TEST_F(TCPIPPortTest, WaitForDataCallsBackWhenCountBytesCame) {
  OpenAndAccept();
  WaitLog::calls = 0;
  uint8_t buffer[4] = {};
  std::thread waiter([&] { port_->WaitForData(buffer, 4, &WaitLog::Record); });
  SendText(printer_, "ab");
  SendText(printer_, "cd");
  waiter.join();
  EXPECT_EQ(WaitLog::calls, 1);
  EXPECT_EQ(WaitLog::bytes, 4u);
  EXPECT_EQ(std::string(buffer, buffer + 4), "abcd");
}

TEST_F(TCPIPPortTest, StopWaitingEndsAWaitFromAnotherThread) {
  OpenAndAccept();
  WaitLog::calls = 0;
  for (int round = 0; round < 3; ++round) {
    uint8_t buffer[4];
    std::atomic<bool> done{false};
    std::thread waiter([&] {
      port_->WaitForData(buffer, 4, &WaitLog::Record);
      done = true;
    });
    platform::SleepMs(30);
    port_->StopWaiting();
    waiter.join();
    EXPECT_TRUE(done);
  }
  EXPECT_EQ(WaitLog::calls, 0);
  // The stop was used up by the wait it ended: a later read is not disturbed.
  SendText(printer_, "ok");
  uint8_t reply[2];
  int32_t received = -1;
  EXPECT_EQ(port_->Read(reply, 0, 2, &received, 1), 1);
  EXPECT_EQ(std::string(reply, reply + 2), "ok");
}

TEST_F(TCPIPPortTest, WaitForDataEndsWhenThePrinterCloses) {
  OpenAndAccept();
  WaitLog::calls = 0;
  SendText(printer_, "a");
  printer_.Close();
  uint8_t buffer[4];
  port_->WaitForData(buffer, 4, &WaitLog::Record);
  EXPECT_EQ(WaitLog::calls, 0);
}

TEST_F(TCPIPPortTest, OpenAgainReplacesTheConnection) {
  OpenAndAccept();
  ASSERT_EQ(port_->Open(), 1);
  platform::TcpSocket second;
  ASSERT_TRUE(listener_.Accept(&second, kAcceptMs));
  EXPECT_EQ(WriteText("new"), 1);
  EXPECT_EQ(ReceiveExactly(second, 3), "new");
  // The first connection was closed by the second open.
  uint8_t byte[1];
  size_t got = 0;
  EXPECT_FALSE(printer_.Receive(byte, 1, kReceiveMs, &got));
  EXPECT_FALSE(printer_.TimedOut());
}

}  // namespace
}  // namespace IO
}  // namespace QEL
