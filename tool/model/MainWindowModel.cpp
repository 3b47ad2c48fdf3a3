#include "tool/model/MainWindowModel.h"

namespace tool {

namespace {

bool Usable(const ButtonState& button) { return button.visible && button.enabled; }

}  // namespace

MainWindowModel::MainWindowModel(ToolContext& context, Prompt& prompt) : context_(context), prompt_(prompt) {}

void MainWindowModel::SetCaption(ButtonState* button, const char16_t* key) {
  button->captionKey = key;
  button->caption = context_.Text(key);
}

void MainWindowModel::SetFiveEnabled(bool enabled) {
  for (ButtonState* button : {&state_.add, &state_.modify, &state_.remove, &state_.logicName, &state_.codepage}) {
    button->enabled = enabled;
  }
}

void MainWindowModel::SetSixEnabled(bool enabled) {
  SetFiveEnabled(enabled);
  state_.selfTest.enabled = enabled;
}

void MainWindowModel::Create() {
  state_.caption = context_.Text(u"FormD_frmDevice");
  state_.deviceListLabel = context_.Text(u"FormD_lblDeviceList");
  state_.deviceInfoLabel = context_.Text(u"FormD_lblDeviceInf");
  SetCaption(&state_.quit, u"FormD_btnQuit");
  SetCaption(&state_.codepage, u"FormD_btnSetCodepage");
  SetCaption(&state_.selfTest, u"FormD_btnSelfTest1");
  state_.selfTest.visible = false;
  SetCaption(&state_.add, u"FormD_AddPrinter");
  SetCaption(&state_.modify, u"FormD_ModifyPrinter");
  SetCaption(&state_.remove, u"FormD_DeletePrinter");
  SetCaption(&state_.logicName, u"FormD_AddLogicName");
  RebuildTree();
}

void MainWindowModel::OnShow() { SetFiveEnabled(false); }

void MainWindowModel::RebuildTree() {
  state_.tree = BuildDeviceTree(context_.registry());
  ++state_.treeGeneration;
  state_.selection.reset();
}

void MainWindowModel::OnNodeClick(const NodePath& path) {
  const TreeNode* node = NodeAt(state_.tree, path);
  if (node == nullptr) return;
  state_.clicked = path;
  state_.selectedNodeText = node->text;
  ApplyLayout(path, *node);
  ShowDeviceInfo(path, *node);
  CheckOwner(path, *node);
}

// The class nodes sit right below the root; what lies deeper is told apart by
// its image, so a device that happens to be called "POSPrinter" stays a device.
void MainWindowModel::ApplyLayout(const NodePath& path, const TreeNode& node) {
  if (path.empty()) {
    context_.nodeType = NodeType::kRoot;
    SetFiveEnabled(false);
    state_.selfTest.visible = false;
    return;
  }
  SetFiveEnabled(true);
  auto show = [this](bool add, bool modify, bool remove, bool logicName, bool codepage, bool selfTest) {
    state_.add.visible = add;
    state_.modify.visible = modify;
    state_.remove.visible = remove;
    state_.logicName.visible = logicName;
    state_.codepage.visible = codepage;
    state_.selfTest.visible = selfTest;
  };
  if (path.size() == 1) {
    const bool printers = node.text == QEL::Config::kPrinterClassKey;
    context_.nodeType = printers ? NodeType::kPrinterClass : NodeType::kDrawerClass;
    context_.selectedDevice.clear();
    SetCaption(&state_.add, printers ? u"FormD_AddPrinter" : u"FormD_AddCashDrawer");
    SetCaption(&state_.modify, printers ? u"FormD_ModifyPrinter" : u"FormD_ModifyCashDrawer");
    SetCaption(&state_.remove, printers ? u"FormD_DeletePrinter" : u"FormD_DeleteCashDrawer");
    SetCaption(&state_.logicName, u"FormD_AddLogicName");
    show(true, false, false, false, false, false);
    return;
  }
  switch (node.image) {
    case kImagePrinterDevice:
    case kImageDrawerDevice: {
      const bool printer = node.image == kImagePrinterDevice;
      context_.nodeType = printer ? NodeType::kPrinterDevice : NodeType::kDrawerDevice;
      context_.deviceClass = printer ? DeviceClass::kPrinter : DeviceClass::kDrawer;
      context_.selectedDevice = node.text;
      SetCaption(&state_.modify, printer ? u"FormD_ModifyPrinter" : u"FormD_ModifyCashDrawer");
      SetCaption(&state_.remove, printer ? u"FormD_DeletePrinter" : u"FormD_DeleteCashDrawer");
      SetCaption(&state_.logicName, u"FormD_AddLogicName");
      SetCaption(&state_.selfTest, printer ? u"FormD_btnSelfTest1" : u"FormD_btnSelfTest2");
      state_.logicName.tag = 0;
      show(false, true, true, true, printer, true);
      break;
    }
    case kImagePrinterLogicName:
    case kImageDrawerLogicName: {
      const NodePath parentPath(path.begin(), path.end() - 1);
      const NodePath classPath(path.begin(), path.begin() + 1);
      context_.nodeType = NodeType::kLogicName;
      context_.deviceClass = NodeAt(state_.tree, classPath)->text == QEL::Config::kPrinterClassKey
                                 ? DeviceClass::kPrinter
                                 : DeviceClass::kDrawer;
      context_.selectedDevice = NodeAt(state_.tree, parentPath)->text;
      SetCaption(&state_.logicName, u"FormD_ModifyLogicName");
      state_.logicName.tag = 1;
      SetCaption(&state_.remove, u"FormD_DeleteLogicName");
      show(false, false, true, true, false, false);
      break;
    }
    default:
      break;
  }
}

void MainWindowModel::ShowDeviceInfo(const NodePath& path, const TreeNode& node) {
  std::u16string keyPath = context_.oposRoot();
  const TreeNode* walk = &state_.tree;
  for (size_t index : path) {
    walk = &walk->children[index];
    keyPath += u"\\" + walk->text;
  }
  context_.selectedKeyPath = keyPath;
  if (path.size() != 2) return;
  if (node.image == kImagePrinterDevice) {
    state_.infoLine = node.text + u" | " + context_.registry().ReadString(keyPath, QEL::Config::kPortType);
  } else if (node.image == kImageDrawerDevice) {
    state_.infoLine = node.text;
  }
}

void MainWindowModel::CheckOwner(const NodePath& path, const TreeNode& node) {
  if (path.empty()) {
    SetSixEnabled(false);
    state_.infoLine.clear();
    return;
  }
  if (path.size() == 1) {
    SetFiveEnabled(true);
    state_.selfTest.enabled = false;
    state_.infoLine.clear();
    return;
  }
  const std::u16string deviceKey =
      context_.registry().DeviceKeyPath(context_.deviceClass, context_.selectedDevice);
  const std::u16string progId = context_.registry().ReadString(deviceKey, QEL::Config::kProgIdValue);
  if (IsOwnProgId(context_.progIdList(), progId)) {
    SetSixEnabled(true);
  } else {
    SetSixEnabled(false);
    state_.infoLine = context_.Text(u"FormD_TIP_Unsupport");
  }
}

DialogRequest MainWindowModel::OnAdd() {
  if (!Usable(state_.add)) return DialogRequest::kNone;
  if (context_.nodeType == NodeType::kPrinterClass) return DialogRequest::kAddPrinter;
  if (context_.nodeType == NodeType::kDrawerClass) return DialogRequest::kAddDrawer;
  return DialogRequest::kNone;
}

DialogRequest MainWindowModel::OnModify() {
  if (!Usable(state_.modify)) return DialogRequest::kNone;
  if (context_.nodeType == NodeType::kPrinterDevice) return DialogRequest::kModifyPrinter;
  if (context_.nodeType == NodeType::kDrawerDevice) return DialogRequest::kModifyDrawer;
  return DialogRequest::kNone;
}

DialogRequest MainWindowModel::OnLogicName() {
  if (!Usable(state_.logicName)) return DialogRequest::kNone;
  return state_.logicName.tag == 1 ? DialogRequest::kModifyLogicName : DialogRequest::kAddLogicName;
}

DialogRequest MainWindowModel::OnSetCodepage() {
  if (!Usable(state_.codepage) || context_.nodeType != NodeType::kPrinterDevice) return DialogRequest::kNone;
  return DialogRequest::kSetCodepage;
}

DialogRequest MainWindowModel::OnSelfTest() {
  if (!Usable(state_.selfTest)) return DialogRequest::kNone;
  return DialogRequest::kHealthCheck;
}

void MainWindowModel::OnDelete() {
  if (!Usable(state_.remove)) return;
  const std::u16string question =
      context_.Text(u"FormD_MSG_DeleteNode") + u"\"" + state_.selectedNodeText + u"\"?";
  if (!prompt_.Confirm(context_.MessageTitle(), question)) return;
  switch (context_.nodeType) {
    case NodeType::kPrinterDevice:
    case NodeType::kDrawerDevice:
      context_.registry().store().DeleteDevice(context_.deviceClass, context_.selectedDevice);
      RebuildTree();
      break;
    case NodeType::kLogicName: {
      const NodePath& path = state_.clicked;
      const TreeNode* device =
          path.empty() ? nullptr : NodeAt(state_.tree, NodePath(path.begin(), path.end() - 1));
      if (device != nullptr && device->children.size() == 1) {
        prompt_.Inform(context_.MessageTitle(),
                       context_.Text(u"FormD_LastLogicName1") + u"\r\n" + context_.Text(u"FormD_LastLogicName2"));
        return;
      }
      context_.registry().DeleteValue(context_.registry().ClassKeyPath(context_.deviceClass),
                                      state_.selectedNodeText);
      RebuildTree();
      break;
    }
    default:
      break;
  }
}

bool MainWindowModel::OnQuit() {
  return prompt_.Confirm(context_.MessageTitle(), context_.Text(u"FormD_MSG_Quit"));
}

void MainWindowModel::OnDialogClosed(DialogRequest request, bool saved) {
  if (!saved) return;
  const NodePath former = state_.clicked;
  switch (request) {
    case DialogRequest::kAddPrinter:
    case DialogRequest::kAddDrawer:
    case DialogRequest::kAddLogicName:
      RebuildTree();
      break;
    case DialogRequest::kModifyPrinter:
    case DialogRequest::kModifyDrawer:
    case DialogRequest::kModifyLogicName:
      RebuildTree();
      if (NodeAt(state_.tree, former) != nullptr) state_.selection = former;
      break;
    default:
      break;
  }
}

}  // namespace tool
