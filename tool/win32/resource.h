/* Identifiers of the setting tool's dialogs and controls. Each control's
   identifier carries the control's name, so that tests and people find the
   same control under the same name. Read by windres and by C++. */
#pragma once

#define IDD_frmDevice 100
#define IDD_frmAddPrinter 101
#define IDD_pnlUSB 102
#define IDD_pnlCOM 103
#define IDD_pnlLPT 104
#define IDD_pnlTCPIP 105
#define IDD_frmAddCashDrawer 106
#define IDD_frmAddPrinterLogicName 107
#define IDD_frmSetCodepage 108

/* TfrmDevice */
#define IDC_lblDeviceList 1001
#define IDC_tvwDeviceList 1002
#define IDC_btnAddDevice 1003
#define IDC_btnModifyDevice 1004
#define IDC_btnDeleteDevice 1005
#define IDC_btnAddLogicName 1006
#define IDC_btnSetCodepage 1007
#define IDC_btnSelfTest 1008
#define IDC_btnQuit 1009
#define IDC_lblDeviceInf 1010
#define IDC_lblDeviceInfoValue 1011

/* TfrmAddPrinter; OK and Cancel are the dialog's IDOK and IDCANCEL. */
#define IDC_lblPrinterDriver 1101
#define IDC_cmbPrinterDriver 1102
#define IDC_lblPrinterName 1103
#define IDC_txtPrinterName 1104
#define IDC_grbPortInf 1105
#define IDC_lblPortType 1106
#define IDC_cmbPortType 1107
#define IDC_lblNotes 1108
#define IDC_txtNotes 1109
#define IDC_lblLogicName 1110
#define IDC_txtLogicName 1111
#define IDC_btnOK 1 /* IDOK */
#define IDC_btnCancel 2 /* IDCANCEL */

/* The port panels: one child dialog each, all at one spot. */
#define IDC_pnlUSB 1120
#define IDC_lblUSBPort 1121
#define IDC_pnlCOM 1130
#define IDC_lblCOMPort 1131
#define IDC_cmbCOMPort 1132
#define IDC_lblBaudRate 1133
#define IDC_cmbBaudRate 1134
#define IDC_pnlLPT 1140
#define IDC_lblLPTPort 1141
#define IDC_cmbLPTPort 1142
#define IDC_pnlTCPIP 1150
#define IDC_lblIPAddress 1151
#define IDC_txtIP 1152

/* TfrmAddCashDrawer; its printer label and its logical-name label and field
   are named as in the printer dialog (lblPrinterName, lblLogicName,
   txtLogicName). */
#define IDC_cmbPrinterName 1202
#define IDC_lblCashDrawerName 1203
#define IDC_txtCashDrawerName 1204
#define IDC_optConnectCashDrawer 1205
#define IDC_chkCashDrawer1 1206
#define IDC_chkCashDrawer2 1207
#define IDC_optPulseInterval 1208
#define IDC_lblHigh 1209
#define IDC_txtHigh 1210
#define IDC_lblLow 1211
#define IDC_txtLow 1212
#define IDC_optStatus 1213
#define IDC_optStatus0 1214
#define IDC_optStatus1 1215
#define IDC_optVoltage 1216
#define IDC_optVoltage0 1217
#define IDC_optVoltage1 1218
#define IDC_lblWaitTimeOut 1219
#define IDC_txtWaitTimeOut 1220
#define IDC_lblmm 1221

/* TfrmAddPrinterLogicName: lblLogicName, txtLogicName, OK and Cancel. */

/* TfrmSetCodepage */
#define IDC_lblCodepage 1301
#define IDC_cmbCodepage 1302
