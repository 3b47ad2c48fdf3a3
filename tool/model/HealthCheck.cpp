#include "tool/model/HealthCheck.h"

namespace tool {

namespace {

constexpr const char16_t* kNothingPrints = u"Cann't print anything due to printer fail!";
constexpr const char16_t* kPrinterOpenFailed = u"PosPrinter Failed Open: ";
constexpr const char16_t* kPrinterNotClaimed = u"Fails to get the exclusive right for the device.";
constexpr const char16_t* kDrawerOpenFailed = u"Cashdrawer failed to open: ";
constexpr const char16_t* kDrawerNotClaimed =
    u"Cashdrawer failed to get the exclusive right for the device.";

struct OpenResultEntry {
  int32_t code;
  const char16_t* text;
};

const OpenResultEntry kOpenResultTexts[] = {
    {301, u"Control Object already open"},
    {302, u"The registry does not contain a key for the specified device name"},
    {303, u"Could not read the device name key's default value, or could not convert this Prog ID "
          u"to a valid Class ID"},
    {304, u"Could not create a service object instance"},
    {305, u"The service object does not support one or more of the method required by its release"},
    {306, u"The service object returned a failure status"},
    {307, u"The service object major version number is not 1"},
    {401, u"Configured port is invalid or inaccessible"},
    {402, u"Does not support the specified device"},
    {403, u"Configuration information error"},
};

std::u16string Decimal(int32_t value) {
  const std::string ascii = std::to_string(value);
  return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace

std::u16string OpenResultText(int32_t openResult, DeviceClass deviceClass) {
  for (const OpenResultEntry& entry : kOpenResultTexts) {
    if (entry.code == openResult) return entry.text;
  }
  if (deviceClass == DeviceClass::kPrinter) return std::u16string();
  return u"OpenResult:" + Decimal(openResult);
}

HealthCheck::HealthCheck(ToolContext& context, Prompt& prompt, HealthCheckControlObject& printer,
                         HealthCheckControlObject& drawer)
    : context_(context), prompt_(prompt), printer_(printer), drawer_(drawer) {}

void HealthCheck::Run() {
  if (running_) return;
  struct Running {
    bool& flag;
    explicit Running(bool& f) : flag(f) { flag = true; }
    ~Running() { flag = false; }
  } running(running_);
  const std::u16string device = context_.selectedDevice;
  try {
    if (context_.deviceClass == DeviceClass::kPrinter) {
      CheckPrinter(device);
    } else {
      CheckDrawer(device);
    }
  } catch (const ControlObjectFault& fault) {
    Undo(printer_, &printerHold_, true);
    printerOpen_ = false;
    Undo(drawer_, &drawerHold_, true);
    drawerOpen_ = false;
    prompt_.Notify(fault.text());
  }
}

void HealthCheck::CheckPrinter(const std::u16string& device) {
  if (!printerOpen_) OpenPrinter(device);
  if (!printerOpen_) {
    Show(kNothingPrints);
    return;
  }
  printer_.CheckHealth(kInteractiveLevel);
  Show(printer_.CheckHealthText());
  ClosePrinter();
}

void HealthCheck::CheckDrawer(const std::u16string& device) {
  // The drawer is opened every time, even when the tool still holds it.
  OpenDrawerDevice(device);
  if (!drawerOpen_) {
    Show(kNothingPrints);
    return;
  }
  drawer_.CheckHealth(kInteractiveLevel);
  Show(drawer_.CheckHealthText());
  CloseDrawer();
}

void HealthCheck::OpenPrinter(const std::u16string& device) {
  if (printerOpen_) return;
  printer_.Open(device);
  if (printer_.ResultCode() != 0) {
    Show(kPrinterOpenFailed + OpenResultText(printer_.OpenResult(), DeviceClass::kPrinter) + u"!");
    return;
  }
  printerHold_.opened = true;
  printer_.ClaimDevice(kClaimTimeoutMs);
  if (printer_.ResultCode() != 0) {
    Undo(printer_, &printerHold_, false);
    Show(kPrinterNotClaimed);
    return;
  }
  printerHold_.claimed = true;
  printer_.SetDeviceEnabled(true);
  if (printer_.ResultCode() != 0) {
    Undo(printer_, &printerHold_, false);
    Show(kPrinterNotClaimed);
    return;
  }
  printerHold_.enabled = true;
  printerOpen_ = true;
}

void HealthCheck::OpenDrawerDevice(const std::u16string& device) {
  drawer_.Open(device);
  if (drawer_.ResultCode() != 0) {
    Show(kDrawerOpenFailed + OpenResultText(drawer_.OpenResult(), DeviceClass::kDrawer) + u"!");
    return;
  }
  drawerHold_.opened = true;
  drawer_.ClaimDevice(kClaimTimeoutMs);
  if (drawer_.ResultCode() != 0) {
    Undo(drawer_, &drawerHold_, false);
    Show(kDrawerNotClaimed);
    return;
  }
  drawerHold_.claimed = true;
  drawer_.SetDeviceEnabled(true);
  // Only the outcome of the pulse decides; whether enabling worked is noted
  // so that a failure disables only what was enabled.
  drawerHold_.enabled = drawer_.ResultCode() == 0;
  drawer_.OpenDrawer();
  if (drawer_.ResultCode() != 0) {
    Undo(drawer_, &drawerHold_, false);
    Show(kDrawerNotClaimed);
    return;
  }
  drawerOpen_ = true;
}

void HealthCheck::ClosePrinter() {
  if (!printerOpen_) return;
  printerOpen_ = false;
  Undo(printer_, &printerHold_, false);
}

void HealthCheck::CloseDrawer() {
  if (!drawerOpen_) return;
  drawerOpen_ = false;
  Undo(drawer_, &drawerHold_, false);
}

void HealthCheck::Undo(HealthCheckControlObject& object, Hold* hold, bool quiet) {
  // Each step is forgotten before it is tried: a step that faults is not
  // tried again by the quiet undo that follows the fault.
  auto step = [&](bool* held, auto call) {
    if (!*held) return;
    *held = false;
    if (!quiet) {
      call();
      return;
    }
    try {
      call();
    } catch (const ControlObjectFault&) {
    }
  };
  step(&hold->enabled, [&] { object.SetDeviceEnabled(false); });
  step(&hold->claimed, [&] { object.ReleaseDevice(); });
  step(&hold->opened, [&] { object.Close(); });
}

void HealthCheck::Show(const std::u16string& text) { prompt_.Inform(context_.MessageTitle(), text); }

}  // namespace tool
