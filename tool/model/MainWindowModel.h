#pragma once
// Everything of the main window (the device tree window) that is not drawing:
// its texts, the tree, the buttons' layout per selected node, the device info
// line, the owner check, deletion and the quit confirmation. The Win32 shell
// calls the event methods and copies state() onto its controls afterwards;
// the dialogs it opens are named by the DialogRequest an event returns.
#include <optional>
#include <string>

#include "tool/core/ToolContext.h"
#include "tool/model/Controls.h"
#include "tool/model/DeviceTree.h"
#include "tool/model/Prompt.h"

namespace tool {

enum class DialogRequest {
  kNone,
  kAddPrinter,         // printer dialog, mode Add
  kModifyPrinter,      // printer dialog, mode Modify
  kAddDrawer,          // cash-drawer dialog, mode Add
  kModifyDrawer,       // cash-drawer dialog, mode Modify
  kAddLogicName,       // logical-name dialog, mode Add, empty old name
  kModifyLogicName,    // logical-name dialog, mode Modify, old name = selectedNodeText
  kSetCodepage,        // code-page dialog
  kHealthCheck,        // health check of the selected device (class in the context)
};

struct MainWindowState {
  std::u16string caption;          // "FormD_frmDevice"
  std::u16string deviceListLabel;  // "FormD_lblDeviceList"
  std::u16string deviceInfoLabel;  // "FormD_lblDeviceInf"
  ButtonState add;        // btnAddDevice
  ButtonState modify;     // btnModifyDevice
  ButtonState remove;     // btnDeleteDevice
  ButtonState logicName;  // btnAddLogicName; tag 1 while a logical name is selected
  ButtonState codepage;   // btnSetCodepage
  ButtonState selfTest;   // btnSelfTest
  ButtonState quit;       // btnQuit
  std::u16string infoLine;  // lblDeviceInfoValue

  TreeNode tree;
  // Changes with every rebuild: the shell refills its tree view when it does.
  unsigned treeGeneration = 0;
  // The node to show as selected after a rebuild (selected without a click:
  // the layout stays as it was). Nothing after a plain rebuild.
  std::optional<NodePath> selection;
  // The node last clicked; its text is the old name for kModifyLogicName.
  NodePath clicked;
  std::u16string selectedNodeText;
};

class MainWindowModel {
 public:
  MainWindowModel(ToolContext& context, Prompt& prompt);

  // Reads the texts, sets the printer captions and builds the tree.
  void Create();
  // The window is shown: add, modify, delete, logical-name and code-page
  // buttons disabled.
  void OnShow();
  // A click on a tree node: layout by node type, device info, owner check.
  void OnNodeClick(const NodePath& path);

  DialogRequest OnAdd();
  DialogRequest OnModify();
  DialogRequest OnLogicName();
  DialogRequest OnSetCodepage();
  DialogRequest OnSelfTest();
  // Confirmation, then deletion of the selected device or logical name.
  void OnDelete();
  // Confirmation; true when the program should end.
  bool OnQuit();
  // A dialog the shell opened for `request` was closed; `saved` is its saved
  // flag. Rebuilds the tree and reselects where the flow asks for it.
  void OnDialogClosed(DialogRequest request, bool saved);

  void RebuildTree();
  const MainWindowState& state() const { return state_; }

 private:
  void ApplyLayout(const NodePath& path, const TreeNode& node);
  void ShowDeviceInfo(const NodePath& path, const TreeNode& node);
  void CheckOwner(const NodePath& path, const TreeNode& node);
  void SetCaption(ButtonState* button, const char16_t* key);
  void SetFiveEnabled(bool enabled);
  void SetSixEnabled(bool enabled);

  ToolContext& context_;
  Prompt& prompt_;
  MainWindowState state_;
};

}  // namespace tool
