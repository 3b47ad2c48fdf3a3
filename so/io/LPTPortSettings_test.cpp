#include "so/io/LPTPortSettings.h"

#include <gtest/gtest.h>

#include "so/io/PortSettingsError.h"

namespace QEL {
namespace IO {
namespace {

TEST(LPTPortSettings, Defaults) {
  LPTPortSettings s;
  EXPECT_EQ(s.GetPortType(), u"LPT");
  EXPECT_EQ(s.GetPortName(), u"LPT1");
  EXPECT_EQ(s.ToString(), u"LPT1");
}

TEST(LPTPortSettings, FirstFieldIsThePortNameUnchanged) {
  LPTPortSettings s;
  s.Parse(u"LPT2,ignored");
  EXPECT_EQ(s.GetPortName(), u"LPT2");
  EXPECT_EQ(s.GetSettingsText(), u"LPT2,ignored");
  EXPECT_EQ(s.ToString(), u"LPT2");
  EXPECT_EQ(s.GetSettingsText(), u"LPT2");
}

TEST(LPTPortSettings, PortNameCapacity) {
  LPTPortSettings s;
  std::u16string longest(254, u'L');
  s.Parse(longest);
  EXPECT_EQ(s.GetPortName(), longest);
  EXPECT_THROW(s.Parse(longest + u"X"), PortSettingsError);
  EXPECT_EQ(s.GetPortName(), longest);
}

TEST(LPTPortSettings, TextWithoutFieldsIsRefused) {
  LPTPortSettings s;
  EXPECT_THROW(s.Parse(u",,"), PortSettingsError);
  EXPECT_THROW(s.Parse(u""), PortSettingsError);
  EXPECT_EQ(s.GetPortName(), u"LPT1");
  EXPECT_EQ(s.GetSettingsText(), u"");
}

}  // namespace
}  // namespace IO
}  // namespace QEL
