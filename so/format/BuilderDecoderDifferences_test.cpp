// Builder output that a printer reads differently from what a call might
// suggest, kept on purpose (the caller completes it, or the service never
// sends it that way), and the bytes the builders used to send, which the
// strict decoder catches.
#include <string>

#include "so/format/BuilderTranscript_test.h"

namespace QEL {
namespace Printer {
namespace test {
namespace {

Bytes Content(const PrinterBuffer& b) { return Bytes(b.data(), b.data() + b.size()); }

template <typename Build>
Bytes Built(CCmdHelperBase& h, Build build) {
  PrinterBuffer out(32, 32);
  build(h, out);
  return Content(out);
}

template <typename Build>
void ExpectQxAppendsNothing(Build build) {
  CmdHelper_QX1270 qx;
  EXPECT_TRUE(Built(qx, build).empty());
}

// The drawer pulse in real time has five bytes, DLE DC4 1 m t. The four
// bytes 10 14 01 08 once sent for it are caught: m 8 is no pin, and the
// printer takes the ESC of the next command for t and prints its @.
TEST(BuilderDecoderDifferences, RealtimePulseHasItsPinAndTime) {
  CCmdHelperBase base;
  auto call = [](CCmdHelperBase& h, PrinterBuffer& out) {
    h.RealtimeFunction1(out, 1, 5);
    h.InitializePrinter(out);
  };
  EXPECT_EQ(Decode(Built(base, call)), Joined(L("DLE DC4 1 1 5", "ESC @")));
  EXPECT_EQ(Decode({0x10, 0x14, 0x01, 0x08, 0x1B, 0x40}),
            Joined(L("INVALID DLE DC4 1 8 27: m 8 outside 0..1", "TEXT \"@\"")));
  ExpectQxAppendsNothing([](CCmdHelperBase& h, PrinterBuffer& out) { h.RealtimeFunction1(out, 1, 5); });
}

// DLE DC4 alone: the caller appends the function and its parameters.
TEST(BuilderDecoderDifferences, RealtimePrefixTakesTheFunctionThatFollows) {
  CCmdHelperBase base;
  auto call = [](CCmdHelperBase& h, PrinterBuffer& out) { h.RealtimePrefix(out); };
  EXPECT_EQ(Decode(Built(base, call)), "INCOMPLETE 10 14\n");
  // Sent alone at the end of a job it is cut short.
  EXPECT_EQ(sim::DecodeTranscript(Built(base, call), sim::JobEnd::kEnded),
            "INVALID DLE DC4: cut short by the end of the job, 10 14\n");
  Bytes stream = Built(base, call);
  const Bytes pulse = {0x01, 0x00, 0x05};
  stream.insert(stream.end(), pulse.begin(), pulse.end());
  EXPECT_EQ(Decode(stream), "DLE DC4 1 0 5\n");
  ExpectQxAppendsNothing(call);
}

// 1B 1B 1B is no ESC/POS command: each ESC followed by a control byte is
// unknown on its own, and the last ESC takes whatever follows.
TEST(BuilderDecoderDifferences, EscapeTripletIsNoCommand) {
  CCmdHelperBase base;
  auto call = [](CCmdHelperBase& h, PrinterBuffer& out) { h.EscapeTriplet(out); };
  EXPECT_EQ(Decode(Built(base, call)), Joined(L("BYTES 1B 1B", "INCOMPLETE 1B")));
  Bytes beforeCommand = Built(base, call);
  beforeCommand.insert(beforeCommand.end(), {0x1B, 0x40});
  EXPECT_EQ(Decode(beforeCommand), Joined(L("BYTES 1B 1B 1B", "ESC @")));
  Bytes beforeText = Built(base, call);
  beforeText.insert(beforeText.end(), {'A', 'B'});
  EXPECT_EQ(Decode(beforeText), Joined(L("BYTES 1B 1B 1B 41", "TEXT \"B\"")));
  ExpectQxAppendsNothing(call);
}

// Buffer clear is DLE DC4 8 1 3 20 1 6 2 8, all in decimal.
TEST(BuilderDecoderDifferences, ClearBuffersParameters) {
  CCmdHelperBase base;
  auto call = [](CCmdHelperBase& h, PrinterBuffer& out) { h.ClearBuffers(out); };
  EXPECT_EQ(Decode(Built(base, call)), "DLE DC4 8 1 3 20 1 6 2 8\n");
  ExpectQxAppendsNothing(call);
}

// DLE EOT 7 and 8 carry one more byte (the status kind); the builder sends
// n alone, so the next byte becomes that parameter, and 5 asks for nothing
// a printer has. The service asks only for 1..4.
TEST(BuilderDecoderDifferences, RealtimeStatusBeyondFour) {
  CCmdHelperBase base;
  PrinterBuffer out(32, 32);
  base.RequestRealtimeStatus(out, 7);
  base.LineFeed(out);
  base.RequestRealtimeStatus(out, 5);
  EXPECT_EQ(Decode(Content(out)), Joined(L("INVALID DLE EOT 7 10: a 10 outside 1..2",
                                           "INVALID DLE EOT 5: n 5 outside 1..4, 7 or 8")));
}

// The bytes the builders used to send for commands a printer reads another
// way, one per fault: the strict decoder flags each of them.
TEST(BuilderDecoderDifferences, TheBytesOnceSentAreCaught) {
  const Bytes plane = {0x55, 0x55, 0x55, 0x55};  // 16 x 2 dots
  auto concat = [](Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const struct {
    const char* fault;
    Bytes bytes;
    Lines lines;
  } cases[] = {
      {"NV definition without a",
       concat({0x1D, 0x38, 0x4C, 0x0E, 0x00, 0x00, 0x00, 0x30, 0x43, 'A', 'B', 0x01, 0x10, 0x00, 0x02, 0x00, 0x31},
              plane),
       L("INVALID GS 8 L 48 67 65 66 1 16 0 2 0 49 [4 bytes]: a 65 outside 48")},
      {"two-tone planes both in colour 2",
       concat(concat({0x1D, 0x38, 0x4C, 0x14, 0x00, 0x00, 0x00, 0x30, 0x43, 0x30, 'A', 'B', 0x02, 0x10, 0x00, 0x02,
                      0x00, 0x32},
                     plane),
              concat({0x32}, plane)),
       L("INVALID GS 8 L 48 67 48 65 66 2 16 0 2 0 [10 bytes]: first colour 50 outside 49")},
      {"raster header length of width x height / 8",
       concat({0x1D, 0x28, 0x4C, 0x0D, 0x00, 0x30, 0x43, 0x30, 'A', 'B', 0x01, 0x0A, 0x00, 0x02, 0x00, 0x31},
              {0x00, 0x00, 0x00, 0x00}),
       L("INVALID GS ( L 48 67 48 65 66 1 10 0 2 0 [3 bytes]: p 13 where the command takes 15", "BYTES 00 00")},
      {"GS h with the low byte of 256 dots", {0x1D, 0x68, 0x00}, L("INVALID GS h 0: n 0 outside 1..255")},
      {"GS w of 7", {0x1D, 0x77, 0x07}, L("INVALID GS w 7: n 7 outside 2..6")},
      {"ESC D with a falling stop", {0x1B, 0x44, 0x10, 0x08, 0x14, 0x00},
       L("INVALID ESC D 16 8: stop 8 does not rise above 16", "BYTES 14 00")},
      {"DLE ENQ 0", {0x10, 0x05, 0x00}, L("INVALID DLE ENQ 0: n 0 outside 1..2")},
  };
  for (const auto& c : cases) EXPECT_EQ(Decode(c.bytes), Joined(c.lines)) << c.fault;
}

// The QX1270 family's FS q gives width and height in dots and sends the
// planes without colour bytes; ESC/POS FS q n gives them in units of 8 dots
// and reads x * y * 8 bytes per image. Inside the family's frames the decoder
// reads the family's form; outside it cannot know and reads ESC/POS.
TEST(BuilderDecoderDifferences, FamilyNvDefinitionOutsideAndInsideFrames) {
  CmdHelper_QX1270 qx;
  PrinterBuffer job(32, 32);
  const Bytes plane = Tricky(4);
  ASSERT_TRUE(qx.DefineNvGraphics(job, 'A', 'B', false, 16, 2, plane.data(), plane.size()));
  qx.LineFeed(job);
  // Unframed: ESC/POS wants 16 * 2 * 8 bytes and swallows the LF with them.
  EXPECT_EQ(Decode(Content(job)), "INCOMPLETE 1C 71 01 10 00 02 00 10 04 01 1B 0A\n");
  ExpectFramedReadsAs(Content(job), L("FS q 1 16 0 2 0 [4 bytes]", "LF"), "one plane");

  // Large enough to span several frames.
  PrinterBuffer big(32, 32);
  const Bytes raster = Tricky(40 * 30);
  ASSERT_TRUE(qx.DefineNvGraphics(big, 'A', 'B', false, 320, 30, raster.data(), raster.size()));
  qx.PrintNvGraphics(big, 'A', 'B', 2, 2);
  ExpectFramedReadsAs(Content(big), L("FS q 1 64 1 30 0 [1200 bytes]", "FS p 1 3"), "320 x 30");
}

// The number of planes is not in the family's FS q: a two-tone definition
// reads as a one-plane definition followed by the second plane as data.
TEST(BuilderDecoderDifferences, FamilyTwoToneNvDefinitionLeavesItsSecondPlane) {
  CmdHelper_QX1270 qx;
  PrinterBuffer job(32, 32);
  Bytes planes(4, 0x41);
  planes.insert(planes.end(), 4, 0x42);
  ASSERT_TRUE(qx.DefineNvGraphics(job, 'A', 'B', true, 16, 2, planes.data(), planes.size()));
  ExpectFramedReadsAs(Content(job), L("FS q 1 16 0 2 0 [4 bytes]", "TEXT \"BBBB\""), "two planes");
}

// Curved text ends at the first NUL, so text holding a NUL ends the command
// early and the rest is printed as ordinary text.
TEST(BuilderDecoderDifferences, CurvedTextHoldingANul) {
  CmdHelper_QX1270 qx;
  PrinterBuffer out(32, 32);
  const Bytes text = {'A', 0x00, 'B'};
  qx.CurveTextCommand(out, 0, 10, text.data(), text.size());
  EXPECT_EQ(Decode(Content(out)), Joined(L("GS \" 0 10 0 \"A\"", "TEXT \"B\"", "BYTES 00")));
}

}  // namespace
}  // namespace test
}  // namespace Printer
}  // namespace QEL
