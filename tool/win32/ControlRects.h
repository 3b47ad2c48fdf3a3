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
