#pragma once
// A stand-in for an OPOS control object: it creates a service object, hands
// it an event receiver, and calls its methods by name through IDispatch the
// way the OPOS common control objects do (one GetIDsOfNames per name,
// Invoke(DISPATCH_METHOD) with the arguments last first in rgvarg, the result
// taken from pVarResult). The receiver records every SO* event it is called
// with. Only the COM types are known here, never the service object's class.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/com.h"

namespace testing_support {

// The control object's event methods, as a control object declares them.
class EventReceiver : public IDispatch {
 public:
  struct Event {
    std::u16string name;
    std::vector<int32_t> args;
    bool operator==(const Event& other) const { return name == other.name && args == other.args; }
  };

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives in its control object
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argError) override;

  std::vector<Event> Events() const;
  // True once at least n events arrived; false after realTimeoutMs.
  bool WaitForEvents(size_t n, int realTimeoutMs) const;
  // Forgets the events and the count of calls so far.
  void Clear();
  // What SOError leaves in its ErrorResponse argument (unchanged when unset).
  void SetErrorResponse(int32_t response);
  // Makes an event method unknown to GetIDsOfNames, as an older control object.
  void Omit(const std::u16string& name);
  // How often Invoke was called on this receiver, also for unknown DISPIDs.
  int InvokeCount() const;
  // Runs after each recorded event, on the thread that delivered it, as an
  // application's event handler would.
  void SetHandler(std::function<void(const Event&)> handler);

  virtual ~EventReceiver() = default;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  std::vector<Event> events_;
  std::vector<std::u16string> omitted_;
  bool respond_ = false;
  int32_t response_ = 0;
  int invokes_ = 0;
  std::function<void(const Event&)> handler_;
};

class TestControlObject {
 public:
  // One argument of a call; a number goes as VT_I4 unless given as a VARIANT.
  struct Value {
    Value(int32_t number);  // NOLINT: calls read like the OPOS method
    Value(const char16_t* text);  // NOLINT
    Value(const std::u16string& text);  // NOLINT
    Value(const VARIANT& raw);  // NOLINT: taken as is, freed after the call
    VARIANT variant;
  };

  // `create` returns a service object holding one reference for this object.
  explicit TestControlObject(const std::function<IDispatch*()>& create);
  ~TestControlObject();  // releases the service object
  TestControlObject(const TestControlObject&) = delete;
  TestControlObject& operator=(const TestControlObject&) = delete;

  // The raw call: Invoke's HRESULT, with its result and argument-error index.
  HRESULT Invoke(const std::u16string& method, std::vector<Value> args, VARIANT* result,
                 UINT* argError = nullptr);
  // A method returning a number (pRC, a property, the open result); throws
  // std::runtime_error when Invoke fails.
  int32_t Call(const std::u16string& method, std::vector<Value> args = {});
  std::u16string CallText(const std::u16string& method, std::vector<Value> args);

  // OpenService with this object's receiver, as the control object's Open does.
  int32_t Open(const std::u16string& deviceClass, const std::u16string& deviceName);
  int32_t GetNumber(int32_t index) { return Call(u"GetPropertyNumber", {index}); }
  int32_t SetNumber(int32_t index, int32_t value) {
    return Call(u"SetPropertyNumber", {index, value});
  }
  std::u16string GetString(int32_t index) { return CallText(u"GetPropertyString", {index}); }

  EventReceiver& Receiver() { return receiver_; }
  IDispatch* Service() const { return service_; }

 private:
  DISPID Dispid(const std::u16string& method);

  IDispatch* service_;
  EventReceiver receiver_;
  std::map<std::u16string, DISPID> dispids_;
};

}  // namespace testing_support
