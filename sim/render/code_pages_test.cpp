#include "sim/render/code_pages.h"

#include <gtest/gtest.h>

namespace sim {
namespace render {
namespace {

TEST(CodePages, EachTableHasItsOwnUpperHalf) {
  struct Case {
    int table;
    uint8_t byte;
    char32_t printed;
  } cases[] = {
      {0, 0x82, U'\u00E9'},   // PC437 é
      {0, 0xB0, U'\u2591'},   // PC437 light shade
      {2, 0xD5, U'\u0131'},   // PC850 dotless i
      {5, 0x9B, U'\u00F8'},   // PC865 ø
      {16, 0x80, U'\u20AC'},  // Windows-1252 euro
      {16, 0xE9, U'\u00E9'},
      {16, 0x81, U'?'},       // a hole in Windows-1252
      {17, 0x80, U'\u0410'},  // PC866 Cyrillic A
      {18, 0xD5, U'\u0147'},  // PC852 Ň
      {19, 0xD5, U'\u20AC'},  // PC858: PC850 with the euro
      {16, 'A', U'A'},
      {1, 0xB1, U'?'},        // Katakana: not in this printer
      {99, 'A', U'A'},        // an unknown table still prints ASCII
      {99, 0x82, U'?'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CharacterOf(c.table, c.byte), c.printed) << "table " << c.table << " byte " << int{c.byte};
  }
}

}  // namespace
}  // namespace render
}  // namespace sim
