#include "so/format/BarcodeDataRules.h"

#include <gtest/gtest.h>

#include <string>

namespace QEL {
namespace Printer {
namespace {

bool Fits(int32_t symbology, const std::string& data) {
  return BarcodeDataFits(symbology, reinterpret_cast<const uint8_t*>(data.data()), data.size());
}

TEST(BarcodeDataRules, EachSymbologyTakesOnlyWhatItEncodes) {
  struct Case {
    int32_t symbology;
    const char* data;
    bool fits;
  };
  const Case cases[] = {
      {101, "03600029145", true},   {101, "036000291452", true}, {101, "0360002914", false},
      {101, "03600029145X", false}, {102, "123456", true},       {102, "01234565", true},
      {102, "11234565", false},     {103, "9638507", true},      {103, "96385074", true},
      {103, "963850741", false},    {104, "490123456789", true}, {104, "4901234567894", true},
      {104, "49012345678", false},  {104, "490123456789A", false},
      {106, "1234", true},          {106, "123", false},         {106, "12a4", false},
      {107, "A1234B", true},        {107, "1234", false},        {107, "A12#4B", false},
      {108, "CODE 39-$", true},     {108, "code39", false},      {109, "Any text 93", true},
      {110, "\x7b\x42Name", true},  {110, "caf\xe9", false},     {120, "\xff", false},
      {201, "\xff\x01", true},      {104, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.symbology) + " " + c.data);
    EXPECT_EQ(Fits(c.symbology, c.data), c.fits);
  }
}

}  // namespace
}  // namespace Printer
}  // namespace QEL
