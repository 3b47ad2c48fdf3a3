#pragma once
// The main window's health check: tests the selected printer or cash drawer
// the way a point-of-sale application uses it, through the OPOS control
// objects, which create the service object from the device key. Every
// message is a fixed text with the tool's message caption.
//
// Unlike a bare sequence of open, claim and enable, a failure after a
// successful Open leaves the control object as it found it: disabled when it
// had been enabled, released when it had been claimed, and closed. Otherwise
// the shop's own application could not claim the printer afterwards, and the
// next check would only be told that the control object is already open.
#include <cstdint>
#include <string>

#include "tool/core/ToolContext.h"
#include "tool/model/HealthCheckControlObject.h"
#include "tool/model/Prompt.h"

namespace tool {

// The text for an OpenResult after a failed Open: the OPOS meaning of the
// codes 301-307 and 401-403; any other code gives an empty text for a
// printer and "OpenResult:<code>" for a cash drawer.
std::u16string OpenResultText(int32_t openResult, DeviceClass deviceClass);

class HealthCheck {
 public:
  static constexpr int32_t kClaimTimeoutMs = 1000;
  static constexpr int32_t kInteractiveLevel = 3;

  // The control objects live as long as the main window; so does this.
  HealthCheck(ToolContext& context, Prompt& prompt, HealthCheckControlObject& printer,
              HealthCheckControlObject& drawer);

  // The health-check button: checks the selected device of the selected
  // device class (context().deviceClass, context().selectedDevice). The
  // service object's interactive box has no owner, so the button can be
  // pressed again while a check waits in it; such a press does nothing.
  void Run();

  // True while the tool holds that control object opened, claimed and enabled.
  bool printerOpen() const { return printerOpen_; }
  bool drawerOpen() const { return drawerOpen_; }

 private:
  // What the tool has done to one control object so far, so that a failure
  // can undo exactly that.
  struct Hold {
    bool opened = false;
    bool claimed = false;
    bool enabled = false;
  };

  void CheckPrinter(const std::u16string& device);
  void CheckDrawer(const std::u16string& device);
  void OpenPrinter(const std::u16string& device);
  void OpenDrawerDevice(const std::u16string& device);
  void ClosePrinter();
  void CloseDrawer();
  // Disables, releases and closes as far as `hold` says; faults of the
  // control object are ignored here, since a fault is already being shown.
  static void Undo(HealthCheckControlObject& object, Hold* hold, bool quiet);
  void Show(const std::u16string& text);

  ToolContext& context_;
  Prompt& prompt_;
  HealthCheckControlObject& printer_;
  HealthCheckControlObject& drawer_;
  Hold printerHold_;
  Hold drawerHold_;
  bool printerOpen_ = false;
  bool drawerOpen_ = false;
  bool running_ = false;
};

}  // namespace tool
