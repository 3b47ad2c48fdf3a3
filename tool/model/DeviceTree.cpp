#include "tool/model/DeviceTree.h"

namespace tool {

namespace {

void ExpandAll(TreeNode* node) {
  node->expanded = true;
  for (TreeNode& child : node->children) ExpandAll(&child);
}

TreeNode ClassNode(ToolRegistry& registry, DeviceClass deviceClass) {
  const bool printers = deviceClass == DeviceClass::kPrinter;
  TreeNode classNode{DeviceClassName(deviceClass), printers ? kImageRootOrPrinterClass : kImageDrawerClass,
                     false, {}};
  const std::u16string classKey = registry.ClassKeyPath(deviceClass);
  // One listing of the class key serves all devices: logical names in the
  // registry's order, grouped under their device.
  const std::vector<platform::RegistryValue> values = registry.ListValues(classKey);
  for (const std::u16string& device : registry.ListSubkeys(classKey)) {
    TreeNode deviceNode{device, printers ? kImagePrinterDevice : kImageDrawerDevice, false, {}};
    for (const platform::RegistryValue& value : values) {
      if (value.isString && value.text == device) {
        deviceNode.children.push_back(
            {value.name, printers ? kImagePrinterLogicName : kImageDrawerLogicName, false, {}});
      }
    }
    classNode.children.push_back(std::move(deviceNode));
  }
  ExpandAll(&classNode);
  return classNode;
}

}  // namespace

TreeNode BuildDeviceTree(ToolRegistry& registry) {
  TreeNode root{kRootNodeText, kImageRootOrPrinterClass, true, {}};
  registry.EnsureClassKeys();
  for (const std::u16string& name : registry.ListSubkeys(registry.oposRoot())) {
    if (name == QEL::Config::kPrinterClassKey) {
      root.children.push_back(ClassNode(registry, DeviceClass::kPrinter));
    } else if (name == QEL::Config::kDrawerClassKey) {
      root.children.push_back(ClassNode(registry, DeviceClass::kDrawer));
    }
  }
  return root;
}

const TreeNode* NodeAt(const TreeNode& root, const NodePath& path) {
  const TreeNode* node = &root;
  for (size_t index : path) {
    if (index >= node->children.size()) return nullptr;
    node = &node->children[index];
  }
  return node;
}

}  // namespace tool
