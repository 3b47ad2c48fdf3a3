#include "so/io/CPortSettingsBase.h"

#include <gtest/gtest.h>

#include "so/io/PortSettingsError.h"

namespace QEL {
namespace IO {
namespace {

TEST(CPortSettingsBase, DefaultsAndNoOpParse) {
  CPortSettingsBase s;
  s.Parse(u"COM1,BaudRate_9600");
  EXPECT_EQ(s.GetPortType(), u"USB");
  EXPECT_EQ(s.GetPortName(), u"Auto");
  EXPECT_EQ(s.ToString(), u"");
  EXPECT_EQ(s.GetSettingsText(), u"");
  EXPECT_EQ(s.GetFirstSizeValue(), 2048);
  EXPECT_EQ(s.GetSecondSizeValue(), 2048);
  EXPECT_EQ(s.GetWriteTimeout(), 1000);
  EXPECT_EQ(s.GetReadTimeout(), 1000);
}

TEST(CPortSettingsBase, SeparatorSetCapacity) {
  CPortSettingsBase s;
  s.SetSeparators(u",;:|/ \t-+");
  EXPECT_EQ(s.GetSeparators().size(), 9u);
  EXPECT_THROW(s.SetSeparators(u",;:|/ \t-+="), PortSettingsError);
  EXPECT_EQ(s.GetSeparators(), u",;:|/ \t-+");
}

TEST(CPortSettingsBase, CapacityErrorNamesTheField) {
  CPortSettingsBase s;
  try {
    s.SetSeparators(std::u16string(10, u','));
    FAIL() << "no exception";
  } catch (const PortSettingsError& e) {
    EXPECT_NE(std::string(e.what()).find("separator set"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace IO
}  // namespace QEL
