#pragma once
// What every dialog of the tool shares: shown modally over its owner from its
// resource template, bound to its object through the window's user data, and
// closed by the window's close box as if Cancel had been pressed.
#include <windows.h>

namespace toolwin {

class ModalDialog {
 public:
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;
  virtual ~ModalDialog() = default;

 protected:
  ModalDialog() = default;

  // Returns once the dialog has ended; window_ is null again then.
  void ShowModal(HINSTANCE instance, int templateId, HWND owner);

  virtual void OnInit() = 0;
  // WM_COMMAND, and the close box as a click on IDC_btnCancel.
  virtual void OnCommand(int id, int code, HWND control) = 0;

  HWND owner_ = nullptr;
  HWND window_ = nullptr;

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace toolwin
