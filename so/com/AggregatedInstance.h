#pragma once
// A service-object instance serving as the inner part of a COM aggregate.
// The instance itself knows nothing of aggregation: this object owns it and
// is what the outer object holds, its non-delegating IUnknown. The IDispatch
// it hands out runs the instance's methods but answers QueryInterface,
// AddRef and Release as the outer object, so that the aggregate keeps one
// identity and one lifetime.
#include <atomic>

#include "platform/com.h"

namespace QEL {
namespace COM {

class AggregatedInstance final : public IUnknown {
 public:
  // Takes over the caller's reference to `inner`. `outer` is not counted:
  // it owns this object, not the other way round. Created with one
  // reference, the outer object's.
  AggregatedInstance(IUnknown* outer, IDispatch* inner);
  AggregatedInstance(const AggregatedInstance&) = delete;
  AggregatedInstance& operator=(const AggregatedInstance&) = delete;

  // The non-delegating IUnknown: IID_IUnknown is this object; every
  // interface the inner instance answers with its IDispatch is the
  // delegating IDispatch below.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  // The last release releases the inner instance.
  ULONG STDMETHODCALLTYPE Release() override;

 private:
  class DelegatingDispatch final : public IDispatch {
   public:
    explicit DelegatingDispatch(AggregatedInstance& owner) : owner_(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count,
                                            LCID locale, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override;

   private:
    AggregatedInstance& owner_;
  };

  ~AggregatedInstance();

  std::atomic<ULONG> references_{1};
  IUnknown* outer_;
  IDispatch* inner_;
  DelegatingDispatch dispatch_;
};

}  // namespace COM
}  // namespace QEL
