#include "tool/model/PrinterDialogModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

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

constexpr const char16_t* kTitle = u"OPOS Printer Setting";

class PrinterDialogModelTest : public ::testing::Test {
 protected:
  explicit PrinterDialogModelTest(std::u16string edition = u"TARROW")
      : tool_(std::move(edition)), dialog_(tool_.context(), prompt_, ports_) {
    ports_.listing.names = {u"COM1:", u"LPT1:", u"COM3:", u"FILE:", u"USB001", u"com7:", u"LPT2:"};
    dialog_.Create();
  }

  // Name -> text of every value of a key.
  Values KeyValues(const std::u16string& path) {
    Values values;
    for (const platform::RegistryValue& v : tool_.registry().ListValues(path)) values[v.name] = v.text;
    return values;
  }
  std::u16string PrinterKey(const std::u16string& device) { return tool_.PrinterClass() + u"\\" + device; }
  // As the main window leaves the context for mode Add: the class node clicked.
  void ShowAdd() {
    tool_.context().selectedKeyPath = tool_.PrinterClass();
    tool_.context().selectedDevice.clear();
    dialog_.Show(DialogMode::kAdd);
  }
  void ShowModify(const std::u16string& device) {
    tool_.context().selectedKeyPath = PrinterKey(device);
    tool_.context().selectedDevice = device;
    tool_.context().deviceClass = DeviceClass::kPrinter;
    dialog_.Show(DialogMode::kModify);
  }
  QEL::Config::PrinterConfig ReadAsTheServiceObject(const std::u16string& device) {
    QEL::Config::DeviceConfigReader reader(tool_.raw(), [](uint32_t) {}, tool_.root());
    QEL::Config::PrinterConfig config;
    QEL::Config::ConfigReadResult result = reader.ReadPrinter(device, &config);
    EXPECT_TRUE(result.Ok()) << ToAscii(result.failed) << " " << result.detail;
    return config;
  }

  tooltest::ToolSandbox tool_;
  ScriptedPrompt prompt_;
  tooltest::FixedPorts ports_;
  PrinterDialogModel dialog_;
};

TEST_F(PrinterDialogModelTest, CreationFillsTheListsWithTheirFirstChoices) {
  const PrinterDialogState& s = dialog_.state();
  EXPECT_EQ(s.driver.items, (Texts{u"TRAIL-3", u"TRAIL-3e"}));
  EXPECT_EQ(s.driver.selected, 0);
  EXPECT_EQ(s.portType.items, (Texts{u"USB", u"COM", u"LPT", u"TCP/IP"}));
  EXPECT_EQ(s.portType.Text(), u"USB");
  EXPECT_EQ(s.panel, PortPanel::kUsb);
  EXPECT_EQ(s.baudRate.items, (Texts{u"4800", u"9600", u"19200", u"38400", u"57600", u"115200"}));
  EXPECT_EQ(s.baudRate.Text(), u"115200");
  EXPECT_EQ(s.texts.lblUSBPort, u"Automatic identification port.");
  EXPECT_EQ(s.texts.btnOK, u"OK(&O)");
  EXPECT_EQ(ports_.calls, 0);
}

TEST_F(PrinterDialogModelTest, AddingProposesTheNextNameAndTheDriverRenamesIt) {
  tool_.AddPrinter(u"TRAIL-3_01", u"TarrowOposPrinterU1.13");
  ShowAdd();
  const PrinterDialogState& s = dialog_.state();
  EXPECT_EQ(s.texts.caption, u"Add Printer");
  EXPECT_TRUE(s.driver.enabled);
  EXPECT_TRUE(s.logicNameEnabled);
  EXPECT_EQ(s.deviceName, u"TRAIL-3_02");
  EXPECT_EQ(s.logicName, u"TRAIL-3_02");
  dialog_.OnDriverChanged(1);
  EXPECT_EQ(s.deviceName, u"TRAIL-3e_01");
  EXPECT_EQ(s.logicName, u"TRAIL-3e_01");
  EXPECT_FALSE(dialog_.saved());
}

TEST_F(PrinterDialogModelTest, SavingANetworkPrinterWritesTheKeyInOrderAndTheServiceObjectReadsIt) {
  // The same dialog on a registry that notes the order of the writes.
  QEL::Config::testing::RecordingRegistry recorder(tool_.raw());
  ToolSettings settings;
  settings.languageFile = tool_.Folder() + "/absent/Language.ini";
  settings.edition = u"TARROW";
  settings.oposRoot = tool_.root();
  ToolContext context(recorder, settings);
  PrinterDialogModel dialog(context, prompt_, ports_);
  dialog.Create();
  context.selectedKeyPath = tool_.PrinterClass();
  dialog.Show(DialogMode::kAdd);
  dialog.OnDriverChanged(1);
  dialog.OnPortTypeChanged(3);
  EXPECT_EQ(dialog.state().panel, PortPanel::kTcpIp);
  dialog.SetIpAddress(u"  192.168.1.87 ");
  dialog.SetNotes(u"Front desk");
  dialog.SetLogicName(u"Receipt");
  ASSERT_TRUE(dialog.OnOk());
  EXPECT_TRUE(dialog.saved());
  EXPECT_TRUE(prompt_.shown.empty());
  EXPECT_EQ(context.selectedKeyPath, PrinterKey(u"TRAIL-3e_01"));

  const std::u16string key = PrinterKey(u"TRAIL-3e_01");
  Texts expected;
  for (const char16_t* name : {u"", u"DeviceDescription", u"DriverModel", u"DriverName", u"BitMapMode", u"PortType",
                               u"ReadTimeout", u"WriteTimeout", u"InputBufSize", u"OutputBufSize", u"Notes"}) {
    expected.push_back(key + u"|" + name);
  }
  expected.push_back(tool_.PrinterClass() + u"|Receipt");
  expected.push_back(key + u"|PortSettings");
  expected.push_back(key + u"|CodepageID");
  EXPECT_EQ(recorder.Lines(u"write "), expected);

  EXPECT_EQ(KeyValues(key), (Values{{u"", u"TarrowOposPrinterU1.13"},
                                    {u"DeviceDescription", u"Tarrow POS Printer"},
                                    {u"DriverModel", u"TRAIL-3e"},
                                    {u"DriverName", u"TRAIL-3e_01"},
                                    {u"BitMapMode", u"RasterBitImage"},
                                    {u"PortType", u"TCP/IP"},
                                    {u"ReadTimeout", u"2000"},
                                    {u"WriteTimeout", u"2000"},
                                    {u"InputBufSize", u"2048"},
                                    {u"OutputBufSize", u"2048"},
                                    {u"Notes", u"Front desk"},
                                    {u"PortSettings", u"192.168.1.87,9100"},
                                    {u"CodepageID", u"437"}}));
  EXPECT_EQ(KeyValues(tool_.PrinterClass()), (Values{{u"Receipt", u"TRAIL-3e_01"}}));

  const QEL::Config::PrinterConfig config = ReadAsTheServiceObject(u"TRAIL-3e_01");
  EXPECT_EQ(config.portType, u"TCP/IP");
  EXPECT_EQ(config.portSettings, u"192.168.1.87,9100");
  EXPECT_EQ(config.driverModel, u"TRAIL-3e");
  EXPECT_EQ(config.codepageId, u"437");
  EXPECT_EQ(config.notes, u"Front desk");
}

struct PortCase {
  int portType;
  int portIndex;  // in the COM or LPT list
  int baudIndex;
  const char16_t* portTypeText;
  const char16_t* settings;
};

TEST_F(PrinterDialogModelTest, EachPortTypeWritesItsSettingsText) {
  const PortCase cases[] = {
      {0, 0, 5, u"USB", u"TRAIL-3"},
      {1, 0, 5, u"COM", u"COM1,BaudRate_115200"},
      {1, 2, 1, u"COM", u"com7,BaudRate_9600"},
      {2, 1, 5, u"LPT", u"LPT2"},
  };
  int serial = 0;
  for (const PortCase& c : cases) {
    SCOPED_TRACE(ToAscii(c.settings));
    ShowAdd();
    dialog_.OnPortTypeChanged(c.portType);
    if (c.portType == 1) dialog_.OnComPortChanged(c.portIndex);
    if (c.portType == 2) dialog_.OnLptPortChanged(c.portIndex);
    dialog_.OnBaudRateChanged(c.baudIndex);
    const std::u16string device = u"TRAIL-3_0" + std::u16string(1, static_cast<char16_t>(u'1' + serial++));
    EXPECT_EQ(dialog_.state().deviceName, device);
    ASSERT_TRUE(dialog_.OnOk());
    const QEL::Config::PrinterConfig config = ReadAsTheServiceObject(device);
    EXPECT_EQ(config.portType, c.portTypeText);
    EXPECT_EQ(config.portSettings, c.settings);
    EXPECT_EQ(config.driverModel, u"TRAIL-3");
    EXPECT_EQ(config.driverName, device);
  }
}

TEST(PortSettingsTest, PortNamesLoseTheirFirstColonAndAddressesGetThePrinterPort) {
  EXPECT_EQ(BuildPortSettings(PortPanel::kCom, u"M", u"COM1:", u"4800", u"", u""), u"COM1,BaudRate_4800");
  EXPECT_EQ(BuildPortSettings(PortPanel::kLpt, u"M", u"", u"", u"LPT1:x:", u""), u"LPT1x:");
  EXPECT_EQ(BuildPortSettings(PortPanel::kTcpIp, u"M", u"COM1", u"9600", u"LPT1", u"10.0.0.1"), u"10.0.0.1,9100");
  EXPECT_EQ(BuildPortSettings(PortPanel::kUsb, u"TRAIL-3e", u"COM1", u"9600", u"LPT1", u"10.0.0.1"), u"TRAIL-3e");
}

TEST(PortSettingsTest, AnAddressNeedsSevenCharactersAndThreeDotsAfterTheFirstCharacter) {
  const std::pair<const char16_t*, bool> cases[] = {
      {u"10.0.0.1", true},    {u" 10.0.0.1\t", true}, {u"10.0.1", false}, {u"10.0.0.0.1", false},
      {u"1.2.3.", false},     // six characters
      {u"1.2.3.4", true},     {u"  1.2.3 ", false},
      // A leading dot does not count, also when blanks stood before it.
      {u".10.0.1", false},    {u" .10.0.1", false},
      {u"", false},
  };
  for (const auto& [address, accepted] : cases) {
    EXPECT_EQ(IsAcceptedAddress(address), accepted) << ToAscii(address);
  }
}

TEST_F(PrinterDialogModelTest, ARefusedAddressKeepsTheDialogOpenAndWritesNothing) {
  ShowAdd();
  dialog_.OnPortTypeChanged(3);
  for (const char16_t* address : {u"10.0.1", u"10.0.0.0.1", u"1.2.3."}) {
    prompt_.shown.clear();
    dialog_.SetIpAddress(address);
    EXPECT_FALSE(dialog_.OnOk());
    EXPECT_FALSE(dialog_.saved());
    EXPECT_EQ(prompt_.shown, (std::vector<Shown>{{u"inform", kTitle, u"Please enter a valid IP address."}}));
  }
  EXPECT_EQ(dialog_.state().deviceName, u"TRAIL-3_01");
  EXPECT_TRUE(tool_.registry().ListSubkeys(tool_.PrinterClass()).empty());
  EXPECT_TRUE(tool_.registry().ListValueNames(tool_.PrinterClass()).empty());
}

TEST_F(PrinterDialogModelTest, ALogicalNameInUseOrEmptyIsRefusedWhenAdding) {
  tool_.AddPrinter(u"TRAIL-3_01", u"TarrowOposPrinterU1.13");
  tool_.AddLogicalName(true, u"Receipt", u"TRAIL-3_01");
  ShowAdd();
  dialog_.SetLogicName(u"Receipt");
  EXPECT_FALSE(dialog_.OnOk());
  dialog_.SetLogicName(u"  ");
  EXPECT_FALSE(dialog_.OnOk());
  EXPECT_EQ(prompt_.shown, (std::vector<Shown>{{u"inform", kTitle, u"This logical name is already in use."},
                                               {u"inform", kTitle, u"Please enter a logical name."}}));
  EXPECT_EQ(tool_.registry().ListSubkeys(tool_.PrinterClass()), (Texts{u"TRAIL-3_01"}));

  dialog_.SetLogicName(u"Kitchen");
  ASSERT_TRUE(dialog_.OnOk());
  EXPECT_EQ(tool_.registry().LogicalNameOfDevice(u"TRAIL-3_02", DeviceClass::kPrinter), u"Kitchen");
}

TEST_F(PrinterDialogModelTest, ModifyingReadsTheKeyAndSavingRestartsTheCodePage) {
  tool_.AddPrinter(u"TRAIL-3_01", u"TarrowOposPrinterU1.13", u"COM", u"COM3,BaudRate_9600", u"TRAIL-3e");
  tool_.registry().WriteString(PrinterKey(u"TRAIL-3_01"), u"Notes", u"Back office");
  tool_.registry().WriteString(PrinterKey(u"TRAIL-3_01"), u"CodepageID", u"936");
  tool_.AddLogicalName(true, u"Receipt", u"TRAIL-3_01");
  ShowModify(u"TRAIL-3_01");
  const PrinterDialogState& s = dialog_.state();
  EXPECT_EQ(s.texts.caption, u"Modify Printer");
  EXPECT_FALSE(s.driver.enabled);
  EXPECT_FALSE(s.logicNameEnabled);
  EXPECT_EQ(s.deviceName, u"TRAIL-3_01");
  EXPECT_EQ(s.driver.Text(), u"TRAIL-3e");
  EXPECT_EQ(s.panel, PortPanel::kCom);
  EXPECT_EQ(s.comPort.items, (Texts{u"COM1", u"COM3", u"com7"}));
  EXPECT_EQ(s.comPort.Text(), u"COM3");
  EXPECT_EQ(s.baudRate.Text(), u"9600");
  EXPECT_EQ(s.notes, u"Back office");
  EXPECT_EQ(s.logicName, u"Receipt");

  dialog_.OnBaudRateChanged(2);
  ASSERT_TRUE(dialog_.OnOk());  // the logical name it already has is no refusal
  EXPECT_TRUE(prompt_.shown.empty());
  const Values values = KeyValues(PrinterKey(u"TRAIL-3_01"));
  EXPECT_EQ(values.at(u"PortSettings"), u"COM3,BaudRate_19200");
  EXPECT_EQ(values.at(u"CodepageID"), u"437");
  EXPECT_EQ(values.at(u"DriverModel"), u"TRAIL-3e");
  EXPECT_EQ(values.at(u"Notes"), u"Back office");
  EXPECT_EQ(KeyValues(tool_.PrinterClass()), (Values{{u"Receipt", u"TRAIL-3_01"}}));
  EXPECT_EQ(tool_.registry().ListSubkeys(tool_.PrinterClass()), (Texts{u"TRAIL-3_01"}));
}

TEST_F(PrinterDialogModelTest, ModifyingLeavesWhatTheListsDoNotHoldUnselected) {
  tool_.AddPrinter(u"TRAIL-3_01", u"TarrowOposPrinterU1.13", u"COM", u"COM9,BaudRate_1200", u"TM-T88IV");
  ShowModify(u"TRAIL-3_01");
  EXPECT_EQ(dialog_.state().driver.selected, -1);
  EXPECT_EQ(dialog_.state().comPort.selected, -1);
  EXPECT_EQ(dialog_.state().baudRate.selected, -1);
  EXPECT_EQ(dialog_.state().logicName, u"");

  tool_.AddPrinter(u"TRAIL-3_02", u"TarrowOposPrinterU1.13", u"TCP/IP", u"10.1.2.3,9100");
  tool_.AddPrinter(u"TRAIL-3_03", u"TarrowOposPrinterU1.13", u"LPT", u"LPT2");
  ShowModify(u"TRAIL-3_02");
  EXPECT_EQ(dialog_.state().panel, PortPanel::kTcpIp);
  EXPECT_EQ(dialog_.state().ipAddress, u"10.1.2.3");
  ShowModify(u"TRAIL-3_03");
  EXPECT_EQ(dialog_.state().panel, PortPanel::kLpt);
  EXPECT_EQ(dialog_.state().lptPort.Text(), u"LPT2");
}

TEST_F(PrinterDialogModelTest, PortListingFaultsAreShownAndLeaveTheListEmpty) {
  ShowAdd();
  dialog_.OnPortTypeChanged(2);
  EXPECT_EQ(dialog_.state().lptPort.items, (Texts{u"LPT1", u"LPT2"}));
  EXPECT_EQ(dialog_.state().lptPort.selected, 0);

  ports_.listing = {SystemPortList::Outcome::kNoPorts, {}, u""};
  dialog_.OnPortTypeChanged(1);
  EXPECT_TRUE(dialog_.state().comPort.items.empty());
  EXPECT_EQ(dialog_.state().comPort.selected, -1);

  ports_.listing = {SystemPortList::Outcome::kFailed, {}, u"The RPC server is unavailable."};
  dialog_.OnPortTypeChanged(2);
  EXPECT_TRUE(dialog_.state().lptPort.items.empty());
  EXPECT_EQ(prompt_.shown, (std::vector<Shown>{{u"notify", u"", u"no ports present !"},
                                               {u"notify", u"", u"The RPC server is unavailable."}}));
  // USB and TCP/IP ask for no ports.
  const int calls = ports_.calls;
  dialog_.OnPortTypeChanged(0);
  dialog_.OnPortTypeChanged(3);
  EXPECT_EQ(ports_.calls, calls);
  EXPECT_EQ(dialog_.state().panel, PortPanel::kTcpIp);
}

struct IdentityCase {
  const char16_t* edition;
  const char16_t* model;
  const char16_t* progId;  // empty: neither default value nor DeviceDescription
  const char16_t* description;
};

TEST(PrinterDialogEditionTest, TheFirstModelGroupGetsAnIdentityOnlyInItsOwnEditions) {
  const IdentityCase cases[] = {
      {u"VORNA", u"MV611", u"VORNAOposPrinterU1.13", u"VORNA POS Printer"},
      {u"ML", u"MV616", u"MolvaneOposPrinterU1.13", u"Molvane POS Printer"},
      {u"DEBUG", u"MV615", u"", u""},
      {u"DEBUG", u"KS-5500", u"KestrinOposPrinterU1.13", u"Kestrin POS Printer"},
  };
  for (const IdentityCase& c : cases) {
    SCOPED_TRACE(ToAscii(c.edition) + " " + ToAscii(c.model));
    tooltest::ToolSandbox tool(c.edition);
    ScriptedPrompt prompt;
    tooltest::FixedPorts ports;
    PrinterDialogModel dialog(tool.context(), prompt, ports);
    dialog.Create();
    const Texts& models = dialog.state().driver.items;
    const int index = static_cast<int>(std::find(models.begin(), models.end(), c.model) - models.begin());
    ASSERT_LT(index, static_cast<int>(models.size()));
    tool.context().selectedKeyPath = tool.PrinterClass();
    dialog.Show(DialogMode::kAdd);
    dialog.OnDriverChanged(index);
    ASSERT_TRUE(dialog.OnOk());
    const std::u16string key = tool.PrinterClass() + u"\\" + std::u16string(c.model) + u"_01";
    std::map<std::u16string, std::u16string> values;
    for (const platform::RegistryValue& v : tool.registry().ListValues(key)) values[v.name] = v.text;
    EXPECT_EQ(values.count(u""), *c.progId ? 1u : 0u);
    EXPECT_EQ(values.count(u"DeviceDescription"), *c.progId ? 1u : 0u);
    if (*c.progId) {
      EXPECT_EQ(values[u""], c.progId);
      EXPECT_EQ(values[u"DeviceDescription"], c.description);
    }
    EXPECT_EQ(values[u"DriverModel"], c.model);
  }
}

}  // namespace
}  // namespace tool
