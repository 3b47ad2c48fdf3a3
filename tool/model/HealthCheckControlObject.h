#pragma once
// An OPOS control object (POSPrinter or CashDrawer) as the health check uses
// it: only the members it calls, named as the OPOS standard names them. The
// Win32 program reaches the installed control objects by late binding; the
// tests script a fake.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tool {

// The control object itself failed: it is not installed, could not be
// created, or a call into it failed. `text` is the environment's own
// description of the fault, shown to the user as it is.
class ControlObjectFault : public std::runtime_error {
 public:
  explicit ControlObjectFault(std::u16string text)
      : std::runtime_error("control object fault"), text_(std::move(text)) {}
  const std::u16string& text() const { return text_; }

 private:
  std::u16string text_;
};

// Every member may throw ControlObjectFault. The outcome of a call is read
// from ResultCode() afterwards, as an OPOS application does.
class HealthCheckControlObject {
 public:
  virtual ~HealthCheckControlObject() = default;

  virtual void Open(const std::u16string& deviceName) = 0;
  virtual void ClaimDevice(int32_t timeoutMs) = 0;
  // The DeviceEnabled property, written.
  virtual void SetDeviceEnabled(bool enabled) = 0;
  virtual void CheckHealth(int32_t level) = 0;
  virtual std::u16string CheckHealthText() = 0;
  virtual void OpenDrawer() = 0;
  virtual void ReleaseDevice() = 0;
  virtual void Close() = 0;
  virtual int32_t ResultCode() = 0;
  virtual int32_t OpenResult() = 0;
};

}  // namespace tool
