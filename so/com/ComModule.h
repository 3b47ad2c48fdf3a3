#pragma once
// The library as a COM in-process server: the class it serves and that
// class's factory, whether it may be unloaded, and its registration. The
// five library exports forward here.
//
// Registration runs under the system-default thread locale: the module's
// script, the class's script (so/com/ClassRegistrar.h), then the type
// library, stopping at the first failure. Unregistration takes the same
// steps in reverse and runs every one of them, so that as much as possible
// is removed; it answers the first failure. Per-user mode writes below the
// user's classes location instead of the machine's.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/com.h"
#include "platform/registry.h"
#include "so/com/ClassRegistrar.h"

namespace QEL {
namespace COM {

// What the module takes from the system; tests hand in a private registry
// location and a type-library step of their own.
struct ComModuleServices {
  // The full path of the module file the class is registered with.
  std::function<std::u16string()> modulePath;
  // The registry below a root, for the scripts.
  std::function<std::unique_ptr<platform::Registry>(platform::RegistryRoot)> openRegistry;
  ClassesLocation machineClasses;
  ClassesLocation userClasses;
  // The type library in the module file.
  std::function<HRESULT(const std::u16string& modulePath, bool perUser)> registerTypeLibrary;
  std::function<HRESULT(const std::u16string& modulePath, bool perUser)> unregisterTypeLibrary;
  // Sets the thread locale and answers what restores the previous one.
  std::function<std::function<void()>(LCID locale)> switchThreadLocale;
  // A new class factory holding one reference for the caller, or null.
  std::function<IClassFactory*()> createClassFactory;
};

// The system's: this module's file, the system registry, HKEY_CLASSES_ROOT
// and HKEY_CURRENT_USER\Software\Classes, the type library in the module
// file, the system's class factory for CQELOposPrinterSO.
ComModuleServices SystemComModuleServices();

class ComModule {
 public:
  explicit ComModule(ComModuleServices services);
  ~ComModule();
  ComModule(const ComModule&) = delete;
  ComModule& operator=(const ComModule&) = delete;

  // DllGetClassObject. E_POINTER for a null `object`, which is set to null
  // first otherwise. For the service object's CLSID, the factory (created
  // on the first request, once, whichever thread asks) answers
  // QueryInterface(iid); CLASS_E_CLASSNOTAVAILABLE for any other CLSID and
  // when the factory cannot be created.
  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object);
  // DllCanUnloadNow: S_OK once no instance, no lock and no client's
  // reference to the factory remain, else S_FALSE.
  HRESULT CanUnloadNow() const;
  HRESULT Register();
  HRESULT Unregister();
  // DllInstall. A command line "user" (in any letter case) switches to
  // per-user mode first. Installing registers, and unregisters again when
  // that failed; both answer the registration's result.
  HRESULT Install(bool install, const char16_t* commandLine);

  // Off until switched on; stays on for this module's later registrations.
  void SetPerUser(bool perUser);
  bool PerUser() const;

 private:
  HRESULT RegisterSteps(bool perUser);
  HRESULT UnregisterSteps(bool perUser);
  const ClassesLocation& Location(bool perUser) const;

  ComModuleServices services_;
  std::mutex factoryLock_;
  IClassFactory* factory_ = nullptr;  // one reference, the module's
  std::atomic<bool> perUser_{false};
};

// The module of this library, serving through the system's services.
ComModule& ProcessComModule();

}  // namespace COM
}  // namespace QEL
