#include "tool/win32/CodepageDialog.h"

#include "tool/win32/ControlRects.h"
#include "tool/win32/ControlState.h"
#include "tool/win32/PixelLayout.h"
#include "tool/win32/resource.h"

namespace toolwin {
namespace {

const ControlRect kRects[] = {
    {IDC_lblCodepage, RECT_lblCodepage},
    {IDC_cmbCodepage, RECT_cmbCodepage},
    {IDC_btnOK, RECT_btnCodepageOK},
    {IDC_btnCancel, RECT_btnCodepageCancel},
};
constexpr int kClient[] = {CLIENT_frmSetCodepage};

}  // namespace

CodepageDialog::CodepageDialog(tool::CodepageDialogModel& model) : model_(model) {}

bool CodepageDialog::Run(HINSTANCE instance, HWND owner) {
  ShowModal(instance, IDD_frmSetCodepage, owner);
  return model_.saved();
}

// The texts are read afresh every time the dialog is shown.
void CodepageDialog::OnInit() {
  PlaceControls(window_, kRects);
  SizeAndCentre(window_, kClient[0], kClient[1], owner_);
  model_.Show();
  const tool::CodepageDialogTexts& t = model_.texts();
  SetText(window_, t.caption);
  SetText(GetDlgItem(window_, IDC_lblCodepage), t.lblCodepage);
  SetText(GetDlgItem(window_, IDC_btnOK), t.btnOK);
  SetText(GetDlgItem(window_, IDC_btnCancel), t.btnCancel);
  ApplyList(GetDlgItem(window_, IDC_cmbCodepage), model_.codepage());
}

void CodepageDialog::OnCommand(int id, int code, HWND control) {
  if (code == CBN_SELCHANGE && id == IDC_cmbCodepage) {
    model_.OnCodepageChanged(static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    return;
  }
  if (code != BN_CLICKED) return;
  if (id == IDC_btnOK) {
    model_.OnOk();
    EndDialog(window_, IDOK);
  } else if (id == IDC_btnCancel) {
    model_.OnCancel();
    EndDialog(window_, IDCANCEL);
  }
}

}  // namespace toolwin
