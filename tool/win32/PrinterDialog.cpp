#include "tool/win32/PrinterDialog.h"

#include "tool/win32/ControlRects.h"
#include "tool/win32/ControlState.h"
#include "tool/win32/PixelLayout.h"
#include "tool/win32/Text.h"
#include "tool/win32/resource.h"

namespace toolwin {
namespace {

const ControlRect kRects[] = {
    {IDC_lblPrinterDriver, RECT_lblPrinterDriver},
    {IDC_cmbPrinterDriver, RECT_cmbPrinterDriver},
    {IDC_lblPrinterName, RECT_lblPrinterName},
    {IDC_txtPrinterName, RECT_txtPrinterName},
    {IDC_grbPortInf, RECT_grbPortInf},
    {IDC_lblPortType, RECT_lblPortType},
    {IDC_cmbPortType, RECT_cmbPortType},
    {IDC_lblNotes, RECT_lblNotes},
    {IDC_txtNotes, RECT_txtNotes},
    {IDC_lblLogicName, RECT_lblLogicName},
    {IDC_txtLogicName, RECT_txtLogicName},
    {IDC_btnOK, RECT_btnOK},
    {IDC_btnCancel, RECT_btnCancel},
};
const ControlRect kUsbRects[] = {{IDC_lblUSBPort, RECT_lblUSBPort}};
const ControlRect kComRects[] = {
    {IDC_lblCOMPort, RECT_lblCOMPort},
    {IDC_cmbCOMPort, RECT_cmbCOMPort},
    {IDC_lblBaudRate, RECT_lblBaudRate},
    {IDC_cmbBaudRate, RECT_cmbBaudRate},
};
const ControlRect kLptRects[] = {{IDC_lblLPTPort, RECT_lblLPTPort}, {IDC_cmbLPTPort, RECT_cmbLPTPort}};
const ControlRect kTcpIpRects[] = {{IDC_lblIPAddress, RECT_lblIPAddress}, {IDC_txtIP, RECT_txtIP}};
constexpr int kClient[] = {CLIENT_frmAddPrinter};
constexpr int kPanel[] = {CLIENT_pnlPort};

struct PanelTemplate {
  int templateId;
  int controlId;
};
// In the order of tool::PortPanel (the port-type list's order).
constexpr PanelTemplate kPanels[] = {
    {IDD_pnlUSB, IDC_pnlUSB},
    {IDD_pnlCOM, IDC_pnlCOM},
    {IDD_pnlLPT, IDC_pnlLPT},
    {IDD_pnlTCPIP, IDC_pnlTCPIP},
};

}  // namespace

PrinterDialog::PrinterDialog(tool::PrinterDialogModel& model) : model_(model) {}

bool PrinterDialog::Run(HINSTANCE instance, HWND owner, tool::DialogMode mode) {
  instance_ = instance;
  mode_ = mode;
  ShowModal(instance, IDD_frmAddPrinter, owner);
  return model_.saved();
}

// The panels' controls report to their panel; the dialog decides.
INT_PTR CALLBACK PrinterDialog::PanelProcedure(HWND panel, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  if (message == WM_COMMAND) {
    SendMessageW(GetParent(panel), WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return FALSE;
}

HWND PrinterDialog::Control(int id) const {
  if (HWND own = GetDlgItem(window_, id)) return own;
  for (HWND panel : panels_) {
    if (HWND inPanel = GetDlgItem(panel, id)) return inPanel;
  }
  return nullptr;
}

void PrinterDialog::OnInit() {
  PlaceControls(window_, kRects);
  SizeAndCentre(window_, kClient[0], kClient[1], owner_);
  CreatePanels();
  model_.Show(mode_);
  Apply();
}

void PrinterDialog::CreatePanels() {
  RECT group;
  GetWindowRect(GetDlgItem(window_, IDC_grbPortInf), &group);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&group), 2);
  // The port-type list's closed height is the system's choice.
  HWND portType = GetDlgItem(window_, IDC_cmbPortType);
  RECT list;
  GetWindowRect(portType, &list);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&list), 2);
  const int left = group.left + PANEL_LEFT_FROM_GROUP;
  const int top = list.bottom + PANEL_GAP_BELOW_PORT_TYPE;
  for (size_t i = 0; i < 4; ++i) {
    HWND panel = CreateDialogParamW(instance_, MAKEINTRESOURCEW(kPanels[i].templateId), window_,
                                    PanelProcedure, 0);
    SetWindowLongPtrW(panel, GWLP_ID, kPanels[i].controlId);
    // Right after the port-type list in the tab order.
    SetWindowPos(panel, portType, left, top, kPanel[0], kPanel[1], SWP_NOACTIVATE);
    panels_[i] = panel;
  }
  PlaceControls(panels_[0], kUsbRects);
  PlaceControls(panels_[1], kComRects);
  PlaceControls(panels_[2], kLptRects);
  PlaceControls(panels_[3], kTcpIpRects);
}

void PrinterDialog::PushTypedTexts() {
  model_.SetNotes(TextOf(Control(IDC_txtNotes)));
  model_.SetIpAddress(TextOf(Control(IDC_txtIP)));
  model_.SetLogicName(TextOf(Control(IDC_txtLogicName)));
}

void PrinterDialog::OnCommand(int id, int code, HWND control) {
  if (code == CBN_SELCHANGE) {
    const int index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
    switch (id) {
      case IDC_cmbPrinterDriver: model_.OnDriverChanged(index); break;
      case IDC_cmbPortType: model_.OnPortTypeChanged(index); break;
      case IDC_cmbCOMPort: model_.OnComPortChanged(index); break;
      case IDC_cmbBaudRate: model_.OnBaudRateChanged(index); break;
      case IDC_cmbLPTPort: model_.OnLptPortChanged(index); break;
      default: return;
    }
    Apply();
    return;
  }
  if (code == EN_CHANGE) {
    // Typed text is kept at once, so that it is there again after Cancel.
    if (!applying_) PushTypedTexts();
    return;
  }
  if (code != BN_CLICKED) return;
  if (id == IDC_btnOK) {
    PushTypedTexts();
    if (model_.OnOk()) {
      EndDialog(window_, IDOK);
    } else {
      Apply();
    }
  } else if (id == IDC_btnCancel) {
    PushTypedTexts();
    model_.OnCancel();
    EndDialog(window_, IDCANCEL);
  }
}

void PrinterDialog::Apply() {
  const tool::PrinterDialogState& s = model_.state();
  applying_ = true;
  SetText(window_, s.texts.caption);
  const struct {
    int id;
    const std::u16string& text;
  } captions[] = {
      {IDC_lblPrinterDriver, s.texts.lblPrinterDriver}, {IDC_lblPrinterName, s.texts.lblPrinterName},
      {IDC_grbPortInf, s.texts.grbPortInf},             {IDC_lblPortType, s.texts.lblPortType},
      {IDC_lblNotes, s.texts.lblNotes},                 {IDC_lblLogicName, s.texts.lblLogicName},
      {IDC_btnOK, s.texts.btnOK},                       {IDC_btnCancel, s.texts.btnCancel},
      {IDC_lblLPTPort, s.texts.lblLPTPort},             {IDC_lblCOMPort, s.texts.lblCOMPort},
      {IDC_lblBaudRate, s.texts.lblBaudRate},           {IDC_lblIPAddress, s.texts.lblIPAddress},
      {IDC_lblUSBPort, s.texts.lblUSBPort},
  };
  for (const auto& c : captions) SetText(Control(c.id), c.text);
  ApplyList(Control(IDC_cmbPrinterDriver), s.driver);
  ApplyList(Control(IDC_cmbPortType), s.portType);
  ApplyList(Control(IDC_cmbCOMPort), s.comPort);
  ApplyList(Control(IDC_cmbBaudRate), s.baudRate);
  ApplyList(Control(IDC_cmbLPTPort), s.lptPort);
  SetText(Control(IDC_txtPrinterName), s.deviceName);
  SetText(Control(IDC_txtNotes), s.notes);
  SetText(Control(IDC_txtIP), s.ipAddress);
  SetText(Control(IDC_txtLogicName), s.logicName);
  SetEnabled(Control(IDC_txtLogicName), s.logicNameEnabled);
  for (size_t i = 0; i < 4; ++i) {
    SetVisible(panels_[i], static_cast<size_t>(s.panel) == i);
  }
  applying_ = false;
}

}  // namespace toolwin
