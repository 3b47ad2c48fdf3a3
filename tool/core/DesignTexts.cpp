#include "tool/core/DesignTexts.h"

namespace tool {

namespace {

struct KeyText {
  const char16_t* key;
  const char16_t* text;
};

// The windows' design captions; messages the design left open carry plain
// English of our own.
const KeyText kTexts[] = {
    {u"_MSG_Title", u"OPOS Printer Setting"},
    // Main window.
    {u"FormD_frmDevice", u"OPOS Printer Setting"},
    {u"FormD_lblDeviceList", u"Device List:"},
    {u"FormD_lblDeviceInf", u"Device Info:"},
    {u"FormD_btnQuit", u"Quit(&Q)"},
    {u"FormD_btnSetCodepage", u"Set Codepage(&C)"},
    {u"FormD_btnSelfTest1", u"CheckHealth(&S)"},
    {u"FormD_btnSelfTest2", u"CheckHealth(&S)"},
    {u"FormD_AddPrinter", u"Add Printer(&A)"},
    {u"FormD_ModifyPrinter", u"Modify Printer(&M)"},
    {u"FormD_DeletePrinter", u"Delete Printer(&D)"},
    {u"FormD_AddLogicName", u"Add Logic Name(&G)"},
    {u"FormD_AddCashDrawer", u"Add CashDrawer(&A)"},
    {u"FormD_ModifyCashDrawer", u"Modify CashDrawer(&M)"},
    {u"FormD_DeleteCashDrawer", u"Delete CashDrawer(&D)"},
    {u"FormD_ModifyLogicName", u"Modify Logic Name(&G)"},
    {u"FormD_DeleteLogicName", u"Delete Logic Name(&D)"},
    {u"FormD_LastLogicName1", u"This is the last logical name of the device."},
    {u"FormD_LastLogicName2", u"A device keeps at least one logical name."},
    {u"FormD_MSG_Quit", u"Do you want to quit?"},
    {u"FormD_MSG_DeleteNode", u"Do you want to delete "},
    {u"FormD_TIP_Unsupport", u"Device not supported"},
    // Printer dialog.
    {u"FormAP_AddPrinter", u"Add Printer"},
    {u"FormAP_AddModifyPrinter", u"Modify Printer"},
    {u"FormAP_lblPrinterDriver", u"Printer Driver:"},
    {u"FormAP_lblPrinterName", u"Printer Name:"},
    {u"FormAP_grbPortInf", u"Port Inf"},
    {u"FormAP_lblPortType", u"Port Type:"},
    {u"FormAP_lblNotes", u"Notes:"},
    {u"FormAP_lblLogicName", u"Logic Name:"},
    {u"FormAP_btnOK", u"OK(&O)"},
    {u"FormAP_btnCancel", u"Cancel(&C)"},
    {u"FormAP_lblLPTPort", u"Port:"},
    {u"FormAP_lblCOMPort", u"Port:"},
    {u"FormAP_lblBaudRate", u"BaudRate:"},
    {u"FormAP_lblIPAddress", u"IP Address:"},
    {u"FormAP_lblUSBPort", u"Automatic identification port."},
    {u"FormAP_LogicNameErr", u"This logical name is already in use."},
    {u"FormAP_IPErr", u"Please enter a valid IP address."},
    // Cash-drawer dialog.
    {u"FormACD_CashDrawer_Add", u"Add CashDrawer"},
    {u"FormACD_CashDrawer_Modify", u"Modify CashDrawer"},
    {u"FormACD_lblPrinterName", u"Printer Name:"},
    {u"FormACD_lblCashDrawerName", u"CashDrawer Name:"},
    {u"FormACD_optConnectCashDrawer", u"Connect CashDrawer"},
    {u"FormACD_optPulseInterval", u"Pulse Interval (ms)"},
    {u"FormACD_optStatus", u"Query Status"},
    {u"FormACD_optVoltage", u"Open Voltage"},
    {u"FormACD_lblWaitTimeOut", u"Timeout For Wait CashDrawer Close:"},
    {u"FormACD_lblLogicName", u"Logic Name:"},
    {u"FormACD_btnOK", u"OK(&O)"},
    {u"FormACD_btnCancel", u"Cancel(&C)"},
    {u"FormACD_CashDrawerNO0", u"CashDrawer #1"},
    {u"FormACD_CashDrawerNO1", u"CashDrawer #2"},
    {u"FormACD_PulseItem0", u"High"},
    {u"FormACD_PulseItem1", u"Low"},
    {u"FormACD_StatusItem0", u"Supported"},
    {u"FormACD_StatusItem1", u"Not supported"},
    {u"FormACD_VoltageItem0", u"High"},
    {u"FormACD_VoltageItem1", u"Low"},
    {u"FormACD_LogicNameExist", u"This logical name is already in use."},
    // Logical-name dialog.
    {u"FormALN_PrinterLogicName_Add", u"Add Logic Name"},
    {u"FormALN_PrinterLogicName_Modify", u"Modify Logic Name"},
    {u"FormALN_lblLogicName", u"Logic Name:"},
    {u"FormALN_btnOK", u"&OK"},
    {u"FormALN_btnCancel", u"&Cancel"},
    {u"FormALN_NullLogicName", u"Please enter a logical name."},
    {u"FormALN_LogicNameExist", u"This logical name is already in use."},
    // Code-page dialog; the names pair by position with CodepageIDList.
    {u"FormSetCodepage_Caption", u"Set Codepage"},
    {u"FormSetCodepage_lblCodepage", u"Codepage:"},
    {u"FormSetCodepage_btnOK", u"OK(&O)"},
    {u"FormSetCodepage_btnCancel", u"Cancel(&C)"},
    {u"FormSetCodepage_cmbCodepage_Items",
     u"437 USA,720 Arabic,850 Multilingual,860 Portuguese,862 Hebrew,863 Canadian-French,"
     u"864 Arabic,865 Nordic,866 Cyrillic,852 Latin 2,858 Euro,874 Thai,932 Japanese,"
     u"936 Simplified Chinese,949 Korean,1252 Latin 1,1255 Hebrew,1256 Arabic"},
};

const KeyText kCollect[] = {
    {u"List", u"1033"},
    {u"DefaultLanguageID", u"1033"},
    {u"DefaultLanguageName", u"English"},
    {u"CodepageIDList", u"437,720,850,860,862,863,864,865,866,852,858,874,932,936,949,1252,1255,1256"},
};

const char16_t* const* MakeKeyList() {
  static const char16_t* keys[sizeof kTexts / sizeof kTexts[0]];
  for (size_t i = 0; i < sizeof kTexts / sizeof kTexts[0]; ++i) keys[i] = kTexts[i].key;
  return keys;
}

// Language keys compare like the language file's: ASCII letter case ignored.
bool SameKey(const std::u16string& a, const char16_t* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != 0; ++i) {
    char16_t x = a[i];
    char16_t y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - u'a' + u'A');
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - u'a' + u'A');
    if (x != y) return false;
  }
  return i == a.size() && b[i] == 0;
}

template <size_t N>
const char16_t* Lookup(const KeyText (&table)[N], const std::u16string& key) {
  for (const KeyText& entry : table) {
    if (SameKey(key, entry.key)) return entry.text;
  }
  return nullptr;
}

}  // namespace

const char16_t* DesignText(const std::u16string& key) { return Lookup(kTexts, key); }

const char16_t* DesignCollectValue(const std::u16string& key) { return Lookup(kCollect, key); }

const char16_t* const* DesignTextKeys(size_t* count) {
  static const char16_t* const* keys = MakeKeyList();
  *count = sizeof kTexts / sizeof kTexts[0];
  return keys;
}

}  // namespace tool
