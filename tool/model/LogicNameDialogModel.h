#pragma once
// Everything of the logical-name dialog that is not drawing: adding a further
// logical name to the selected device, or renaming the selected logical name,
// for printers and cash drawers alike (the device class and the device come
// from the context).
#include <string>

#include "tool/core/ToolContext.h"
#include "tool/model/PrinterDialogModel.h"
#include "tool/model/Prompt.h"

namespace tool {

struct LogicNameDialogTexts {
  std::u16string caption;  // by mode
  std::u16string lblLogicName, btnOK, btnCancel;
};

class LogicNameDialogModel {
 public:
  LogicNameDialogModel(ToolContext& context, Prompt& prompt);

  // Creation: texts read (the caption is the one of mode Add).
  void Create();
  // Shown in `mode`; `oldName` is the selected logical name in mode Modify
  // and empty in mode Add. The field shows it; the saved flag is cleared.
  void Show(DialogMode mode, const std::u16string& oldName);

  void SetLogicName(const std::u16string& text) { logicName_ = text; }

  // Checks, then writes. True when the dialog closes (saved); false when a
  // check refused and the dialog stays open with all input.
  bool OnOk();
  void OnCancel() {}

  const LogicNameDialogTexts& texts() const { return texts_; }
  const std::u16string& logicName() const { return logicName_; }
  const std::u16string& oldName() const { return oldName_; }
  DialogMode mode() const { return mode_; }
  bool saved() const { return saved_; }

 private:
  ToolContext& context_;
  Prompt& prompt_;
  LogicNameDialogTexts texts_;
  std::u16string logicName_;  // txtLogicName
  std::u16string oldName_;
  DialogMode mode_ = DialogMode::kAdd;
  bool saved_ = false;
};

}  // namespace tool
