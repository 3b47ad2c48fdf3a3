#pragma once
// A minimal OPOS control object for the window tests of the setting tool, in
// a COM library of its own that is registered only in the test prefix. It
// does what the OPOS common control objects do for the members the tool's
// health check calls: Open finds the device key, creates the service object
// from the ProgID stored there and opens it with an event receiver; the other
// members go to the service object by name. The calling and the receiving of
// events are those of testing_support::TestControlObject.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/com.h"
#include "testing/TestControlObject.h"

namespace testing_controlobject {

// Live objects and server locks; the library may be unloaded at zero.
extern std::atomic<long> gModuleLocks;

class OposControlObject final : public IDispatch {
 public:
  // deviceClass: "POSPrinter" or "CashDrawer", the class key of the device.
  explicit OposControlObject(std::u16string deviceClass);
  OposControlObject(const OposControlObject&) = delete;
  OposControlObject& operator=(const OposControlObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

 private:
  ~OposControlObject();

  int32_t Open(const std::u16string& deviceName);
  // A method of the service object returning its result code; 101 while
  // this object is closed.
  int32_t Forward(const std::u16string& method, std::vector<testing_support::TestControlObject::Value> args);
  int32_t Close();
  // Appends "<class> <member> <result code>" to the file that the
  // environment variable ZOBELSO_TEST_CO_LOG names, when it names one, so
  // that a test sees the order of the calls beside what the printer got.
  void Note(const char* member, int32_t resultCode) const;

  std::atomic<ULONG> references_{1};
  std::u16string deviceClass_;
  std::unique_ptr<testing_support::TestControlObject> service_;
  int32_t resultCode_ = 101;
  int32_t openResult_ = 0;
};

}  // namespace testing_controlobject
