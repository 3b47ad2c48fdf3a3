// Builders against the virtual printer's decoder: whole streams of builder
// output, unframed and in the QX1270 family's checksummed frames.
#include <string>

#include "so/format/BuilderTranscript_test.h"

namespace QEL {
namespace Printer {
namespace test {
namespace {

std::vector<TranscriptRow> AllRows() {
  std::vector<TranscriptRow> all;
  for (auto table : {PrintControlRows, CharacterRows, PageModeRows, SetupRows, GraphicsRows,
                     SymbolRows, BarcodeAndCutRows, FamilyCommandRows}) {
    const std::vector<TranscriptRow> rows = table();
    all.insert(all.end(), rows.begin(), rows.end());
  }
  return all;
}

Bytes Content(const PrinterBuffer& b) { return Bytes(b.data(), b.data() + b.size()); }

// Every builder call of every group in one buffer, forwards and backwards:
// each command then has other neighbours, and one whose length the decoder
// reads differently takes bytes from them or leaves some behind.
TEST_F(BuilderDecoder, AllGroupsAsOneStream) { ExpectSequences(AllRows(), "all groups"); }

// The QX1270 output of every group packed into frames: the frames cut the
// commands at every 46th byte, and the payload still reads as the same
// commands, whichever frame each of them ends in.
TEST_F(BuilderDecoder, FramedStreamReadsAsTheUnframedCommands) {
  CmdHelper_QX1270 qx;
  Bytes all;
  Lines expected;
  for (const TranscriptRow& row : AllRows()) {
    // The real-time request is framed by its builder already.
    if (HasFrame(row.Expected(true))) continue;
    const Bytes b = Build(qx, row);
    all.insert(all.end(), b.begin(), b.end());
    const Lines& l = row.Expected(true);
    expected.insert(expected.end(), l.begin(), l.end());
  }
  ASSERT_GT(all.size(), 46u * 20);
  ExpectFramedReadsAs(all, expected, "all groups");
}

TEST(BuilderDecoderFraming, FramesShowWhereEachCommandEnds) {
  CmdHelper_QX1270 qx;
  PrinterBuffer job(32, 32);
  qx.InitializePrinter(job);
  const Bytes data(60, 'Q');
  qx.QrStore(job, data.data(), data.size());  // 68 bytes from offset 2: ends in the second frame
  qx.LineFeed(job);
  PrinterBuffer framed(32, 32);
  qx.PackOutput(framed, job);
  EXPECT_EQ(Decode(Content(framed)),
            Joined(L("FRAME {", "  ESC @", "}", "FRAME {",
                     "  GS ( k 49 80 48 \"" + std::string(60, 'Q') + "\"", "  LF", "}")));
}

TEST(BuilderDecoderFraming, SmallJobIsOneFrame) {
  CmdHelper_QX1270 qx;
  PrinterBuffer job(32, 32);
  qx.InitializePrinter(job);
  qx.LineFeed(job);
  PrinterBuffer framed(32, 32);
  qx.PackOutput(framed, job);
  EXPECT_EQ(Decode(Content(framed)), Joined(L("FRAME {", "  ESC @", "  LF", "}")));
  // Nothing to send makes no frame at all.
  PrinterBuffer empty(32, 32), none(32, 32);
  qx.PackOutput(none, empty);
  EXPECT_EQ(Decode(Content(none)), "");
}

// Parameters equal to the frame bytes stay parameters, and a full 46-byte
// frame of them is still read whole.
TEST(BuilderDecoderFraming, FrameBytesInsideCommands) {
  CmdHelper_QX1270 qx;
  PrinterBuffer job(32, 32);
  for (int i = 0; i < 11; ++i) qx.SetLeftMargin(job, 0xBBAA);  // 44 bytes
  qx.SetRightSpacing(job, 0xAA);  // nothing on this family
  qx.SetLineSpacing(job, 0xAA);   // bytes 45..47: crosses into the second frame
  PrinterBuffer framed(32, 32);
  qx.PackOutput(framed, job);
  Lines expected = {"FRAME {"};
  for (int i = 0; i < 11; ++i) expected.push_back("  GS L 170 187");
  expected.insert(expected.end(), {"}", "FRAME {", "  ESC 3 170", "}"});
  EXPECT_EQ(Decode(Content(framed)), Joined(expected));
}

// Framed print data followed by the family's framed status request, as the
// output path sends them one after the other.
TEST(BuilderDecoderFraming, StatusRequestAfterFramedData) {
  CmdHelper_QX1270 qx;
  PrinterBuffer job(32, 32);
  qx.SetPrintMode(job, false, true, false, false, false);
  qx.LineFeed(job);
  PrinterBuffer wire(32, 32);
  qx.PackOutput(wire, job);
  qx.RequestRealtimeStatus(wire, 4);
  EXPECT_EQ(Decode(Content(wire)),
            Joined(L("FRAME {", "  ESC ! 8", "  LF", "}", "FRAME {", "  DLE EOT 4", "}")));
}

// The standard command set sends data as it is.
TEST(BuilderDecoderFraming, StandardHelperSendsDataUnframed) {
  CCmdHelperBase base;
  PrinterBuffer job(32, 32);
  for (int i = 0; i < 30; ++i) base.SetLeftMargin(job, 0xBBAA);
  PrinterBuffer wire(32, 32);
  base.PackOutput(wire, job);
  Lines expected(30, "GS L 170 187");
  EXPECT_EQ(Decode(Content(wire)), Joined(expected));
}

}  // namespace
}  // namespace test
}  // namespace Printer
}  // namespace QEL
