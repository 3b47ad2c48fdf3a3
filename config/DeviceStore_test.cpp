// The tool's side, against a private part of the real registry.
#include "config/DeviceStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "config/DeviceConfigReader.h"
#include "config/RecordingRegistry_test.h"
#include "platform/registry_test_sandbox.h"

namespace QEL {
namespace Config {
namespace {

using Names = std::vector<std::u16string>;

PrinterKeyValues Printer(const std::u16string& device) {
  PrinterKeyValues p;
  p.progId = u"TarrowOposPrinterU1.13";
  p.deviceDescription = u"Tarrow POS Printer";
  p.driverModel = u"TRAIL-3";
  p.deviceName = device;
  p.portType = u"TCP/IP";
  p.notes = u"";
  p.portSettings = u"192.168.1.87,9100";
  return p;
}

class DeviceStoreTest : public ::testing::Test {
 protected:
  DeviceStoreTest() : root_(box_.Path(u"ServiceOPOS")), paths_(box_.registry()) {}

  // Name -> text of a key's values; their order is the registry's business
  // (wine sorts them), the order of writing shows in a RecordingRegistry.
  std::map<std::u16string, std::u16string> Values(DeviceClass c, const std::u16string& device = u"") {
    std::map<std::u16string, std::u16string> values;
    for (const platform::RegistryValue& v :
         paths_.Values(device.empty() ? ClassKeyPath(root_, c) : DeviceKeyPath(root_, c, device))) {
      values[v.name] = v.text;
    }
    return values;
  }
  // The value names written, in order, without their key path.
  static Names Written(const testing::RecordingRegistry& recorder) {
    Names names;
    for (const std::u16string& line : recorder.Lines(u"write ")) names.push_back(line.substr(line.find(u'|') + 1));
    return names;
  }

  platform::RegistryTestSandbox box_;
  std::u16string root_;
  RegistryByPath paths_;
};

TEST_F(DeviceStoreTest, APrinterIsSavedInTheLayoutsOrderAndReadsBack) {
  testing::RecordingRegistry recorder(box_.registry());
  DeviceStore store(recorder, root_);
  ASSERT_TRUE(store.SavePrinter(Printer(u"TRAIL-3_01"), u"Receipt"));

  const std::u16string device = DeviceKeyPath(root_, DeviceClass::kPrinter, u"TRAIL-3_01");
  const std::u16string cls = ClassKeyPath(root_, DeviceClass::kPrinter);
  Names expected;
  for (const char16_t* name :
       {u"", u"DeviceDescription", u"DriverModel", u"DriverName", u"BitMapMode", u"PortType",
        u"ReadTimeout", u"WriteTimeout", u"InputBufSize", u"OutputBufSize", u"Notes"}) {
    expected.push_back(device + u"|" + name);
  }
  expected.push_back(cls + u"|Receipt");
  expected.push_back(device + u"|PortSettings");
  expected.push_back(device + u"|CodepageID");
  EXPECT_EQ(recorder.Lines(u"write "), expected);

  EXPECT_EQ(Values(DeviceClass::kPrinter, u"TRAIL-3_01"),
            (std::map<std::u16string, std::u16string>{{u"", u"TarrowOposPrinterU1.13"},
                                                       {u"DeviceDescription", u"Tarrow POS Printer"},
                                                       {u"DriverModel", u"TRAIL-3"},
                                                       {u"DriverName", u"TRAIL-3_01"},
                                                       {u"BitMapMode", u"RasterBitImage"},
                                                       {u"PortType", u"TCP/IP"},
                                                       {u"ReadTimeout", u"2000"},
                                                       {u"WriteTimeout", u"2000"},
                                                       {u"InputBufSize", u"2048"},
                                                       {u"OutputBufSize", u"2048"},
                                                       {u"Notes", u""},
                                                       {u"PortSettings", u"192.168.1.87,9100"},
                                                       {u"CodepageID", u"437"}}));
  EXPECT_EQ(paths_.ReadString(cls, u"Receipt"), u"TRAIL-3_01");

  PrinterConfig config;
  DeviceConfigReader reader(box_.registry(), [](uint32_t) {}, root_);
  ASSERT_TRUE(reader.ReadPrinter(u"TRAIL-3_01", &config).Ok());
  EXPECT_EQ(config.portSettings, u"192.168.1.87,9100");
  EXPECT_EQ(config.notes, u"");
}

TEST_F(DeviceStoreTest, SavingAgainOverwritesAndResetsTheCodePage) {
  testing::RecordingRegistry recorder(box_.registry());
  DeviceStore store(recorder, root_);
  PrinterKeyValues p = Printer(u"P_01");
  p.progId.clear();  // a model outside every group: no ProgID, no description
  ASSERT_TRUE(store.SavePrinter(p, u"Receipt"));
  EXPECT_EQ(Written(recorder).front(), u"DriverModel");
  EXPECT_EQ(Values(DeviceClass::kPrinter, u"P_01").count(u""), 0u);
  EXPECT_EQ(Values(DeviceClass::kPrinter, u"P_01").count(u"DeviceDescription"), 0u);
  ASSERT_TRUE(paths_.WriteString(DeviceKeyPath(root_, DeviceClass::kPrinter, u"P_01"), kCodepageID, u"858"));
  p.portSettings = u"10.0.0.2,9100";
  ASSERT_TRUE(store.SavePrinter(p, u"Receipt"));
  std::map<std::u16string, std::u16string> values = Values(DeviceClass::kPrinter, u"P_01");
  EXPECT_EQ(values.size(), 11u);
  EXPECT_EQ(values[u"PortSettings"], u"10.0.0.2,9100");
  EXPECT_EQ(values[u"CodepageID"], u"437");
  EXPECT_EQ(Values(DeviceClass::kPrinter).size(), 1u);
}

TEST_F(DeviceStoreTest, ADrawerIsSavedInTheLayoutsOrderWithItsLogicalNameLast) {
  testing::RecordingRegistry recorder(box_.registry());
  DeviceStore store(recorder, root_);
  DrawerKeyValues d;
  d.progId = u"TarrowOposPrinterU1.13";
  d.deviceName = u"TRAIL-3_01_01";
  d.printerName = u"TRAIL-3_01";
  d.capDrawStatus = u"1";
  d.drawerPin = u"2";
  d.openVoltage = u"1";
  ASSERT_TRUE(store.SaveDrawer(d, u"Till"));
  EXPECT_EQ(Written(recorder), (Names{u"", u"PrinterName", u"CapDrawStatus", u"CashDrawerName", u"DrawerPin", u"OpenVoltage",
                           u"SignalOnTime", u"SignalOffTime", u"WaitForDrawerCloseTimeOut", u"Till"}));
  EXPECT_EQ(recorder.Lines(u"write ").back(), ClassKeyPath(root_, DeviceClass::kDrawer) + u"|Till");
  EXPECT_EQ(Values(DeviceClass::kDrawer, u"TRAIL-3_01_01"),
            (std::map<std::u16string, std::u16string>{{u"", u"TarrowOposPrinterU1.13"},
                                                       {u"PrinterName", u"TRAIL-3_01"},
                                                       {u"CapDrawStatus", u"1"},
                                                       {u"CashDrawerName", u"TRAIL-3_01_01"},
                                                       {u"DrawerPin", u"2"},
                                                       {u"OpenVoltage", u"1"},
                                                       {u"SignalOnTime", u"10"},
                                                       {u"SignalOffTime", u"10"},
                                                       {u"WaitForDrawerCloseTimeOut", u"5000"}}));
  EXPECT_EQ(Values(DeviceClass::kDrawer), (std::map<std::u16string, std::u16string>{{u"Till", u"TRAIL-3_01_01"}}));
}

TEST_F(DeviceStoreTest, LogicalNamesAreFoundByExactTextAndGoWithTheirDevice) {
  DeviceStore store(box_.registry(), root_);
  // Names in alphabetical order of writing, so that every registry lists them alike.
  ASSERT_TRUE(store.SavePrinter(Printer(u"A_01"), u"Counter"));
  ASSERT_TRUE(store.SavePrinter(Printer(u"B_01"), u"Kitchen"));
  ASSERT_TRUE(store.SavePrinter(Printer(u"A_01"), u"Receipt"));
  ASSERT_TRUE(paths_.WriteString(ClassKeyPath(root_, DeviceClass::kPrinter), u"Shouting", u"a_01"));

  EXPECT_EQ(store.Devices(DeviceClass::kPrinter), (Names{u"A_01", u"B_01"}));
  EXPECT_EQ(store.LogicalNames(DeviceClass::kPrinter, u"A_01"), (Names{u"Counter", u"Receipt"}));
  EXPECT_EQ(store.LogicalNameOf(DeviceClass::kPrinter, u"A_01"), u"Counter");
  EXPECT_EQ(store.LogicalNameOf(DeviceClass::kPrinter, u"C_01"), u"");
  EXPECT_FALSE(store.IsLogicalNameFree(DeviceClass::kPrinter, u"Kitchen"));
  EXPECT_TRUE(store.IsLogicalNameFree(DeviceClass::kPrinter, u"kitchen"));
  EXPECT_TRUE(store.IsLogicalNameFree(DeviceClass::kDrawer, u"Kitchen"));

  ASSERT_TRUE(store.DeleteDevice(DeviceClass::kPrinter, u"A_01"));
  EXPECT_EQ(store.Devices(DeviceClass::kPrinter), (Names{u"B_01"}));
  EXPECT_EQ(Values(DeviceClass::kPrinter),
            (std::map<std::u16string, std::u16string>{{u"Kitchen", u"B_01"}, {u"Shouting", u"a_01"}}));
  EXPECT_FALSE(store.DeleteDevice(DeviceClass::kPrinter, u"A_01"));
  EXPECT_FALSE(store.DeleteDevice(DeviceClass::kPrinter, u""));
  ASSERT_TRUE(store.DeleteLogicalName(DeviceClass::kPrinter, u"Kitchen"));
  EXPECT_EQ(Values(DeviceClass::kPrinter).count(u"Kitchen"), 0u);
  EXPECT_EQ(store.Devices(DeviceClass::kPrinter), (Names{u"B_01"}));
}

TEST_F(DeviceStoreTest, WithoutTheTreeEverythingReadsEmptyAndNothingIsCreated) {
  DeviceStore store(box_.registry(), root_);
  EXPECT_TRUE(store.Devices(DeviceClass::kPrinter).empty());
  EXPECT_TRUE(store.LogicalNames(DeviceClass::kDrawer, u"X").empty());
  EXPECT_TRUE(store.IsLogicalNameFree(DeviceClass::kPrinter, u"Receipt"));
  EXPECT_EQ(paths_.ReadString(ClassKeyPath(root_, DeviceClass::kPrinter), u"Receipt"), u"");
  EXPECT_FALSE(store.DeleteLogicalName(DeviceClass::kPrinter, u"Receipt"));
  EXPECT_FALSE(box_.registry().Open(root_, platform::RegistryAccess::kRead));

  ASSERT_TRUE(store.EnsureClassKeys());
  Names classes = paths_.SubkeyNames(root_);
  std::sort(classes.begin(), classes.end());  // the system registry lists them its own way
  EXPECT_EQ(classes, (Names{u"CashDrawer", u"POSPrinter"}));
  EXPECT_TRUE(store.Devices(DeviceClass::kDrawer).empty());
}

}  // namespace
}  // namespace Config
}  // namespace QEL
