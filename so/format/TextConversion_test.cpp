#include "so/format/TextConversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace QEL::Printer;

namespace {

std::vector<uint8_t> Convert(const std::string& text, int32_t mode) {
  PrinterBuffer out(32, 32);
  EXPECT_TRUE(AppendBinaryConverted(out, text.data(), text.size(), mode));
  return std::vector<uint8_t>(out.data(), out.data() + out.size());
}

TEST(BinaryConversion, Nibble) {
  EXPECT_EQ(Convert("4A", kBinaryConversionNibble), (std::vector<uint8_t>{0x51}));
  EXPECT_EQ(Convert("41", kBinaryConversionNibble), (std::vector<uint8_t>{0x41}));
  // OPOS nibbles run from 0x30 to 0x3F, so 0x1B is written "1;".
  EXPECT_EQ(Convert("1;40", kBinaryConversionNibble), (std::vector<uint8_t>{0x1B, 0x40}));
  // The odd last character has no partner and is dropped.
  EXPECT_EQ(Convert("414", kBinaryConversionNibble), (std::vector<uint8_t>{0x41}));
  EXPECT_TRUE(Convert("", kBinaryConversionNibble).empty());
}

TEST(BinaryConversion, Decimal) {
  EXPECT_EQ(Convert("065066", kBinaryConversionDecimal), (std::vector<uint8_t>{0x41, 0x42}));
  EXPECT_EQ(Convert("0650", kBinaryConversionDecimal), (std::vector<uint8_t>{0x41}));
  EXPECT_EQ(Convert("255256", kBinaryConversionDecimal), (std::vector<uint8_t>{0xFF, 0x00}));
  // Escape and backspace characters count as zero digits.
  EXPECT_EQ(Convert(std::string("\x1b" "65\x08" "66"), kBinaryConversionDecimal),
            (std::vector<uint8_t>{65, 66}));
}

TEST(BinaryConversion, NoneStopsAtTheFirstZeroByte) {
  const std::string text("AB\0CD", 5);
  EXPECT_EQ(Convert(text, kBinaryConversionNone), (std::vector<uint8_t>{'A', 'B'}));
  EXPECT_EQ(Convert(text, kBinaryConversionNibble), (std::vector<uint8_t>{0x12}))
      << "pairs are read only up to the zero byte";
}

TEST(CharacterSetCodePage, ArabicAndLatinOneVariantsAreMapped) {
  EXPECT_EQ(CodePageForCharacterSet(720), 1256u);
  EXPECT_EQ(CodePageForCharacterSet(864), 1256u);
  EXPECT_EQ(CodePageForCharacterSet(850), 1252u);
  EXPECT_EQ(CodePageForCharacterSet(858), 1252u);
  EXPECT_EQ(CodePageForCharacterSet(437), 437u);
  EXPECT_EQ(CodePageForCharacterSet(936), 936u);
}

}  // namespace
