#include "platform/tcp_socket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/tcp_listener.h"

namespace platform {
namespace {

uint32_t Loopback() { return ParseIPv4("127.0.0.1"); }

// Only a safety net for data already on its way: the wait ends when it came.
constexpr int kArrivalMs = 20000;

// Reads until exactly n bytes came or the peer stopped sending for a while.
std::vector<uint8_t> ReceiveAll(TcpSocket& s, size_t n) {
  std::vector<uint8_t> out;
  uint8_t buffer[65536];
  while (out.size() < n) {
    size_t got = 0;
    if (!s.Receive(buffer, std::min(sizeof buffer, n - out.size()), kArrivalMs, &got)) break;
    out.insert(out.end(), buffer, buffer + got);
  }
  return out;
}

// Polls cond every 10 ms for up to 20 s; the bound is only a safety net.
template <typename Cond>
bool Eventually(Cond cond) {
  for (int i = 0; i < 2000; ++i) {
    if (cond()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return cond();
}

class ConnectedPair : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(listener.Listen("127.0.0.1", 0));
    ASSERT_NE(listener.Port(), 0);
    ASSERT_TRUE(client.Create());
    client.ApplyPrinterOptions(1000, 1000);
    ASSERT_TRUE(client.BindAnyLocal());
    ASSERT_TRUE(client.Connect(Loopback(), listener.Port(), 5000)) << client.LastError();
    ASSERT_TRUE(listener.Accept(&server, 5000));
    ASSERT_TRUE(server.IsValid());
  }

  TcpListener listener;
  TcpSocket client;
  TcpSocket server;
};

TEST(TcpSocketParse, DottedTextGivesNetworkOrderAndBadTextGivesAllOnes) {
  uint32_t a = ParseIPv4("127.0.0.1");
  uint8_t bytes[4];
  std::memcpy(bytes, &a, 4);
  EXPECT_EQ(bytes[0], 127);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(bytes[3], 1);
  uint32_t b = ParseIPv4("192.168.0.32");
  std::memcpy(bytes, &b, 4);
  EXPECT_EQ(bytes[0], 192);
  EXPECT_EQ(bytes[3], 32);
  for (const char* bad : {"256.0.0.1", "printer", "1.2.3.4.5"}) {
    EXPECT_EQ(ParseIPv4(bad), 0xFFFFFFFFu) << bad;
  }
  EXPECT_EQ(ParseIPv4(nullptr), 0xFFFFFFFFu);
}

TEST_F(ConnectedPair, BytesTravelBothWays) {
  const uint8_t request[] = {0x10, 0x04, 0x01, 0x00, 0xFF};
  size_t sent = 0;
  ASSERT_TRUE(client.Send(request, sizeof request, 1000, &sent));
  EXPECT_EQ(sent, sizeof request);
  EXPECT_EQ(ReceiveAll(server, sizeof request), std::vector<uint8_t>(request, request + sizeof request));

  const uint8_t reply[] = {0x16};
  ASSERT_TRUE(server.Send(reply, 1, 1000, &sent));
  EXPECT_EQ(sent, 1u);
  uint8_t in[8] = {};
  size_t got = 0;
  ASSERT_TRUE(client.Receive(in, sizeof in, kArrivalMs, &got));
  EXPECT_EQ(got, 1u);
  EXPECT_EQ(in[0], 0x16);
}

TEST_F(ConnectedPair, LargeTransferArrivesCompleteAndInOrder) {
  std::vector<uint8_t> data(512 * 1024);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 + i / 251);
  std::vector<uint8_t> arrived;
  std::thread reader([&] { arrived = ReceiveAll(server, data.size()); });
  size_t total = 0;
  for (int pass = 0; pass < 50 && total < data.size(); ++pass) {
    size_t sent = 0;
    ASSERT_TRUE(client.Send(data.data() + total, data.size() - total, 2000, &sent));
    total += sent;
  }
  reader.join();
  EXPECT_EQ(total, data.size());
  EXPECT_TRUE(arrived == data);
}

TEST_F(ConnectedPair, ReceiveTimeOutReturnsFalseWithNothing) {
  uint8_t in[4];
  size_t got = 99;
  EXPECT_FALSE(client.Receive(in, sizeof in, 50, &got));
  EXPECT_EQ(got, 0u);
  EXPECT_TRUE(client.TimedOut());
  EXPECT_FALSE(client.Receive(in, sizeof in, 0, &got));
  EXPECT_TRUE(client.TimedOut());
  // The connection is still usable after a time-out.
  const uint8_t b = 0x42;
  size_t sent = 0;
  ASSERT_TRUE(server.Send(&b, 1, 1000, &sent));
  ASSERT_TRUE(client.Receive(in, sizeof in, kArrivalMs, &got));
  EXPECT_FALSE(client.TimedOut());
  EXPECT_EQ(in[0], 0x42);
}

TEST_F(ConnectedPair, SendTimesOutAsSuccessWhenThePeerDoesNotRead) {
  // The peer never reads: the buffers fill up and the rest cannot go out.
  std::vector<uint8_t> data(32 * 1024 * 1024, 0x55);
  size_t sent = 0;
  EXPECT_TRUE(client.Send(data.data(), data.size(), 200, &sent));
  EXPECT_LT(sent, data.size());
  EXPECT_TRUE(client.TimedOut());
}

TEST_F(ConnectedPair, PeerCloseIsSeenOnlyAfterUnreadDataIsTaken) {
  EXPECT_FALSE(client.PeerHasClosed());
  const uint8_t b = 0x33;
  size_t sent = 0;
  ASSERT_TRUE(server.Send(&b, 1, 1000, &sent));
  server.Close();
  // The byte stands in front of the close: not closed yet, and not consumed.
  EXPECT_FALSE(client.PeerHasClosed());
  uint8_t in[4] = {};
  size_t got = 0;
  ASSERT_TRUE(client.Receive(in, sizeof in, kArrivalMs, &got));
  ASSERT_EQ(got, 1u);
  EXPECT_EQ(in[0], 0x33);
  EXPECT_TRUE(Eventually([&] { return client.PeerHasClosed(); }));
  EXPECT_TRUE(client.PeerHasClosed());  // asking again changes nothing
  EXPECT_FALSE(client.Receive(in, sizeof in, 1000, &got));
  EXPECT_FALSE(client.TimedOut());
  EXPECT_NE(client.LastError(), 0);
}

TEST_F(ConnectedPair, SendAfterPeerCloseEventuallyFails) {
  server.Close();
  listener.Close();
  const uint8_t b = 0x0A;
  bool failed = Eventually([&] {
    size_t sent = 0;
    return !client.Send(&b, 1, 200, &sent);
  });
  EXPECT_TRUE(failed);
  EXPECT_NE(client.LastError(), 0);
}

TEST_F(ConnectedPair, MovedSocketKeepsTheConnection) {
  TcpSocket moved(std::move(client));
  EXPECT_FALSE(client.IsValid());
  EXPECT_TRUE(client.PeerHasClosed());
  ASSERT_TRUE(moved.IsValid());
  TcpSocket assigned;
  assigned = std::move(moved);
  EXPECT_FALSE(moved.IsValid());
  const uint8_t b = 0x1B;
  size_t sent = 0;
  ASSERT_TRUE(assigned.Send(&b, 1, 1000, &sent));
  EXPECT_EQ(ReceiveAll(server, 1), std::vector<uint8_t>{0x1B});
}

TEST(TcpSocket, ConnectToAClosedPortFailsWithASystemError) {
  uint16_t port;
  {
    TcpListener gone;
    ASSERT_TRUE(gone.Listen("127.0.0.1", 0));
    port = gone.Port();
  }
  TcpSocket s;
  ASSERT_TRUE(s.Create());
  ASSERT_TRUE(s.BindAnyLocal());
  EXPECT_FALSE(s.Connect(Loopback(), port, 3000));
  EXPECT_NE(s.LastError(), 0);
}

TEST(TcpSocket, CallsWithoutASocketFail) {
  TcpSocket s;
  EXPECT_FALSE(s.IsValid());
  uint8_t b = 0;
  size_t n = 7;
  EXPECT_FALSE(s.Send(&b, 1, 10, &n));
  EXPECT_EQ(n, 0u);
  EXPECT_FALSE(s.Receive(&b, 1, 10, &n));
  EXPECT_FALSE(s.Connect(Loopback(), 9, 10));
  EXPECT_NE(s.LastError(), 0);
  EXPECT_TRUE(s.PeerHasClosed());
  s.Close();  // harmless
}

TEST(TcpListener, AcceptTimesOutWithoutAClientAndRejectsBadAddresses) {
  TcpListener l;
  EXPECT_FALSE(l.Listen("not an address", 0));
  ASSERT_TRUE(l.Listen("127.0.0.1", 0));
  TcpSocket c;
  EXPECT_FALSE(l.Accept(&c, 30));
  EXPECT_FALSE(c.IsValid());
  l.Close();
  EXPECT_FALSE(l.Accept(&c, 0));
}

TEST(TcpListener, AcceptsOneConnectionAfterAnother) {
  TcpListener l;
  ASSERT_TRUE(l.Listen("127.0.0.1", 0));
  for (int i = 0; i < 3; ++i) {
    TcpSocket c;
    ASSERT_TRUE(c.Create());
    ASSERT_TRUE(c.Connect(Loopback(), l.Port(), 5000));
    TcpSocket accepted;
    ASSERT_TRUE(l.Accept(&accepted, 5000)) << i;
    const uint8_t b = static_cast<uint8_t>(i);
    size_t sent = 0;
    ASSERT_TRUE(c.Send(&b, 1, 1000, &sent));
    EXPECT_EQ(ReceiveAll(accepted, 1), std::vector<uint8_t>{b});
  }
}

TEST(NetStartup, UnmatchedCleanupDoesNotBreakLaterSockets) {
  ASSERT_TRUE(NetStartup());
  NetCleanup();
  NetCleanup();  // one too many: must be ignored
  TcpListener l;
  ASSERT_TRUE(l.Listen("127.0.0.1", 0));
  TcpSocket c;
  ASSERT_TRUE(c.Create());
  EXPECT_TRUE(c.Connect(Loopback(), l.Port(), 5000));
}

}  // namespace
}  // namespace platform
