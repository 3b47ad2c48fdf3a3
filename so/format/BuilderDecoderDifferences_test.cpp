// Builder output that a printer reads differently from what the builder's
// name promises. The bytes are fixed as they are (the command set is given
// exactly); these tests pin what the decoder, which reads by the ESC/POS
// meaning, makes of them, so that a change on either side is noticed.
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

// 10 14 01 08 is DLE DC4 fn 1 with m = 8 and no t: the ESC/POS pulse command
// has five bytes (DLE DC4 1 m t, m 0 or 1), so a printer takes the next byte
// as t. Nothing on this side can tell the four-byte form from the five-byte
// one, so the decoder reads it the ESC/POS way.
TEST(BuilderDecoderDifferences, RealtimeFunction1HasNoT) {
  CCmdHelperBase base;
  auto call = [](CCmdHelperBase& h, PrinterBuffer& out) { h.RealtimeFunction1(out); };
  EXPECT_EQ(Decode(Built(base, call)), "INCOMPLETE 10 14 01 08\n");
  Bytes stream = Built(base, call);
  const Bytes init = {0x1B, 0x40};
  stream.insert(stream.end(), init.begin(), init.end());
  // ESC becomes t, and the @ of ESC @ is printed as text.
  EXPECT_EQ(Decode(stream), Joined(L("DLE DC4 1 8 27", "TEXT \"@\"")));
  ExpectQxAppendsNothing(call);
}

// DLE DC4 alone: the caller appends the function and its parameters.
TEST(BuilderDecoderDifferences, RealtimePrefixTakesTheFunctionThatFollows) {
  CCmdHelperBase base;
  auto call = [](CCmdHelperBase& h, PrinterBuffer& out) { h.RealtimePrefix(out); };
  EXPECT_EQ(Decode(Built(base, call)), "INCOMPLETE 10 14\n");
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
// n alone, so the next byte becomes that parameter. The service asks only
// for 1..4.
TEST(BuilderDecoderDifferences, RealtimeStatusBeyondFour) {
  CCmdHelperBase base;
  PrinterBuffer out(32, 32);
  base.RequestRealtimeStatus(out, 7);
  base.LineFeed(out);
  base.RequestRealtimeStatus(out, 5);
  EXPECT_EQ(Decode(Content(out)), Joined(L("DLE EOT 7 10", "DLE EOT 5")));
}

// GS ( L / GS 8 L function 67 is m fn a kc1 kc2 b xL xH yL yH and the
// planes, with a = 48. The NV definition of the standard helper leaves a
// out, so the printer reads kc1 as a, kc2 and b as the key, and so on; the
// declared length still covers the command, so the stream stays in step.
TEST(BuilderDecoderDifferences, NvGraphicsDefinitionWithoutToneByte) {
  CCmdHelperBase base;
  PrinterBuffer out(32, 32);
  const Bytes data = Tricky(8);
  ASSERT_TRUE(base.DefineNvGraphics(out, 'A', 'B', false, 16, 2, data.data(), data.size()));
  ASSERT_TRUE(base.DefineNvGraphics(out, 'C', 'D', true, 16, 2, data.data(), data.size()));
  base.LineFeed(out);
  // With a, the first would read "GS 8 L 48 67 48 65 66 1 16 0 2 0 [5 bytes]".
  EXPECT_EQ(Decode(Content(out)), Joined(L("GS 8 L 48 67 65 66 1 16 0 2 0 49 [4 bytes]",
                                           "GS 8 L 48 67 67 68 2 16 0 2 0 50 [9 bytes]", "LF")));
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

// ESC D takes at most 32 stops, each above the one before; the list ends at
// NUL or at the first stop that does not rise. SetTabs sends any list as it
// is, so the rest of a list a printer does not take is printed as data.
TEST(BuilderDecoderDifferences, TabListsAPrinterCutsShort) {
  CCmdHelperBase base;
  uint8_t thirtyThree[33];
  for (int i = 0; i < 33; ++i) thirtyThree[i] = static_cast<uint8_t>(0x40 + i);  // '@' .. '`'
  PrinterBuffer out(32, 32);
  base.SetTabs(out, thirtyThree, sizeof thirtyThree);
  std::string first32 = "ESC D";
  for (int i = 0; i < 32; ++i) first32 += " " + std::to_string(0x40 + i);
  EXPECT_EQ(Decode(Content(out)), Joined(L(first32, "TEXT \"`\"", "BYTES 00")));

  PrinterBuffer falling(32, 32);
  const uint8_t down[] = {16, 8, 20};
  base.SetTabs(falling, down, sizeof down);
  EXPECT_EQ(Decode(Content(falling)), Joined(L("ESC D 16 8", "BYTES 14 00")));

  PrinterBuffer withNul(32, 32);
  const uint8_t inner[] = {8, 0, 'X'};
  base.SetTabs(withNul, inner, sizeof inner);
  EXPECT_EQ(Decode(Content(withNul)), Joined(L("ESC D 8 0", "TEXT \"X\"", "BYTES 00")));
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
