#include "tool/model/LogicNameDialogModel.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tool/model/ToolTestSupport_test.h"

namespace tool {
namespace {

using tooltest::ScriptedPrompt;
using Shown = ScriptedPrompt::Shown;
using Texts = std::vector<std::u16string>;

class LogicNameDialogModelTest : public ::testing::Test {
 protected:
  LogicNameDialogModelTest() : dialog_(tool_.context(), prompt_) {
    tool_.AddPrinter(u"TRAIL-3_01", u"TarrowOposPrinterU1.13");
    tool_.AddLogicalName(true, u"Receipt", u"TRAIL-3_01");
    tool_.AddDrawer(u"TRAIL-3_01_01", u"TRAIL-3_01", u"TarrowOposPrinterU1.13");
    tool_.AddLogicalName(false, u"Till", u"TRAIL-3_01_01");
    dialog_.Create();
  }
  // As the main window leaves the context for a device or logical-name node.
  void Select(DeviceClass deviceClass, const std::u16string& device) {
    tool_.context().deviceClass = deviceClass;
    tool_.context().selectedDevice = device;
  }
  // Sorted: registries differ in the order they list values in.
  Texts Names(DeviceClass deviceClass, const std::u16string& device) {
    Texts names = tool_.registry().LogicalNamesOfDevice(device, deviceClass);
    std::sort(names.begin(), names.end());
    return names;
  }

  tooltest::ToolSandbox tool_;
  ScriptedPrompt prompt_;
  LogicNameDialogModel dialog_;
};

TEST_F(LogicNameDialogModelTest, AddingWritesAFurtherNameForThePrinterAndTheDrawer) {
  Select(DeviceClass::kPrinter, u"TRAIL-3_01");
  dialog_.Show(DialogMode::kAdd, u"");
  EXPECT_EQ(dialog_.texts().caption, u"Add Logic Name");
  EXPECT_EQ(dialog_.logicName(), u"");
  dialog_.SetLogicName(u"  Kitchen ");
  ASSERT_TRUE(dialog_.OnOk());
  EXPECT_TRUE(dialog_.saved());
  EXPECT_EQ(Names(DeviceClass::kPrinter, u"TRAIL-3_01"), (Texts{u"Kitchen", u"Receipt"}));

  // The same name in the other class is free there.
  Select(DeviceClass::kDrawer, u"TRAIL-3_01_01");
  dialog_.Show(DialogMode::kAdd, u"");
  EXPECT_FALSE(dialog_.saved());
  dialog_.SetLogicName(u"Kitchen");
  ASSERT_TRUE(dialog_.OnOk());
  EXPECT_EQ(Names(DeviceClass::kDrawer, u"TRAIL-3_01_01"), (Texts{u"Kitchen", u"Till"}));
  EXPECT_TRUE(prompt_.shown.empty());
}

TEST_F(LogicNameDialogModelTest, RenamingDeletesTheOldNameAndKeepsTheDevice) {
  Select(DeviceClass::kDrawer, u"TRAIL-3_01_01");
  dialog_.Show(DialogMode::kModify, u"Till");
  EXPECT_EQ(dialog_.texts().caption, u"Modify Logic Name");
  EXPECT_EQ(dialog_.logicName(), u"Till");
  dialog_.SetLogicName(u"Drawer");
  ASSERT_TRUE(dialog_.OnOk());
  EXPECT_EQ(Names(DeviceClass::kDrawer, u"TRAIL-3_01_01"), (Texts{u"Drawer"}));
  EXPECT_TRUE(tool_.registry().IsLogicalNameFree(u"Till", DeviceClass::kDrawer));
  EXPECT_EQ(Names(DeviceClass::kPrinter, u"TRAIL-3_01"), (Texts{u"Receipt"}));
}

TEST_F(LogicNameDialogModelTest, EmptyOrUsedNamesAreRefusedAndNothingChanges) {
  Select(DeviceClass::kPrinter, u"TRAIL-3_01");
  struct Case {
    DialogMode mode;
    const char16_t* oldName;
    const char16_t* typed;
    const char16_t* message;
  };
  const Case cases[] = {
      {DialogMode::kAdd, u"", u"", u"Please enter a logical name."},
      {DialogMode::kAdd, u"", u" \t ", u"Please enter a logical name."},
      {DialogMode::kAdd, u"", u"Receipt", u"This logical name is already in use."},
      {DialogMode::kAdd, u"", u" Receipt ", u"This logical name is already in use."},
      // Renaming a name to itself finds it in use.
      {DialogMode::kModify, u"Receipt", u"Receipt", u"This logical name is already in use."},
  };
  for (const Case& c : cases) {
    prompt_.shown.clear();
    dialog_.Show(c.mode, c.oldName);
    dialog_.SetLogicName(c.typed);
    EXPECT_FALSE(dialog_.OnOk());
    EXPECT_FALSE(dialog_.saved());
    EXPECT_EQ(prompt_.shown, (std::vector<Shown>{{u"inform", u"OPOS Printer Setting", c.message}}));
    EXPECT_EQ(dialog_.logicName(), c.typed);
    EXPECT_EQ(Names(DeviceClass::kPrinter, u"TRAIL-3_01"), (Texts{u"Receipt"}));
  }
}

}  // namespace
}  // namespace tool
