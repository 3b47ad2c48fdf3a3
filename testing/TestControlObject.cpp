#include "testing/TestControlObject.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <utility>

namespace testing_support {

namespace {

const char16_t* const kEventNames[] = {u"SOData", u"SODirectIO", u"SOError", u"SOOutputComplete",
                                       u"SOStatusUpdate"};
constexpr DISPID kFirstEventId = 1;
constexpr DISPID kErrorId = 3;

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

}  // namespace

HRESULT EventReceiver::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT EventReceiver::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

HRESULT EventReceiver::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  *info = nullptr;
  return E_NOTIMPL;
}

HRESULT EventReceiver::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (count != 1) return DISP_E_UNKNOWNNAME;
  const std::u16string name = platform::ComText(names[0]);
  ids[0] = DISPID_UNKNOWN;
  if (std::find(omitted_.begin(), omitted_.end(), name) != omitted_.end()) {
    return DISP_E_UNKNOWNNAME;
  }
  for (DISPID i = 0; i < 5; ++i) {
    if (name == kEventNames[i]) {
      ids[0] = kFirstEventId + i;
      return S_OK;
    }
  }
  return DISP_E_UNKNOWNNAME;
}

HRESULT EventReceiver::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*,
                              EXCEPINFO*, UINT*) {
  std::unique_lock<std::mutex> lock(mutex_);
  ++invokes_;
  if (id < kFirstEventId || id > kFirstEventId + 4) return DISP_E_MEMBERNOTFOUND;
  if (flags != DISPATCH_METHOD || params == nullptr) return DISP_E_MEMBERNOTFOUND;
  Event event;
  event.name = kEventNames[id - kFirstEventId];
  // Declared order is the reverse of rgvarg.
  for (UINT i = params->cArgs; i-- > 0;) {
    VARIANT& v = params->rgvarg[i];
    if (v.vt == VT_I4) {
      event.args.push_back(v.lVal);
    } else if (v.vt == (VT_BYREF | VT_I4)) {
      event.args.push_back(*v.plVal);
      if (id == kErrorId && i == 0 && respond_) *v.plVal = response_;
    } else {
      return DISP_E_TYPEMISMATCH;
    }
  }
  events_.push_back(event);
  arrived_.notify_all();
  const std::function<void(const Event&)> handler = handler_;
  lock.unlock();
  if (handler) handler(event);
  return S_OK;
}

void EventReceiver::SetHandler(std::function<void(const Event&)> handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  handler_ = std::move(handler);
}

std::vector<EventReceiver::Event> EventReceiver::Events() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return events_;
}

bool EventReceiver::WaitForEvents(size_t n, int realTimeoutMs) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return arrived_.wait_for(lock, std::chrono::milliseconds(realTimeoutMs),
                           [&] { return events_.size() >= n; });
}

void EventReceiver::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  events_.clear();
  invokes_ = 0;
}

void EventReceiver::SetErrorResponse(int32_t response) {
  std::lock_guard<std::mutex> lock(mutex_);
  respond_ = true;
  response_ = response;
}

void EventReceiver::Omit(const std::u16string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  omitted_.push_back(name);
}

int EventReceiver::InvokeCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return invokes_;
}

TestControlObject::Value::Value(int32_t number) {
  VariantInit(&variant);
  variant.vt = VT_I4;
  variant.lVal = number;
}

TestControlObject::Value::Value(const char16_t* text) : Value(std::u16string(text)) {}

TestControlObject::Value::Value(const std::u16string& text) {
  VariantInit(&variant);
  variant.vt = VT_BSTR;
  variant.bstrVal = platform::ToBstr(text);
}

TestControlObject::Value::Value(const VARIANT& raw) : variant(raw) {}

TestControlObject::TestControlObject(const std::function<IDispatch*()>& create)
    : service_(create()) {
  if (service_ == nullptr) throw std::runtime_error("no service object");
}

TestControlObject::~TestControlObject() { service_->Release(); }

DISPID TestControlObject::Dispid(const std::u16string& method) {
  auto known = dispids_.find(method);
  if (known != dispids_.end()) return known->second;
  std::u16string name = method;
  LPOLESTR text = const_cast<LPOLESTR>(platform::OleText(name.c_str()));
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(service_->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_SYSTEM_DEFAULT, &id))) {
    throw std::runtime_error("the service object has no method " + Narrow(method));
  }
  dispids_[method] = id;
  return id;
}

HRESULT TestControlObject::Invoke(const std::u16string& method, std::vector<Value> args,
                                  VARIANT* result, UINT* argError) {
  std::vector<VARIANT> reversed;
  for (size_t i = args.size(); i-- > 0;) reversed.push_back(args[i].variant);
  DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                       static_cast<UINT>(reversed.size()), 0};
  VariantInit(result);
  const HRESULT hr = service_->Invoke(Dispid(method), IID_NULL, LOCALE_SYSTEM_DEFAULT,
                                      DISPATCH_METHOD, &params, result, nullptr, argError);
  for (VARIANT& v : reversed) {
    if ((v.vt & VT_BYREF) == 0) VariantClear(&v);
  }
  return hr;
}

int32_t TestControlObject::Call(const std::u16string& method, std::vector<Value> args) {
  VARIANT result;
  const HRESULT hr = Invoke(method, std::move(args), &result);
  if (FAILED(hr)) {
    throw std::runtime_error("Invoke of " + Narrow(method) + " failed: " + std::to_string(hr));
  }
  if (result.vt != VT_I4) {
    VariantClear(&result);
    throw std::runtime_error(Narrow(method) + " returned no number");
  }
  return result.lVal;
}

std::u16string TestControlObject::CallText(const std::u16string& method, std::vector<Value> args) {
  VARIANT result;
  const HRESULT hr = Invoke(method, std::move(args), &result);
  if (FAILED(hr) || result.vt != VT_BSTR) {
    VariantClear(&result);
    throw std::runtime_error(Narrow(method) + " returned no text");
  }
  std::u16string text = platform::FromBstr(result.bstrVal);
  VariantClear(&result);
  return text;
}

int32_t TestControlObject::Open(const std::u16string& deviceClass,
                                const std::u16string& deviceName) {
  VARIANT receiver;
  VariantInit(&receiver);
  receiver.vt = VT_DISPATCH;
  receiver.pdispVal = &receiver_;
  // VT_DISPATCH is released by VariantClear after the call: count it once.
  receiver_.AddRef();
  return Call(u"OpenService", {deviceClass, deviceName, receiver});
}

}  // namespace testing_support
