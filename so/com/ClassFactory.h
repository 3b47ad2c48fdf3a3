#pragma once
// The class factory of the service-object class: what DllGetClassObject
// hands a COM client so that it can create instances. An instance is created
// on its own, or as part of an aggregate when the client passes its
// controlling IUnknown; then the client receives the inner object's
// non-delegating IUnknown and every interface reached through it speaks for
// the outer object.
//
// The creator's reference (the module's cache) does not keep the library
// loaded; every further one does, so that a client holding the factory
// between CoGetClassObject and CreateInstance still finds its code. So do
// LockServer(TRUE) and every live instance.
#include <atomic>
#include <memory>

#include "platform/com.h"
#include "so/com/ServiceEnvironment.h"

namespace QEL {
namespace COM {

class ClassFactory final : public IClassFactory {
 public:
  // Created with one reference, which the creator owns. The instances get
  // `environment` (null: the system's).
  explicit ClassFactory(std::shared_ptr<const ServiceEnvironment> environment = nullptr);
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // E_POINTER for a null `object`, which is set to null first otherwise.
  // With an outer object only IID_IUnknown may be asked for
  // (CLASS_E_NOAGGREGATION). A failure to allocate answers E_OUTOFMEMORY,
  // anything else thrown E_UNEXPECTED; nothing is left alive then.
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  ~ClassFactory() = default;

  std::atomic<ULONG> references_{1};
  std::shared_ptr<const ServiceEnvironment> environment_;
};

}  // namespace COM
}  // namespace QEL
