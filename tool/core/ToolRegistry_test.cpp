#include "tool/core/ToolRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/registry_test_sandbox.h"
#include "tool/core/StringHelpers.h"

namespace tool {
namespace {

using Names = std::vector<std::u16string>;

struct NextNameCase {
  Names existing;
  const char16_t* base;
  const char16_t* next;
};

TEST(NextDeviceNameTest, TakesOneMoreThanTheLargestSerialOfTheSameBase) {
  const NextNameCase cases[] = {
      {{}, u"TRAIL-3", u"TRAIL-3_01"},
      {{u"TRAIL-3_01", u"TRAIL-3_05"}, u"TRAIL-3", u"TRAIL-3_06"},
      {{u"TRAIL-3_05", u"TRAIL-3_01"}, u"TRAIL-3", u"TRAIL-3_06"},  // the largest, not the last
      {{u"TRAIL-3_09"}, u"TRAIL-3", u"TRAIL-3_10"},
      {{u"TRAIL-3_99"}, u"TRAIL-3", u"TRAIL-3_100"},
      {{u"TRAIL-3_x"}, u"TRAIL-3", u"TRAIL-3_01"},  // no numbers: M is 0
      {{u"TRAIL-3_x", u"TRAIL-3_03"}, u"TRAIL-3", u"TRAIL-3_04"},
      {{u"TRAIL-3e_01", u"TRAIL-3e_02"}, u"TRAIL-3", u"TRAIL-3_01"},
      {{u"TRAIL-3_01"}, u"TRAIL-3e", u"TRAIL-3e_01"},
      {{u"trail-3_04"}, u"TRAIL-3", u"TRAIL-3_01"},  // letter case included
      // "<base>_" anywhere in the name; the suffix after the last "_" counts.
      {{u"OLD-TRAIL-3_07"}, u"TRAIL-3", u"TRAIL-3_08"},
      // Drawers are numbered on their printer's name.
      {{u"TRAIL-3_01_01", u"TRAIL-3_02_01"}, u"TRAIL-3_01", u"TRAIL-3_01_02"},
      {{}, u"", u"_01"},
      {{u"TRAIL-3_01_03"}, u"", u"_04"},
  };
  for (const NextNameCase& c : cases) {
    SCOPED_TRACE(ToAscii(c.base) + " after " + std::to_string(c.existing.size()) + " names");
    EXPECT_EQ(NextDeviceNameFrom(c.existing, c.base), c.next);
  }
}

class ToolRegistryTest : public ::testing::Test {
 protected:
  ToolRegistryTest() : root_(box_.Path(u"ServiceOPOS")), registry_(box_.registry(), root_) {}

  platform::RegistryTestSandbox box_;
  std::u16string root_;
  ToolRegistry registry_;
};

TEST_F(ToolRegistryTest, ReadsOfMissingKeysAreEmptyAndCreateNothing) {
  EXPECT_TRUE(registry_.ListSubkeys(root_).empty());
  EXPECT_TRUE(registry_.ListValueNames(root_ + u"\\POSPrinter").empty());
  EXPECT_EQ(registry_.ReadString(root_ + u"\\POSPrinter\\X", u"PortType"), u"");
  EXPECT_EQ(box_.registry().Open(root_, platform::RegistryAccess::kRead), nullptr);
  EXPECT_FALSE(registry_.DeleteValue(root_ + u"\\POSPrinter", u"Receipt"));

  ASSERT_TRUE(registry_.EnsureClassKeys());
  Names classes = registry_.ListSubkeys(root_);
  std::sort(classes.begin(), classes.end());
  EXPECT_EQ(classes, (Names{u"CashDrawer", u"POSPrinter"}));
  // A second call keeps what is there.
  registry_.WriteString(root_ + u"\\POSPrinter", u"Receipt", u"TRAIL-3_01");
  ASSERT_TRUE(registry_.EnsureClassKeys());
  EXPECT_EQ(registry_.ListValueNames(root_ + u"\\POSPrinter"), (Names{u"Receipt"}));
}

// Written in alphabetical order, which is the registry's order both where it
// keeps the order of writing and where it sorts.
TEST_F(ToolRegistryTest, LogicalNamesAreComparedExactlyAndListedInRegistryOrder) {
  const std::u16string printers = registry_.ClassKeyPath(DeviceClass::kPrinter);
  EXPECT_EQ(printers, root_ + u"\\POSPrinter");
  registry_.WriteString(printers, u"Backup", u"TRAIL-3_01");
  registry_.WriteString(printers, u"Kitchen", u"TRAIL-3_02");
  registry_.WriteString(printers, u"Receipt", u"TRAIL-3_01");

  EXPECT_FALSE(registry_.IsLogicalNameFree(u"Receipt", DeviceClass::kPrinter));
  EXPECT_TRUE(registry_.IsLogicalNameFree(u"RECEIPT", DeviceClass::kPrinter));
  EXPECT_TRUE(registry_.IsLogicalNameFree(u"Receipt", DeviceClass::kDrawer));
  EXPECT_EQ(registry_.LogicalNameOfDevice(u"TRAIL-3_01", DeviceClass::kPrinter), u"Backup");
  EXPECT_EQ(registry_.LogicalNamesOfDevice(u"TRAIL-3_01", DeviceClass::kPrinter), (Names{u"Backup", u"Receipt"}));
  EXPECT_EQ(registry_.LogicalNameOfDevice(u"trail-3_01", DeviceClass::kPrinter), u"");
  EXPECT_EQ(registry_.LogicalNameOfDevice(u"TRAIL-3_03", DeviceClass::kPrinter), u"");
}

TEST_F(ToolRegistryTest, TheNextDeviceNameLooksOnlyAtTheClassOfItsKind) {
  registry_.WriteString(registry_.DeviceKeyPath(DeviceClass::kPrinter, u"TRAIL-3_01"), u"DriverName", u"TRAIL-3_01");
  registry_.WriteString(registry_.DeviceKeyPath(DeviceClass::kPrinter, u"TRAIL-3_04"), u"DriverName", u"TRAIL-3_04");
  registry_.WriteString(registry_.DeviceKeyPath(DeviceClass::kDrawer, u"TRAIL-3_01_01"), u"PrinterName",
                        u"TRAIL-3_01");
  EXPECT_EQ(registry_.NextDeviceName(DeviceClass::kPrinter, u"TRAIL-3"), u"TRAIL-3_05");
  EXPECT_EQ(registry_.NextDeviceName(DeviceClass::kDrawer, u"TRAIL-3_01"), u"TRAIL-3_01_02");
  EXPECT_EQ(registry_.NextDeviceName(DeviceClass::kDrawer, u"TRAIL-3_04"), u"TRAIL-3_04_01");

  ASSERT_TRUE(registry_.DeleteSubkey(registry_.ClassKeyPath(DeviceClass::kPrinter), u"TRAIL-3_04"));
  EXPECT_EQ(registry_.NextDeviceName(DeviceClass::kPrinter, u"TRAIL-3"), u"TRAIL-3_02");
}

}  // namespace
}  // namespace tool
