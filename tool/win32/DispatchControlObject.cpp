#include "tool/win32/DispatchControlObject.h"

#include <cstdio>
#include <utility>

#include "tool/win32/Text.h"

namespace toolwin {

namespace {

// The system's description of a COM failure, as an application shows it.
std::u16string DescribeFailure(HRESULT hr, const EXCEPINFO* exception) {
  if (exception != nullptr && exception->bstrDescription != nullptr &&
      SysStringLen(exception->bstrDescription) > 0) {
    return FromWide(std::wstring(exception->bstrDescription, SysStringLen(exception->bstrDescription)));
  }
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message;
  if (length > 0 && text != nullptr) {
    message.assign(text, length);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
      message.pop_back();
    }
  }
  if (text != nullptr) LocalFree(text);
  if (message.empty()) {
    wchar_t code[32];
    swprintf(code, 32, L"Error 0x%08lX", static_cast<unsigned long>(hr));
    message = code;
  }
  return FromWide(message);
}

VARIANT Long(int32_t value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

}  // namespace

DispatchControlObject::DispatchControlObject(std::wstring progId) : progId_(std::move(progId)) {}

DispatchControlObject::~DispatchControlObject() {
  if (object_ != nullptr) object_->Release();
  if (comStarted_) CoUninitialize();
}

IDispatch* DispatchControlObject::Object() {
  if (object_ != nullptr) return object_;
  if (!comStarted_) {
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // S_FALSE: already started on this thread; it still counts once.
    if (SUCCEEDED(started)) comStarted_ = true;
  }
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(progId_.c_str(), &clsid);
  if (FAILED(hr)) throw tool::ControlObjectFault(DescribeFailure(hr, nullptr));
  IDispatch* created = nullptr;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                        reinterpret_cast<void**>(&created));
  if (FAILED(hr) || created == nullptr) throw tool::ControlObjectFault(DescribeFailure(hr, nullptr));
  object_ = created;
  return object_;
}

DISPID DispatchControlObject::Dispid(const wchar_t* name) {
  auto known = dispids_.find(name);
  if (known != dispids_.end()) return known->second;
  LPOLESTR text = const_cast<LPOLESTR>(name);
  DISPID id = DISPID_UNKNOWN;
  const HRESULT hr = Object()->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) throw tool::ControlObjectFault(DescribeFailure(hr, nullptr));
  dispids_[name] = id;
  return id;
}

void DispatchControlObject::Invoke(const wchar_t* name, WORD flags, std::vector<VARIANT> args,
                                   VARIANT* result) {
  DISPID id = DISPID_UNKNOWN;
  try {
    id = Dispid(name);
  } catch (const tool::ControlObjectFault&) {
    for (VARIANT& v : args) VariantClear(&v);
    throw;
  }
  // IDispatch takes the arguments last first.
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(),
                    flags == DISPATCH_PROPERTYPUT ? &putId : nullptr, static_cast<UINT>(reversed.size()),
                    flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
  EXCEPINFO exception{};
  UINT argError = 0;
  VariantInit(result);
  const HRESULT hr = Object()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                      flags == DISPATCH_PROPERTYPUT ? nullptr : result, &exception,
                                      &argError);
  for (VARIANT& v : reversed) VariantClear(&v);
  if (FAILED(hr)) {
    std::u16string text = DescribeFailure(hr, hr == DISP_E_EXCEPTION ? &exception : nullptr);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    throw tool::ControlObjectFault(std::move(text));
  }
}

void DispatchControlObject::CallMethod(const wchar_t* name, std::vector<VARIANT> args) {
  VARIANT result;
  // The method's own return value is its ResultCode, which is read afterwards.
  Invoke(name, DISPATCH_METHOD, std::move(args), &result);
  VariantClear(&result);
}

int32_t DispatchControlObject::GetNumber(const wchar_t* name) {
  VARIANT result;
  Invoke(name, DISPATCH_PROPERTYGET, {}, &result);
  const HRESULT hr = VariantChangeType(&result, &result, 0, VT_I4);
  if (FAILED(hr)) {
    VariantClear(&result);
    throw tool::ControlObjectFault(DescribeFailure(hr, nullptr));
  }
  return result.lVal;
}

void DispatchControlObject::Open(const std::u16string& deviceName) {
  VARIANT name;
  VariantInit(&name);
  name.vt = VT_BSTR;
  name.bstrVal = SysAllocStringLen(Wide(deviceName), static_cast<UINT>(deviceName.size()));
  CallMethod(L"Open", {name});
}

void DispatchControlObject::ClaimDevice(int32_t timeoutMs) { CallMethod(L"ClaimDevice", {Long(timeoutMs)}); }

void DispatchControlObject::SetDeviceEnabled(bool enabled) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BOOL;
  value.boolVal = enabled ? VARIANT_TRUE : VARIANT_FALSE;
  VARIANT unused;
  Invoke(L"DeviceEnabled", DISPATCH_PROPERTYPUT, {value}, &unused);
}

void DispatchControlObject::CheckHealth(int32_t level) { CallMethod(L"CheckHealth", {Long(level)}); }

std::u16string DispatchControlObject::CheckHealthText() {
  VARIANT result;
  Invoke(L"CheckHealthText", DISPATCH_PROPERTYGET, {}, &result);
  std::u16string text;
  if (result.vt == VT_BSTR && result.bstrVal != nullptr) {
    text = FromWide(std::wstring(result.bstrVal, SysStringLen(result.bstrVal)));
  }
  VariantClear(&result);
  return text;
}

void DispatchControlObject::OpenDrawer() { CallMethod(L"OpenDrawer"); }
void DispatchControlObject::ReleaseDevice() { CallMethod(L"ReleaseDevice"); }
void DispatchControlObject::Close() { CallMethod(L"Close"); }
int32_t DispatchControlObject::ResultCode() { return GetNumber(L"ResultCode"); }
int32_t DispatchControlObject::OpenResult() { return GetNumber(L"OpenResult"); }

}  // namespace toolwin
