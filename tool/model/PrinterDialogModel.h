#pragma once
// Everything of the printer dialog that is not drawing: the driver list, the
// device name numbering, the port type with its panel and settings, the
// logical name, the checks of OK with their messages, and the writing of the
// printer device key. The model lives for the whole run like the dialog, so
// the controls keep their contents between uses. The shell pushes what the
// user typed (SetNotes, SetIpAddress, SetLogicName) before it calls OnOk.
#include <string>

#include "tool/core/ToolContext.h"
#include "tool/model/Controls.h"
#include "tool/model/PortEnumerator.h"
#include "tool/model/Prompt.h"

namespace tool {

enum class DialogMode { kAdd, kModify };

// The port types in list order; the index is the position in cmbPortType.
enum class PortPanel { kUsb = 0, kCom = 1, kLpt = 2, kTcpIp = 3 };

struct PrinterDialogTexts {
  std::u16string caption;  // by mode
  std::u16string lblPrinterDriver, lblPrinterName, grbPortInf, lblPortType, lblNotes, lblLogicName;
  std::u16string btnOK, btnCancel;
  std::u16string lblLPTPort, lblCOMPort, lblBaudRate, lblIPAddress, lblUSBPort;
};

struct PrinterDialogState {
  PrinterDialogTexts texts;
  ListState driver;             // cmbPrinterDriver
  std::u16string deviceName;    // txtPrinterName (always disabled)
  ListState portType;           // cmbPortType: USB, COM, LPT, TCP/IP
  std::u16string notes;         // txtNotes
  PortPanel panel = PortPanel::kUsb;  // the one visible port panel
  ListState comPort;            // cmbCOMPort
  ListState baudRate;           // cmbBaudRate
  ListState lptPort;            // cmbLPTPort
  std::u16string ipAddress;     // txtIP
  std::u16string logicName;     // txtLogicName
  bool logicNameEnabled = true;
};

// The PortSettings text for the chosen port type (USB: the model; COM:
// "<port>,BaudRate_<baud>"; LPT: the port; TCP/IP: "<address>,9100"). Port
// names lose their first colon.
std::u16string BuildPortSettings(PortPanel panel, const std::u16string& model,
                                 const std::u16string& comPort, const std::u16string& baudRate,
                                 const std::u16string& lptPort, const std::u16string& address);
// Whether an address passes the dialog's check: at least 7 characters and
// exactly three dots counted from the second character on, after trimming.
bool IsAcceptedAddress(const std::u16string& address);
// The system's ports whose names contain `word` ("COM" or "LPT", letter case
// ignored), in the system's order, each without its last character.
std::vector<std::u16string> PortsOfType(const std::vector<std::u16string>& systemNames,
                                        const std::u16string& word);

class PrinterDialogModel {
 public:
  PrinterDialogModel(ToolContext& context, Prompt& prompt, PortEnumerator& ports);

  // Creation: texts read, driver list filled (first entry selected), port
  // type USB, notes and address cleared, baud list with 115200 selected.
  void Create();
  // Shown in `mode`: layout, the mode's initialisation (Modify reads the
  // device key at the context's selected key path), saved flag cleared.
  void Show(DialogMode mode);

  void OnDriverChanged(int index);
  void OnPortTypeChanged(int index);
  void OnComPortChanged(int index) { state_.comPort.selected = index; }
  void OnBaudRateChanged(int index) { state_.baudRate.selected = index; }
  void OnLptPortChanged(int index) { state_.lptPort.selected = index; }
  void SetNotes(const std::u16string& text) { state_.notes = text; }
  void SetIpAddress(const std::u16string& text) { state_.ipAddress = text; }
  void SetLogicName(const std::u16string& text) { state_.logicName = text; }

  // Checks, then saves. True when the dialog closes (saved); false when a
  // check refused and the dialog stays open with all input.
  bool OnOk();
  // Closes without writing.
  void OnCancel() {}

  DialogMode mode() const { return mode_; }
  bool saved() const { return saved_; }
  const PrinterDialogState& state() const { return state_; }

 private:
  void ReadTexts();
  void InitialiseModify();
  void FillPortList(ListState* list, const std::u16string& word);
  void Save();

  ToolContext& context_;
  Prompt& prompt_;
  PortEnumerator& ports_;
  PrinterDialogState state_;
  DialogMode mode_ = DialogMode::kAdd;
  bool saved_ = false;
};

}  // namespace tool
