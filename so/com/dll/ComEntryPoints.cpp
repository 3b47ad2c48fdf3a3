// The five functions a COM client and regsvr32 look up by name in the
// library. Their C names are fixed; on Windows the declarations of
// <objbase.h> and <olectl.h> give their calling convention. Natively the
// shared library exports them too, over the COM subset, so that a native
// program can reach the class the same way.
#include <new>

#include "platform/com.h"
#include "so/com/ComModule.h"

#ifdef _WIN32
#define ZOBELSO_COM_ENTRY extern "C" HRESULT STDAPICALLTYPE
#else
#define ZOBELSO_COM_ENTRY extern "C" __attribute__((visibility("default"))) HRESULT
#endif

namespace {

// Nothing thrown may cross into the COM client; the module's first use can
// only fail by running out of memory.
template <typename Call>
HRESULT Guarded(Call call) {
  try {
    return call(QEL::COM::ProcessComModule());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace

ZOBELSO_COM_ENTRY DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  return Guarded([&](QEL::COM::ComModule& m) { return m.GetClassObject(clsid, iid, object); });
}

ZOBELSO_COM_ENTRY DllCanUnloadNow() {
  return Guarded([](QEL::COM::ComModule& m) { return m.CanUnloadNow(); });
}

ZOBELSO_COM_ENTRY DllRegisterServer() {
  return Guarded([](QEL::COM::ComModule& m) { return m.Register(); });
}

ZOBELSO_COM_ENTRY DllUnregisterServer() {
  return Guarded([](QEL::COM::ComModule& m) { return m.Unregister(); });
}

ZOBELSO_COM_ENTRY DllInstall(BOOL install, LPCOLESTR commandLine) {
  return Guarded([&](QEL::COM::ComModule& m) {
    return m.Install(install != 0, platform::ComText(commandLine));
  });
}
