#include "tool/model/DeviceTree.h"

#include <gtest/gtest.h>

#include "tool/core/StringHelpers.h"
#include "tool/model/ToolTestSupport_test.h"

namespace tool {
namespace {

// A node and everything below it as one line: text:image, children in braces,
// "+" for an expanded node.
std::string Render(const TreeNode& node) {
  std::string text = ToAscii(node.text) + ":" + std::to_string(node.image) + (node.expanded ? "+" : "");
  if (node.children.empty()) return text;
  text += "{";
  for (size_t i = 0; i < node.children.size(); ++i) text += (i ? " " : "") + Render(node.children[i]);
  return text + "}";
}

// The class node of that name; the registry may list the class keys sorted.
const TreeNode* ClassNode(const TreeNode& root, const std::u16string& name) {
  for (const TreeNode& child : root.children) {
    if (child.text == name) return &child;
  }
  return nullptr;
}

TEST(DeviceTreeTest, AnEmptyRegistryGivesTheRootAndBothEmptyClassNodes) {
  tooltest::ToolSandbox tool;
  const TreeNode root = BuildDeviceTree(tool.registry());
  EXPECT_EQ(root.text, u"Device");
  EXPECT_EQ(root.image, 0);
  EXPECT_TRUE(root.expanded);
  ASSERT_EQ(root.children.size(), 2u);
  ASSERT_NE(ClassNode(root, u"POSPrinter"), nullptr);
  ASSERT_NE(ClassNode(root, u"CashDrawer"), nullptr);
  EXPECT_EQ(Render(*ClassNode(root, u"POSPrinter")), "POSPrinter:0+");
  EXPECT_EQ(Render(*ClassNode(root, u"CashDrawer")), "CashDrawer:2+");
  // Building the tree created the class keys.
  EXPECT_NE(tool.raw().Open(tool.PrinterClass(), platform::RegistryAccess::kRead), nullptr);
  EXPECT_NE(tool.raw().Open(tool.DrawerClass(), platform::RegistryAccess::kRead), nullptr);
}

// Names are written in alphabetical order, so the registry's order is the
// same whether it keeps the order of writing or sorts.
TEST(DeviceTreeTest, DevicesCarryTheirLogicalNamesAndOtherClassesAreLeftOut) {
  tooltest::ToolSandbox tool;
  tool.AddPrinter(u"TRAIL-3_01", u"TarrowOposPrinterU1.13");
  tool.AddPrinter(u"TRAIL-3_02", u"TarrowOposPrinterU1.13");
  tool.AddDrawer(u"TRAIL-3_01_01", u"TRAIL-3_01", u"TarrowOposPrinterU1.13");
  tool.AddLogicalName(true, u"Backup", u"TRAIL-3_01");
  tool.AddLogicalName(true, u"Kitchen", u"TRAIL-3_02");
  tool.AddLogicalName(true, u"Orphan", u"TRAIL-3_09");  // names no device: shown nowhere
  tool.AddLogicalName(true, u"Receipt", u"TRAIL-3_01");
  tool.AddLogicalName(false, u"Till", u"TRAIL-3_01_01");
  // A logical name with another type than text belongs to no device.
  tool.raw().Create(tool.PrinterClass())->WriteNumber(u"Zahl", 7);
  tool.registry().WriteString(tool.root() + u"\\Scanner\\SC_01", u"", u"X");

  const TreeNode root = BuildDeviceTree(tool.registry());
  ASSERT_EQ(root.children.size(), 2u);
  ASSERT_NE(ClassNode(root, u"POSPrinter"), nullptr);
  ASSERT_NE(ClassNode(root, u"CashDrawer"), nullptr);
  EXPECT_EQ(Render(*ClassNode(root, u"POSPrinter")),
            "POSPrinter:0+{TRAIL-3_01:1+{Backup:4+ Receipt:4+} TRAIL-3_02:1+{Kitchen:4+}}");
  EXPECT_EQ(Render(*ClassNode(root, u"CashDrawer")), "CashDrawer:2+{TRAIL-3_01_01:3+{Till:5+}}");
}

TEST(DeviceTreeTest, NodePathsLeadToNodesOrNowhere) {
  TreeNode root{u"Device", 0, true, {{u"POSPrinter", 0, true, {{u"P1", 1, true, {}}}}}};
  ASSERT_NE(NodeAt(root, {}), nullptr);
  EXPECT_EQ(NodeAt(root, {})->text, u"Device");
  ASSERT_NE(NodeAt(root, {0, 0}), nullptr);
  EXPECT_EQ(NodeAt(root, {0, 0})->text, u"P1");
  EXPECT_EQ(NodeAt(root, {1}), nullptr);
  EXPECT_EQ(NodeAt(root, {0, 0, 0}), nullptr);
}

}  // namespace
}  // namespace tool
