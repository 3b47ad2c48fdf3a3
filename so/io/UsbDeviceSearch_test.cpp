#include "so/io/UsbDeviceSearch.h"

#include <gtest/gtest.h>

namespace QEL {
namespace IO {
namespace {

using platform::UsbDeviceInterface;

TEST(UsbDeviceSearch, ModelNamesMatchExactly) {
  EXPECT_EQ(DeviceIdFilterForModel(u"QX1270"), u"VID_7C4E&PID_7008");
  EXPECT_EQ(DeviceIdFilterForModel(u"N415"), u"VID_7C4E&PID_7007");
  EXPECT_EQ(DeviceIdFilterForModel(u"EasyCoder PX4i"), u"VID_067E&PID_000D");
  // Case and blanks count: these are models the table does not know.
  EXPECT_EQ(DeviceIdFilterForModel(u"qx1270"), u"VID_08BD&PID_020B");
  EXPECT_EQ(DeviceIdFilterForModel(u"TRAIL-3E"), u"VID_08BD&PID_020B");
  EXPECT_EQ(DeviceIdFilterForModel(u"TM-T88IV "), u"VID_08BD&PID_020B");
  EXPECT_EQ(DeviceIdFilterForModel(u""), u"VID_08BD&PID_020B");
}

struct SearchCase {
  const char* name;
  std::vector<UsbDeviceInterface> devices;
  std::u16string filter;
  // Empty: no device is taken.
  std::u16string expectedPath;
  bool readsBack;
};

class FindUsbPrinterTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(FindUsbPrinterTest, TakesTheExpectedDevice) {
  const SearchCase& c = GetParam();
  std::optional<UsbDeviceMatch> match = FindUsbPrinter(c.devices, c.filter);
  if (c.expectedPath.empty()) {
    EXPECT_FALSE(match.has_value());
    return;
  }
  ASSERT_TRUE(match.has_value());
  EXPECT_EQ(match->devicePath, c.expectedPath);
  EXPECT_EQ(match->readsBack, c.readsBack);
}

const std::u16string kUnknownModel = DeviceIdFilterForModel(u"no such model");

INSTANTIATE_TEST_SUITE_P(
    Cases, FindUsbPrinterTest,
    ::testing::Values(
        SearchCase{"UnknownModelFindsItsDefaultIdentifier",
                   {{u"USB\\VID_0000&PID_0001", u"a"}, {u"USB\\VID_08BD&PID_020B&REV_0100", u"b"}},
                   kUnknownModel, u"b", false},
        SearchCase{"UnknownModelFallsBackToTheReadBackFamily",
                   {{u"USB\\VID_0000&PID_0001", u"a"}, {u"USB\\VID_0FE6&PID_811E", u"b"}},
                   kUnknownModel, u"b", true},
        SearchCase{"UnknownModelFallsBackToTheSecondVendor",
                   {{u"USB\\VID_2AAF&PID_6000", u"a"}}, kUnknownModel, u"a", false},
        SearchCase{"LowerCaseIdentifierMatches",
                   {{u"usb\\vid_7c4e&pid_7008&rev_0200", u"a"}}, u"VID_7C4E&PID_7008", u"a",
                   false},
        SearchCase{"LowerCaseFallbackMatchesAndReadsBack",
                   {{u"usb\\vid_0fe6&pid_811e", u"a"}}, u"VID_7C4E&PID_7008", u"a", true},
        SearchCase{"ConfiguredPrinterWinsOverAFallbackEnumeratedFirst",
                   {{u"USB\\VID_0FE6&PID_811E", u"fallback"},
                    {u"USB\\VID_7C4E&PID_7008", u"configured"}},
                   u"VID_7C4E&PID_7008", u"configured", false},
        SearchCase{"ReadBackFamilyWinsOverTheSecondVendorEnumeratedFirst",
                   {{u"USB\\VID_2AAF&PID_6000", u"a"}, {u"USB\\VID_0FE6&PID_811E", u"b"}},
                   u"VID_7C4E&PID_7008", u"b", true},
        SearchCase{"FirstOfTwoConfiguredPrintersIsTaken",
                   {{u"USB\\VID_7C4E&PID_7008", u"a"}, {u"USB\\VID_7C4E&PID_7008", u"b"}},
                   u"VID_7C4E&PID_7008", u"a", false},
        SearchCase{"OtherPrintersAreNotTaken",
                   {{u"USB\\VID_7C4E&PID_7007", u"a"}, {u"USB\\VID_04B8&PID_0202", u"b"}},
                   u"VID_7C4E&PID_7008", u"", false},
        SearchCase{"NoDevices", {}, u"VID_7C4E&PID_7008", u"", false}),
    [](const ::testing::TestParamInfo<SearchCase>& info) { return info.param.name; });

}  // namespace
}  // namespace IO
}  // namespace QEL
