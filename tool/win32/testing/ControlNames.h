#pragma once
// The setting tool's control names by identifier, so that what the probe
// prints names each control as the tool's sources do.
#include <windows.h>

#include "tool/win32/resource.h"

namespace probe {

struct ControlName {
  int id;
  const char* name;
};

#define PROBE_NAME(control) {IDC_##control, #control}
inline constexpr ControlName kControlNames[] = {
    PROBE_NAME(lblDeviceList),    PROBE_NAME(tvwDeviceList),   PROBE_NAME(btnAddDevice),
    PROBE_NAME(btnModifyDevice),  PROBE_NAME(btnDeleteDevice), PROBE_NAME(btnAddLogicName),
    PROBE_NAME(btnSetCodepage),   PROBE_NAME(btnSelfTest),     PROBE_NAME(btnQuit),
    PROBE_NAME(lblDeviceInf),     PROBE_NAME(lblDeviceInfoValue),
    PROBE_NAME(lblPrinterDriver), PROBE_NAME(cmbPrinterDriver), PROBE_NAME(lblPrinterName),
    PROBE_NAME(txtPrinterName),   PROBE_NAME(grbPortInf),      PROBE_NAME(lblPortType),
    PROBE_NAME(cmbPortType),      PROBE_NAME(lblNotes),        PROBE_NAME(txtNotes),
    PROBE_NAME(lblLogicName),     PROBE_NAME(txtLogicName),    PROBE_NAME(btnOK),
    PROBE_NAME(btnCancel),        PROBE_NAME(pnlUSB),          PROBE_NAME(lblUSBPort),
    PROBE_NAME(pnlCOM),           PROBE_NAME(lblCOMPort),      PROBE_NAME(cmbCOMPort),
    PROBE_NAME(lblBaudRate),      PROBE_NAME(cmbBaudRate),     PROBE_NAME(pnlLPT),
    PROBE_NAME(lblLPTPort),       PROBE_NAME(cmbLPTPort),      PROBE_NAME(pnlTCPIP),
    PROBE_NAME(lblIPAddress),     PROBE_NAME(txtIP),
    PROBE_NAME(cmbPrinterName),   PROBE_NAME(lblCashDrawerName), PROBE_NAME(txtCashDrawerName),
    PROBE_NAME(optConnectCashDrawer), PROBE_NAME(chkCashDrawer1), PROBE_NAME(chkCashDrawer2),
    PROBE_NAME(optPulseInterval), PROBE_NAME(lblHigh),         PROBE_NAME(txtHigh),
    PROBE_NAME(lblLow),           PROBE_NAME(txtLow),          PROBE_NAME(optStatus),
    PROBE_NAME(optStatus0),       PROBE_NAME(optStatus1),      PROBE_NAME(optVoltage),
    PROBE_NAME(optVoltage0),      PROBE_NAME(optVoltage1),     PROBE_NAME(lblWaitTimeOut),
    PROBE_NAME(txtWaitTimeOut),   PROBE_NAME(lblmm),           PROBE_NAME(lblCodepage),
    PROBE_NAME(cmbCodepage),
};
#undef PROBE_NAME

// The name of the control `id` in a window of the tool; empty when unknown.
// OK and Cancel share their identifiers with every dialog's buttons, so they
// are named only inside the tool's printer dialog.
inline const char* ControlNameOf(int id, bool inPrinterDialog) {
  if ((id == IDOK || id == IDCANCEL) && !inPrinterDialog) return "";
  for (const ControlName& c : kControlNames) {
    if (c.id == id) return c.name;
  }
  return "";
}

}  // namespace probe
