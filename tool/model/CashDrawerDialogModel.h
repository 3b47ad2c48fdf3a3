#pragma once
// Everything of the cash-drawer dialog that is not drawing: the list of the
// printers a drawer may hang on, the drawer's device name, the kick-out
// outputs, the status and voltage choices, the pulse times and the close-wait
// time-out, the logical-name check of OK and the writing of the drawer's
// device key. The model lives for the whole run like the dialog, so the
// controls keep their contents between uses. The shell pushes what the user
// typed before it calls OnOk.
#include <string>

#include "tool/core/ToolContext.h"
#include "tool/model/Controls.h"
#include "tool/model/PrinterDialogModel.h"
#include "tool/model/Prompt.h"

namespace tool {

struct CashDrawerDialogTexts {
  std::u16string caption;  // by mode
  std::u16string lblPrinterName, lblCashDrawerName, optConnectCashDrawer, chkCashDrawer1, chkCashDrawer2;
  std::u16string optPulseInterval, lblHigh, lblLow, optStatus, optVoltage, lblWaitTimeOut, lblLogicName;
  std::u16string btnOK, btnCancel;
};

// A group of two radio buttons; `selected` is 0 or 1.
struct ChoiceState {
  std::u16string items[2];
  int selected = 0;
};

struct CashDrawerDialogState {
  CashDrawerDialogTexts texts;
  ListState printer;           // cmbPrinterName
  std::u16string deviceName;   // txtCashDrawerName (always disabled)
  bool drawer1 = false;        // chkCashDrawer1
  bool drawer2 = false;        // chkCashDrawer2
  std::u16string high;         // txtHigh: pulse on-time
  std::u16string low;          // txtLow: pulse off-time
  ChoiceState status;          // optStatus: first = the state can be read back
  ChoiceState voltage;         // optVoltage: first = a high level means open
  std::u16string waitTimeOut = u"10000";  // txtWaitTimeOut
  std::u16string logicName;    // txtLogicName
  bool logicNameShown = true;  // lblLogicName and txtLogicName shown and enabled
};

// The key press filter of the time-out field: digits, backspace and Enter
// pass, every other key is dropped.
bool IsTimeOutKeyAccepted(char16_t key);

// DrawerPin from the two ticks: "3" both, "1" the first only, "2" otherwise
// (the second only, or neither).
std::u16string DrawerPinOf(bool drawer1, bool drawer2);

class CashDrawerDialogModel {
 public:
  CashDrawerDialogModel(ToolContext& context, Prompt& prompt);

  // Creation: texts read, choices loaded (first voltage choice selected),
  // both ticks cleared.
  void Create();
  // Shown in `mode`: the printer list filled, then the mode's initialisation
  // (Modify reads the device key at the context's selected key path), saved
  // flag cleared.
  void Show(DialogMode mode);

  // A printer chosen: in mode Add the drawer is named after it.
  void OnPrinterChanged(int index);
  void SetDrawer1(bool ticked) { state_.drawer1 = ticked; }
  void SetDrawer2(bool ticked) { state_.drawer2 = ticked; }
  void SetStatusChoice(int index) { state_.status.selected = index == 0 ? 0 : 1; }
  void SetVoltageChoice(int index) { state_.voltage.selected = index == 0 ? 0 : 1; }
  void SetHigh(const std::u16string& text) { state_.high = text; }
  void SetLow(const std::u16string& text) { state_.low = text; }
  // The shell has filtered the keys already (IsTimeOutKeyAccepted).
  void SetWaitTimeOut(const std::u16string& text) { state_.waitTimeOut = text; }
  void SetLogicName(const std::u16string& text) { state_.logicName = text; }

  // Checks, then saves. True when the dialog closes (saved); false when the
  // check refused and the dialog stays open with all input.
  bool OnOk();
  void OnCancel() {}

  DialogMode mode() const { return mode_; }
  bool saved() const { return saved_; }
  const CashDrawerDialogState& state() const { return state_; }

 private:
  void ReadTexts();
  void FillPrinterList();
  void SetDeviceName(const std::u16string& name);
  void InitialiseAdd();
  void InitialiseModify();
  void Save();

  ToolContext& context_;
  Prompt& prompt_;
  CashDrawerDialogState state_;
  DialogMode mode_ = DialogMode::kAdd;
  bool saved_ = false;
};

}  // namespace tool
