#include "tool/model/LogicNameDialogModel.h"

#include "tool/core/StringHelpers.h"

namespace tool {

LogicNameDialogModel::LogicNameDialogModel(ToolContext& context, Prompt& prompt)
    : context_(context), prompt_(prompt) {}

void LogicNameDialogModel::Create() {
  texts_.caption = context_.Text(u"FormALN_PrinterLogicName_Add");
  texts_.lblLogicName = context_.Text(u"FormALN_lblLogicName");
  texts_.btnOK = context_.Text(u"FormALN_btnOK");
  texts_.btnCancel = context_.Text(u"FormALN_btnCancel");
}

void LogicNameDialogModel::Show(DialogMode mode, const std::u16string& oldName) {
  mode_ = mode;
  oldName_ = oldName;
  logicName_ = oldName;
  saved_ = false;
  texts_.caption = context_.Text(mode == DialogMode::kAdd ? u"FormALN_PrinterLogicName_Add"
                                                          : u"FormALN_PrinterLogicName_Modify");
}

// The name written is the trimmed one, the one that was checked: a control
// object given "Receipt" would not find " Receipt ".
bool LogicNameDialogModel::OnOk() {
  const std::u16string name = Trim(logicName_);
  if (name.empty()) {
    prompt_.Inform(context_.MessageTitle(), context_.Text(u"FormALN_NullLogicName"));
    return false;
  }
  ToolRegistry& registry = context_.registry();
  const DeviceClass deviceClass = context_.deviceClass;
  if (!registry.IsLogicalNameFree(name, deviceClass)) {
    prompt_.Inform(context_.MessageTitle(), context_.Text(u"FormALN_LogicNameExist"));
    return false;
  }
  const std::u16string classKey = registry.ClassKeyPath(deviceClass);
  if (mode_ == DialogMode::kModify) registry.DeleteValue(classKey, oldName_);
  registry.WriteString(classKey, name, context_.selectedDevice);
  saved_ = true;
  return true;
}

}  // namespace tool
