#include "tool/core/StringHelpers.h"

#include <gtest/gtest.h>

namespace tool {
namespace {

using Pieces = std::vector<std::u16string>;

struct OccurrenceCase {
  const char16_t* text;
  const char16_t* separator;
  size_t count;
  size_t secondPosition;  // PositionOfOccurrence(text, separator, 2)
};

TEST(StringHelpersTest, OccurrencesAreCountedFromTheSecondCharacterOn) {
  const OccurrenceCase cases[] = {
      {u"10.0.0.1", u".", 3, 5},
      {u".1.2.3", u".", 2, 5},  // a leading dot is not counted
      {u"a,b,", u",", 2, 4},
      {u"", u",", 0, 0},
      {u",", u",", 0, 0},
      {u"aaa", u"aa", 1, 0},     // the only occurrence after the first character
      {u"xaaa", u"aa", 2, 3},    // searches restart one character after a find
      {u"abc", u"", 0, 0},
  };
  for (const OccurrenceCase& c : cases) {
    SCOPED_TRACE(ToAscii(c.text));
    EXPECT_EQ(CountOccurrences(c.text, c.separator), c.count);
    EXPECT_EQ(PositionOfOccurrence(c.text, c.separator, 2), c.secondPosition);
  }
  EXPECT_EQ(PositionOfOccurrence(u"10.0.0.1", u".", 1), 3u);
  EXPECT_EQ(PositionOfOccurrence(u"10.0.0.1", u".", 4), 0u);
  EXPECT_EQ(PositionOfOccurrence(u"10.0.0.1", u".", 0), 0u);
}

TEST(StringHelpersTest, SplitKeepsTheEmptyPiecesAndTheTextAfterTheLastSeparator) {
  EXPECT_EQ(Split(u"a,b,", u","), (Pieces{u"a", u"b", u""}));
  EXPECT_EQ(Split(u",a", u","), (Pieces{u"", u"a"}));
  EXPECT_EQ(Split(u"COM1,BaudRate_9600", u","), (Pieces{u"COM1", u"BaudRate_9600"}));
  EXPECT_EQ(Split(u"single", u","), (Pieces{u"single"}));
  EXPECT_EQ(Split(u"a,,b", u","), (Pieces{u"a", u"", u"b"}));
  EXPECT_EQ(Split(u"a::b", u"::"), (Pieces{u"a", u"b"}));
  EXPECT_TRUE(Split(u"", u",").empty());
}

TEST(StringHelpersTest, TrimAndCaseFoldTouchOnlyWhatTheyShould) {
  EXPECT_EQ(Trim(u" \t10.0.0.1 \t"), u"10.0.0.1");
  EXPECT_EQ(Trim(u"   "), u"");
  EXPECT_EQ(Trim(u"a b"), u"a b");
  EXPECT_EQ(AsciiUpper(u"com1: \u00e9"), u"COM1: \u00e9");
}

}  // namespace
}  // namespace tool
