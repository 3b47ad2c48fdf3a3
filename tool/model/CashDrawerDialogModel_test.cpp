#include "tool/model/CashDrawerDialogModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>

#include "config/DeviceConfigReader.h"
#include "config/RecordingRegistry_test.h"
#include "tool/core/StringHelpers.h"
#include "tool/model/ToolTestSupport_test.h"

namespace tool {
namespace {

using tooltest::ScriptedPrompt;
using Shown = ScriptedPrompt::Shown;
using Values = std::map<std::u16string, std::u16string>;
using Texts = std::vector<std::u16string>;

constexpr const char16_t* kTarrow = u"TarrowOposPrinterU1.13";

class CashDrawerDialogModelTest : public ::testing::Test {
 protected:
  explicit CashDrawerDialogModelTest(std::u16string edition = u"TARROW")
      : tool_(std::move(edition)), dialog_(tool_.context(), prompt_) {
    dialog_.Create();
  }

  Values KeyValues(const std::u16string& path) {
    Values values;
    for (const platform::RegistryValue& v : tool_.registry().ListValues(path)) values[v.name] = v.text;
    return values;
  }
  std::u16string DrawerKey(const std::u16string& device) { return tool_.DrawerClass() + u"\\" + device; }
  void ShowAdd() {
    tool_.context().selectedKeyPath = tool_.DrawerClass();
    tool_.context().selectedDevice.clear();
    dialog_.Show(DialogMode::kAdd);
  }
  void ShowModify(const std::u16string& device) {
    tool_.context().selectedKeyPath = DrawerKey(device);
    tool_.context().selectedDevice = device;
    tool_.context().deviceClass = DeviceClass::kDrawer;
    dialog_.Show(DialogMode::kModify);
  }

  tooltest::ToolSandbox tool_;
  ScriptedPrompt prompt_;
  CashDrawerDialogModel dialog_;
};

TEST_F(CashDrawerDialogModelTest, OnlyTheEditionsOwnPrintersAreOfferedAndNameTheNewDrawer) {
  tool_.AddPrinter(u"TRAIL-3_01", kTarrow);
  tool_.AddPrinter(u"FOREIGN_01", u"OtherOposPrinter");
  tool_.AddPrinter(u"TRAIL-3_02", kTarrow);
  tool_.AddDrawer(u"TRAIL-3_01_01", u"TRAIL-3_01", kTarrow);
  tool_.AddDrawer(u"TRAIL-3_01_04", u"TRAIL-3_01", kTarrow);
  ShowAdd();
  const CashDrawerDialogState& s = dialog_.state();
  EXPECT_EQ(s.printer.items, (Texts{u"TRAIL-3_01", u"TRAIL-3_02"}));
  EXPECT_EQ(s.printer.selected, 0);
  EXPECT_EQ(s.deviceName, u"TRAIL-3_01_05");
  EXPECT_EQ(s.logicName, u"TRAIL-3_01_05");
  EXPECT_EQ(s.texts.caption, u"Add CashDrawer");
  EXPECT_TRUE(s.logicNameShown);

  dialog_.OnPrinterChanged(1);
  EXPECT_EQ(dialog_.state().deviceName, u"TRAIL-3_02_01");
  EXPECT_EQ(dialog_.state().logicName, u"TRAIL-3_02_01");
}

TEST_F(CashDrawerDialogModelTest, WithoutAPrinterOfTheEditionTheDrawerIsNamedFromAnEmptyBase) {
  tool_.AddPrinter(u"FOREIGN_01", u"TarrowOposPrinterU1.13,Other");
  ShowAdd();
  EXPECT_TRUE(dialog_.state().printer.items.empty());
  EXPECT_EQ(dialog_.state().printer.selected, -1);
  EXPECT_EQ(dialog_.state().deviceName, u"_01");
}

// A new drawer with the dialog's defaults: the key in the order the service
// object's layout gives, and the service object's reader takes it with the
// printer it names.
TEST_F(CashDrawerDialogModelTest, ANewDrawerIsSavedInOrderWithItsDefaultsAndTheServiceObjectReadsIt) {
  tool_.AddPrinter(u"TRAIL-3_01", kTarrow);
  const std::u16string printerKey = tool_.PrinterClass() + u"\\TRAIL-3_01";
  for (const char16_t* name : {u"BitMapMode", u"ReadTimeout", u"WriteTimeout", u"OutputBufSize", u"CodepageID",
                               u"DeviceDescription"}) {
    tool_.registry().WriteString(printerKey, name, u"1");
  }
  QEL::Config::testing::RecordingRegistry recorder(tool_.raw());
  ToolSettings settings;
  settings.languageFile = tool_.Folder() + "/absent/Language.ini";
  settings.edition = u"TARROW";
  settings.oposRoot = tool_.root();
  ToolContext context(recorder, settings);
  CashDrawerDialogModel dialog(context, prompt_);
  dialog.Create();
  context.selectedKeyPath = tool_.DrawerClass();
  dialog.Show(DialogMode::kAdd);
  ASSERT_TRUE(dialog.OnOk());
  EXPECT_TRUE(dialog.saved());
  EXPECT_TRUE(prompt_.shown.empty());

  const std::u16string key = DrawerKey(u"TRAIL-3_01_01");
  EXPECT_EQ(context.selectedKeyPath, key);
  Texts expected;
  for (const char16_t* name : {u"", u"PrinterName", u"CapDrawStatus", u"CashDrawerName", u"DrawerPin", u"OpenVoltage",
                               u"SignalOnTime", u"SignalOffTime", u"WaitForDrawerCloseTimeOut"}) {
    expected.push_back(key + u"|" + name);
  }
  expected.push_back(tool_.DrawerClass() + u"|TRAIL-3_01_01");
  EXPECT_EQ(recorder.Lines(u"write "), expected);
  EXPECT_EQ(KeyValues(key), (Values{{u"", kTarrow},
                                    {u"PrinterName", u"TRAIL-3_01"},
                                    {u"CapDrawStatus", u"1"},
                                    {u"CashDrawerName", u"TRAIL-3_01_01"},
                                    {u"DrawerPin", u"2"},
                                    {u"OpenVoltage", u"0"},
                                    {u"SignalOnTime", u"10"},
                                    {u"SignalOffTime", u"10"},
                                    {u"WaitForDrawerCloseTimeOut", u"5000"}}));
  EXPECT_EQ(tool_.registry().ReadString(tool_.DrawerClass(), u"TRAIL-3_01_01"), u"TRAIL-3_01_01");

  QEL::Config::DeviceConfigReader reader(tool_.raw(), [](uint32_t) {}, tool_.root());
  QEL::Config::DrawerConfig drawer;
  QEL::Config::ConfigReadResult result = reader.ReadDrawer(u"TRAIL-3_01_01", &drawer);
  ASSERT_TRUE(result.Ok()) << ToAscii(result.failed) << " " << result.detail;
  const QEL::Config::DrawerNumbers numbers = QEL::Config::ToNumbers(drawer);
  EXPECT_EQ(numbers.pinMask, 2);
  EXPECT_EQ(numbers.openVoltage, 0);
  EXPECT_EQ(numbers.capDrawStatus, 1);
  EXPECT_EQ(numbers.onTime, 10);
  EXPECT_EQ(numbers.offTime, 10);
  EXPECT_EQ(numbers.closeWaitMs, 5000);
  QEL::Config::PrinterConfig printer;
  EXPECT_TRUE(reader.ReadPrinter(drawer.printerName, &printer).Ok());
}

TEST_F(CashDrawerDialogModelTest, TheChoicesBecomeTheirValues) {
  struct Case {
    bool drawer1, drawer2;
    int status, voltage;
    const char16_t *pin, *capDrawStatus, *openVoltage;
  };
  const Case cases[] = {
      {true, false, 0, 0, u"1", u"1", u"1"},
      {false, true, 1, 1, u"2", u"0", u"0"},
      {true, true, 1, 0, u"3", u"0", u"1"},
      {false, false, 0, 1, u"2", u"1", u"0"},
  };
  tool_.AddPrinter(u"TRAIL-3_01", kTarrow);
  for (const Case& c : cases) {
    ShowAdd();
    dialog_.SetDrawer1(c.drawer1);
    dialog_.SetDrawer2(c.drawer2);
    dialog_.SetStatusChoice(c.status);
    dialog_.SetVoltageChoice(c.voltage);
    dialog_.SetHigh(u"300");
    dialog_.SetLow(u"x");
    dialog_.SetWaitTimeOut(u"");
    const std::u16string device = dialog_.state().deviceName;
    ASSERT_TRUE(dialog_.OnOk());
    const Values v = KeyValues(DrawerKey(device));
    EXPECT_EQ(v.at(u"DrawerPin"), c.pin) << ToAscii(device);
    EXPECT_EQ(v.at(u"CapDrawStatus"), c.capDrawStatus) << ToAscii(device);
    EXPECT_EQ(v.at(u"OpenVoltage"), c.openVoltage) << ToAscii(device);
    EXPECT_EQ(v.at(u"SignalOnTime"), u"300");
    EXPECT_EQ(v.at(u"SignalOffTime"), u"x");
    EXPECT_EQ(v.at(u"WaitForDrawerCloseTimeOut"), u"");
  }
  EXPECT_EQ(tool_.registry().ListSubkeys(tool_.DrawerClass()),
            (Texts{u"TRAIL-3_01_01", u"TRAIL-3_01_02", u"TRAIL-3_01_03", u"TRAIL-3_01_04"}));
}

TEST_F(CashDrawerDialogModelTest, AUsedOrEmptyLogicalNameKeepsTheDialogOpenAndWritesNothing) {
  tool_.AddPrinter(u"TRAIL-3_01", kTarrow);
  tool_.AddLogicalName(false, u"Drawer", u"OTHER_01");
  ShowAdd();
  dialog_.SetLogicName(u"Drawer");
  dialog_.SetHigh(u"25");
  EXPECT_FALSE(dialog_.OnOk());
  dialog_.SetLogicName(u"  ");
  EXPECT_FALSE(dialog_.OnOk());
  EXPECT_EQ(prompt_.shown,
            (std::vector<Shown>{{u"inform", u"OPOS Printer Setting", u"This logical name is already in use."},
                                {u"inform", u"OPOS Printer Setting", u"Please enter a logical name."}}));
  EXPECT_FALSE(dialog_.saved());
  EXPECT_TRUE(tool_.registry().ListSubkeys(tool_.DrawerClass()).empty());
  EXPECT_EQ(dialog_.state().high, u"25");
  // A name differing only in letter case is another name to the tool.
  dialog_.SetLogicName(u"drawer");
  EXPECT_TRUE(dialog_.OnOk());
}

TEST_F(CashDrawerDialogModelTest, ModifyingShowsTheKeyAndSavesItBackWithoutTheNameCheck) {
  tool_.AddPrinter(u"TRAIL-3_01", kTarrow);
  tool_.AddPrinter(u"TRAIL-3_02", kTarrow);
  const std::u16string key = DrawerKey(u"TRAIL-3_02_01");
  tool_.AddDrawer(u"TRAIL-3_02_01", u"TRAIL-3_02", kTarrow);
  const std::pair<const char16_t*, const char16_t*> values[] = {
      {u"CashDrawerName", u"TRAIL-3_02_01"}, {u"CapDrawStatus", u"0"}, {u"OpenVoltage", u"1"},
      {u"DrawerPin", u"3"}, {u"SignalOnTime", u"40"}, {u"SignalOffTime", u"90"},
      {u"WaitForDrawerCloseTimeOut", u"700"}};
  for (const auto& v : values) {
    tool_.registry().WriteString(key, v.first, v.second);
  }
  tool_.AddLogicalName(false, u"Till", u"TRAIL-3_02_01");
  ShowModify(u"TRAIL-3_02_01");
  const CashDrawerDialogState& s = dialog_.state();
  EXPECT_EQ(s.texts.caption, u"Modify CashDrawer");
  EXPECT_FALSE(s.logicNameShown);
  EXPECT_EQ(s.deviceName, u"TRAIL-3_02_01");
  EXPECT_EQ(s.printer.Text(), u"TRAIL-3_02");
  EXPECT_EQ(s.status.selected, 1);
  EXPECT_EQ(s.voltage.selected, 0);
  EXPECT_TRUE(s.drawer1 && s.drawer2);
  EXPECT_EQ(s.high, u"40");
  EXPECT_EQ(s.low, u"90");
  EXPECT_EQ(s.waitTimeOut, u"700");
  EXPECT_EQ(s.logicName, u"Till");

  // Choosing another printer does not rename a drawer being modified.
  dialog_.OnPrinterChanged(0);
  EXPECT_EQ(dialog_.state().deviceName, u"TRAIL-3_02_01");
  dialog_.SetDrawer2(false);
  ASSERT_TRUE(dialog_.OnOk());
  const Values v = KeyValues(key);
  EXPECT_EQ(v.at(u"PrinterName"), u"TRAIL-3_01");
  EXPECT_EQ(v.at(u"DrawerPin"), u"1");
  EXPECT_EQ(v.at(u"CapDrawStatus"), u"0");
  EXPECT_EQ(v.at(u"SignalOnTime"), u"40");
  EXPECT_TRUE(prompt_.shown.empty());
  EXPECT_EQ(tool_.registry().LogicalNamesOfDevice(u"TRAIL-3_02_01", DeviceClass::kDrawer), (Texts{u"Till"}));
}

TEST_F(CashDrawerDialogModelTest, ADrawerWhosePrinterIsGoneIsSavedWithoutPrinterOrProgId) {
  tool_.AddPrinter(u"TRAIL-3_01", kTarrow);
  const std::u16string key = DrawerKey(u"GONE_01_01");
  tool_.registry().WriteString(key, u"PrinterName", u"GONE_01");
  tool_.registry().WriteString(key, u"CashDrawerName", u"GONE_01_01");
  tool_.registry().WriteString(key, u"DrawerPin", u"7");
  ShowModify(u"GONE_01_01");
  EXPECT_EQ(dialog_.state().printer.selected, -1);
  // An unknown pin leaves the ticks as they were (cleared at creation).
  EXPECT_FALSE(dialog_.state().drawer1 || dialog_.state().drawer2);
  ASSERT_TRUE(dialog_.OnOk());
  const Values v = KeyValues(key);
  EXPECT_EQ(v.at(u"PrinterName"), u"");
  EXPECT_EQ(v.count(u""), 0u);
  EXPECT_EQ(v.at(u"DrawerPin"), u"2");
}

// The drawer's ProgID follows its printer's model; the first model group
// gives the VORNA ProgID in every edition but "ML".
TEST(CashDrawerProgIdTest, TheDrawerTakesTheProgIdOfItsPrintersModel) {
  struct Case {
    const char16_t* edition;
    const char16_t* model;
    const char16_t* progId;  // null: no default value
  };
  const Case cases[] = {
      {u"DEBUG", u"MV611", u"VORNAOposPrinterU1.13"},
      {u"ML", u"MV616", u"MolvaneOposPrinterU1.13"},
      {u"DEBUG", u"KS-5500", u"KestrinOposPrinterU1.13"},
      {u"DEBUG", u"UNKNOWN", nullptr},
  };
  for (const Case& c : cases) {
    tooltest::ToolSandbox tool(c.edition);
    ScriptedPrompt prompt;
    const std::u16string list = EditionProgIdList(c.edition);
    tool.AddPrinter(u"P_01", list, u"USB", c.model, c.model);
    CashDrawerDialogModel dialog(tool.context(), prompt);
    dialog.Create();
    tool.context().selectedKeyPath = tool.DrawerClass();
    dialog.Show(DialogMode::kAdd);
    ASSERT_EQ(dialog.state().printer.Text(), u"P_01") << ToAscii(c.edition);
    ASSERT_TRUE(dialog.OnOk());
    const std::u16string key = tool.DrawerClass() + u"\\P_01_01";
    std::vector<std::u16string> names = tool.registry().ListValueNames(key);
    const bool hasDefault = std::find(names.begin(), names.end(), u"") != names.end();
    EXPECT_EQ(hasDefault, c.progId != nullptr) << ToAscii(c.model);
    if (c.progId != nullptr) {
      EXPECT_EQ(tool.registry().ReadString(key, u""), c.progId) << ToAscii(c.model);
    }
  }
}

TEST(TimeOutKeyTest, OnlyDigitsBackspaceAndEnterPass) {
  for (char16_t key : {u'0', u'5', u'9', u'\b', u'\r'}) EXPECT_TRUE(IsTimeOutKeyAccepted(key)) << int(key);
  for (char16_t key : {u'a', u'-', u' ', u'.', u'/', u':', u'\t', u'\x1b'}) {
    EXPECT_FALSE(IsTimeOutKeyAccepted(key)) << int(key);
  }
}

}  // namespace
}  // namespace tool
