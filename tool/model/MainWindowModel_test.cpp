#include "tool/model/MainWindowModel.h"

#include <gtest/gtest.h>

#include "tool/core/StringHelpers.h"
#include "tool/model/ToolTestSupport_test.h"

namespace tool {
namespace {

using tooltest::ScriptedPrompt;
using Shown = ScriptedPrompt::Shown;

constexpr const char16_t* kOwn = u"TarrowOposPrinterU1.13";
constexpr const char16_t* kTitle = u"OPOS Printer Setting";

// The path of the node reached through these texts below the root.
NodePath PathOf(const TreeNode& root, std::initializer_list<const char16_t*> texts) {
  NodePath path;
  const TreeNode* node = &root;
  for (const char16_t* text : texts) {
    size_t i = 0;
    while (i < node->children.size() && node->children[i].text != text) ++i;
    if (i == node->children.size()) {
      ADD_FAILURE() << "no node " << ToAscii(text);
      return path;
    }
    path.push_back(i);
    node = &node->children[i];
  }
  return path;
}

// Printers of this edition, of another maker and of nobody; a drawer; logical
// names, written in alphabetical order so that every registry lists them so.
class MainWindowModelTest : public ::testing::Test {
 protected:
  MainWindowModelTest() : model_(tool_.context(), prompt_) {
    tool_.AddPrinter(u"TRAIL-3_01", kOwn, u"USB");
    tool_.AddPrinter(u"TRAIL-3_02", u"OtherMakerOposPrinterU1.13", u"TCP/IP", u"10.0.0.5,9100");
    tool_.AddPrinter(u"TRAIL-3_03", u"", u"COM", u"COM1,BaudRate_9600");
    tool_.AddDrawer(u"TRAIL-3_01_01", u"TRAIL-3_01", kOwn);
    tool_.AddLogicalName(true, u"Backup", u"TRAIL-3_01");
    tool_.AddLogicalName(true, u"Foreign", u"TRAIL-3_02");
    tool_.AddLogicalName(true, u"Receipt", u"TRAIL-3_01");
    tool_.AddLogicalName(false, u"Till", u"TRAIL-3_01_01");
    model_.Create();
    model_.OnShow();
  }

  NodePath Path(std::initializer_list<const char16_t*> texts) { return PathOf(model_.state().tree, texts); }
  void Click(std::initializer_list<const char16_t*> texts) { model_.OnNodeClick(Path(texts)); }

  tooltest::ToolSandbox tool_;
  ScriptedPrompt prompt_;
  MainWindowModel model_;
};

// Visible and enabled flags of add, modify, delete, logical name, code page
// and health check, as a string of six characters each.
std::string Flags(const MainWindowState& s, bool visible) {
  std::string flags;
  for (const ButtonState* b : {&s.add, &s.modify, &s.remove, &s.logicName, &s.codepage, &s.selfTest}) {
    flags += (visible ? b->visible : b->enabled) ? '1' : '0';
  }
  return flags;
}

TEST_F(MainWindowModelTest, CreationSetsThePrinterCaptionsAndShowDisablesTheDeviceButtons) {
  const MainWindowState& s = model_.state();
  EXPECT_EQ(s.caption, u"OPOS Printer Setting");
  EXPECT_EQ(s.deviceListLabel, u"Device List:");
  EXPECT_EQ(s.add.caption, u"Add Printer(&A)");
  EXPECT_EQ(s.modify.caption, u"Modify Printer(&M)");
  EXPECT_EQ(s.remove.caption, u"Delete Printer(&D)");
  EXPECT_EQ(s.logicName.caption, u"Add Logic Name(&G)");
  EXPECT_EQ(s.quit.caption, u"Quit(&Q)");
  EXPECT_EQ(Flags(s, true), "111110");
  EXPECT_EQ(Flags(s, false), "000001");
  EXPECT_TRUE(s.quit.visible && s.quit.enabled);
  EXPECT_FALSE(s.selection.has_value());
}

struct LayoutCase {
  std::vector<const char16_t*> node;
  const char* visible;
  const char* enabled;
  NodeType type;
  const char16_t* device;      // selected device afterwards
  const char16_t* info;        // info line
  const char16_t* addKey;      // caption keys; null: not checked
  const char16_t* modifyKey;
  const char16_t* removeKey;
  const char16_t* logicKey;
  int logicTag;
  const char16_t* selfTestKey;
};

TEST_F(MainWindowModelTest, EachKindOfNodeLaysOutTheButtonsAndChecksTheOwner) {
  const LayoutCase cases[] = {
      {{}, "111110", "000000", NodeType::kRoot, u"", u"", nullptr, nullptr, nullptr, nullptr, 0, nullptr},
      {{u"POSPrinter"}, "100000", "111110", NodeType::kPrinterClass, u"", u"", u"FormD_AddPrinter",
       u"FormD_ModifyPrinter", u"FormD_DeletePrinter", u"FormD_AddLogicName", 0, nullptr},
      {{u"CashDrawer"}, "100000", "111110", NodeType::kDrawerClass, u"", u"", u"FormD_AddCashDrawer",
       u"FormD_ModifyCashDrawer", u"FormD_DeleteCashDrawer", u"FormD_AddLogicName", 0, nullptr},
      {{u"POSPrinter", u"TRAIL-3_01"}, "011111", "111111", NodeType::kPrinterDevice, u"TRAIL-3_01",
       u"TRAIL-3_01 | USB", nullptr, u"FormD_ModifyPrinter", u"FormD_DeletePrinter", u"FormD_AddLogicName", 0,
       u"FormD_btnSelfTest1"},
      {{u"CashDrawer", u"TRAIL-3_01_01"}, "011101", "111111", NodeType::kDrawerDevice, u"TRAIL-3_01_01",
       u"TRAIL-3_01_01", nullptr, u"FormD_ModifyCashDrawer", u"FormD_DeleteCashDrawer", u"FormD_AddLogicName", 0,
       u"FormD_btnSelfTest2"},
      {{u"POSPrinter", u"TRAIL-3_01", u"Receipt"}, "001100", "111111", NodeType::kLogicName, u"TRAIL-3_01", u"",
       nullptr, nullptr, u"FormD_DeleteLogicName", u"FormD_ModifyLogicName", 1, nullptr},
      {{u"CashDrawer", u"TRAIL-3_01_01", u"Till"}, "001100", "111111", NodeType::kLogicName, u"TRAIL-3_01_01",
       u"", nullptr, nullptr, u"FormD_DeleteLogicName", u"FormD_ModifyLogicName", 1, nullptr},
      // Another maker's device and one without a ProgID: shown, but untouchable.
      {{u"POSPrinter", u"TRAIL-3_02"}, "011111", "000000", NodeType::kPrinterDevice, u"TRAIL-3_02",
       u"Device not supported", nullptr, nullptr, nullptr, nullptr, 0, nullptr},
      {{u"POSPrinter", u"TRAIL-3_03"}, "011111", "000000", NodeType::kPrinterDevice, u"TRAIL-3_03",
       u"Device not supported", nullptr, nullptr, nullptr, nullptr, 0, nullptr},
      {{u"POSPrinter", u"TRAIL-3_02", u"Foreign"}, "001100", "000000", NodeType::kLogicName, u"TRAIL-3_02",
       u"Device not supported", nullptr, nullptr, nullptr, nullptr, 1, nullptr},
  };
  for (const LayoutCase& c : cases) {
    ScriptedPrompt prompt;
    MainWindowModel model(tool_.context(), prompt);
    model.Create();
    NodePath path = PathOf(model.state().tree, {});
    std::u16string keyPath = tool_.root();
    const TreeNode* node = &model.state().tree;
    for (const char16_t* text : c.node) {
      size_t i = 0;
      while (i < node->children.size() && node->children[i].text != text) ++i;
      ASSERT_LT(i, node->children.size());
      path.push_back(i);
      node = &node->children[i];
      keyPath += u"\\" + node->text;
    }
    SCOPED_TRACE(ToAscii(keyPath));
    model.OnNodeClick(path);
    const MainWindowState& s = model.state();
    EXPECT_EQ(Flags(s, true), c.visible);
    EXPECT_EQ(Flags(s, false), c.enabled);
    EXPECT_EQ(tool_.context().nodeType, c.type);
    EXPECT_EQ(tool_.context().selectedDevice, c.device);
    EXPECT_EQ(tool_.context().selectedKeyPath, keyPath);
    EXPECT_EQ(s.infoLine, c.info);
    const std::pair<const ButtonState*, const char16_t*> keys[] = {
        {&s.add, c.addKey}, {&s.modify, c.modifyKey}, {&s.remove, c.removeKey},
        {&s.logicName, c.logicKey}, {&s.selfTest, c.selfTestKey}};
    for (const auto& [button, key] : keys) {
      if (key == nullptr) continue;
      EXPECT_EQ(button->captionKey, key);
      EXPECT_EQ(button->caption, tool_.context().Text(key));
      EXPECT_FALSE(button->caption.empty()) << ToAscii(key);
    }
    if (c.logicKey != nullptr) {
      EXPECT_EQ(s.logicName.tag, c.logicTag);
    }
    EXPECT_TRUE(prompt.shown.empty());
  }
}

TEST_F(MainWindowModelTest, TheDeviceClassOfALogicalNameIsItsClassNodes) {
  Click({u"CashDrawer", u"TRAIL-3_01_01", u"Till"});
  EXPECT_EQ(tool_.context().deviceClass, DeviceClass::kDrawer);
  Click({u"POSPrinter", u"TRAIL-3_01", u"Backup"});
  EXPECT_EQ(tool_.context().deviceClass, DeviceClass::kPrinter);
  EXPECT_EQ(model_.state().selectedNodeText, u"Backup");
}

TEST_F(MainWindowModelTest, TheButtonsNameTheDialogsOfTheSelectedNode) {
  Click({u"POSPrinter"});
  EXPECT_EQ(model_.OnAdd(), DialogRequest::kAddPrinter);
  EXPECT_EQ(model_.OnModify(), DialogRequest::kNone);  // hidden on a class node
  Click({u"CashDrawer"});
  EXPECT_EQ(model_.OnAdd(), DialogRequest::kAddDrawer);
  Click({u"POSPrinter", u"TRAIL-3_01"});
  EXPECT_EQ(model_.OnModify(), DialogRequest::kModifyPrinter);
  EXPECT_EQ(model_.OnLogicName(), DialogRequest::kAddLogicName);
  EXPECT_EQ(model_.OnSetCodepage(), DialogRequest::kSetCodepage);
  EXPECT_EQ(model_.OnSelfTest(), DialogRequest::kHealthCheck);
  EXPECT_EQ(model_.OnAdd(), DialogRequest::kNone);
  Click({u"CashDrawer", u"TRAIL-3_01_01"});
  EXPECT_EQ(model_.OnModify(), DialogRequest::kModifyDrawer);
  EXPECT_EQ(model_.OnSetCodepage(), DialogRequest::kNone);
  Click({u"POSPrinter", u"TRAIL-3_01", u"Receipt"});
  EXPECT_EQ(model_.OnLogicName(), DialogRequest::kModifyLogicName);
  // A foreign device offers nothing.
  Click({u"POSPrinter", u"TRAIL-3_02"});
  EXPECT_EQ(model_.OnModify(), DialogRequest::kNone);
  EXPECT_EQ(model_.OnLogicName(), DialogRequest::kNone);
  EXPECT_EQ(model_.OnSelfTest(), DialogRequest::kNone);
}

TEST_F(MainWindowModelTest, ModifyingReselectsTheNodeAfterTheRebuildAndAddingDoesNot) {
  Click({u"POSPrinter", u"TRAIL-3_01"});
  const NodePath clicked = Path({u"POSPrinter", u"TRAIL-3_01"});
  const unsigned generation = model_.state().treeGeneration;

  model_.OnDialogClosed(DialogRequest::kModifyPrinter, false);
  EXPECT_EQ(model_.state().treeGeneration, generation);  // cancelled: nothing rebuilt

  model_.OnDialogClosed(DialogRequest::kModifyPrinter, true);
  EXPECT_GT(model_.state().treeGeneration, generation);
  ASSERT_TRUE(model_.state().selection.has_value());
  EXPECT_EQ(*model_.state().selection, clicked);
  // Reselecting is no click: the layout stays.
  EXPECT_EQ(Flags(model_.state(), true), "011111");

  tool_.AddPrinter(u"TRAIL-3_04", kOwn);
  model_.OnDialogClosed(DialogRequest::kAddPrinter, true);
  EXPECT_FALSE(model_.state().selection.has_value());
  EXPECT_NE(NodeAt(model_.state().tree, Path({u"POSPrinter", u"TRAIL-3_04"})), nullptr);
}

TEST_F(MainWindowModelTest, DeletingAsksFirstAndCancelKeepsEverything) {
  Click({u"POSPrinter", u"TRAIL-3_01"});
  prompt_.answers = {false};
  model_.OnDelete();
  EXPECT_EQ(prompt_.shown, (std::vector<Shown>{{u"confirm", kTitle, u"Do you want to delete \"TRAIL-3_01\"?"}}));
  EXPECT_EQ(tool_.registry().ReadString(tool_.PrinterClass() + u"\\TRAIL-3_01", u"DriverName"), u"TRAIL-3_01");
}

TEST_F(MainWindowModelTest, DeletingAPrinterTakesItsLogicalNamesAndLeavesItsDrawers) {
  Click({u"POSPrinter", u"TRAIL-3_01"});
  prompt_.answers = {true};
  model_.OnDelete();
  EXPECT_EQ(tool_.raw().Open(tool_.PrinterClass() + u"\\TRAIL-3_01", platform::RegistryAccess::kRead), nullptr);
  EXPECT_EQ(tool_.registry().ListValueNames(tool_.PrinterClass()), (std::vector<std::u16string>{u"Foreign"}));
  EXPECT_EQ(tool_.registry().ReadString(tool_.DrawerClass() + u"\\TRAIL-3_01_01", u"PrinterName"), u"TRAIL-3_01");
  // The tree was read again.
  const TreeNode* printers = NodeAt(model_.state().tree, Path({u"POSPrinter"}));
  ASSERT_NE(printers, nullptr);
  EXPECT_EQ(printers->children.size(), 2u);
}

TEST_F(MainWindowModelTest, TheLastLogicalNameOfADeviceIsNotDeletedButOneOfTwoIs) {
  Click({u"CashDrawer", u"TRAIL-3_01_01", u"Till"});
  prompt_.answers = {true};
  model_.OnDelete();
  ASSERT_EQ(prompt_.shown.size(), 2u);
  EXPECT_EQ(prompt_.shown[0].text, u"Do you want to delete \"Till\"?");
  EXPECT_EQ(prompt_.shown[1], (Shown{u"inform", kTitle,
                                     u"This is the last logical name of the device.\r\n"
                                     u"A device keeps at least one logical name."}));
  EXPECT_EQ(tool_.registry().LogicalNameOfDevice(u"TRAIL-3_01_01", DeviceClass::kDrawer), u"Till");

  Click({u"POSPrinter", u"TRAIL-3_01", u"Receipt"});
  prompt_.answers = {true};
  model_.OnDelete();
  EXPECT_EQ(tool_.registry().LogicalNamesOfDevice(u"TRAIL-3_01", DeviceClass::kPrinter),
            (std::vector<std::u16string>{u"Backup"}));
  EXPECT_EQ(tool_.registry().LogicalNameOfDevice(u"TRAIL-3_02", DeviceClass::kPrinter), u"Foreign");
  EXPECT_EQ(NodeAt(model_.state().tree, Path({u"POSPrinter", u"TRAIL-3_01"}))->children.size(), 1u);
}

TEST_F(MainWindowModelTest, QuittingNeedsAnOk) {
  prompt_.answers = {false, true};
  EXPECT_FALSE(model_.OnQuit());
  EXPECT_TRUE(model_.OnQuit());
  ASSERT_EQ(prompt_.shown.size(), 2u);
  EXPECT_EQ(prompt_.shown[1], (Shown{u"confirm", kTitle, u"Do you want to quit?"}));
}

}  // namespace
}  // namespace tool
