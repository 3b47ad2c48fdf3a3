#pragma once
// An installed OPOS control object reached by late binding, as a scripting
// client reaches it: created from its ProgID on first use, its members found
// by name and called through IDispatch. No type library or header of the
// control objects is needed, so the tool runs whichever version is installed.
// Every call runs on the thread that created the object (the window thread).
#include <windows.h>

#include <ole2.h>
#include <oleauto.h>

#include <map>
#include <string>
#include <vector>

#include "tool/model/HealthCheckControlObject.h"

namespace toolwin {

class DispatchControlObject : public tool::HealthCheckControlObject {
 public:
  // progId: "OPOS.POSPrinter" or "OPOS.CashDrawer".
  explicit DispatchControlObject(std::wstring progId);
  ~DispatchControlObject() override;
  DispatchControlObject(const DispatchControlObject&) = delete;
  DispatchControlObject& operator=(const DispatchControlObject&) = delete;

  void Open(const std::u16string& deviceName) override;
  void ClaimDevice(int32_t timeoutMs) override;
  void SetDeviceEnabled(bool enabled) override;
  void CheckHealth(int32_t level) override;
  std::u16string CheckHealthText() override;
  void OpenDrawer() override;
  void ReleaseDevice() override;
  void Close() override;
  int32_t ResultCode() override;
  int32_t OpenResult() override;

 private:
  // The control object, created on first use; throws ControlObjectFault.
  IDispatch* Object();
  DISPID Dispid(const wchar_t* name);
  // Invokes a member; args in declared order. Throws ControlObjectFault.
  void Invoke(const wchar_t* name, WORD flags, std::vector<VARIANT> args, VARIANT* result);
  void CallMethod(const wchar_t* name, std::vector<VARIANT> args = {});
  int32_t GetNumber(const wchar_t* name);

  std::wstring progId_;
  IDispatch* object_ = nullptr;
  bool comStarted_ = false;
  std::map<std::wstring, DISPID> dispids_;
};

}  // namespace toolwin
