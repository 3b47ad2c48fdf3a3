/* Where each control of the tool's windows sits: left, top, width, height in
   client pixels. The dialog templates take these numbers, and the windows
   move every control to them again once created, since the system would
   scale template numbers by the dialog font. A drop-down list's height is
   that of its open list; the system chooses the closed height. Read by
   windres and by C++. */
#pragma once

/* TfrmDevice */
#define CLIENT_frmDevice 404, 398
#define RECT_lblDeviceList 4, 3, 197, 13
#define RECT_tvwDeviceList 4, 19, 253, 353
#define RECT_btnAddDevice 262, 19, 137, 33
#define RECT_btnModifyDevice 262, 59, 137, 33
#define RECT_btnDeleteDevice 262, 99, 137, 33
#define RECT_btnAddLogicName 262, 139, 137, 33
#define RECT_btnSetCodepage 262, 179, 137, 33
#define RECT_btnSelfTest 262, 219, 137, 33
#define RECT_btnQuit 262, 338, 137, 33
#define RECT_lblDeviceInf 3, 379, 62, 13
#define RECT_lblDeviceInfoValue 72, 379, 177, 13

/* TfrmAddPrinter */
#define CLIENT_frmAddPrinter 260, 303
#define RECT_lblPrinterDriver 8, 12, 88, 13
#define RECT_cmbPrinterDriver 100, 8, 152, 200
#define RECT_lblPrinterName 8, 40, 88, 13
#define RECT_txtPrinterName 100, 36, 152, 21
#define RECT_grbPortInf 4, 64, 252, 134
#define RECT_lblPortType 12, 86, 84, 13
#define RECT_cmbPortType 100, 82, 148, 120
#define RECT_lblNotes 8, 210, 88, 13
#define RECT_txtNotes 100, 206, 152, 21
#define RECT_lblLogicName 8, 238, 88, 13
#define RECT_txtLogicName 100, 234, 152, 21
#define RECT_btnOK 48, 266, 96, 30
#define RECT_btnCancel 152, 266, 96, 30

/* TfrmAddCashDrawer. The printer list, the drawer-name field, the time-out
   field and its unit, and the logical-name field follow their labels at run
   time (CASHDRAWER_FIELD_GAP); the printer list and the drawer-name field end
   CASHDRAWER_RIGHT_MARGIN pixels before the right edge. */
#define CLIENT_frmAddCashDrawer 271, 327
#define CASHDRAWER_FIELD_GAP 5
#define CASHDRAWER_RIGHT_MARGIN 10
#define RECT_lblCashDrawerPrinter 8, 12, 88, 13
#define RECT_cmbPrinterName 101, 8, 160, 200
#define RECT_lblCashDrawerName 8, 38, 88, 13
#define RECT_txtCashDrawerName 101, 34, 160, 21
#define RECT_optConnectCashDrawer 4, 58, 263, 38
#define RECT_chkCashDrawer1 12, 74, 120, 17
#define RECT_chkCashDrawer2 140, 74, 120, 17
#define RECT_optPulseInterval 4, 98, 263, 42
#define RECT_lblHigh 12, 118, 30, 13
#define RECT_txtHigh 44, 114, 80, 21
#define RECT_lblLow 140, 118, 30, 13
#define RECT_txtLow 172, 114, 80, 21
#define RECT_optStatus 4, 142, 263, 38
#define RECT_optStatus0 12, 158, 120, 17
#define RECT_optStatus1 140, 158, 120, 17
#define RECT_optVoltage 4, 182, 263, 38
#define RECT_optVoltage0 12, 198, 120, 17
#define RECT_optVoltage1 140, 198, 120, 17
#define RECT_lblWaitTimeOut 8, 228, 180, 13
#define RECT_txtWaitTimeOut 193, 224, 50, 21
#define RECT_lblmm 248, 228, 18, 13
#define RECT_lblCashDrawerLogicName 8, 254, 88, 13
#define RECT_txtCashDrawerLogicName 101, 250, 160, 21
#define RECT_btnCashDrawerOK 64, 286, 96, 30
#define RECT_btnCashDrawerCancel 168, 286, 96, 30

/* TfrmAddPrinterLogicName */
#define CLIENT_frmAddPrinterLogicName 308, 131
#define RECT_lblLogicNameOnly 16, 36, 76, 13
#define RECT_txtLogicNameOnly 96, 32, 196, 21
#define RECT_btnLogicNameOK 100, 84, 92, 30
#define RECT_btnLogicNameCancel 200, 84, 92, 30

/* TfrmSetCodepage */
#define CLIENT_frmSetCodepage 281, 80
#define RECT_lblCodepage 12, 16, 60, 13
#define RECT_cmbCodepage 76, 12, 193, 300
#define RECT_btnCodepageOK 80, 44, 92, 28
#define RECT_btnCodepageCancel 177, 44, 92, 28

/* The port panels, each its own client area; the printer dialog places the
   panel 5 pixels right of the group box's left edge and 5 pixels below the
   port-type list. */
#define CLIENT_pnlPort 237, 77
#define PANEL_LEFT_FROM_GROUP 5
#define PANEL_GAP_BELOW_PORT_TYPE 5
#define RECT_lblUSBPort 6, 10, 225, 13
#define RECT_lblCOMPort 6, 10, 80, 13
#define RECT_cmbCOMPort 91, 6, 140, 150
#define RECT_lblBaudRate 6, 42, 80, 13
#define RECT_cmbBaudRate 91, 38, 140, 150
#define RECT_lblLPTPort 6, 10, 80, 13
#define RECT_cmbLPTPort 91, 6, 140, 150
#define RECT_lblIPAddress 6, 10, 80, 13
#define RECT_txtIP 91, 6, 140, 21
