#include "sim/virtual_printer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/tcp_socket.h"
#include "sim/printer_client_test.h"

namespace sim {
namespace {

using Bytes = std::vector<uint8_t>;

using testclient::Client;
using testclient::kWaitMs;

// Polls cond every 10 ms until it holds; false after kWaitMs.
template <typename Cond>
bool Eventually(Cond cond) {
  for (int waited = 0; waited < kWaitMs; waited += 10) {
    if (cond()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return cond();
}

// Real-time status (DLE EOT 1) and paper sensor (GS r 1) requests, asked
// after what is to be shown absent.
const Bytes kAskStatus = {0x10, 0x04, 0x01};
const Bytes kAskPaper = {0x1D, 0x72, 0x01};

class VirtualPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(printer.Start(0));
    ASSERT_NE(printer.Port(), 0);
  }
  VirtualPrinter printer;
};

TEST_F(VirtualPrinterTest, AnswersEveryStatusRequestFromTheCurrentState) {
  Client c;
  ASSERT_TRUE(c.Connect(printer.Port()));
  const Bytes requests = {0x10, 0x04, 0x01, 0x10, 0x04, 0x02, 0x10, 0x04, 0x04, 0x1D, 0x72, 0x01, 0x1D, 0x72, 0x02};
  c.Send(requests);
  EXPECT_EQ(c.Read(5), (Bytes{0x12, 0x12, 0x12, 0x00, 0x00}));

  // Changed in the middle of the connection: the next answers follow at once.
  PrinterState s;
  s.coverOpen = true;
  s.offline = true;
  s.paperNearEnd = true;
  s.drawerSensor = true;
  printer.SetState(s);
  c.Send(requests);
  EXPECT_EQ(c.Read(5), (Bytes{0x1E, 0x16, 0x1E, 0x03, 0x01}));

  s = PrinterState();
  s.paperOut = true;
  printer.SetState(s);
  c.Send(requests);
  EXPECT_EQ(c.Read(5), (Bytes{0x1A, 0x32, 0x72, 0x0C, 0x00})) << "paper out: offline";
  EXPECT_TRUE(printer.State().paperOut);
}

TEST_F(VirtualPrinterTest, AutomaticStatusBackPushesOnEveryChangeUntilSwitchedOff) {
  Client c;
  ASSERT_TRUE(c.Connect(printer.Port()));
  c.Send({0x1D, 0x61, 0xFF});
  EXPECT_EQ(c.Read(4), (Bytes{0x10, 0x00, 0x00, 0x00}));
  PrinterState s;
  s.coverOpen = true;
  printer.SetState(s);
  s.paperNearEnd = true;
  printer.SetState(s);
  printer.SetState(s);  // no change, no push
  // Cover open, hence offline.
  EXPECT_EQ(c.Read(8), (Bytes{0x38, 0x00, 0x00, 0x00, 0x38, 0x00, 0x03, 0x00}));
  c.Send(kAskStatus);
  EXPECT_EQ(c.Read(1), Bytes{0x1A}) << "the unchanged state was not pushed";

  c.Send({0x1D, 0x61, 0x00});  // off
  c.Send(kAskStatus);
  EXPECT_EQ(c.Read(1), Bytes{0x1A});
  s.paperOut = true;
  printer.SetState(s);
  c.Send(kAskStatus);
  EXPECT_EQ(c.Read(1), Bytes{0x1A}) << "switched off: no push";
}

TEST_F(VirtualPrinterTest, NewConnectionStartsWithAutomaticStatusBackOff) {
  {
    Client c;
    ASSERT_TRUE(c.Connect(printer.Port()));
    c.Send({0x1D, 0x61, 0x01});
    EXPECT_EQ(c.Read(4).size(), 4u);
  }
  ASSERT_TRUE(printer.WaitForIdle(1, kWaitMs));
  Client c;
  ASSERT_TRUE(c.Connect(printer.Port()));
  ASSERT_TRUE(printer.WaitForConnections(2, kWaitMs));
  PrinterState s;
  s.drawerSensor = true;
  printer.SetState(s);
  c.Send(kAskStatus);
  EXPECT_EQ(c.Read(1), Bytes{0x16}) << "no status was pushed before the answer";
}

TEST_F(VirtualPrinterTest, CommandSplitAcrossWritesIsAnswered) {
  Client c;
  ASSERT_TRUE(c.Connect(printer.Port()));
  c.Send({0x1B, 0x40, 0x10});
  ASSERT_TRUE(printer.WaitForHandled(3, kWaitMs));
  c.Send({0x04});
  ASSERT_TRUE(printer.WaitForHandled(4, kWaitMs));
  c.Send({0x02});
  c.Send(kAskPaper);
  EXPECT_EQ(c.Read(2), (Bytes{0x12, 0x00})) << "one answer, once the request was complete";
}

TEST_F(VirtualPrinterTest, RequestBytesInsideGsLParametersAreNotAnswered) {
  Client c;
  ASSERT_TRUE(c.Connect(printer.Port()));
  c.Send({0x1D, 0x4C, 0x10, 0x04, 0x01, 0x1D, 0x72, 0x02});
  c.Send(kAskStatus);
  // Only GS r 2 is a request: its answer byte, then the status.
  EXPECT_EQ(c.Read(2), (Bytes{0x00, 0x12}));
}

TEST_F(VirtualPrinterTest, SilentPrinterRecordsButNeverAnswers) {
  printer.SetSilent(true);
  Client c;
  ASSERT_TRUE(c.Connect(printer.Port()));
  c.Send({0x10, 0x04, 0x01, 0x1D, 0x61, 0xFF, 0x1D, 0x72, 0x01});
  ASSERT_TRUE(printer.WaitForHandled(9, kWaitMs));
  EXPECT_EQ(printer.Received().size(), 9u);
  PrinterState s;
  s.coverOpen = true;
  printer.SetState(s);  // would push: automatic status back is on
  c.Send(kAskStatus);
  ASSERT_TRUE(printer.WaitForHandled(12, kWaitMs)) << "the change was taken in with it";
  printer.SetSilent(false);
  c.Send({0x10, 0x04, 0x02});
  EXPECT_EQ(c.Read(1), Bytes{0x16}) << "nothing said while silent comes before it";
}

TEST_F(VirtualPrinterTest, DroppedConnectionIsSeenByTheClientWhichReconnects) {
  Client first;
  ASSERT_TRUE(first.Connect(printer.Port()));
  first.Send({'A', 'B'});
  ASSERT_TRUE(printer.WaitForReceived(2, kWaitMs));
  printer.DropConnection();
  EXPECT_TRUE(Eventually([&] { return first.Socket().PeerHasClosed(); }));

  Client second;
  ASSERT_TRUE(second.Connect(printer.Port()));
  second.Send({'C', 0x0A, 0x10, 0x04, 0x01});
  EXPECT_EQ(second.Read(1), Bytes{0x12});
  EXPECT_EQ(printer.ConnectionsAccepted(), 2);
  // Bytes are kept across connections, in arrival order.
  EXPECT_EQ(printer.Received(), (Bytes{'A', 'B', 'C', 0x0A, 0x10, 0x04, 0x01}));
  EXPECT_EQ(printer.Transcript(), "TEXT \"ABC\"\nLF\nDLE EOT 1\n");
  printer.ClearReceived();
  EXPECT_TRUE(printer.Received().empty());
}

TEST_F(VirtualPrinterTest, ConnectionsAreServedOneAfterAnotherWithTheirOwnBytes) {
  std::vector<Bytes> seen;
  std::mutex m;
  printer.SetConnectionClosedHandler([&](int number, const Bytes& bytes, const std::vector<TranscriptNote>&) {
    std::lock_guard<std::mutex> lock(m);
    seen.push_back(bytes);
    EXPECT_EQ(number, static_cast<int>(seen.size()));
  });
  for (uint8_t i = 0; i < 3; ++i) {
    Client c;
    ASSERT_TRUE(c.Connect(printer.Port()));
    c.Send({static_cast<uint8_t>('a' + i), 0x10, 0x04, 0x01});
    EXPECT_EQ(c.Read(1), Bytes{0x12});
  }
  EXPECT_TRUE(Eventually([&] {
    std::lock_guard<std::mutex> lock(m);
    return seen.size() == 3;
  }));
  std::lock_guard<std::mutex> lock(m);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[1], (Bytes{'b', 0x10, 0x04, 0x01}));
  EXPECT_EQ(printer.Received().size(), 12u);
}

TEST_F(VirtualPrinterTest, SlowPrinterPushesBackOnItsSender) {
  printer.SetAcceptDelayPerChunk(20);
  Client c;
  ASSERT_TRUE(c.Connect(printer.Port()));
  Bytes big(4 * 1024 * 1024, 'x');
  size_t sent = 0;
  ASSERT_TRUE(c.Socket().Send(big.data(), big.size(), 300, &sent));
  EXPECT_LT(sent, big.size());
  EXPECT_TRUE(c.Socket().TimedOut());
  // It still reads, only slowly.
  EXPECT_TRUE(printer.WaitForReceived(1, kWaitMs));
}

TEST_F(VirtualPrinterTest, GsIReportsTheIdentity) {
  Client c;
  ASSERT_TRUE(c.Connect(printer.Port()));
  c.Send({0x1D, 0x49, 0x43});
  Bytes reply = c.Read(12);
  EXPECT_EQ(reply, (Bytes{'_', 'V', 'I', 'R', 'T', 'U', 'A', 'L', '-', '8', '0', 0x00}));
}

TEST(VirtualPrinter, StopEndsAnOpenConnectionAndStartWorksAgain) {
  VirtualPrinter printer;
  EXPECT_FALSE(printer.Running());
  ASSERT_TRUE(printer.Start(0));
  EXPECT_FALSE(printer.Start(0));  // already running
  Client c;
  ASSERT_TRUE(c.Connect(printer.Port()));
  ASSERT_TRUE(printer.WaitForConnections(1, kWaitMs));
  printer.Stop();
  EXPECT_FALSE(printer.Running());
  EXPECT_TRUE(Eventually([&] { return c.Socket().PeerHasClosed(); }));
  printer.DropConnection();  // harmless when stopped

  ASSERT_TRUE(printer.Start(0));
  Client again;
  ASSERT_TRUE(again.Connect(printer.Port()));
  again.Send({0x10, 0x04, 0x04});
  EXPECT_EQ(again.Read(1), Bytes{0x12});
}

TEST(VirtualPrinter, BusyPortIsReported) {
  VirtualPrinter a;
  ASSERT_TRUE(a.Start(0));
  VirtualPrinter b;
  EXPECT_FALSE(b.Start(a.Port()));
}

TEST(VirtualPrinter, StateChangesFromAnotherThreadUnderLoad) {
  VirtualPrinter printer;
  ASSERT_TRUE(printer.Start(0));
  Client c;
  ASSERT_TRUE(c.Connect(printer.Port()));
  std::atomic<bool> done{false};
  std::thread flipper([&] {
    PrinterState s;
    while (!done) {
      s.coverOpen = !s.coverOpen;
      printer.SetState(s);
      std::this_thread::yield();
    }
  });
  // Every answer must be one of the two states' answers, whatever the timing.
  for (int i = 0; i < 200; ++i) {
    c.Send({0x10, 0x04, 0x02});
    Bytes r = c.Read(1);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_TRUE(r[0] == 0x12 || r[0] == 0x16) << int(r[0]);
  }
  done = true;
  flipper.join();
}

}  // namespace
}  // namespace sim
