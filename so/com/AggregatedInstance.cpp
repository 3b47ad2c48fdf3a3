#include "so/com/AggregatedInstance.h"

namespace QEL {
namespace COM {

AggregatedInstance::AggregatedInstance(IUnknown* outer, IDispatch* inner)
    : outer_(outer), inner_(inner), dispatch_(*this) {}

AggregatedInstance::~AggregatedInstance() { inner_->Release(); }

HRESULT AggregatedInstance::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(riid, IID_IUnknown)) {
    *object = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
  }
  // The inner instance decides which interfaces the aggregate has; all of
  // them are its one dispatch interface, which is handed out wrapped.
  void* found = nullptr;
  if (FAILED(inner_->QueryInterface(riid, &found)) || found == nullptr) return E_NOINTERFACE;
  static_cast<IUnknown*>(found)->Release();
  if (found != static_cast<void*>(inner_)) return E_NOINTERFACE;
  *object = static_cast<IDispatch*>(&dispatch_);
  outer_->AddRef();
  return S_OK;
}

ULONG AggregatedInstance::AddRef() { return ++references_; }

ULONG AggregatedInstance::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT AggregatedInstance::DelegatingDispatch::QueryInterface(REFIID riid, void** object) {
  return owner_.outer_->QueryInterface(riid, object);
}

ULONG AggregatedInstance::DelegatingDispatch::AddRef() { return owner_.outer_->AddRef(); }

ULONG AggregatedInstance::DelegatingDispatch::Release() { return owner_.outer_->Release(); }

HRESULT AggregatedInstance::DelegatingDispatch::GetTypeInfoCount(UINT* count) {
  return owner_.inner_->GetTypeInfoCount(count);
}

HRESULT AggregatedInstance::DelegatingDispatch::GetTypeInfo(UINT index, LCID locale,
                                                            ITypeInfo** info) {
  return owner_.inner_->GetTypeInfo(index, locale, info);
}

HRESULT AggregatedInstance::DelegatingDispatch::GetIDsOfNames(REFIID riid, LPOLESTR* names,
                                                              UINT count, LCID locale,
                                                              DISPID* ids) {
  return owner_.inner_->GetIDsOfNames(riid, names, count, locale, ids);
}

HRESULT AggregatedInstance::DelegatingDispatch::Invoke(DISPID id, REFIID riid, LCID locale,
                                                       WORD flags, DISPPARAMS* params,
                                                       VARIANT* result, EXCEPINFO* exception,
                                                       UINT* argError) {
  return owner_.inner_->Invoke(id, riid, locale, flags, params, result, exception, argError);
}

}  // namespace COM
}  // namespace QEL
