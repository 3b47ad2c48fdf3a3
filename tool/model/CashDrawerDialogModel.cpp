#include "tool/model/CashDrawerDialogModel.h"

#include "tool/core/Edition.h"
#include "tool/core/StringHelpers.h"
#include "tool/model/DrawerKeyWriter.h"

namespace tool {

bool IsTimeOutKeyAccepted(char16_t key) {
  return (key >= u'0' && key <= u'9') || key == u'\b' || key == u'\r';
}

std::u16string DrawerPinOf(bool drawer1, bool drawer2) {
  if (drawer1 && drawer2) return u"3";
  if (drawer1) return u"1";
  return u"2";
}

CashDrawerDialogModel::CashDrawerDialogModel(ToolContext& context, Prompt& prompt)
    : context_(context), prompt_(prompt) {}

void CashDrawerDialogModel::ReadTexts() {
  CashDrawerDialogTexts& t = state_.texts;
  t.caption = context_.Text(u"FormACD_CashDrawer_Add");
  t.lblPrinterName = context_.Text(u"FormACD_lblPrinterName");
  t.lblCashDrawerName = context_.Text(u"FormACD_lblCashDrawerName");
  t.optConnectCashDrawer = context_.Text(u"FormACD_optConnectCashDrawer");
  t.chkCashDrawer1 = context_.Text(u"FormACD_CashDrawerNO0");
  t.chkCashDrawer2 = context_.Text(u"FormACD_CashDrawerNO1");
  t.optPulseInterval = context_.Text(u"FormACD_optPulseInterval");
  t.lblHigh = context_.Text(u"FormACD_PulseItem0");
  t.lblLow = context_.Text(u"FormACD_PulseItem1");
  t.optStatus = context_.Text(u"FormACD_optStatus");
  t.optVoltage = context_.Text(u"FormACD_optVoltage");
  t.lblWaitTimeOut = context_.Text(u"FormACD_lblWaitTimeOut");
  t.lblLogicName = context_.Text(u"FormACD_lblLogicName");
  t.btnOK = context_.Text(u"FormACD_btnOK");
  t.btnCancel = context_.Text(u"FormACD_btnCancel");
}

void CashDrawerDialogModel::Create() {
  ReadTexts();
  state_.status.items[0] = context_.Text(u"FormACD_StatusItem0");
  state_.status.items[1] = context_.Text(u"FormACD_StatusItem1");
  state_.voltage.items[0] = context_.Text(u"FormACD_VoltageItem0");
  state_.voltage.items[1] = context_.Text(u"FormACD_VoltageItem1");
  state_.voltage.selected = 0;
  state_.drawer1 = false;
  state_.drawer2 = false;
}

void CashDrawerDialogModel::Show(DialogMode mode) {
  mode_ = mode;
  FillPrinterList();
  if (mode == DialogMode::kAdd) {
    InitialiseAdd();
  } else {
    InitialiseModify();
  }
  saved_ = false;
}

// Only printers of this edition may carry a drawer (any printer in the debug
// edition): the drawer's service object must be the printer's.
void CashDrawerDialogModel::FillPrinterList() {
  ToolRegistry& registry = context_.registry();
  state_.printer.items.clear();
  state_.printer.selected = -1;
  const bool everyPrinter = IsDebugEdition(context_.edition());
  for (const std::u16string& device : registry.ListSubkeys(registry.ClassKeyPath(DeviceClass::kPrinter))) {
    const std::u16string progId =
        registry.ReadString(registry.DeviceKeyPath(DeviceClass::kPrinter, device), QEL::Config::kProgIdValue);
    if (everyPrinter || progId == context_.progIdList()) state_.printer.items.push_back(device);
  }
  if (!state_.printer.items.empty()) OnPrinterChanged(0);
}

void CashDrawerDialogModel::OnPrinterChanged(int index) {
  state_.printer.selected =
      index >= 0 && index < static_cast<int>(state_.printer.items.size()) ? index : -1;
  if (mode_ != DialogMode::kAdd) return;
  SetDeviceName(context_.registry().NextDeviceName(DeviceClass::kDrawer, state_.printer.Text()));
}

void CashDrawerDialogModel::SetDeviceName(const std::u16string& name) {
  state_.deviceName = name;
  state_.logicName = name;
}

void CashDrawerDialogModel::InitialiseAdd() {
  state_.texts.caption = context_.Text(u"FormACD_CashDrawer_Add");
  state_.logicNameShown = true;
  state_.logicName.clear();
  // Without a printer the drawer is still named, from an empty base.
  OnPrinterChanged(state_.printer.selected);
  state_.high = u"10";
  state_.low = u"10";
  state_.waitTimeOut = u"5000";
  state_.status.selected = 0;
  state_.voltage.selected = 1;
}

void CashDrawerDialogModel::InitialiseModify() {
  using namespace QEL::Config;
  ToolRegistry& registry = context_.registry();
  const std::u16string& path = context_.selectedKeyPath;
  state_.texts.caption = context_.Text(u"FormACD_CashDrawer_Modify");
  state_.logicNameShown = false;
  SetDeviceName(registry.ReadString(path, kCashDrawerName));
  state_.printer.Select(registry.ReadString(path, kPrinterName));
  state_.status.selected = registry.ReadString(path, kCapDrawStatus) == u"1" ? 0 : 1;
  state_.voltage.selected = registry.ReadString(path, kOpenVoltage) == u"1" ? 0 : 1;
  const std::u16string pin = registry.ReadString(path, kDrawerPin);
  if (pin == u"1" || pin == u"2" || pin == u"3") {
    state_.drawer1 = pin != u"2";
    state_.drawer2 = pin != u"1";
  }
  state_.high = registry.ReadString(path, kSignalOnTime);
  state_.low = registry.ReadString(path, kSignalOffTime);
  state_.waitTimeOut = registry.ReadString(path, kWaitForDrawerCloseTimeOut);
  state_.logicName = registry.LogicalNameOfDevice(context_.selectedDevice, DeviceClass::kDrawer);
}

bool CashDrawerDialogModel::OnOk() {
  if (mode_ == DialogMode::kAdd) {
    // An empty name would become the class key's default value, which no
    // control object resolves; the printer dialog refuses it the same way.
    if (Trim(state_.logicName).empty()) {
      prompt_.Inform(context_.MessageTitle(), context_.Text(u"FormALN_NullLogicName"));
      return false;
    }
    if (!context_.registry().IsLogicalNameFree(state_.logicName, DeviceClass::kDrawer)) {
      prompt_.Inform(context_.MessageTitle(), context_.Text(u"FormACD_LogicNameExist"));
      return false;
    }
  }
  Save();
  saved_ = true;
  return true;
}

void CashDrawerDialogModel::Save() {
  ToolRegistry& registry = context_.registry();
  if (mode_ == DialogMode::kAdd) {
    context_.selectedKeyPath = registry.DeviceKeyPath(DeviceClass::kDrawer, state_.deviceName);
  }
  const std::u16string printer = state_.printer.Text();
  std::u16string model;
  if (!printer.empty()) {
    model = registry.ReadString(registry.DeviceKeyPath(DeviceClass::kPrinter, printer),
                                QEL::Config::kDriverModel);
  }
  QEL::Config::DrawerKeyValues values;
  values.progId = DrawerProgId(context_.edition(), model);
  values.deviceName = state_.deviceName;
  values.printerName = printer;
  values.capDrawStatus = state_.status.selected == 0 ? u"1" : u"0";
  values.drawerPin = DrawerPinOf(state_.drawer1, state_.drawer2);
  values.openVoltage = state_.voltage.selected == 0 ? u"1" : u"0";
  values.signalOnTime = state_.high;
  values.signalOffTime = state_.low;
  values.waitForDrawerCloseTimeOut = state_.waitTimeOut;
  WriteDrawerKey(registry, context_.selectedKeyPath, values, state_.logicName);
}

}  // namespace tool
