#pragma once
// TfrmSetCodepage: sets the code page a printer starts with; modal over the
// main window.
#include <windows.h>

#include "tool/model/CodepageDialogModel.h"
#include "tool/win32/ModalDialog.h"

namespace toolwin {

class CodepageDialog final : public ModalDialog {
 public:
  explicit CodepageDialog(tool::CodepageDialogModel& model);

  // Shows the dialog until OK or Cancel; true when it wrote a code page.
  bool Run(HINSTANCE instance, HWND owner);

 private:
  void OnInit() override;
  void OnCommand(int id, int code, HWND control) override;

  tool::CodepageDialogModel& model_;
};

}  // namespace toolwin
