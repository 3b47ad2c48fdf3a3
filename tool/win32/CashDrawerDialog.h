#pragma once
// TfrmAddCashDrawer: the cash-drawer dialog, modal over the main window. The
// window logic lives for the whole run, so what the controls held last time
// comes back the next time the dialog opens.
#include <windows.h>

#include "tool/model/CashDrawerDialogModel.h"
#include "tool/win32/ModalDialog.h"

namespace toolwin {

class CashDrawerDialog final : public ModalDialog {
 public:
  explicit CashDrawerDialog(tool::CashDrawerDialogModel& model);

  // The dialog's creation at program start (texts, choices).
  void Create() { model_.Create(); }
  // Shows the dialog in `mode` until OK or Cancel; true when it saved.
  bool Run(HINSTANCE instance, HWND owner, tool::DialogMode mode);

 private:
  static LRESULT CALLBACK TimeOutFieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                                UINT_PTR id, DWORD_PTR data);

  void OnInit() override;
  // Translated labels of any width: the fields follow their labels.
  void PlaceFieldsAfterLabels();
  void OnCommand(int id, int code, HWND control) override;
  // What the user typed or ticked, handed to the logic before it decides.
  void PushInput();
  void Apply();
  HWND Control(int id) const { return GetDlgItem(window_, id); }

  tool::CashDrawerDialogModel& model_;
  tool::DialogMode mode_ = tool::DialogMode::kAdd;
  // Set while the dialog itself writes into its controls.
  bool applying_ = false;
};

}  // namespace toolwin
