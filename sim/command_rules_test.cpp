// The strict printer's judgement of single commands, from the public ESC/POS
// ranges: well-formed commands pass, and each malformed one is named with
// the reason a printer would mishandle it.
#include "sim/command_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/byte_builders_test.h"
#include "sim/command_scanner.h"

namespace sim {
namespace {

using namespace testbytes;

// GS ( L fn 67 (or GS 8 L with wide) around a definition body after m fn.
Bytes Graphics(bool wide, const Bytes& body) {
  const size_t p = body.size() + 1;  // m and the body
  Bytes head = wide ? B({0x1D, 0x38, 0x4C, static_cast<int>(p & 0xFF), static_cast<int>(p >> 8), 0, 0})
                    : B({0x1D, 0x28, 0x4C, static_cast<int>(p & 0xFF), static_cast<int>(p >> 8)});
  return head + B({0x30}) + body;
}

Bytes Symbol(const Bytes& body) {
  return B({0x1D, 0x28, 0x6B, static_cast<int>(body.size() & 0xFF), static_cast<int>(body.size() >> 8)}) + body;
}

struct Case {
  Bytes command;
  std::string fault;  // empty: the printer takes it
  Dialect dialect = Dialect::kEscPos;
};

void ExpectJudged(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    // The rules see commands as the scanner cuts them; a case that is not
    // one whole command would test nothing.
    const Extent e = MeasureCommand(c.command.data(), c.command.size(), c.dialect);
    const bool whole = (e.kind == Extent::kKnown && e.length == c.command.size()) ||
                       (e.kind == Extent::kUntilNul && (c.command.back() == 0x00 || c.command.size() == e.length));
    ASSERT_TRUE(whole) << testing::PrintToString(c.command);
    EXPECT_EQ(CommandFault(c.command.data(), c.command.size(), c.dialect), c.fault)
        << testing::PrintToString(c.command);
  }
}

TEST(CommandRules, RealTimeCommands) {
  ExpectJudged({
      {B({0x10, 0x04, 0x01}), ""},
      {B({0x10, 0x04, 0x04}), ""},
      {B({0x10, 0x04, 0x05}), "n 5 outside 1..4, 7 or 8"},
      {B({0x10, 0x04, 0x07, 0x01}), ""},
      {B({0x10, 0x04, 0x07, 0x03}), "a 3 outside 1..2"},
      {B({0x10, 0x05, 0x01}), ""},
      {B({0x10, 0x05, 0x00}), "n 0 outside 1..2"},
      // Drawer pulse: pin 0 or 1, then 1..8 units of 100 ms.
      {B({0x10, 0x14, 0x01, 0x00, 0x01}), ""},
      {B({0x10, 0x14, 0x01, 0x01, 0x08}), ""},
      {B({0x10, 0x14, 0x01, 0x08, 0x1B}), "m 8 outside 0..1"},
      {B({0x10, 0x14, 0x01, 0x00, 0x00}), "t 0 outside 1..8"},
      {B({0x10, 0x14, 0x01, 0x01, 0x09}), "t 9 outside 1..8"},
      {B({0x10, 0x14, 0x02, 0x01, 0x08}), ""},
      {B({0x10, 0x14, 0x02, 0x01, 0x07}), "a b not 1 8"},
      {B({0x10, 0x14, 0x03, 1, 2, 3, 4, 5}), ""},
      {B({0x10, 0x14, 0x07, 0x05}), ""},
      {B({0x10, 0x14, 0x07, 0x03}), "m 3 outside 1, 2, 4 or 5"},
      {B({0x10, 0x14, 0x08, 1, 3, 20, 1, 6, 2, 8}), ""},
      {B({0x10, 0x14, 0x08, 1, 3, 0x20, 1, 6, 2, 8}), "parameters not 1 3 20 1 6 2 8"},
      // Without its function the printer takes the next byte for one.
      {B({0x10, 0x14, 0x1B}), "no function 27"},
  });
}

TEST(CommandRules, PrintAndCharacterCommands) {
  Bytes thirtyTwo = B({0x1B, 0x44});
  for (int i = 1; i <= 32; ++i) thirtyTwo.push_back(static_cast<uint8_t>(i * 7));
  thirtyTwo.push_back(0x00);
  ExpectJudged({
      {B({0x1B, 0x44, 0x08, 0x10, 0x00}), ""},
      {B({0x1B, 0x44, 0x00}), ""},
      {thirtyTwo, ""},
      {B({0x1B, 0x44, 0x10, 0x08}), "stop 8 does not rise above 16"},
      {B({0x1B, 0x44, 0x10, 0x10}), "stop 16 does not rise above 16"},
      {B({0x1B, 0x2D, 0x32}), ""},
      {B({0x1B, 0x2D, 0x03}), "n 3 outside 0..2 or 48..50"},
      {B({0x1B, 0x61, 0x30}), ""},
      {B({0x1B, 0x61, 0x03}), "n 3 outside 0..2 or 48..50"},
      {B({0x1B, 0x74, 0x12}), ""},
      {B({0x1B, 0x74, 0xFF}), ""},
      {B({0x1B, 0x74, 0x64}), "n 100 outside 0..53, 254 or 255"},
      {B({0x1B, 0x52, 0x0F}), ""},
      {B({0x1B, 0x52, 0x12}), "n 18 outside 0..17, 66..75 or 82"},
      {B({0x1B, 0x4D, 0x31}), ""},
      {B({0x1B, 0x54, 0x34}), "n 52 outside 0..3 or 48..51"},
      {B({0x1B, 0x57, 0, 0, 0, 0, 0, 2, 0, 0}), "dy 0 outside 1 or more"},
      {B({0x1B, 0x63, 0x35, 0x01}), ""},
      {B({0x1B, 0x63, 0x32, 0x01}), "no function 50"},
      {B({0x1B, 0x70, 0x31, 0x19, 0xFA}), ""},
      {B({0x1B, 0x70, 0x02, 0x19, 0xFA}), "m 2 outside 0, 1, 48 or 49"},
      {B({0x1B, 0x3F, 0x1F}), "n 31 outside 32..126"},
      {B({0x1D, 0x21, 0x77}), ""},
      {B({0x1D, 0x21, 0x08}), "n 8 outside a width and a height of 1..8"},
      {B({0x1D, 0x56, 0x42, 0x10}), ""},
      {B({0x1D, 0x56, 0x05}), "m 5 outside a cut mode"},
      {B({0x1D, 0x72, 0x31}), ""},
      {B({0x1D, 0x72, 0x03}), "n 3 outside 1, 2, 49 or 50"},
      {B({0x1D, 0x49, 0x43}), ""},
      {B({0x1D, 0x49, 0x04}), "n 4 outside a known information kind"},
      {B({0x1D, 0x67, 0x30, 0x00, 0x14, 0x00}), ""},
      {B({0x1D, 0x67, 0x32, 0x00, 0x16, 0x00}), "counter 22 outside a known counter"},
      {B({0x1C, 0x43, 0x31}), ""},
      {B({0x1C, 0x70, 0x01, 0x03}), ""},
      {B({0x1C, 0x70, 0x00, 0x00}), "n 0 outside 1..255"},
  });
}

TEST(CommandRules, BuzzerParametersAndLength) {
  ExpectJudged({
      {B({0x1B, 0x28, 0x41, 0x04, 0x00, 0x30, 0x31, 0x03, 0x0A}), ""},
      {B({0x1B, 0x28, 0x41, 0x05, 0x00, 0x61, 0x64, 0x40, 0x01, 0x02}), "c 64 outside 0..63"},
      {B({0x1B, 0x28, 0x41, 0x03, 0x00, 0x30, 0x31, 0x03}), "p 3 where the command takes 4"},
      {B({0x1B, 0x28, 0x41, 0x05, 0x00, 0x61, 0x64, 0x03, 0x01, 0x02}), ""},
      {B({0x1B, 0x28, 0x41, 0x05, 0x00, 0x61, 0x63, 0x03, 0x01, 0x02}), "n 99 outside 100"},
  });
}

TEST(CommandRules, BarcodeHeightAndWidth) {
  ExpectJudged({
      {B({0x1D, 0x68, 0x01}), ""},
      {B({0x1D, 0x68, 0xFF}), ""},
      {B({0x1D, 0x68, 0x00}), "n 0 outside 1..255"},
      {B({0x1D, 0x77, 0x02}), ""},
      {B({0x1D, 0x77, 0x06}), ""},
      {B({0x1D, 0x77, 0x01}), "n 1 outside 2..6"},
      {B({0x1D, 0x77, 0x07}), "n 7 outside 2..6"},
      {B({0x1D, 0x48, 0x02}), ""},
      {B({0x1D, 0x66, 0x02}), ""},
      {B({0x1D, 0x66, 0x05}), "n 5 outside 0..4, 48..52, 97 or 98"},
  });
}

TEST(CommandRules, BarcodeDataSuitsItsSymbology) {
  auto k = [](int m, const std::string& data) {
    return B({0x1D, 0x6B, m, static_cast<int>(data.size())}) + Text(data);
  };
  ExpectJudged({
      {k(65, "01234567890"), ""},
      {k(65, "012345678905"), ""},
      {k(65, "0123456789"), "UPC-A data of 10 bytes, not 11 or 12"},
      {k(65, "0123456789\n"), "UPC-A data byte 0x0A is not a digit"},
      {k(66, "0123456"), ""},
      {k(66, "1234567"), "UPC-E data of 7 digits starts with 0"},
      {k(67, "490123456789"), ""},
      {k(67, "49012345678\x1b"), "EAN-13 data byte 0x1B is not a digit"},
      {k(68, "1234567"), ""},
      {k(68, "123456"), "EAN-8 data of 6 bytes, not 7 or 8"},
      {k(69, "CODE 39-$"), ""},
      {k(69, "code39"), "CODE39 data byte 0x63 is not a CODE39 character"},
      {k(70, "1234"), ""},
      {k(70, "123"), "ITF data of 3 bytes, not an even number"},
      {k(71, "A40156B"), ""},
      {k(71, "40156"), "CODABAR data does not start and end with A..D"},
      {k(72, "CODE93"), ""},
      {k(73, "{BABC123"), ""},
      {k(73, "ABC123"), "CODE128 data does not start with {A, {B or {C"},
      {k(73, "{B\xE9"), "CODE128 code set B byte 0xE9 is not 0x20..0x7F"},
      {k(75, "0001234567890"), ""},
      {k(75, "000123456789"), "GS1 DataBar data of 12 bytes, not 13"},
      {k(77, "2001234567890"), "GS1 DataBar Limited data does not start with 0 or 1"},
      {k(78, "0112345678901231"), ""},
      {B({0x1D, 0x6B, 0x49, 0x00}), "n 0: no data"},
      {B({0x1D, 0x6B, 0x50, 0x01, 0x41}), "m 80 outside 0..6 or 65..79"},
      {B({0x1D, 0x6B, 0x07}), "m 7 outside 0..6 or 65..79"},
      // The zero-terminated form: the same symbologies, data up to the NUL.
      {B({0x1D, 0x6B, 0x02}) + Text("4901234567894") + B({0}), ""},
      {B({0x1D, 0x6B, 0x02}) + Text("49") + B({0}), "EAN-13 data of 2 bytes, not 12 or 13"},
      {B({0x1D, 0x6B, 0x04}) + Bytes(255, 'A') + B({'A'}), "no NUL within 255 data bytes"},
  });
}

// CODE128 data: code-set selections and the characters of each set, with
// '{' as the escape for selections, shift, functions and itself.
TEST(CommandRules, Code128CodeSets) {
  auto k = [](const Bytes& data) { return B({0x1D, 0x6B, 0x49, static_cast<int>(data.size())}) + data; };
  ExpectJudged({
      {k(B({'{', 'C', 12, 34, 56, 78})), ""},
      {k(B({'{', 'C', 0, 99})), ""},
      {k(B({'{', 'C', 12, 100})), "CODE128 code set C byte 100 is not 0..99"},
      {k(Text("{C") + Text("12")), ""},  // '1' and '2' are the values 49 and 50
      {k(B({'{', 'C', 12, '{', 'B', 'A', 'b'})), ""},
      {k(B({'{', 'C', 12, '{', 'B', 'A', '{'})), "CODE128 data ends in {"},
      {k(Text("{BAB{{CD")), ""},
      {k(Text("{AAB{{")), "CODE128 {{ in code set A"},
      {k(Text("{BA{XB")), "CODE128 {X selects no code set or function"},
      {k(Text("{A{1AB{2{3{4{SA")), ""},
      {k(B({'{', 'A', 'A', 0x0A, 0x5F})), ""},
      {k(Text("{Aab")), "CODE128 code set A byte 0x61 is not 0x00..0x5F"},
      {k(B({'{', 'B', 'a', 0x0A})), "CODE128 code set B byte 0x0A is not 0x20..0x7F"},
      {k(B({'{', 'A', 0x0A, '{', 'B', 'a', '{', 'C', 7})), ""},
  });
}

TEST(CommandRules, TwoDimensionalSymbols) {
  ExpectJudged({
      {Symbol(B({0x31, 0x41, 0x32, 0x00})), ""},
      {Symbol(B({0x31, 0x41, 0x31, 0x00})), ""},
      {Symbol(B({0x31, 0x41, 0x33, 0x00})), "model 51 outside 49..50"},
      {Symbol(B({0x31, 0x41, 0x32, 0x01})), "n2 1 outside 0"},
      {Symbol(B({0x31, 0x43, 0x10})), ""},
      {Symbol(B({0x31, 0x43, 0x11})), "module size 17 outside 1..16"},
      {Symbol(B({0x31, 0x45, 0x33})), ""},
      {Symbol(B({0x31, 0x50, 0x30, 'A'})), ""},
      {Symbol(B({0x31, 0x50, 0x30})), "stores no data"},
      {Symbol(B({0x31, 0x50, 0x30}) + Bytes(7089, '7')), ""},
      {Symbol(B({0x31, 0x50, 0x30}) + Bytes(7090, '7')), "p 7093 above 7092"},
      {Symbol(B({0x31, 0x50, 0x31, 'A'})), "m 49 outside 48"},
      {Symbol(B({0x31, 0x51, 0x30})), ""},
      {Symbol(B({0x31, 0x51, 0x30, 0x30})), "p 4 where the command takes 3"},
      {Symbol(B({0x31, 0x44, 0x30})), "no function 68"},
      {Symbol(B({0x30, 0x41, 0x1E})), ""},
      {Symbol(B({0x30, 0x41, 0x1F})), "columns 31 outside 0..30"},
      {Symbol(B({0x30, 0x42, 0x02})), "rows 2 outside 0 or 3..90"},
      {Symbol(B({0x30, 0x43, 0x01})), "module width 1 outside 2..8"},
      {Symbol(B({0x30, 0x44, 0x09})), "row height 9 outside 2..8"},
      {Symbol(B({0x30, 0x45, 0x31, 0x28})), ""},
      {Symbol(B({0x30, 0x45, 0x30, 0x39})), "level 57 outside 48..56"},
      {Symbol(B({0x30, 0x50, 0x30, 'P'})), ""},
      // Symbols some models add (MaxiCode) are not judged.
      {Symbol(B({0x32, 0x41, 0x32})), ""},
  });
}

TEST(CommandRules, NvGraphicsDefinitions) {
  const Bytes twoRows = Bytes(4, 0x55);  // 16 x 2 dots: 2 bytes a row
  const Bytes header = B({0x43, 0x30, 'A', 'B'});
  ExpectJudged({
      {Graphics(false, header + B({1, 16, 0, 2, 0, 0x31}) + twoRows), ""},
      {Graphics(true, header + B({1, 16, 0, 2, 0, 0x31}) + twoRows), ""},
      {Graphics(true, header + B({2, 16, 0, 2, 0, 0x31}) + twoRows + B({0x32}) + twoRows), ""},
      // 10 dots wide are 2 bytes a row, not 10 x 2 / 8 bytes in all.
      {Graphics(false, header + B({1, 10, 0, 2, 0, 0x31}) + Bytes(4, 0)), ""},
      {Graphics(false, header + B({1, 10, 0, 2, 0, 0x31}) + Bytes(2, 0)), "p 13 where the command takes 15"},
      // Without a: kc1 is read as a.
      {Graphics(true, B({0x43, 'A', 'B', 1, 16, 0, 2, 0, 0x31}) + twoRows), "a 65 outside 48"},
      {Graphics(true, header + B({2, 16, 0, 2, 0, 0x32}) + twoRows + B({0x32}) + twoRows),
       "first colour 50 outside 49"},
      {Graphics(true, header + B({2, 16, 0, 2, 0, 0x31}) + twoRows + B({0x31}) + twoRows),
       "second colour 49 outside 50"},
      {Graphics(true, header + B({3, 16, 0, 2, 0, 0x31}) + twoRows), "b 3 outside 1..2"},
      {Graphics(true, B({0x43, 0x30, 'A', 0x7F, 1, 16, 0, 2, 0, 0x31}) + twoRows), "kc2 127 outside 32..126"},
      {Graphics(true, header + B({1, 0, 0, 2, 0, 0x31})), "width 0 outside 1..8192"},
  });
}

TEST(CommandRules, OtherGraphicsFunctions) {
  ExpectJudged({
      {Graphics(true, B({0x02})), ""},
      {Graphics(false, B({0x32})), ""},
      {Graphics(true, B({0x02, 0x00})), "p 3 where the command takes 2"},
      {Graphics(true, B({0x40, 'K', 'C'})), ""},
      {Graphics(true, B({0x41, 'C', 'L', 'R'})), ""},
      {Graphics(true, B({0x41, 'C', 'L', 'X'})), "data is not \"CLR\""},
      {Graphics(true, B({0x42, 'A', 'B'})), ""},
      {Graphics(false, B({0x45, '0', '7', 1, 1})), ""},
      {Graphics(false, B({0x45, '0', '7', 1, 3})), "y 3 outside 1..2"},
      {Graphics(true, B({0x70, 0x30, 1, 1, 0x31, 16, 0, 2, 0}) + Bytes(4, 0)), ""},
      {Graphics(true, B({0x70, 0x30, 1, 1, 0x31, 16, 0, 2, 0}) + Bytes(3, 0)), "p 13 where the command takes 14"},
      {Graphics(true, B({0x70, 0x30, 1, 3, 0x31, 8, 0, 1, 0, 0})), "by 3 outside 1..2"},
      {Graphics(true, B({0x10})), "no function 16"},
      {B({0x1D, 0x38, 0x4C, 0x02, 0x00, 0x00, 0x00, 0x31, 0x02}), "m 49 outside 48"},
  });
}

TEST(CommandRules, ImagesAndTheirSizes) {
  ExpectJudged({
      {B({0x1B, 0x2A, 0x21, 0x01, 0x00, 1, 2, 3}), ""},
      {B({0x1B, 0x2A, 0x02, 0x01, 0x00, 1}), "m 2 outside 0, 1, 32 or 33"},
      {B({0x1B, 0x2A, 0x00, 0x00, 0x04}) + Bytes(1024, 0), "nH 4 outside 0..3"},
      {B({0x1D, 0x2A, 0x01, 0x01}) + Bytes(8, 0), ""},
      {B({0x1D, 0x2A, 0x01, 0x31}) + Bytes(8 * 49, 0), "y 49 outside 1..48"},
      {B({0x1D, 0x76, 0x30, 0x00, 0x01, 0x00, 0x01, 0x00, 0xFF}), ""},
      {B({0x1D, 0x76, 0x30, 0x04, 0x01, 0x00, 0x01, 0x00, 0xFF}), "m 4 outside 0..3 or 48..51"},
      {B({0x1C, 0x71, 0x01, 0x01, 0x00, 0x01, 0x00}) + Bytes(8, 0), ""},
      {B({0x1C, 0x71, 0x01, 0x00, 0x04, 0x01, 0x00}) + Bytes(1024 * 8, 0), "x 1024 outside 1..1023"},
      // The QX1270 family's own FS q, read inside its frames, is sized in dots.
      {B({0x1C, 0x71, 0x01, 0x0A, 0x00, 0x02, 0x00}) + Bytes(4, 0), "", Dialect::kQx1270Frame},
      {B({0x1C, 0x71, 0x01, 0x00, 0x00, 0x02, 0x00}), "width 0 outside 1 or more", Dialect::kQx1270Frame},
  });
}

TEST(CommandRules, FamilyCommandsInsideFrames) {
  ExpectJudged({
      {B({0x1D, 0x45, 0x09}), "", Dialect::kQx1270Frame},
      {B({0x1D, 0x45, 0x0A}), "n 10 outside 0..9", Dialect::kQx1270Frame},
      // Outside the family's frames GS E is ESC/POS's, with no such limit.
      {B({0x1D, 0x45, 0x0A}), ""},
      {B({0x1D, 0x22, 0x01, 0x02, 0x00, 'A', 'B', 0x00}), ""},
      {B({0x1D, 0x22, 0x02, 0x02, 0x00, 'A', 'B', 0x00}), "m 2 outside 0..1"},
  });
}

TEST(CommandRules, SetupAndPrintControlBlocks) {
  ExpectJudged({
      {B({0x1D, 0x28, 0x45, 0x03, 0x00, 0x01, 'I', 'N'}), ""},
      {B({0x1D, 0x28, 0x45, 0x03, 0x00, 0x01, 'I', 'X'}), "data is not \"IN\""},
      {B({0x1D, 0x28, 0x45, 0x04, 0x00, 0x05, 0x06, 0x09, 0x00}), ""},
      {B({0x1D, 0x28, 0x45, 0x03, 0x00, 0x05, 0x06, 0x09}), "p 3 holds no whole entries"},
      {B({0x1D, 0x28, 0x4B, 0x02, 0x00, 0x32, 0x39}), ""},
      {B({0x1D, 0x28, 0x4B, 0x02, 0x00, 0x32, 0x0A}), "m 10 outside 0..9 or 48..57"},
      {B({0x1D, 0x28, 0x4B, 0x02, 0x00, 0x61, 0x03}), "m 3 outside 0, 1, 2, 4, 48, 49, 50, 52 or 128"},
      {B({0x1D, 0x28, 0x41, 0x02, 0x00, 0x02, 0x03}), ""},
      {B({0x1D, 0x28, 0x41, 0x02, 0x00, 0x02, 0x00}), "m 0 outside 1..3 or 49..51"},
      {B({0x1D, 0x28, 0x4E, 0x02, 0x00, 0x30, 0x31}), ""},
      {B({0x1D, 0x28, 0x4E, 0x02, 0x00, 0x30, 0x34}), "m 52 outside 48..51"},
  });
}

}  // namespace
}  // namespace sim
