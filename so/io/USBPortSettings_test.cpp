#include "so/io/USBPortSettings.h"

#include <gtest/gtest.h>

#include "so/io/PortSettingsError.h"

namespace QEL {
namespace IO {
namespace {

TEST(USBPortSettings, Defaults) {
  USBPortSettings s;
  EXPECT_EQ(s.GetPortType(), u"USB");
  EXPECT_EQ(s.GetPortName(), u"Auto");
  EXPECT_EQ(s.GetDeviceIdFilter(), u"VID_08BD&PID_020B");
  EXPECT_EQ(s.GetInterfaceClass(), u"USBPRINT");
  EXPECT_EQ(s.GetModelName(), u"FX-330");
}

TEST(USBPortSettings, ParseIgnoresEveryText) {
  for (const std::u16string& text : {std::u16string(u"USB001"), std::u16string(u""),
                                     std::u16string(u",,,"), std::u16string(600, u'x')}) {
    USBPortSettings s;
    EXPECT_NO_THROW(s.Parse(text));
    EXPECT_EQ(s.GetPortName(), u"Auto");
    EXPECT_EQ(s.ToString(), u"Auto");
    EXPECT_EQ(s.GetSettingsText(), u"");
  }
}

TEST(USBPortSettings, DeviceIdFilterCapacity) {
  USBPortSettings s;
  s.SetDeviceIdFilter(u"VID_7C4E&PID_7008");
  EXPECT_EQ(s.GetDeviceIdFilter(), u"VID_7C4E&PID_7008");
  std::u16string longest(254, u'F');
  s.SetDeviceIdFilter(longest);
  EXPECT_EQ(s.GetDeviceIdFilter(), longest);
  EXPECT_THROW(s.SetDeviceIdFilter(longest + u"F"), PortSettingsError);
  EXPECT_EQ(s.GetDeviceIdFilter(), longest);
}

}  // namespace
}  // namespace IO
}  // namespace QEL
