#include "so/io/TokenizeSettings.h"

#include <gtest/gtest.h>

#include "so/io/PortSettingsError.h"

namespace QEL {
namespace IO {
namespace {

struct TokenCase {
  std::u16string text;
  std::u16string separators;
  std::vector<std::u16string> pieces;
};

TEST(TokenizeSettings, CutsAtSeparatorsAndDropsEmptyPieces) {
  const TokenCase cases[] = {
      {u"COM1,BaudRate_115200", u",", {u"COM1", u"BaudRate_115200"}},
      {u",9100", u",", {u"9100"}},
      {u"a,,b", u",", {u"a", u"b"}},
      {u"a,b,", u",", {u"a", u"b"}},
      {u",,,", u",", {}},
      {u",", u",", {}},
      {u"LPT1", u",", {u"LPT1"}},
      {u" a , b ", u",", {u" a ", u" b "}},
      {u"a;b,c", u";,", {u"a", u"b", u"c"}},
      {u"a,b", u";", {u"a,b"}},
      {u"\u00e4\u20ac,\u00df", u",", {u"\u00e4\u20ac", u"\u00df"}},
  };
  for (const TokenCase& c : cases) {
    EXPECT_EQ(TokenizeSettings(c.text, c.separators), c.pieces)
        << "text of " << c.text.size() << " units, first piece count " << c.pieces.size();
  }
}

TEST(TokenizeSettings, EmptyTextOrSeparatorsThrowTheFixedMessage) {
  for (const auto& args : {std::make_pair(std::u16string(), std::u16string(u",")),
                           std::make_pair(std::u16string(u"COM1"), std::u16string()),
                           std::make_pair(std::u16string(), std::u16string())}) {
    try {
      TokenizeSettings(args.first, args.second);
      ADD_FAILURE() << "no exception";
    } catch (const PortSettingsError& e) {
      EXPECT_STREQ(e.what(), "tokenize: empty  string");
    }
  }
}

TEST(TokenizeSettings, ErrorIsARuntimeError) {
  EXPECT_THROW(TokenizeSettings(u"", u","), std::runtime_error);
}

}  // namespace
}  // namespace IO
}  // namespace QEL
