#pragma once
// TfrmSetCodepage: sets the code page a printer starts with; modal over the
// main window.
#include <windows.h>

#include "tool/model/CodepageDialogModel.h"

namespace toolwin {

class CodepageDialog {
 public:
  explicit CodepageDialog(tool::CodepageDialogModel& model);
  CodepageDialog(const CodepageDialog&) = delete;
  CodepageDialog& operator=(const CodepageDialog&) = delete;

  // Shows the dialog until OK or Cancel; true when it wrote a code page.
  bool Run(HINSTANCE instance, HWND owner);

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInit();
  void OnCommand(int id, int code, HWND control);

  tool::CodepageDialogModel& model_;
  HWND owner_ = nullptr;
  HWND window_ = nullptr;
};

}  // namespace toolwin
