#pragma once
// TfrmAddPrinterLogicName: adds a logical name to the selected device or
// renames the selected logical name; modal over the main window.
#include <windows.h>

#include <string>

#include "tool/model/LogicNameDialogModel.h"

namespace toolwin {

class LogicNameDialog {
 public:
  explicit LogicNameDialog(tool::LogicNameDialogModel& model);
  LogicNameDialog(const LogicNameDialog&) = delete;
  LogicNameDialog& operator=(const LogicNameDialog&) = delete;

  void Create() { model_.Create(); }
  // Shows the dialog until OK or Cancel; true when it saved. `oldName` is the
  // selected logical name in mode Modify, empty in mode Add.
  bool Run(HINSTANCE instance, HWND owner, tool::DialogMode mode, const std::u16string& oldName);

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInit();
  void OnCommand(int id, int code);

  tool::LogicNameDialogModel& model_;
  HWND owner_ = nullptr;
  HWND window_ = nullptr;
  tool::DialogMode mode_ = tool::DialogMode::kAdd;
  std::u16string oldName_;
};

}  // namespace toolwin
