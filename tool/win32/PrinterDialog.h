#pragma once
// TfrmAddPrinter: the printer dialog, modal over the main window. The window
// logic lives for the whole run, so what the controls held last time comes
// back the next time the dialog opens.
#include <windows.h>

#include "tool/model/PrinterDialogModel.h"
#include "tool/win32/ModalDialog.h"

namespace toolwin {

class PrinterDialog final : public ModalDialog {
 public:
  explicit PrinterDialog(tool::PrinterDialogModel& model);

  // The dialog's creation at program start (texts, lists).
  void Create() { model_.Create(); }
  // Shows the dialog in `mode` until OK or Cancel; true when it saved.
  bool Run(HINSTANCE instance, HWND owner, tool::DialogMode mode);

 private:
  static INT_PTR CALLBACK PanelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

  void OnInit() override;
  void CreatePanels();
  void OnCommand(int id, int code, HWND control) override;
  // What the user typed, handed to the logic before it decides anything.
  void PushTypedTexts();
  void Apply();
  HWND Control(int id) const;

  tool::PrinterDialogModel& model_;
  HINSTANCE instance_ = nullptr;
  tool::DialogMode mode_ = tool::DialogMode::kAdd;
  HWND panels_[4] = {};  // in the order of tool::PortPanel
  // Set while the dialog itself writes into its edit fields.
  bool applying_ = false;
};

}  // namespace toolwin
