#include "so/format/BarcodeSequence.h"

#include <gtest/gtest.h>

#include <string>

namespace QEL {
namespace Printer {
namespace {

// The parsed data points into the text: the text must outlive the result.
bool Parse(const std::string& text, BarcodeSequence* out) {
  return ParseBarcodeSequence(reinterpret_cast<const uint8_t*>(text.data()), text.size(), out);
}

TEST(BarcodeSequence, ReadsEveryFieldAndTheDataUpToTheFinalE) {
  BarcodeSequence p;
  const std::string ean = "s104h162w400a-2t-13d4901234567894e";
  ASSERT_TRUE(Parse(ean, &p));
  EXPECT_EQ(p.symbology, 104);
  EXPECT_EQ(p.height, 162);
  EXPECT_EQ(p.width, 400);
  EXPECT_EQ(p.alignment, -2);
  EXPECT_EQ(p.textPosition, -13);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(p.data), p.length), "4901234567894");

  // Any sign character but '-' is positive; data may contain 'e'.
  const std::string code = "s110h50w3a+120t_11dcode eee";
  ASSERT_TRUE(Parse(code, &p));
  EXPECT_EQ(p.alignment, 120);
  EXPECT_EQ(p.textPosition, 11);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(p.data), p.length), "code ee");
}

TEST(BarcodeSequence, RefusesWhatDoesNotHoldEveryField) {
  BarcodeSequence p;
  for (const char* bad : {
           "",
           "s104h162w400a-2t-13d123",     // no final e
           "s104h162w400a-2t-13",         // no data field
           "s104h162w400a2t-13d1e",       // sign character missing: '2' taken as sign, no digits
           "s104w400h162a-2t-13d1e",      // fields out of order
           "sh162w400a-2t-13d1e",         // symbology without digits
           "s104h162w400a-2t-13x1e",      // 'x' where 'd' belongs
           "s99999999999h1w1a-1t-11d1e",  // a value nobody means
       }) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(Parse(bad, &p));
  }
}

}  // namespace
}  // namespace Printer
}  // namespace QEL
