#include "tool/win32/LogicNameDialog.h"

#include "tool/win32/ControlRects.h"
#include "tool/win32/ControlState.h"
#include "tool/win32/PixelLayout.h"
#include "tool/win32/resource.h"

namespace toolwin {
namespace {

const ControlRect kRects[] = {
    {IDC_lblLogicName, RECT_lblLogicNameOnly},
    {IDC_txtLogicName, RECT_txtLogicNameOnly},
    {IDC_btnOK, RECT_btnLogicNameOK},
    {IDC_btnCancel, RECT_btnLogicNameCancel},
};
constexpr int kClient[] = {CLIENT_frmAddPrinterLogicName};

}  // namespace

LogicNameDialog::LogicNameDialog(tool::LogicNameDialogModel& model) : model_(model) {}

bool LogicNameDialog::Run(HINSTANCE instance, HWND owner, tool::DialogMode mode, const std::u16string& oldName) {
  owner_ = owner;
  mode_ = mode;
  oldName_ = oldName;
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_frmAddPrinterLogicName), owner, Procedure,
                  reinterpret_cast<LPARAM>(this));
  window_ = nullptr;
  return model_.saved();
}

INT_PTR CALLBACK LogicNameDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<LogicNameDialog*>(lParam)->window_ = window;
  }
  auto* self = reinterpret_cast<LogicNameDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  return self == nullptr ? FALSE : self->Handle(message, wParam, lParam);
}

INT_PTR LogicNameDialog::Handle(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      OnCommand(IDC_btnCancel, BN_CLICKED);
      return TRUE;
    default:
      return FALSE;
  }
}

void LogicNameDialog::OnInit() {
  PlaceControls(window_, kRects);
  SizeAndCentre(window_, kClient[0], kClient[1], owner_);
  model_.Show(mode_, oldName_);
  const tool::LogicNameDialogTexts& t = model_.texts();
  SetText(window_, t.caption);
  SetText(GetDlgItem(window_, IDC_lblLogicName), t.lblLogicName);
  SetText(GetDlgItem(window_, IDC_btnOK), t.btnOK);
  SetText(GetDlgItem(window_, IDC_btnCancel), t.btnCancel);
  SetText(GetDlgItem(window_, IDC_txtLogicName), model_.logicName());
}

void LogicNameDialog::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id == IDC_btnOK) {
    model_.SetLogicName(TextOf(GetDlgItem(window_, IDC_txtLogicName)));
    // A refusal keeps the dialog open with what was typed.
    if (model_.OnOk()) EndDialog(window_, IDOK);
  } else if (id == IDC_btnCancel) {
    model_.OnCancel();
    EndDialog(window_, IDCANCEL);
  }
}

}  // namespace toolwin
