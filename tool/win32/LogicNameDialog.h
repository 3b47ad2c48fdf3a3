#pragma once
// TfrmAddPrinterLogicName: adds a logical name to the selected device or
// renames the selected logical name; modal over the main window.
#include <windows.h>

#include <string>

#include "tool/model/LogicNameDialogModel.h"
#include "tool/win32/ModalDialog.h"

namespace toolwin {

class LogicNameDialog final : public ModalDialog {
 public:
  explicit LogicNameDialog(tool::LogicNameDialogModel& model);

  void Create() { model_.Create(); }
  // Shows the dialog until OK or Cancel; true when it saved. `oldName` is the
  // selected logical name in mode Modify, empty in mode Add.
  bool Run(HINSTANCE instance, HWND owner, tool::DialogMode mode, const std::u16string& oldName);

 private:
  void OnInit() override;
  void OnCommand(int id, int code, HWND control) override;

  tool::LogicNameDialogModel& model_;
  tool::DialogMode mode_ = tool::DialogMode::kAdd;
  std::u16string oldName_;
};

}  // namespace toolwin
