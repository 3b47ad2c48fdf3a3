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
  mode_ = mode;
  oldName_ = oldName;
  ShowModal(instance, IDD_frmAddPrinterLogicName, owner);
  return model_.saved();
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

void LogicNameDialog::OnCommand(int id, int code, HWND) {
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
