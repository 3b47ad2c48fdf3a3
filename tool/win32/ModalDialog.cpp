#include "tool/win32/ModalDialog.h"

#include "tool/win32/resource.h"

namespace toolwin {

void ModalDialog::ShowModal(HINSTANCE instance, int templateId, HWND owner) {
  owner_ = owner;
  DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, Procedure, reinterpret_cast<LPARAM>(this));
  window_ = nullptr;
}

INT_PTR CALLBACK ModalDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<ModalDialog*>(lParam)->window_ = window;
  }
  auto* self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  return self == nullptr ? FALSE : self->Handle(message, wParam, lParam);
}

INT_PTR ModalDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_CLOSE:
      OnCommand(IDC_btnCancel, BN_CLICKED, nullptr);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace toolwin
