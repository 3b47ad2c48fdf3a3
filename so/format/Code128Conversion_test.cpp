#include "so/format/Code128Conversion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace QEL::Printer;

namespace {

// Reads converted data the way a printer reads GS k 73: a selection first;
// "{" introduces a two-byte special; set A holds 00..5F, set B 20..7F with
// '{' only as "{{", set C single bytes 0..99; at most 255 bytes. Returns the
// barcode's text with each set C value as two digits and functions as "{n",
// or sets error.
std::string Decode(const std::string& d, std::string& error) {
  error.clear();
  std::string text;
  if (d.size() > 255) error = "longer than 255";
  if (d.size() < 2 || d[0] != '{' || (d[1] != 'A' && d[1] != 'B' && d[1] != 'C'))
    error = "no leading selection";
  char set = 0;
  bool shift = false;
  for (size_t i = 0; i < d.size() && error.empty(); ++i) {
    const uint8_t b = static_cast<uint8_t>(d[i]);
    const char in = shift ? (set == 'A' ? 'B' : 'A') : set;
    if (b == '{') {
      if (i + 1 == d.size()) {
        error = "dangling {";
        break;
      }
      const char c = d[++i];
      if (c == 'A' || c == 'B' || c == 'C') {
        set = c;
      } else if (c == 'S' && set != 'C' && !shift) {
        shift = true;
        continue;
      } else if (c == '1' || ((c == '2' || c == '3' || c == '4') && set != 'C')) {
        text += '{';
        text += c;
      } else if (c == '{' && in == 'B') {
        text += '{';
      } else {
        error = std::string("bad special {") + c;
      }
    } else if (set == 'C') {
      if (b > 99) error = "set C value above 99";
      text += static_cast<char>('0' + b / 10);
      text += static_cast<char>('0' + b % 10);
    } else if ((in == 'A' && b <= 0x5F) || (in == 'B' && b >= 0x20 && b <= 0x7F)) {
      text += static_cast<char>(b);
    } else {
      error = std::string("byte outside set ") + in;
    }
    shift = false;
  }
  return text;
}

std::string Cv(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

struct Row {
  const char* what;
  std::string in;
  bool ok;
  std::string out;
};

void RunRows(const Row* rows, size_t count, bool (*convert)(std::string&)) {
  for (size_t r = 0; r < count; ++r) {
    const Row& row = rows[r];
    std::string data = row.in;
    ASSERT_EQ(convert(data), row.ok) << row.what;
    if (!row.ok) {
      EXPECT_EQ(data, row.in) << row.what << ": refused data is left alone";
      continue;
    }
    EXPECT_EQ(data, row.out) << row.what;
    std::string error;
    Decode(data, error);
    EXPECT_EQ(error, "") << row.what;
  }
}

TEST(Code128Conversion, PlainData) {
  const std::string c = "{C", b = "{B", a = "{A";
  const Row rows[] = {
      {"eight digits", "12345678", true, c + Cv({12, 34, 56, 78})},
      {"letters then digits", "AB12", true, "{BAB12"},
      {"odd run ends in B", "1234567", true, c + Cv({12, 34, 56}) + b + "7"},
      {"single digit", "1", true, "{B1"},
      {"short run at start chooses from after it", std::string("123\x01", 4), true,
       std::string("{A123\x01", 6)},
      {"run of 4 at start is packed", "1234AB", true, c + Cv({12, 34}) + b + "AB"},
      {"run of 5 at start is packed", "12345AB", true, c + Cv({12, 34}) + b + "5AB"},
      {"run of 3 at end is copied", "AB123", true, "{BAB123"},
      {"run of 4 at end is packed", "AB1234", true, b + "AB" + c + Cv({12, 34})},
      {"run of 5 inside is copied", "AB12345CD", true, "{BAB12345CD"},
      {"run of 6 inside is packed", "AB123456CD", true, b + "AB" + c + Cv({12, 34, 56}) + b + "CD"},
      {"odd run of 7 inside", "AB1234567CD", true, b + "AB" + c + Cv({12, 34, 56}) + b + "7CD"},
      {"control first selects A", "\x01" "AB", true, a + "\x01" "AB"},
      {"control later selects A", "AB\x01", true, a + "AB\x01"},
      {"lower case before control selects B", "ab\x01", true, b + "ab" + a + "\x01"},
      {"six digits end the choice with B", "AB123456\x01", true,
       b + "AB" + c + Cv({12, 34, 56}) + a + "\x01"},
      {"control after packed run", "X\x01" "123456", true, a + "X\x01" + c + Cv({12, 34, 56})},
      {"DEL is in set B", "\x7f", true, "{B\x7f"},
      {"literal brace doubled", "A{B", true, "{BA{{B"},
      {"empty", "", false, ""},
      {"byte 0x80 is in no set", "\x80", false, ""},
      {"high byte later", "AB\xff", false, ""},
  };
  RunRows(rows, sizeof rows / sizeof rows[0], ConvertCode128);
}

TEST(Code128Conversion, ParsedData) {
  const std::string c = "{C", b = "{B", a = "{A";
  const Row rows[] = {
      {"selections given", "{C1234{BAB", true, c + Cv({12, 34}) + b + "AB"},
      {"no leading selection: B", "ABC", true, "{BABC"},
      {"no leading selection: A", "\x01" "AB", true, a + "\x01" "AB"},
      {"digits without selection stay text", "1234", true, "{B1234"},
      {"text after set C gets a selection", "{C12AB", true, c + Cv({12}) + b + "AB"},
      {"odd digit after set C", "{C123", true, c + Cv({12}) + b + "3"},
      {"control after set C", "{C12\x01", true, c + Cv({12}) + a + "\x01"},
      {"pairs continue after FNC1", "{C12{11234", true, c + Cv({12}) + "{1" + Cv({12, 34})},
      {"shift reads from the other set", "{A{SaB", true, "{A{SaB"},
      {"literal brace in B", "{BX{{", true, "{BX{{"},
      {"FNC4 in B", "{B{4A", true, "{B{4A"},
      {"single byte", "A", false, ""},
      {"empty", "", false, ""},
      {"selection without characters", "{B", false, ""},
      {"lower case in set A", "{Aab", false, ""},
      {"shift covers one character only", "{A{Sab", false, ""},
      {"control in set B", "{BA\x01", false, ""},
      {"literal brace in A", "{A{{", false, ""},
      {"unknown special", "{BA{X", false, ""},
      {"dangling brace", "{BA{", false, ""},
      {"FNC2 in set C", "{C12{2", false, ""},
      {"shift in set C", "{C12{SA", false, ""},
      {"shift at the end", "{BA{S", false, ""},
      {"high byte", "{BA\x80", false, ""},
  };
  RunRows(rows, sizeof rows / sizeof rows[0], ConvertParsedCode128);
}

TEST(Code128Conversion, InputLimitAndCommandLength) {
  struct Limit {
    const char* what;
    bool (*convert)(std::string&);
    std::string in;
    bool ok;
    size_t outSize;
  };
  const Limit rows[] = {
      // Only 232 digits are read: 116 set C values.
      {"plain digits cut at 232", ConvertCode128, std::string(240, '5'), true, 2 + 116},
      // The control character lies beyond the limit, so set A never comes in.
      {"plain bytes past 232 ignored", ConvertCode128, std::string(232, 'A') + "\x01", true,
       2 + 232},
      // 2 + 21 doubled braces + 211 letters = 255; one brace more is 256.
      {"plain exactly 255", ConvertCode128, std::string(21, '{') + std::string(211, 'a'), true,
       255},
      {"plain 256 refused", ConvertCode128, std::string(22, '{') + std::string(210, 'a'), false,
       0},
      {"plain braces double past 255", ConvertCode128, std::string(232, '{'), false, 0},
      {"parsed digits cut at 232", ConvertParsedCode128, "{C" + std::string(240, '7'), true,
       2 + 115},
      // Each "{C1" grows to "{C{B1": 77 of them make 385 bytes.
      {"parsed selections grow past 255", ConvertParsedCode128,
       [] {
         std::string s;
         for (int i = 0; i < 77; ++i) s += "{C1";
         return s;
       }(),
       false, 0},
      // Cutting at 232 splits the final "{{" and leaves a lone brace.
      {"parsed cut splits a pair", ConvertParsedCode128, "{B" + std::string(229, 'x') + "{{",
       false, 0},
  };
  for (const Limit& row : rows) {
    std::string data = row.in;
    ASSERT_EQ(row.convert(data), row.ok) << row.what;
    if (!row.ok) continue;
    EXPECT_EQ(data.size(), row.outSize) << row.what;
    std::string error;
    Decode(data, error);
    EXPECT_EQ(error, "") << row.what;
  }
}

// Every plain input of bytes below 0x80 short enough to fit must convert, and
// the printer must read back exactly the input.
TEST(Code128Conversion, PlainRoundTripThroughPrinterReading) {
  const char alphabet[] = "0123456789AZ {a~\x01\x1f\x7f";
  const size_t letters = sizeof alphabet - 1;
  uint32_t state = 12345;
  for (int trial = 0; trial < 3000; ++trial) {
    state = state * 1103515245u + 12345u;
    const size_t length = 1 + (state >> 16) % 60;
    std::string in;
    for (size_t i = 0; i < length; ++i) {
      state = state * 1103515245u + 12345u;
      // Favour digits so that runs of every length turn up.
      const uint32_t pick = (state >> 16) % (letters * 2);
      in += alphabet[pick < letters ? pick : pick % 10];
    }
    std::string data = in;
    ASSERT_TRUE(ConvertCode128(data)) << trial;
    std::string error;
    const std::string text = Decode(data, error);
    ASSERT_EQ(error, "") << trial;
    // The decoder reports a literal brace as '{' and set C values as digits.
    EXPECT_EQ(text, in) << trial;
  }
}

}  // namespace
