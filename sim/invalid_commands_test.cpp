// Malformed commands made by hand reach the transcript as INVALID lines, in
// the middle of a job as a printer reads it, and are counted by the printer
// side and by the virtual printer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/tcp_socket.h"
#include "sim/byte_builders_test.h"
#include "sim/printer_logic.h"
#include "sim/transcript.h"
#include "sim/virtual_printer.h"

namespace sim {
namespace {

using namespace testbytes;

struct JobCase {
  const char* what;
  Bytes job;
  std::string transcript;
};

TEST(InvalidCommands, MalformedCommandsReadAsInvalidInTheirJob) {
  Bytes thirtyThree = B({0x1B, 0x44});
  for (int stop = 1; stop <= 33; ++stop) thirtyThree.push_back(static_cast<uint8_t>(stop));
  std::string thirtyTwoLine = "INVALID ESC D";
  for (int stop = 1; stop <= 32; ++stop) thirtyTwoLine += " " + std::to_string(stop);
  thirtyTwoLine += ": more than 32 stops\n";

  const JobCase cases[] = {
      // The length says 13, the data is 12 digits: the printer takes the ESC
      // of the next command as the 13th and prints its @.
      {"GS k with a length that disagrees", B({0x1D, 0x6B, 0x43, 0x0D}) + Text("490123456789") + B({0x1B, 0x40}),
       "INVALID GS k 67 13 \"490123456789\\x1B\": EAN-13 data byte 0x1B is not a digit\nTEXT \"@\"\n"},
      {"DLE DC4 without its function", B({0x10, 0x14, 0x1B, 0x40}),
       "INVALID DLE DC4 27: no function 27\nTEXT \"@\"\n"},
      {"the four-byte drawer pulse", B({0x10, 0x14, 0x01, 0x08, 0x1B, 0x40}),
       "INVALID DLE DC4 1 8 27: m 8 outside 0..1\nTEXT \"@\"\n"},
      {"ESC D with a falling stop", B({0x1B, 0x44, 0x10, 0x08, 0x0A}),
       "INVALID ESC D 16 8: stop 8 does not rise above 16\nLF\n"},
      {"ESC D with 33 stops", thirtyThree + B({0x00}), thirtyTwoLine + "TEXT \"!\"\nBYTES 00\n"},
      {"GS 8 L fn 67 with a wrong p",
       B({0x1D, 0x38, 0x4C, 0x0E, 0x00, 0x00, 0x00, 0x30, 0x43, 0x30, 'A', 'B', 0x01, 0x0A, 0x00, 0x02, 0x00, 0x31,
          0xFF, 0xFF, 0x0A}),
       "INVALID GS 8 L 48 67 48 65 66 1 10 0 2 0 [4 bytes]: p 14 where the command takes 15\n"},
      {"GS h 0", B({0x1D, 0x68, 0x00, 0x1D, 0x68, 0xA2}), "INVALID GS h 0: n 0 outside 1..255\nGS h 162\n"},
      {"a good job", B({0x1B, 0x40, 0x1D, 0x77, 0x03}) + Text("ok") + B({0x0A}), "ESC @\nGS w 3\nTEXT \"ok\"\nLF\n"},
  };
  for (const JobCase& c : cases) {
    const std::string transcript = DecodeTranscript(c.job);
    EXPECT_EQ(transcript, c.transcript) << c.what;
    EXPECT_EQ(CountInvalidLines(transcript), c.transcript.find("INVALID") == std::string::npos ? 0 : 1) << c.what;
  }
}

TEST(InvalidCommands, ACommandCutShortByTheEndOfTheJob) {
  const Bytes job = Text("A") + B({0x10, 0x14});
  EXPECT_EQ(DecodeTranscript(job), "TEXT \"A\"\nINCOMPLETE 10 14\n");
  const std::string ended = DecodeTranscript(job, JobEnd::kEnded);
  EXPECT_EQ(ended, "TEXT \"A\"\nINVALID DLE DC4: cut short by the end of the job, 10 14\n");
  EXPECT_EQ(CountInvalidLines(ended), 1);
  EXPECT_EQ(DecodeTranscript(B({0x1D, 0x28, 0x6B, 0x05}), JobEnd::kEnded),
            "INVALID GS ( k: cut short by the end of the job, 1D 28 6B 05\n");
  EXPECT_EQ(DecodeTranscript(Text("A"), JobEnd::kEnded), "TEXT \"A\"\n");
}

TEST(InvalidCommands, InsideFramesTheFamilysRulesApply) {
  // GS E 10 is beyond the family's print densities; outside a frame GS E is
  // another command and takes any n.
  const Bytes payload = B({0x1D, 0x45, 0x0A, 0x0A});
  uint8_t x = 0;
  for (uint8_t b : payload) x ^= b;
  const std::string framed = DecodeTranscript(B({0xAA, 0x04}) + payload + B({x, 0xBB}));
  EXPECT_EQ(framed, "FRAME {\n  INVALID GS E 10: n 10 outside 0..9\n  LF\n}\n");
  EXPECT_EQ(CountInvalidLines(framed), 1);
  EXPECT_EQ(DecodeTranscript(payload), "GS E 10\nLF\n");
}

TEST(InvalidCommands, PrinterLogicCountsWithoutActingOnThem) {
  PrinterLogic logic;
  PrinterState state;
  Bytes replies;
  // DLE EOT 5 and GS r 3 ask for nothing a printer has, GS h 0 is no
  // height; the DLE EOT 1 after them is answered.
  const Bytes in = B({0x10, 0x04, 0x05, 0x1D, 0x72, 0x03, 0x1D, 0x68, 0x00, 0x10, 0x04, 0x01});
  logic.Receive(in.data(), in.size(), state, &replies);
  EXPECT_EQ(replies, B({0x12}));
  EXPECT_EQ(logic.InvalidCommands(), 3);
  const Bytes tail = B({0x10, 0x14});
  logic.Receive(tail.data(), tail.size(), state, &replies);
  EXPECT_EQ(logic.InvalidCommands(), 3) << "more bytes may still come";
  logic.JobEnded();
  EXPECT_EQ(logic.InvalidCommands(), 4);
  logic.JobEnded();
  EXPECT_EQ(logic.InvalidCommands(), 4) << "nothing was left over";
}

TEST(InvalidCommands, TheVirtualPrinterCountsThemPerClosedConnection) {
  VirtualPrinter printer;
  ASSERT_TRUE(printer.Start(0));
  {
    platform::TcpSocket client;
    ASSERT_TRUE(client.Create());
    ASSERT_TRUE(client.Connect(platform::ParseIPv4("127.0.0.1"), printer.Port(), 5000));
    const Bytes job = B({0x1B, 0x40, 0x1D, 0x77, 0x09, 0x1D, 0x68, 0x50, 0x10, 0x14});
    size_t sent = 0;
    ASSERT_TRUE(client.Send(job.data(), job.size(), 2000, &sent));
    ASSERT_EQ(sent, job.size());
    ASSERT_TRUE(printer.WaitForReceived(job.size(), 5000));
  }
  ASSERT_TRUE(printer.WaitForIdle(1, 5000));
  // GS w 9, and the DLE DC4 the connection ended in.
  EXPECT_EQ(printer.InvalidCommands(), 2);
  EXPECT_EQ(CountInvalidLines(printer.Transcript()), 1) << printer.Transcript();
  printer.Stop();
}

// Each connection is a session of its own: the page and the symbol data of
// the first are gone in the second, in the count and in the transcript.
TEST(InvalidCommands, TheVirtualPrinterStartsEachConnectionAfresh) {
  VirtualPrinter printer;
  ASSERT_TRUE(printer.Start(0));
  const Bytes jobs[] = {
      B({0x1B, 0x4C, 0x1D, 0x28, 0x6B, 0x04, 0x00, 0x31, 0x50, 0x30, 'Q'}) + Text("A"),
      B({0x0C, 0x1D, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x51, 0x30}),
  };
  int connections = 0;
  size_t total = 0;
  for (const Bytes& job : jobs) {
    platform::TcpSocket client;
    ASSERT_TRUE(client.Create());
    ASSERT_TRUE(client.Connect(platform::ParseIPv4("127.0.0.1"), printer.Port(), 5000));
    size_t sent = 0;
    ASSERT_TRUE(client.Send(job.data(), job.size(), 2000, &sent));
    ASSERT_EQ(sent, job.size());
    total += job.size();
    ASSERT_TRUE(printer.WaitForHandled(total, 5000));
    client.Close();
    ASSERT_TRUE(printer.WaitForIdle(++connections, 5000));
  }
  EXPECT_EQ(printer.InvalidCommands(), 2);
  EXPECT_EQ(printer.Transcript(),
            "ESC L\nPAGE begin\nQR store \"Q\"\nTEXT \"A\"\n"
            "INVALID FF: ignored in standard mode\nINVALID QR print: no QR data stored\n");
  printer.Stop();
}

}  // namespace
}  // namespace sim
