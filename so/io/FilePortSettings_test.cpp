#include "so/io/FilePortSettings.h"

#include <gtest/gtest.h>

#include "so/io/PortSettingsError.h"

namespace QEL {
namespace IO {
namespace {

TEST(FilePortSettings, Defaults) {
  FilePortSettings s;
  EXPECT_EQ(s.GetPortType(), u"FILE");
  EXPECT_EQ(s.GetOutputPath(), u"");
  EXPECT_EQ(s.GetInputPath(), u"");
  EXPECT_EQ(s.ToString(), u",");
}

TEST(FilePortSettings, OutputThenInputPath) {
  FilePortSettings s;
  s.Parse(u"/tmp/out.bin,/tmp/in.bin,ignored");
  EXPECT_EQ(s.GetOutputPath(), u"/tmp/out.bin");
  EXPECT_EQ(s.GetInputPath(), u"/tmp/in.bin");
  EXPECT_EQ(s.GetSettingsText(), u"/tmp/out.bin,/tmp/in.bin,ignored");
  EXPECT_EQ(s.ToString(), u"/tmp/out.bin,/tmp/in.bin");
}

TEST(FilePortSettings, AbsentFieldsKeepTheirPaths) {
  FilePortSettings s;
  s.Parse(u"a.out,a.in");
  s.Parse(u",,,");
  EXPECT_EQ(s.GetOutputPath(), u"a.out");
  EXPECT_EQ(s.GetInputPath(), u"a.in");
  s.Parse(u"b.out");
  EXPECT_EQ(s.GetOutputPath(), u"b.out");
  EXPECT_EQ(s.GetInputPath(), u"a.in");
}

TEST(FilePortSettings, PathCapacity) {
  const std::u16string longest(254, u'p');
  FilePortSettings s;
  s.Parse(longest + u"," + longest);
  EXPECT_EQ(s.GetOutputPath(), longest);
  EXPECT_EQ(s.GetInputPath(), longest);
  EXPECT_EQ(s.ToString(), longest + u"," + longest);

  FilePortSettings t;
  t.Parse(u"o,i");
  EXPECT_THROW(t.Parse(longest + u"x,new.in"), PortSettingsError);
  EXPECT_THROW(t.Parse(u"new.out," + longest + u"x"), PortSettingsError);
  EXPECT_EQ(t.GetOutputPath(), u"o");
  EXPECT_EQ(t.GetInputPath(), u"i");
  EXPECT_EQ(t.GetSettingsText(), u"o,i");
}

TEST(FilePortSettings, OtherSeparators) {
  FilePortSettings s;
  s.SetSeparators(u";|");
  s.Parse(u"C:\\a,b.out;in|x");
  EXPECT_EQ(s.GetOutputPath(), u"C:\\a,b.out");
  EXPECT_EQ(s.GetInputPath(), u"in");
}

}  // namespace
}  // namespace IO
}  // namespace QEL
