#include "platform/device_names.h"

#include <gtest/gtest.h>

namespace {

TEST(DeviceNames, PosixRuleMapsRegistryPortNames) {
  const struct {
    std::u16string name;
    std::u16string path;
  } cases[] = {
      {u"\\\\.\\COM1", u"/dev/ttyS0"},
      {u"\\\\.\\com12", u"/dev/ttyS11"},
      {u"COM3", u"/dev/ttyS2"},
      {u"LPT1", u"/dev/lp0"},
      {u"lpt2", u"/dev/lp1"},
      {u"\\\\.\\/dev/pts/7", u"/dev/pts/7"},
      {u"/dev/usb/lp0", u"/dev/usb/lp0"},
      {u"\\\\.\\ttyUSB0", u"/dev/ttyUSB0"},
      {u"ttyACM1", u"/dev/ttyACM1"},
      // Not a numbered COM or LPT name: looked for under /dev as it is.
      {u"COM0", u"/dev/COM0"},
      {u"COMX", u"/dev/COMX"},
      {u"LPT", u"/dev/LPT"},
      {u"\\\\.\\", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::PosixDevicePath(c.name), c.path)
        << std::string(c.name.begin(), c.name.end());
  }
}

}  // namespace
