#include "sim/transcript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sim {
namespace {

std::vector<uint8_t> B(std::initializer_list<int> bytes) {
  std::vector<uint8_t> v;
  for (int b : bytes) v.push_back(static_cast<uint8_t>(b));
  return v;
}

std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<uint8_t> Text(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b, const std::vector<uint8_t>& c) {
  return a + b + c;
}

struct Case {
  std::vector<uint8_t> bytes;
  const char* line;
};

TEST(Transcript, OneLinePerCommand) {
  const Case cases[] = {
      {B({0x1B, 0x40}), "ESC @"},
      {B({0x1B, 0x3D, 0x01}), "ESC = 1"},
      {B({0x1B, 0x63, 0x34, 0xFC}), "ESC c 4 252"},
      {B({0x1B, 0x63, 0x33, 0x00}), "ESC c 3 0"},
      {B({0x1B, 0x63, 0x35, 0x01}), "ESC c 5 1"},
      // Selectors outside printable ASCII show in hex (no printer knows this one).
      {B({0x1B, 0x63, 0x03, 0x01}), "INVALID ESC c 0x03 1: no function 3"},
      {B({0x1C, 0x26}), "FS &"},
      {B({0x1C, 0x2E}), "FS ."},
      {B({0x1D, 0x61, 0x00}), "GS a 0"},
      {B({0x1D, 0x61, 0xFF}), "GS a 255"},
      {B({0x1D, 0x72, 0x01}), "GS r 1"},
      {B({0x10, 0x04, 0x01}), "DLE EOT 1"},
      {B({0x10, 0x05, 0x02}), "DLE ENQ 2"},
      {B({0x10, 0x14, 0x08, 0x01, 0x03, 0x14, 0x01, 0x06, 0x02, 0x08}), "DLE DC4 8 1 3 20 1 6 2 8"},
      {B({0x1B, 0x21, 0x00}), "ESC ! 0"},
      {B({0x1B, 0x61, 0x01}), "ESC a 1"},
      {B({0x1B, 0x2D, 0x00}), "ESC - 0"},
      {B({0x1B, 0x33, 0x3C}), "ESC 3 60"},
      {B({0x1B, 0x32}), "ESC 2"},
      {B({0x1B, 0x45, 0x01}), "ESC E 1"},
      {B({0x1B, 0x47, 0x00}), "ESC G 0"},
      {B({0x1B, 0x64, 0x03}), "ESC d 3"},
      {B({0x1B, 0x4A, 0xFF}), "ESC J 255"},
      {B({0x1B, 0x24, 0x10, 0x01}), "ESC $ 16 1"},
      {B({0x1B, 0x5C, 0xF0, 0xFF}), "ESC \\ 240 255"},
      {B({0x1B, 0x20, 0x02}), "ESC SP 2"},
      {B({0x1B, 0x0C}), "ESC FF"},
      {B({0x1B, 0x4D, 0x01}), "ESC M 1"},
      {B({0x1B, 0x52, 0x08}), "ESC R 8"},
      {B({0x1B, 0x56, 0x01}), "ESC V 1"},
      {B({0x1B, 0x54, 0x31}), "ESC T 49"},
      {B({0x1B, 0x57, 0, 0, 0, 0, 0x40, 0x02, 0xA8, 0x03}), "ESC W 0 0 0 0 64 2 168 3"},
      {B({0x1B, 0x4C}), "ESC L"},
      {B({0x1B, 0x53}), "ESC S"},
      {B({0x1B, 0x7B, 0x00}), "ESC { 0"},
      {B({0x1B, 0x74, 0x10}), "ESC t 16"},
      {B({0x1B, 0x70, 0x00, 0x19, 0xFA}), "ESC p 0 25 250"},
      {B({0x1B, 0x72, 0x01}), "ESC r 1"},
      {B({0x1B, 0x44, 0x08, 0x10, 0x00}), "ESC D 8 16 0"},
      {B({0x1B, 0x28, 0x41, 0x05, 0x00, 0x61, 0x64, 0x03, 0x01, 0x02}), "ESC ( A 97 100 3 1 2"},
      {B({0x1B, 0x2A, 0x21, 0x02, 0x00, 1, 2, 3, 4, 5, 6}), "ESC * 33 2 0 [6 bytes]"},
      {B({0x1D, 0x21, 0x11}), "GS ! 17"},
      {B({0x1D, 0x56, 0x42, 0x00}), "GS V 66 0"},
      {B({0x1D, 0x56, 0x00}), "GS V 0"},
      {B({0x1D, 0x4C, 0x00, 0x00}), "GS L 0 0"},
      {B({0x1D, 0x62, 0x00}), "GS b 0"},
      {B({0x1D, 0x57, 0x40, 0x02}), "GS W 64 2"},
      {B({0x1D, 0x48, 0x02}), "GS H 2"},
      {B({0x1D, 0x68, 0xA2}), "GS h 162"},
      {B({0x1D, 0x77, 0x02}), "GS w 2"},
      {B({0x1D, 0x66, 0x00}), "GS f 0"},
      {B({0x1D, 0x50, 0xB4, 0xB4}), "GS P 180 180"},
      {B({0x1D, 0x5C, 0x10, 0x00}), "GS \\ 16 0"},
      {B({0x1D, 0x24, 0x20, 0x00}), "GS $ 32 0"},
      {B({0x1D, 0x49, 0x41}), "GS I 65"},
      {B({0x1D, 0x2F, 0x00}), "GS / 0"},
      {B({0x1D, 0x45, 0x05}), "GS E 5"},
      {B({0x1D, 0x67, 0x30, 0x00, 0x14, 0x00}), "GS g 0 0 20 0"},
      {B({0x1D, 0x6B, 0x49, 0x05, 0x7B, 0x42, 0x61, 0x22, 0x63}), "GS k 73 5 \"{Ba\\\"c\""},
      {Concat(B({0x1D, 0x6B, 0x02}), Text("4901234567894"), B({0x00})), "GS k 2 \"4901234567894\""},
      {B({0x1D, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x43, 0x06}), "GS ( k 49 67 6"},
      {B({0x1D, 0x28, 0x6B, 0x06, 0x00, 0x31, 0x50, 0x30, 0x41, 0x42, 0x0A}), "GS ( k 49 80 48 \"AB\\x0A\""},
      {B({0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, 0x30, 0x31, 0x01, 0x01}), "GS ( L 48 69 48 49 1 1"},
      {B({0x1D, 0x28, 0x45, 0x03, 0x00, 0x01, 0x49, 0x4E}), "GS ( E 1 73 78"},
      {B({0x1D, 0x38, 0x4C, 0x0C, 0x00, 0x00, 0x00, 0x30, 0x70, 0x30, 0x01, 0x01, 0x31, 0x10, 0x00, 0x01, 0x00,
          0xAA, 0x55}),
       "GS 8 L 48 112 48 1 1 49 16 0 1 0 [2 bytes]"},
      {B({0x1D, 0x38, 0x4C, 0x02, 0x00, 0x00, 0x00, 0x30, 0x02}), "GS 8 L 48 2"},
      {B({0x1D, 0x76, 0x30, 0x00, 0x02, 0x00, 0x01, 0x00, 0xFF, 0x00}), "GS v 0 0 2 0 1 0 [2 bytes]"},
      {B({0x1D, 0x2A, 0x01, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}), "GS * 1 1 [8 bytes]"},
      {B({0x1D, 0x27, 0x01, 0x0A, 0x00, 0x64, 0x00}), "GS ' 1 10 0 100 0"},
      {B({0x1D, 0x22, 0x00, 0x02, 0x00, 0x41, 0x42, 0x00}), "GS \" 0 2 0 \"AB\""},
      {B({0x1C, 0x70, 0x01, 0x00}), "FS p 1 0"},
      {B({0x1C, 0x71, 0x01, 0x01, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}), "FS q 1 1 0 1 0 [8 bytes]"},
      {B({0x1C, 0x43, 0x01}), "FS C 1"},
      {B({0x1C, 0x21, 0x0C}), "FS ! 12"},
      {B({0x1C, 0x2D, 0x01}), "FS - 1"},
      {B({0x1C, 0x53, 0x00, 0x02}), "FS S 0 2"},
      {B({0x1C, 0x57, 0x01}), "FS W 1"},
      {B({0x1C, 0x28, 0x41, 0x02, 0x00, 0x30, 0x31}), "FS ( A 48 49"},
      {B({0x0C}), "FF"},
      {B({0x18}), "CAN"},
      {B({0x09}), "HT"},
      {B({0x0D}), "CR"},
      {B({0x0A}), "LF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeTranscript(c.bytes), std::string(c.line) + "\n") << c.line;
  }
}

TEST(Transcript, TextRunsUnknownBytesAndControls) {
  std::vector<uint8_t> bytes = Text("AB") + B({0xE9, 0x5C}) + B({0x0A}) + B({0x1B, 0x99, 0x00}) + Text("x") +
                               B({0x07}) + B({0x0D, 0x0A});
  EXPECT_EQ(DecodeTranscript(bytes),
            "TEXT \"AB\\xE9\\\\\"\n"
            "LF\n"
            "BYTES 1B 99 00\n"
            "TEXT \"x\"\n"
            "BYTES 07\n"
            "CR\n"
            "LF\n");
  EXPECT_EQ(DecodeTranscript({}), "");
}

TEST(Transcript, AJobAsTheServiceWouldSendIt) {
  std::vector<uint8_t> job = B({0x1C, 0x2E, 0x1B, 0x3D, 0x01, 0x1B, 0x61, 0x00, 0x1D, 0x4C, 0x00, 0x00, 0x1B, 0x7B,
                                0x00, 0x1B, 0x21, 0x00, 0x1D, 0x62, 0x00, 0x1B, 0x33, 0x3C, 0x41, 0x42, 0x0A});
  EXPECT_EQ(DecodeTranscript(job),
            "FS .\nESC = 1\nESC a 0\nGS L 0 0\nESC { 0\nESC ! 0\nGS b 0\nESC 3 60\nTEXT \"AB\"\nLF\n");
}

TEST(Transcript, FramesShowTheirPayloadIndented) {
  // Two frames carrying one command cut across them, then an unframed LF.
  std::vector<uint8_t> bytes = B({0xAA, 0x03, 0x1B, 0x40, 0x1D, 0x1B ^ 0x40 ^ 0x1D, 0xBB}) +
                               B({0xAA, 0x02, 0x21, 0x11, 0x21 ^ 0x11, 0xBB}) + B({0x0A});
  EXPECT_EQ(DecodeTranscript(bytes),
            "FRAME {\n"
            "  ESC @\n"
            "}\n"
            "FRAME {\n"
            "  GS ! 17\n"
            "}\n"
            "LF\n");
  EXPECT_EQ(DecodeTranscript(B({0xAA, 0x03, 0x1B, 0x40, 0x0A, 0x51, 0xBB})), "FRAME {\n  ESC @\n  LF\n}\n");
}

// Inside the QX1270 family's frames FS q is the family's: one image in dots,
// rows of whole bytes. Outside, the same bytes are an ESC/POS FS q that
// waits for x * y * 8 bytes.
TEST(Transcript, FamilyImageDefinitionInsideFrames) {
  const std::vector<uint8_t> command = B({0x1C, 0x71, 0x01, 0x0A, 0x00, 0x02, 0x00, 0x10, 0x04, 0x0A, 0x1B, 0x0A});
  uint8_t x = 0;
  for (uint8_t b : command) x ^= b;
  std::vector<uint8_t> framed = B({0xAA, static_cast<int>(command.size())}) + command + B({x, 0xBB});
  EXPECT_EQ(DecodeTranscript(framed), "FRAME {\n  FS q 1 10 0 2 0 [4 bytes]\n  LF\n}\n");
  EXPECT_EQ(DecodeTranscript(command), "INCOMPLETE 1C 71 01 0A 00 02 00 10 04 0A 1B 0A\n");
  // ESC/POS form, for comparison: 1 x 1 units of 8 dots, 8 bytes.
  EXPECT_EQ(DecodeTranscript(B({0x1C, 0x71, 0x01, 0x01, 0x00, 0x01, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 0x0A})),
            "FS q 1 1 0 1 0 [8 bytes]\nLF\n");
}

TEST(Transcript, BytesThatOnlyLookLikeAFrameAreData) {
  // 0xAA is a printable character: a too-long length, a missing BB or the end
  // of the data leave it in the text.
  EXPECT_EQ(DecodeTranscript(Text("a") + B({0xAA}) + Text("bc")), "TEXT \"a\\xAAbc\"\n");
  EXPECT_EQ(DecodeTranscript(B({0xAA, 0x01, 0x41, 0x41, 0x42})), "TEXT \"\\xAA\"\nBYTES 01\nTEXT \"AAB\"\n");
  EXPECT_EQ(DecodeTranscript(B({0xAA, 0x05, 0x41})), "TEXT \"\\xAA\"\nBYTES 05\nTEXT \"A\"\n");
  // Inside another command's data 0xAA starts no frame.
  EXPECT_EQ(DecodeTranscript(B({0x1D, 0x4C, 0xAA, 0x01})), "GS L 170 1\n");
  // Length and terminator fit, the checksum does not.
  EXPECT_EQ(DecodeTranscript(B({0xAA, 0x01, 0x41, 0x00, 0xBB})), "BAD FRAME AA 01 41 00 BB\n");
}

TEST(Transcript, DataEndingInsideACommand) {
  EXPECT_EQ(DecodeTranscript(Text("A") + B({0x1D, 0x28, 0x6B, 0x05, 0x00})), "TEXT \"A\"\nINCOMPLETE 1D 28 6B 05 00\n");
}

TEST(Transcript, NotesFallAfterWhatWasReadWhenTheyWereMade) {
  const std::vector<uint8_t> kick = B({0x1B, 0x70, 0x00, 0x19, 0xFA});
  const std::vector<uint8_t> frame = B({0xAA, 0x05}) + kick + B({0x1B ^ 0x70 ^ 0x00 ^ 0x19 ^ 0xFA, 0xBB});
  // Offsets: "AB" 0..2, the kick to 7, "CD" to 9, the frame to 18, GS ( to 20.
  const std::vector<uint8_t> bytes = Text("AB") + kick + Text("CD") + frame + B({0x1D, 0x28});
  const std::vector<TranscriptNote> notes = {
      {0, "FIRST"}, {1, "IN THE TEXT"}, {7, "AFTER THE KICK"}, {18, "AFTER THE FRAME"}, {20, "AT THE END"},
  };
  EXPECT_EQ(DecodeTranscript(bytes, JobEnd::kEnded, notes),
            "FIRST\n"
            "TEXT \"A\"\n"
            "IN THE TEXT\n"
            "TEXT \"B\"\n"
            "ESC p 0 25 250\n"
            "AFTER THE KICK\n"
            "TEXT \"CD\"\n"
            "FRAME {\n"
            "  ESC p 0 25 250\n"
            "}\n"
            "AFTER THE FRAME\n"
            "AT THE END\n"
            "INVALID GS (: cut short by the end of the job, 1D 28\n");
}

std::string PrinterView(const std::vector<uint8_t>& bytes, std::vector<size_t> sessionStarts = {},
                        JobEnd end = JobEnd::kMayContinue) {
  TranscriptOptions options;
  options.view = TranscriptView::kPrinter;
  options.sessionStarts = std::move(sessionStarts);
  options.end = end;
  return DecodeTranscript(bytes, options);
}

// A page composed, cleared, printed twice and left; the FF after it finds the
// printer in standard mode again.
TEST(Transcript, PrinterViewShowsThePageBesidesItsCommands) {
  const std::vector<uint8_t> job = B({0x1B, 0x4C, 0x1B, 0x57, 0, 0, 0, 0, 0x40, 0x02, 0xA8, 0x03, 0x1B, 0x54, 0x30,
                                      0x1D, 0x24, 0x20, 0x00}) +
                                   Text("AB") + B({0x18, 0x1B, 0x0C, 0x0C, 0x0C});
  EXPECT_EQ(PrinterView(job),
            "ESC L\n"
            "PAGE begin\n"
            "ESC W 0 0 0 0 64 2 168 3\n"
            "ESC T 48\n"
            "GS $ 32 0\n"
            "TEXT \"AB\"\n"
            "CAN\n"
            "PAGE clear\n"
            "ESC FF\n"
            "PAGE print\n"
            "FF\n"
            "PAGE print\n"
            "PAGE end\n"
            "INVALID FF: ignored in standard mode\n");
  // Each command by itself is well formed.
  EXPECT_EQ(DecodeTranscript(job),
            "ESC L\nESC W 0 0 0 0 64 2 168 3\nESC T 48\nGS $ 32 0\nTEXT \"AB\"\nCAN\nESC FF\nFF\nFF\n");
  EXPECT_EQ(PrinterView(B({0x1B, 0x4C, 0x1B, 0x53})), "ESC L\nPAGE begin\nESC S\nPAGE cancel\nPAGE end\n");
  // Inside a frame the page lines are the frame's.
  EXPECT_EQ(PrinterView(B({0xAA, 0x02, 0x1B, 0x4C, 0x1B ^ 0x4C, 0xBB})), "FRAME {\n  ESC L\n  PAGE begin\n}\n");
}

// Each session starts in standard mode with nothing stored; a command the
// session before ended in was cut short by its end.
TEST(Transcript, PrinterViewStartsAfreshWithEachSession) {
  const std::vector<uint8_t> first = B({0x1B, 0x4C}) + Text("A") +
                                     B({0x1D, 0x28, 0x6B, 0x04, 0x00, 0x31, 0x50, 0x30, 'Q', 0x1D, 0x28});
  const std::vector<uint8_t> second = B({0x0C, 0x1D, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x51, 0x30}) + Text("B");
  EXPECT_EQ(PrinterView(first + second, {0, first.size()}),
            "ESC L\n"
            "PAGE begin\n"
            "TEXT \"A\"\n"
            "QR store \"Q\"\n"
            "INVALID GS (: cut short by the end of the job, 1D 28\n"
            "INVALID FF: ignored in standard mode\n"
            "INVALID QR print: no QR data stored\n"
            "TEXT \"B\"\n");
  // As one session the page is printed, and so is the symbol.
  const std::vector<uint8_t> whole = B({0x1B, 0x4C}) + Text("A") +
                                     B({0x1D, 0x28, 0x6B, 0x04, 0x00, 0x31, 0x50, 0x30, 'Q'}) + second;
  EXPECT_EQ(CountInvalidLines(PrinterView(whole, {0}, JobEnd::kEnded)), 0) << PrinterView(whole);
}

TEST(Transcript, LongImageDataIsCountedNotShown) {
  std::vector<uint8_t> image = B({0x1D, 0x76, 0x30, 0x00, 0x48, 0x00, 0x64, 0x00});
  image.resize(image.size() + 72 * 100, 0x10);  // data full of DLE bytes
  image.push_back(0x0A);
  EXPECT_EQ(DecodeTranscript(image), "GS v 0 0 72 0 100 0 [7200 bytes]\nLF\n");
}

}  // namespace
}  // namespace sim
