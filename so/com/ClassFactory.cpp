#include "so/com/ClassFactory.h"

#include <new>
#include <utility>

#include "so/com/AggregatedInstance.h"
#include "so/com/CQELOposPrinterSO.h"
#include "so/com/ModuleLocks.h"

namespace QEL {
namespace COM {

namespace {

// Releases a new instance unless it was handed on.
class ReleaseUnlessKept {
 public:
  explicit ReleaseUnlessKept(IUnknown* object) : object_(object) {}
  ~ReleaseUnlessKept() {
    if (object_ != nullptr) object_->Release();
  }
  void Keep() { object_ = nullptr; }

 private:
  IUnknown* object_;
};

}  // namespace

ClassFactory::ClassFactory(std::shared_ptr<const ServiceEnvironment> environment)
    : environment_(std::move(environment)) {}

HRESULT ClassFactory::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() {
  const ULONG now = ++references_;
  if (now == 2) ModuleLocks::Lock();
  return now;
}

ULONG ClassFactory::Release() {
  const ULONG left = --references_;
  if (left == 1) ModuleLocks::Unlock();
  if (left == 0) delete this;
  return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  // An aggregate's inner object is reached only through its non-delegating
  // IUnknown; any other first interface would lose the aggregate's identity.
  if (outer != nullptr && !IsEqualIID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  try {
    IDispatch* instance = new CQELOposPrinterSO(environment_);
    ReleaseUnlessKept guard(instance);
    if (outer == nullptr) return instance->QueryInterface(riid, object);
    AggregatedInstance* aggregate = new AggregatedInstance(outer, instance);
    guard.Keep();
    *object = static_cast<IUnknown*>(aggregate);
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    ModuleLocks::Lock();
  } else {
    ModuleLocks::Unlock();
  }
  return S_OK;
}

}  // namespace COM
}  // namespace QEL
