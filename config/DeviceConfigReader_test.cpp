// The device keys live in a private part of the real registry (the .reg file
// natively, the system registry under wine); the pauses are only recorded.
#include "config/DeviceConfigReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "config/RecordingRegistry_test.h"
#include "platform/registry_test_sandbox.h"

namespace QEL {
namespace Config {
namespace {

using platform::RegistryRead;

struct Value {
  const char16_t* name;
  std::u16string text;
};

// Every value a distinct text, so that a value landing in the wrong field shows.
std::vector<Value> PrinterValues() {
  return {{u"", u"TarrowOposPrinterU1.13"},  {kDeviceDescription, u"Tarrow POS Printer"},
          {kDriverModel, u"TRAIL-3"},         {kDriverName, u"TRAIL-3_01"},
          {kBitMapMode, u"RasterBitImage"},   {kPortType, u"TCP/IP"},
          {kReadTimeout, u"2001"},            {kWriteTimeout, u"2002"},
          {kOutputBufSize, u"2048"},          {kNotes, u"by the till"},
          {kPortSettings, u"192.168.1.87,9100"}, {kCodepageID, u"858"}};
}

std::vector<Value> DrawerValues() {
  return {{kPrinterName, u"TRAIL-3_01"}, {kCapDrawStatus, u"1"},    {kCashDrawerName, u"TRAIL-3_01_01"},
          {kDrawerPin, u"3"},            {kOpenVoltage, u"0"},      {kSignalOnTime, u"300"},
          {kSignalOffTime, u" 20ms"},    {kWaitForDrawerCloseTimeOut, u"5000"}};
}

const std::vector<std::u16string> kPrinterOrder = {
    u"PortType",     u"DriverModel", u"DriverName", u"PortSettings", u"OutputBufSize",    u"BitMapMode",
    u"WriteTimeout", u"ReadTimeout", u"CodepageID", u"DeviceDescription", u"Notes"};
const std::vector<std::u16string> kDrawerOrder = {u"OpenVoltage",   u"CapDrawStatus", u"DrawerPin",
                                                  u"PrinterName",   u"SignalOffTime", u"SignalOnTime",
                                                  u"WaitForDrawerCloseTimeOut"};

class DeviceConfigReaderTest : public ::testing::Test {
 protected:
  DeviceConfigReaderTest() : root_(box_.Path(u"ServiceOPOS")), recorder_(box_.registry()) {}

  platform::RegistryKey& Key(DeviceClass deviceClass, const std::u16string& device,
                             const std::vector<Value>& values) {
    keys_.push_back(box_.registry().Create(DeviceKeyPath(root_, deviceClass, device)));
    EXPECT_TRUE(keys_.back()) << box_.registry().ErrorText();
    for (const Value& v : values) EXPECT_TRUE(keys_.back()->WriteString(v.name, v.text));
    return *keys_.back();
  }

  DeviceConfigReader Reader() {
    return DeviceConfigReader(recorder_, [this](uint32_t ms) { pauses_.push_back(ms); }, root_);
  }

  // The values asked for, in order, without their key path.
  std::vector<std::u16string> Reads() const {
    std::vector<std::u16string> names;
    for (const std::u16string& line : recorder_.Lines(u"read ")) names.push_back(line.substr(line.find(u'|') + 1));
    return names;
  }

  static std::vector<uint32_t> Successes(size_t n) { return std::vector<uint32_t>(n, 10); }

  platform::RegistryTestSandbox box_;
  std::u16string root_;
  testing::RecordingRegistry recorder_;
  std::vector<std::unique_ptr<platform::RegistryKey>> keys_;
  std::vector<uint32_t> pauses_;
};

TEST_F(DeviceConfigReaderTest, PrinterValuesAreReadInTheirOrderIntoTheirFields) {
  Key(DeviceClass::kPrinter, u"TRAIL-3_01", PrinterValues());
  PrinterConfig config;
  ConfigReadResult result = Reader().ReadPrinter(u"TRAIL-3_01", &config);
  ASSERT_TRUE(result.Ok()) << result.detail;
  EXPECT_EQ(config.portType, u"TCP/IP");
  EXPECT_EQ(config.driverModel, u"TRAIL-3");
  EXPECT_EQ(config.driverName, u"TRAIL-3_01");
  EXPECT_EQ(config.portSettings, u"192.168.1.87,9100");
  EXPECT_EQ(config.outputBufSize, u"2048");
  EXPECT_EQ(config.bitMapMode, u"RasterBitImage");
  EXPECT_EQ(config.writeTimeout, u"2002");
  EXPECT_EQ(config.readTimeout, u"2001");
  EXPECT_EQ(config.codepageId, u"858");
  EXPECT_EQ(config.deviceDescription, u"Tarrow POS Printer");
  EXPECT_EQ(config.notes, u"by the till");
  // InputBufSize is absent here and never asked for.
  EXPECT_EQ(Reads(), kPrinterOrder);
  EXPECT_EQ(recorder_.Lines(u"open "),
            (std::vector<std::u16string>{root_ + u"\\POSPrinter\\TRAIL-3_01"}));
  EXPECT_EQ(pauses_, Successes(11));
}

TEST_F(DeviceConfigReaderTest, DrawerValuesAreReadInTheirOrderFromTheDrawerKeyOnly) {
  Key(DeviceClass::kDrawer, u"TRAIL-3_01_01", DrawerValues());
  DrawerConfig config;
  ConfigReadResult result = Reader().ReadDrawer(u"TRAIL-3_01_01", &config);
  ASSERT_TRUE(result.Ok()) << result.detail;
  EXPECT_EQ(config.printerName, u"TRAIL-3_01");
  EXPECT_EQ(Reads(), kDrawerOrder);
  EXPECT_EQ(recorder_.Lines(u"open "),
            (std::vector<std::u16string>{root_ + u"\\CashDrawer\\TRAIL-3_01_01"}));
  EXPECT_EQ(pauses_, Successes(7));
  DrawerNumbers n = ToNumbers(config);
  EXPECT_EQ(n.pinMask, 3);
  EXPECT_EQ(n.openVoltage, 0);
  EXPECT_EQ(n.capDrawStatus, 1);
  EXPECT_EQ(n.onTime, 300);
  EXPECT_EQ(n.offTime, 20);
  EXPECT_EQ(n.closeWaitMs, 5000);
}

// Each kind of unreadable value gets six attempts with growing pauses, then
// the read fails naming the value; the values after it are never asked for.
TEST_F(DeviceConfigReaderTest, AnUnreadableValueIsRetriedSixTimesThenFails) {
  const struct {
    const char* what;
    void (*spoil)(platform::RegistryKey&);
    RegistryRead lastRead;
  } cases[] = {
      {"missing", [](platform::RegistryKey& k) { k.DeleteValue(kCodepageID); }, RegistryRead::kMissing},
      {"a number", [](platform::RegistryKey& k) { k.WriteNumber(kCodepageID, 437); },
       RegistryRead::kNotString},
      {"256 characters", [](platform::RegistryKey& k) { k.WriteString(kCodepageID, std::u16string(256, u'4')); },
       RegistryRead::kTooLong},
      {"over the read buffer", [](platform::RegistryKey& k) { k.WriteString(kCodepageID, std::u16string(600, u'4')); },
       RegistryRead::kTooLong},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::u16string device = u"P_" + std::u16string(c.what, c.what + 1);
    c.spoil(Key(DeviceClass::kPrinter, device, PrinterValues()));
    pauses_.clear();
    PrinterConfig config;
    ConfigReadResult result = Reader().ReadPrinter(device, &config);
    EXPECT_EQ(result.fault, ConfigFault::kValueUnreadable);
    EXPECT_EQ(result.failed, u"CodepageID");
    EXPECT_EQ(result.lastRead, c.lastRead);
    EXPECT_FALSE(result.detail.empty());
    std::vector<uint32_t> expected = Successes(8);
    for (uint32_t ms : {0u, 20u, 40u, 60u, 80u}) expected.push_back(ms);
    EXPECT_EQ(pauses_, expected);
    EXPECT_EQ(config.readTimeout, u"2001") << "the values before the failed one are kept";
  }
  std::vector<std::u16string> reads = Reads();
  EXPECT_EQ(std::count(reads.begin(), reads.end(), u"CodepageID"), 4 * 6);
  EXPECT_EQ(std::count(reads.begin(), reads.end(), u"DeviceDescription"), 0);
}

TEST_F(DeviceConfigReaderTest, ADrawerRetriesInFiftyMillisecondSteps) {
  platform::RegistryKey& key = Key(DeviceClass::kDrawer, u"D", DrawerValues());
  key.DeleteValue(kOpenVoltage);
  DrawerConfig config;
  ConfigReadResult result = Reader().ReadDrawer(u"D", &config);
  EXPECT_EQ(result.fault, ConfigFault::kValueUnreadable);
  EXPECT_EQ(result.failed, u"OpenVoltage");
  EXPECT_EQ(pauses_, (std::vector<uint32_t>{0, 50, 100, 150, 200}));
}

TEST_F(DeviceConfigReaderTest, AValueThatAppearsDuringTheRetriesIsTaken) {
  platform::RegistryKey& key = Key(DeviceClass::kPrinter, u"P", PrinterValues());
  key.DeleteValue(kDriverModel);
  DeviceConfigReader reader(recorder_,
                            [&](uint32_t ms) {
                              pauses_.push_back(ms);
                              // The tool finishes its save during the third pause.
                              if (ms == 40) key.WriteString(kDriverModel, u"TRAIL-3e");
                            },
                            root_);
  PrinterConfig config;
  ASSERT_TRUE(reader.ReadPrinter(u"P", &config).Ok());
  EXPECT_EQ(config.driverModel, u"TRAIL-3e");
  std::vector<uint32_t> expected = {10, 0, 20, 40};
  for (uint32_t ms : Successes(10)) expected.push_back(ms);
  EXPECT_EQ(pauses_, expected);
}

TEST_F(DeviceConfigReaderTest, EmptyNotesAnd255CharactersAreValidValues) {
  platform::RegistryKey& key = Key(DeviceClass::kPrinter, u"P", PrinterValues());
  key.WriteString(kNotes, u"");
  key.WriteString(kPortSettings, std::u16string(255, u'x'));
  PrinterConfig config;
  config.notes = u"stale";
  ASSERT_TRUE(Reader().ReadPrinter(u"P", &config).Ok());
  EXPECT_EQ(config.notes, u"");
  EXPECT_EQ(config.portSettings.size(), 255u);
}

TEST_F(DeviceConfigReaderTest, AMissingKeyFailsAtOnce) {
  Key(DeviceClass::kPrinter, u"Other", PrinterValues());
  for (const char16_t* device : {u"Absent", u""}) {
    PrinterConfig config;
    ConfigReadResult result = Reader().ReadPrinter(device, &config);
    EXPECT_EQ(result.fault, ConfigFault::kKeyNotOpened);
    EXPECT_EQ(result.failed, root_ + u"\\POSPrinter\\" + device);
  }
  DrawerConfig drawer;
  EXPECT_EQ(Reader().ReadDrawer(u"Other", &drawer).fault, ConfigFault::kKeyNotOpened);
  EXPECT_TRUE(Reads().empty());
  EXPECT_TRUE(pauses_.empty());
}

TEST_F(DeviceConfigReaderTest, AMalformedStoreFileIsAKeyThatCannotBeOpened) {
  if (!platform::RegistryIsFileBacked()) GTEST_SKIP() << "the registry is the system's here";
  Key(DeviceClass::kPrinter, u"P", PrinterValues());
  std::ofstream(box_.StoreFile(), std::ios::app) << "garbage\n";
  PrinterConfig config;
  ConfigReadResult result = Reader().ReadPrinter(u"P", &config);
  EXPECT_EQ(result.fault, ConfigFault::kKeyNotOpened);
  EXPECT_NE(result.detail.find(box_.StoreFile() + " line "), std::string::npos) << result.detail;
}

}  // namespace
}  // namespace Config
}  // namespace QEL
