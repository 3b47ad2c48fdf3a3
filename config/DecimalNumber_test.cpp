#include "config/DecimalNumber.h"

#include <gtest/gtest.h>

namespace QEL {
namespace Config {
namespace {

TEST(DecimalNumber, ReadsLikeTheCLibrary) {
  const struct {
    const char16_t* text;
    int32_t value;
  } cases[] = {
      {u"437", 437},          {u"  \t\r\n42", 42},    {u"-7", -7},
      {u"+5", 5},             {u"12abc", 12},         {u"3 4", 3},
      {u"", 0},               {u"abc", 0},            {u"- 5", 0},
      {u"--5", 0},            {u"0x10", 0},           {u"300", 300},
      {u"2147483647", 2147483647},                    {u"2147483648", 2147483647},
      {u"99999999999999999999", 2147483647},          {u"-2147483648", -2147483647 - 1},
      {u"-99999999999999999999", -2147483647 - 1},    {u"\u0663", 0},  // Arabic-Indic three
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    EXPECT_EQ(DecimalNumber(cases[i].text), cases[i].value) << "case " << i;
  }
}

}  // namespace
}  // namespace Config
}  // namespace QEL
