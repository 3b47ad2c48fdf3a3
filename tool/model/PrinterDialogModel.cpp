#include "tool/model/PrinterDialogModel.h"

#include "tool/core/Edition.h"
#include "tool/core/StringHelpers.h"
#include "tool/model/PrinterKeyWriter.h"

namespace tool {

namespace {

const char16_t* const kPortTypes[] = {u"USB", u"COM", u"LPT", u"TCP/IP"};
const char16_t* const kBaudRates[] = {u"4800", u"9600", u"19200", u"38400", u"57600", u"115200"};
constexpr const char16_t* kBaudPrefix = u"BaudRate_";  // 9 characters before the rate

std::u16string WithoutFirstColon(std::u16string text) {
  const size_t colon = text.find(u':');
  if (colon != std::u16string::npos) text.erase(colon, 1);
  return text;
}

}  // namespace

std::u16string BuildPortSettings(PortPanel panel, const std::u16string& model, const std::u16string& comPort,
                                 const std::u16string& baudRate, const std::u16string& lptPort,
                                 const std::u16string& address) {
  switch (panel) {
    case PortPanel::kUsb:
      return model;
    case PortPanel::kCom:
      return WithoutFirstColon(comPort) + u"," + kBaudPrefix + baudRate;
    case PortPanel::kLpt:
      return WithoutFirstColon(lptPort);
    case PortPanel::kTcpIp:
      return address + u",9100";
  }
  return std::u16string();
}

bool IsAcceptedAddress(const std::u16string& address) {
  const std::u16string trimmed = Trim(address);
  return trimmed.size() >= 7 && CountOccurrences(trimmed, u".") == 3;
}

std::vector<std::u16string> PortsOfType(const std::vector<std::u16string>& systemNames,
                                        const std::u16string& word) {
  std::vector<std::u16string> ports;
  const std::u16string wanted = AsciiUpper(word);
  for (const std::u16string& name : systemNames) {
    if (name.empty() || AsciiUpper(name).find(wanted) == std::u16string::npos) continue;
    ports.push_back(name.substr(0, name.size() - 1));
  }
  return ports;
}

PrinterDialogModel::PrinterDialogModel(ToolContext& context, Prompt& prompt, PortEnumerator& ports)
    : context_(context), prompt_(prompt), ports_(ports) {}

void PrinterDialogModel::ReadTexts() {
  PrinterDialogTexts& t = state_.texts;
  t.caption = context_.Text(u"FormAP_AddPrinter");
  t.lblPrinterDriver = context_.Text(u"FormAP_lblPrinterDriver");
  t.lblPrinterName = context_.Text(u"FormAP_lblPrinterName");
  t.grbPortInf = context_.Text(u"FormAP_grbPortInf");
  t.lblPortType = context_.Text(u"FormAP_lblPortType");
  t.lblNotes = context_.Text(u"FormAP_lblNotes");
  t.lblLogicName = context_.Text(u"FormAP_lblLogicName");
  t.btnOK = context_.Text(u"FormAP_btnOK");
  t.btnCancel = context_.Text(u"FormAP_btnCancel");
  t.lblLPTPort = context_.Text(u"FormAP_lblLPTPort");
  t.lblCOMPort = context_.Text(u"FormAP_lblCOMPort");
  t.lblBaudRate = context_.Text(u"FormAP_lblBaudRate");
  t.lblIPAddress = context_.Text(u"FormAP_lblIPAddress");
  t.lblUSBPort = context_.Text(u"FormAP_lblUSBPort");
}

void PrinterDialogModel::Create() {
  ReadTexts();
  state_.portType.items.assign(std::begin(kPortTypes), std::end(kPortTypes));
  state_.portType.selected = static_cast<int>(PortPanel::kUsb);
  state_.panel = PortPanel::kUsb;
  state_.baudRate.items.assign(std::begin(kBaudRates), std::end(kBaudRates));
  state_.baudRate.selected = static_cast<int>(state_.baudRate.items.size()) - 1;
  state_.notes.clear();
  state_.ipAddress.clear();
  state_.driver.items = EditionModels(context_.edition());
  state_.driver.selected = state_.driver.items.empty() ? -1 : 0;
}

void PrinterDialogModel::Show(DialogMode mode) {
  mode_ = mode;
  const bool adding = mode == DialogMode::kAdd;
  state_.texts.caption = context_.Text(adding ? u"FormAP_AddPrinter" : u"FormAP_AddModifyPrinter");
  state_.driver.enabled = adding;
  state_.logicNameEnabled = adding;
  if (adding) {
    state_.deviceName = context_.registry().NextDeviceName(DeviceClass::kPrinter, state_.driver.Text());
    state_.logicName = state_.deviceName;
  } else {
    InitialiseModify();
  }
  saved_ = false;
}

void PrinterDialogModel::InitialiseModify() {
  using namespace QEL::Config;
  ToolRegistry& registry = context_.registry();
  const std::u16string& path = context_.selectedKeyPath;
  state_.deviceName = registry.ReadString(path, kDriverName);
  state_.driver.Select(registry.ReadString(path, kDriverModel));
  state_.portType.Select(registry.ReadString(path, kPortType));
  OnPortTypeChanged(state_.portType.selected);
  state_.notes = registry.ReadString(path, kNotes);
  const std::vector<std::u16string> pieces = Split(registry.ReadString(path, kPortSettings), u",");
  const std::u16string first = pieces.empty() ? std::u16string() : pieces[0];
  switch (state_.panel) {
    case PortPanel::kCom: {
      state_.comPort.Select(first);
      const std::u16string second = pieces.size() > 1 ? pieces[1] : std::u16string();
      state_.baudRate.Select(second.size() > 9 ? second.substr(9) : std::u16string());
      break;
    }
    case PortPanel::kLpt:
      state_.lptPort.Select(first);
      break;
    case PortPanel::kTcpIp:
      state_.ipAddress = first;
      break;
    case PortPanel::kUsb:
      break;
  }
  state_.logicName = registry.LogicalNameOfDevice(context_.selectedDevice, DeviceClass::kPrinter);
}

void PrinterDialogModel::OnDriverChanged(int index) {
  state_.driver.selected = index;
  state_.deviceName = context_.registry().NextDeviceName(DeviceClass::kPrinter, state_.driver.Text());
  state_.logicName = state_.deviceName;
}

void PrinterDialogModel::OnPortTypeChanged(int index) {
  if (index < 0 || index >= static_cast<int>(state_.portType.items.size())) return;
  state_.portType.selected = index;
  state_.panel = static_cast<PortPanel>(index);
  if (state_.panel == PortPanel::kCom) FillPortList(&state_.comPort, u"COM");
  if (state_.panel == PortPanel::kLpt) FillPortList(&state_.lptPort, u"LPT");
}

void PrinterDialogModel::FillPortList(ListState* list, const std::u16string& word) {
  const SystemPortList listing = ports_.ListPorts();
  if (listing.outcome == SystemPortList::Outcome::kNoPorts) {
    prompt_.Notify(u"no ports present !");
    list->items.clear();
  } else {
    if (listing.outcome == SystemPortList::Outcome::kFailed) prompt_.Notify(listing.errorText);
    list->items = PortsOfType(listing.names, word);
  }
  list->selected = list->items.empty() ? -1 : 0;
}

bool PrinterDialogModel::OnOk() {
  if (mode_ == DialogMode::kAdd) {
    // An empty name would become the class key's default value, which no
    // control object resolves.
    if (Trim(state_.logicName).empty()) {
      prompt_.Inform(context_.MessageTitle(), context_.Text(u"FormALN_NullLogicName"));
      return false;
    }
    if (!context_.registry().IsLogicalNameFree(state_.logicName, DeviceClass::kPrinter)) {
      prompt_.Inform(context_.MessageTitle(), context_.Text(u"FormAP_LogicNameErr"));
      return false;
    }
  }
  if (state_.panel == PortPanel::kTcpIp) {
    state_.ipAddress = Trim(state_.ipAddress);
    if (!IsAcceptedAddress(state_.ipAddress)) {
      prompt_.Inform(context_.MessageTitle(), context_.Text(u"FormAP_IPErr"));
      return false;
    }
  }
  Save();
  saved_ = true;
  return true;
}

void PrinterDialogModel::Save() {
  ToolRegistry& registry = context_.registry();
  if (mode_ == DialogMode::kAdd) {
    context_.selectedKeyPath = registry.DeviceKeyPath(DeviceClass::kPrinter, state_.deviceName);
  }
  QEL::Config::PrinterKeyValues values;
  const std::u16string model = state_.driver.Text();
  const ModelIdentity identity = PrinterIdentity(context_.edition(), model);
  values.progId = identity.progId;
  values.deviceDescription = identity.deviceDescription;
  values.driverModel = model;
  values.deviceName = state_.deviceName;
  values.portType = state_.portType.Text();
  values.notes = state_.notes;
  values.portSettings = BuildPortSettings(state_.panel, model, state_.comPort.Text(), state_.baudRate.Text(),
                                          state_.lptPort.Text(), state_.ipAddress);
  WritePrinterKey(registry, context_.selectedKeyPath, values, state_.logicName);
}

}  // namespace tool
