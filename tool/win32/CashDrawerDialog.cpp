#include "tool/win32/CashDrawerDialog.h"

#include <commctrl.h>

#include "tool/win32/ControlRects.h"
#include "tool/win32/ControlState.h"
#include "tool/win32/PixelLayout.h"
#include "tool/win32/Text.h"
#include "tool/win32/resource.h"

namespace toolwin {
namespace {

const ControlRect kRects[] = {
    {IDC_lblPrinterName, RECT_lblCashDrawerPrinter},
    {IDC_cmbPrinterName, RECT_cmbPrinterName},
    {IDC_lblCashDrawerName, RECT_lblCashDrawerName},
    {IDC_txtCashDrawerName, RECT_txtCashDrawerName},
    {IDC_optConnectCashDrawer, RECT_optConnectCashDrawer},
    {IDC_chkCashDrawer1, RECT_chkCashDrawer1},
    {IDC_chkCashDrawer2, RECT_chkCashDrawer2},
    {IDC_optPulseInterval, RECT_optPulseInterval},
    {IDC_lblHigh, RECT_lblHigh},
    {IDC_txtHigh, RECT_txtHigh},
    {IDC_lblLow, RECT_lblLow},
    {IDC_txtLow, RECT_txtLow},
    {IDC_optStatus, RECT_optStatus},
    {IDC_optStatus0, RECT_optStatus0},
    {IDC_optStatus1, RECT_optStatus1},
    {IDC_optVoltage, RECT_optVoltage},
    {IDC_optVoltage0, RECT_optVoltage0},
    {IDC_optVoltage1, RECT_optVoltage1},
    {IDC_lblWaitTimeOut, RECT_lblWaitTimeOut},
    {IDC_txtWaitTimeOut, RECT_txtWaitTimeOut},
    {IDC_lblmm, RECT_lblmm},
    {IDC_lblLogicName, RECT_lblCashDrawerLogicName},
    {IDC_txtLogicName, RECT_txtCashDrawerLogicName},
    {IDC_btnOK, RECT_btnCashDrawerOK},
    {IDC_btnCancel, RECT_btnCashDrawerCancel},
};
constexpr int kClient[] = {CLIENT_frmAddCashDrawer};
constexpr UINT_PTR kTimeOutFilter = 1;

RECT RectIn(HWND dialog, HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// A label as wide as its text in the dialog's font.
int FitLabelToText(HWND dialog, HWND label) {
  const std::u16string text = TextOf(label);
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, Wide(text), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  const RECT r = RectIn(dialog, label);
  SetWindowPos(label, nullptr, 0, 0, size.cx, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return r.left + size.cx;
}

// Moves `control` to start at `left`; a `width` of 0 keeps its width.
void MoveLeftEdge(HWND dialog, HWND control, int left, int width) {
  const RECT r = RectIn(dialog, control);
  SetWindowPos(control, nullptr, left, r.top, width > 0 ? width : r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CashDrawerDialog::CashDrawerDialog(tool::CashDrawerDialogModel& model) : model_(model) {}

bool CashDrawerDialog::Run(HINSTANCE instance, HWND owner, tool::DialogMode mode) {
  mode_ = mode;
  ShowModal(instance, IDD_frmAddCashDrawer, owner);
  return model_.saved();
}

// The time-out field takes digits only; the keys it refuses never reach it.
LRESULT CALLBACK CashDrawerDialog::TimeOutFieldProcedure(HWND field, UINT message, WPARAM wParam,
                                                         LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_CHAR && !tool::IsTimeOutKeyAccepted(static_cast<char16_t>(wParam))) return 0;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(field, TimeOutFieldProcedure, kTimeOutFilter);
  return DefSubclassProc(field, message, wParam, lParam);
}

void CashDrawerDialog::OnInit() {
  PlaceControls(window_, kRects);
  SizeAndCentre(window_, kClient[0], kClient[1], owner_);
  SetWindowSubclass(Control(IDC_txtWaitTimeOut), TimeOutFieldProcedure, kTimeOutFilter, 0);
  model_.Show(mode_);
  Apply();
  PlaceFieldsAfterLabels();
}

void CashDrawerDialog::PlaceFieldsAfterLabels() {
  const int gap = CASHDRAWER_FIELD_GAP;
  const int rightEdge = kClient[0] - CASHDRAWER_RIGHT_MARGIN;
  int left = FitLabelToText(window_, Control(IDC_lblPrinterName)) + gap;
  MoveLeftEdge(window_, Control(IDC_cmbPrinterName), left, rightEdge - left);
  left = FitLabelToText(window_, Control(IDC_lblCashDrawerName)) + gap;
  MoveLeftEdge(window_, Control(IDC_txtCashDrawerName), left, rightEdge - left);
  left = FitLabelToText(window_, Control(IDC_lblWaitTimeOut)) + gap;
  MoveLeftEdge(window_, Control(IDC_txtWaitTimeOut), left, 0);
  MoveLeftEdge(window_, Control(IDC_lblmm), RectIn(window_, Control(IDC_txtWaitTimeOut)).right + gap, 0);
  left = FitLabelToText(window_, Control(IDC_lblLogicName)) + gap;
  MoveLeftEdge(window_, Control(IDC_txtLogicName), left, 0);
}

void CashDrawerDialog::PushInput() {
  model_.SetDrawer1(IsDlgButtonChecked(window_, IDC_chkCashDrawer1) == BST_CHECKED);
  model_.SetDrawer2(IsDlgButtonChecked(window_, IDC_chkCashDrawer2) == BST_CHECKED);
  model_.SetStatusChoice(IsDlgButtonChecked(window_, IDC_optStatus1) == BST_CHECKED ? 1 : 0);
  model_.SetVoltageChoice(IsDlgButtonChecked(window_, IDC_optVoltage1) == BST_CHECKED ? 1 : 0);
  model_.SetHigh(TextOf(Control(IDC_txtHigh)));
  model_.SetLow(TextOf(Control(IDC_txtLow)));
  model_.SetWaitTimeOut(TextOf(Control(IDC_txtWaitTimeOut)));
  model_.SetLogicName(TextOf(Control(IDC_txtLogicName)));
}

void CashDrawerDialog::OnCommand(int id, int code, HWND control) {
  if (applying_) return;
  if (code == CBN_SELCHANGE && id == IDC_cmbPrinterName) {
    PushInput();
    model_.OnPrinterChanged(static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    Apply();
    return;
  }
  if (code == EN_CHANGE) {
    // Typed text is kept at once, so that it is there again after Cancel.
    PushInput();
    return;
  }
  if (code != BN_CLICKED) return;
  if (id == IDC_btnOK) {
    PushInput();
    if (model_.OnOk()) {
      EndDialog(window_, IDOK);
    } else {
      Apply();
    }
  } else if (id == IDC_btnCancel) {
    PushInput();
    model_.OnCancel();
    EndDialog(window_, IDCANCEL);
  } else {
    // A tick or a choice.
    PushInput();
  }
}

void CashDrawerDialog::Apply() {
  const tool::CashDrawerDialogState& s = model_.state();
  applying_ = true;
  SetText(window_, s.texts.caption);
  const struct {
    int id;
    const std::u16string& text;
  } captions[] = {
      {IDC_lblPrinterName, s.texts.lblPrinterName},
      {IDC_lblCashDrawerName, s.texts.lblCashDrawerName},
      {IDC_optConnectCashDrawer, s.texts.optConnectCashDrawer},
      {IDC_chkCashDrawer1, s.texts.chkCashDrawer1},
      {IDC_chkCashDrawer2, s.texts.chkCashDrawer2},
      {IDC_optPulseInterval, s.texts.optPulseInterval},
      {IDC_lblHigh, s.texts.lblHigh},
      {IDC_lblLow, s.texts.lblLow},
      {IDC_optStatus, s.texts.optStatus},
      {IDC_optStatus0, s.status.items[0]},
      {IDC_optStatus1, s.status.items[1]},
      {IDC_optVoltage, s.texts.optVoltage},
      {IDC_optVoltage0, s.voltage.items[0]},
      {IDC_optVoltage1, s.voltage.items[1]},
      {IDC_lblWaitTimeOut, s.texts.lblWaitTimeOut},
      {IDC_lblLogicName, s.texts.lblLogicName},
      {IDC_btnOK, s.texts.btnOK},
      {IDC_btnCancel, s.texts.btnCancel},
  };
  for (const auto& c : captions) SetText(Control(c.id), c.text);
  ApplyList(Control(IDC_cmbPrinterName), s.printer);
  SetText(Control(IDC_txtCashDrawerName), s.deviceName);
  CheckDlgButton(window_, IDC_chkCashDrawer1, s.drawer1 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(window_, IDC_chkCashDrawer2, s.drawer2 ? BST_CHECKED : BST_UNCHECKED);
  CheckRadioButton(window_, IDC_optStatus0, IDC_optStatus1, IDC_optStatus0 + s.status.selected);
  CheckRadioButton(window_, IDC_optVoltage0, IDC_optVoltage1, IDC_optVoltage0 + s.voltage.selected);
  SetText(Control(IDC_txtHigh), s.high);
  SetText(Control(IDC_txtLow), s.low);
  SetText(Control(IDC_txtWaitTimeOut), s.waitTimeOut);
  SetText(Control(IDC_txtLogicName), s.logicName);
  for (int id : {IDC_lblLogicName, IDC_txtLogicName}) {
    SetVisible(Control(id), s.logicNameShown);
    SetEnabled(Control(id), s.logicNameShown);
  }
  applying_ = false;
}

}  // namespace toolwin
