#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/TestPrinterModel.h"

using QEL::Printer::PrinterBuffer;
using testing_support::TestPrinterModel;

namespace {

std::string Convert(TestPrinterModel& core, const std::u16string& text, unsigned* codePage) {
  const size_t needed = core.BStr2Char(text, nullptr, 0, codePage);
  std::string out(needed, '\0');
  const size_t written = core.BStr2Char(text, &out[0], out.size(), codePage);
  EXPECT_EQ(written, needed);
  return out;
}

TEST(BStr2Char, CharacterSetPicksTheCodePage) {
  TestPrinterModel core;
  unsigned codePage = 0;
  core.SetCharacterSetValue(437);
  EXPECT_EQ(Convert(core, u"\u00e9A", &codePage), std::string("\x82" "A"));
  EXPECT_EQ(codePage, 437u);
  core.SetCharacterSetValue(858);
  EXPECT_EQ(Convert(core, u"\u00e9A", &codePage), std::string("\xe9" "A"));
  EXPECT_EQ(codePage, 1252u);
  core.SetCharacterSetValue(864);
  Convert(core, u"A", &codePage);
  EXPECT_EQ(codePage, 1256u);
}

TEST(BStr2Char, UnmappableCharactersBecomeQuestionMarks) {
  TestPrinterModel core;
  core.SetCharacterSetValue(437);
  EXPECT_EQ(Convert(core, u"a\u4e2db", nullptr), "a?b");
}

TEST(BStr2Char, BinaryConversionUsesTheAnsiCodePageAndLeavesTheCodePageOutAlone) {
  TestPrinterModel core;
  core.SetCharacterSetValue(858);
  core.SetBinaryConversion(1);
  unsigned codePage = 12345;
  EXPECT_EQ(Convert(core, u"4A", &codePage), "4A");
  EXPECT_EQ(codePage, 12345u);
}

TEST(BStr2Char, TooSmallOutputWritesNothing) {
  TestPrinterModel core;
  char out[2] = {'x', 'x'};
  EXPECT_EQ(core.BStr2Char(u"ABCD", out, sizeof out, nullptr), 0u);
}

TEST(DataBinaryConversion, TextBecomesDecodedBytes) {
  TestPrinterModel core;
  PrinterBuffer out(32, 32);
  core.SetBinaryConversion(1);
  ASSERT_TRUE(core.DataBinaryConversion(u"1;40", out));
  core.SetBinaryConversion(2);
  ASSERT_TRUE(core.DataBinaryConversion(u"065066", out));
  core.SetBinaryConversion(0);
  ASSERT_TRUE(core.DataBinaryConversion(u"\u00e9", out));
  EXPECT_EQ(std::vector<uint8_t>(out.data(), out.data() + out.size()),
            (std::vector<uint8_t>{0x1B, 0x40, 0x41, 0x42, 0x82}));
}

}  // namespace
