#include "sim/printer_logic.h"

#include <gtest/gtest.h>

#include <vector>

namespace sim {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Feed(PrinterLogic& logic, const Bytes& in, const PrinterState& state = PrinterState()) {
  Bytes replies;
  logic.Receive(in.data(), in.size(), state, &replies);
  return replies;
}

PrinterState PaperOut() {
  PrinterState s;
  s.paperOut = true;
  return s;
}

TEST(PrinterLogic, StatusRequestsAreAnsweredInOrder) {
  PrinterLogic logic;
  EXPECT_EQ(Feed(logic, {0x10, 0x04, 0x01, 0x10, 0x04, 0x02, 0x10, 0x04, 0x04, 0x1D, 0x72, 0x01, 0x1D, 0x72, 0x02},
                 PaperOut()),
            (Bytes{0x1A, 0x32, 0x72, 0x0C, 0x00}));
  // No answer to requests the printer does not know, nor to plain output.
  EXPECT_EQ(Feed(logic, {0x10, 0x04, 0x05, 0x1D, 0x72, 0x03, 'A', 0x0A, 0x1B, 0x40}), Bytes{});
}

TEST(PrinterLogic, RequestSplitAcrossReadsIsAnsweredOnceComplete) {
  PrinterLogic logic;
  EXPECT_EQ(Feed(logic, {0x1B, 0x40, 0x10}), Bytes{});
  EXPECT_EQ(Feed(logic, {0x04}), Bytes{});
  EXPECT_EQ(Feed(logic, {0x02}, PaperOut()), Bytes{0x32});
  EXPECT_EQ(Feed(logic, {0x1D}), Bytes{});
  EXPECT_EQ(Feed(logic, {0x72, 0x01}, PaperOut()), Bytes{0x0C});
}

TEST(PrinterLogic, StatusRequestBytesInsideParametersAreNotAnswered) {
  PrinterLogic logic;
  // GS L whose nL nH are 10 04, followed by 01: there is no DLE EOT 1 here.
  EXPECT_EQ(Feed(logic, {0x1D, 0x4C, 0x10, 0x04, 0x01}), Bytes{});
  // Image data and symbol data full of request bytes.
  EXPECT_EQ(Feed(logic, {0x1D, 0x76, 0x30, 0x00, 0x03, 0x00, 0x01, 0x00, 0x10, 0x04, 0x01}), Bytes{});
  EXPECT_EQ(Feed(logic, {0x1D, 0x28, 0x6B, 0x06, 0x00, 0x31, 0x50, 0x30, 0x1D, 0x72, 0x01}), Bytes{});
  EXPECT_EQ(Feed(logic, {0x1D, 0x6B, 0x49, 0x03, 0x10, 0x04, 0x01}), Bytes{});
  // Afterwards a real request is answered.
  EXPECT_EQ(Feed(logic, {0x10, 0x04, 0x01}), Bytes{0x12});
}

TEST(PrinterLogic, AutomaticStatusBackOnPushesAtOnceAndOnChanges) {
  PrinterLogic logic;
  PrinterState s;
  Bytes replies;
  logic.StateChanged(s, &replies);
  EXPECT_TRUE(replies.empty());  // off at the start
  EXPECT_EQ(Feed(logic, {0x1D, 0x61, 0xFF}, s), (Bytes{0x10, 0x00, 0x00, 0x00}));
  EXPECT_TRUE(logic.AutomaticStatusOn());
  s.coverOpen = true;
  logic.StateChanged(s, &replies);
  EXPECT_EQ(replies, (Bytes{0x38, 0x00, 0x00, 0x00})) << "cover open and therefore offline";
  // ESC @ leaves automatic status back on.
  EXPECT_EQ(Feed(logic, {0x1B, 0x40}, s), Bytes{});
  EXPECT_TRUE(logic.AutomaticStatusOn());
  EXPECT_EQ(logic.ResetsSeen(), 1);
  EXPECT_EQ(Feed(logic, {0x1D, 0x61, 0x00}, s), Bytes{});
  EXPECT_FALSE(logic.AutomaticStatusOn());
  replies.clear();
  logic.StateChanged(PaperOut(), &replies);
  EXPECT_TRUE(replies.empty());
}

TEST(PrinterLogic, FramedRequestIsAnsweredUnframed) {
  PrinterLogic logic;
  EXPECT_EQ(Feed(logic, {0xAA, 0x03, 0x10, 0x04, 0x04, 0x10 ^ 0x04 ^ 0x04}, PaperOut()), Bytes{});
  EXPECT_EQ(Feed(logic, {0xBB}, PaperOut()), Bytes{0x72});
  // A frame with a wrong checksum is dropped.
  EXPECT_EQ(Feed(logic, {0xAA, 0x03, 0x10, 0x04, 0x01, 0x00, 0xBB}), Bytes{});
}

TEST(PrinterLogic, HeldFrameStartIsReadAsDataWhenNothingMoreComes) {
  PrinterLogic logic;
  // 0xAA 0x05 could begin a frame; the request behind it waits until idle.
  EXPECT_EQ(Feed(logic, {0xAA, 0x05, 0x10, 0x04, 0x01}), Bytes{});
  Bytes replies;
  logic.Idle(PrinterState(), &replies);
  EXPECT_EQ(replies, Bytes{0x12});
}

// The printer keeps its page mode and stored symbols between reads and
// counts what it will not act on; a new connection starts afresh.
TEST(PrinterLogic, PageModeAndStoredSymbolsDecideWhatIsTaken) {
  const Bytes qrStore = {0x1D, 0x28, 0x6B, 0x04, 0x00, 0x31, 0x50, 0x30, 'Q'};
  const Bytes qrPrint = {0x1D, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x51, 0x30};
  PrinterLogic logic;
  Feed(logic, {0x0C, 0x18});  // FF and CAN in standard mode
  EXPECT_EQ(logic.InvalidCommands(), 2);
  Feed(logic, {0x1B, 0x4C, 0x1D, 0x24});
  EXPECT_TRUE(logic.Modes().PageMode());
  Feed(logic, {0x10, 0x00, 0x18});  // the rest of GS $ 16 0, then CAN
  EXPECT_EQ(logic.InvalidCommands(), 2);
  Feed(logic, qrPrint);
  EXPECT_EQ(logic.InvalidCommands(), 3) << "nothing stored yet";
  Feed(logic, qrStore);
  Feed(logic, qrPrint);
  Feed(logic, {0x0C});
  EXPECT_FALSE(logic.Modes().PageMode());
  EXPECT_EQ(logic.InvalidCommands(), 3);
  // A status request is answered whatever the mode.
  EXPECT_EQ(Feed(logic, {0x1B, 0x4C, 0x10, 0x04, 0x01}), Bytes{0x12});
  logic.JobEnded();
  EXPECT_FALSE(logic.Modes().PageMode());
  EXPECT_FALSE(logic.Modes().QrStored());
  Feed(logic, qrPrint);
  EXPECT_EQ(logic.InvalidCommands(), 4);
}

TEST(PrinterLogic, IdentityRequests) {
  PrinterIdentity id;
  id.firmware = "2.5";
  id.typeId = 0x06;
  PrinterLogic logic(id);
  EXPECT_EQ(Feed(logic, {0x1D, 0x49, 0x41}), (Bytes{'_', '2', '.', '5', 0x00}));
  EXPECT_EQ(Feed(logic, {0x1D, 0x49, 0x02}), Bytes{0x06});
  EXPECT_EQ(Feed(logic, {0x1D, 0x49, 0x42}), (Bytes{'_', 'Z', 'O', 'B', 'E', 'L', 'S', 'O', 0x00}));
  EXPECT_EQ(Feed(logic, {0x1D, 0x49, 0x10}), Bytes{});
}

}  // namespace
}  // namespace sim
