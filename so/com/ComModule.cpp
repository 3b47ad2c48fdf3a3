#include "so/com/ComModule.h"

#include <new>
#include <utility>

#include "platform/com_server.h"
#include "so/com/ClassFactory.h"
#include "so/com/ClassIdentity.h"
#include "so/com/ModuleLocks.h"

namespace QEL {
namespace COM {

namespace {

// Registry texts are written under the system default locale whatever the
// calling thread's is (LOCALE_SYSTEM_DEFAULT).
constexpr LCID kRegistrationLocale = 2048;

bool IsUserSwitch(const char16_t* commandLine) {
  static const char16_t kUser[] = u"user";
  if (commandLine == nullptr) return false;
  size_t i = 0;
  for (; kUser[i] != 0; ++i) {
    char16_t c = commandLine[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != kUser[i]) return false;
  }
  return commandLine[i] == 0;
}

// Restores the thread locale however the steps end.
class LocaleScope {
 public:
  explicit LocaleScope(const ComModuleServices& services)
      : restore_(services.switchThreadLocale ? services.switchThreadLocale(kRegistrationLocale)
                                             : std::function<void()>()) {}
  ~LocaleScope() {
    if (restore_) restore_();
  }
  LocaleScope(const LocaleScope&) = delete;
  LocaleScope& operator=(const LocaleScope&) = delete;

 private:
  std::function<void()> restore_;
};

template <typename Steps>
HRESULT Guarded(Steps steps) {
  try {
    return steps();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace

ComModuleServices SystemComModuleServices() {
  ComModuleServices s;
  s.modulePath = [] { return platform::ThisModulePath(); };
  s.openRegistry = [](platform::RegistryRoot root) { return platform::OpenSystemRegistry(root); };
  s.machineClasses = MachineClasses();
  s.userClasses = UserClasses();
  s.registerTypeLibrary = [](const std::u16string& path, bool perUser) {
    return platform::RegisterModuleTypeLibrary(path, perUser);
  };
  s.unregisterTypeLibrary = [](const std::u16string& path, bool perUser) {
    return platform::UnregisterModuleTypeLibrary(path, kLibidOPosPrinterSOLib, kTypeLibMajor,
                                                 kTypeLibMinor, perUser);
  };
  s.switchThreadLocale = [](LCID locale) { return platform::SwitchThreadLocale(locale); };
  s.createClassFactory = []() -> IClassFactory* { return new ClassFactory(); };
  return s;
}

ComModule::ComModule(ComModuleServices services) : services_(std::move(services)) {}

ComModule::~ComModule() {
  if (factory_ != nullptr) factory_->Release();
}

HRESULT ComModule::GetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (!IsEqualGUID(clsid, kClsidQELOposPrinterSO)) return CLASS_E_CLASSNOTAVAILABLE;
  IClassFactory* factory = nullptr;
  {
    std::lock_guard<std::mutex> lock(factoryLock_);
    if (factory_ == nullptr && services_.createClassFactory) {
      try {
        factory_ = services_.createClassFactory();
      } catch (...) {
        factory_ = nullptr;  // asked for again by the next request
      }
    }
    factory = factory_;
  }
  if (factory == nullptr) return CLASS_E_CLASSNOTAVAILABLE;
  return factory->QueryInterface(iid, object);
}

HRESULT ComModule::CanUnloadNow() const { return ModuleLocks::Count() == 0 ? S_OK : S_FALSE; }

const ClassesLocation& ComModule::Location(bool perUser) const {
  return perUser ? services_.userClasses : services_.machineClasses;
}

HRESULT ComModule::Register() {
  return Guarded([this] {
    LocaleScope locale(services_);
    return RegisterSteps(PerUser());
  });
}

HRESULT ComModule::Unregister() {
  return Guarded([this] {
    LocaleScope locale(services_);
    return UnregisterSteps(PerUser());
  });
}

HRESULT ComModule::RegisterSteps(bool perUser) {
  const ClassesLocation& location = Location(perUser);
  const std::u16string modulePath = services_.modulePath();
  if (modulePath.empty()) return E_UNEXPECTED;
  std::unique_ptr<platform::Registry> registry = services_.openRegistry(location.root);
  if (!registry) return SELFREG_E_CLASS;
  HRESULT hr = RegisterModuleScript(*registry, location);
  if (FAILED(hr)) return hr;
  hr = RegisterClassScript(*registry, location, modulePath);
  if (FAILED(hr)) return hr;
  hr = services_.registerTypeLibrary(modulePath, perUser);
  return FAILED(hr) ? hr : S_OK;
}

HRESULT ComModule::UnregisterSteps(bool perUser) {
  const ClassesLocation& location = Location(perUser);
  HRESULT first = S_OK;
  auto note = [&first](HRESULT hr) {
    if (FAILED(hr) && SUCCEEDED(first)) first = hr;
  };
  note(services_.unregisterTypeLibrary(services_.modulePath(), perUser));
  std::unique_ptr<platform::Registry> registry = services_.openRegistry(location.root);
  if (!registry) {
    note(SELFREG_E_CLASS);
    return first;
  }
  note(UnregisterClassScript(*registry, location));
  note(UnregisterModuleScript(*registry, location));
  return first;
}

HRESULT ComModule::Install(bool install, const char16_t* commandLine) {
  if (IsUserSwitch(commandLine)) SetPerUser(true);
  if (!install) return Unregister();
  const HRESULT hr = Register();
  // Half a registration is worse than none: whatever the failed attempt
  // wrote goes again.
  if (FAILED(hr)) Unregister();
  return hr;
}

void ComModule::SetPerUser(bool perUser) { perUser_ = perUser; }

bool ComModule::PerUser() const { return perUser_; }

ComModule& ProcessComModule() {
  static ComModule module(SystemComModuleServices());
  return module;
}

}  // namespace COM
}  // namespace QEL
