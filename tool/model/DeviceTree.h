#pragma once
// The device tree of the main window as it is read from the registry: the
// root "Device", the two class nodes, the device keys below them and each
// device's logical names, all in registry order. A node's image index tells
// the node kinds apart.
#include <cstddef>
#include <string>
#include <vector>

#include "tool/core/ToolRegistry.h"

namespace tool {

enum TreeImage : int {
  kImageRootOrPrinterClass = 0,
  kImagePrinterDevice = 1,
  kImageDrawerClass = 2,
  kImageDrawerDevice = 3,
  kImagePrinterLogicName = 4,
  kImageDrawerLogicName = 5,
};

struct TreeNode {
  std::u16string text;
  int image = 0;  // the selected image equals the image
  bool expanded = false;
  std::vector<TreeNode> children;
};

// A node's position: the child index at each level below the root; empty for
// the root itself.
using NodePath = std::vector<size_t>;

constexpr const char16_t* kRootNodeText = u"Device";

// Creates both class keys when missing, then reads the tree. Only the
// subkeys of the OPOS root spelt exactly "POSPrinter" or "CashDrawer" become
// class nodes. Every class node is expanded with its descendants; the root is
// expanded.
TreeNode BuildDeviceTree(ToolRegistry& registry);

// The node at `path`, or null when the path leads nowhere.
const TreeNode* NodeAt(const TreeNode& root, const NodePath& path);

}  // namespace tool
