// The library's COM entry points as COM itself uses them, called through the
// module COM loaded: the unload answer follows the live instances and locks,
// only the registered class has a factory, and the registration names this
// very module.
#include <string>

#include "so/com/ClassIdentity.h"
#include "so/com/e2e/RegisteredClass_test.h"

namespace e2e {
namespace {

using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

template <typename Function>
Function Export(const char* name) {
  HMODULE module = LoadedLibrary();
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

std::u16string ModulePath(HMODULE module) {
  wchar_t path[1024];
  const DWORD n = GetModuleFileNameW(module, path, 1024);
  return std::u16string(reinterpret_cast<const char16_t*>(path), n);
}

class ModuleEntryPoints : public RegisteredClassTest {};

TEST_F(ModuleEntryPoints, TheModuleStaysWhileAnInstanceLives) {
  IDispatch* plain = CreateRegistered();
  ASSERT_NE(plain, nullptr);
  const auto canUnload = Export<CanUnloadNow>("DllCanUnloadNow");
  ASSERT_NE(canUnload, nullptr);
  EXPECT_EQ(canUnload(), S_FALSE);
  {
    testing_support::TestControlObject opened(CreateRegistered);
    ASSERT_EQ(opened.Open(u"POSPrinter", device), 0);
    ASSERT_EQ(opened.Call(u"ClaimDevice", {1000}), 0);
    plain->Release();
    EXPECT_EQ(canUnload(), S_FALSE) << "the claimed instance still lives";
  }  // released while claimed: the instance closes itself
  EXPECT_EQ(canUnload(), S_OK);
}

IClassFactory* Factory() {
  IClassFactory* factory = nullptr;
  if (FAILED(CoGetClassObject(QEL::COM::kClsidQELOposPrinterSO, CLSCTX_INPROC_SERVER, nullptr,
                              IID_IClassFactory, reinterpret_cast<void**>(&factory)))) {
    return nullptr;
  }
  return factory;
}

TEST_F(ModuleEntryPoints, ALockOnTheFactoryKeepsTheModuleAfterTheFactoryIsReleased) {
  IClassFactory* factory = Factory();
  ASSERT_NE(factory, nullptr);
  const auto canUnload = Export<CanUnloadNow>("DllCanUnloadNow");
  ASSERT_NE(canUnload, nullptr);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory->Release();
  EXPECT_EQ(canUnload(), S_FALSE);
  factory = Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  factory->Release();
  EXPECT_EQ(canUnload(), S_OK);
}

TEST_F(ModuleEntryPoints, OnlyTheRegisteredClassHasAFactory) {
  IDispatch* service = CreateRegistered();
  ASSERT_NE(service, nullptr);
  const auto getClassObject = Export<GetClassObject>("DllGetClassObject");
  ASSERT_NE(getClassObject, nullptr);
  void* object = &object;
  // The type library's identifier is a GUID of this module, but no class.
  EXPECT_EQ(getClassObject(QEL::COM::kLibidOPosPrinterSOLib, IID_IClassFactory, &object),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(getClassObject(QEL::COM::kClsidQELOposPrinterSO, IID_IClassFactory, nullptr),
            E_POINTER);
  ASSERT_EQ(getClassObject(QEL::COM::kClsidQELOposPrinterSO, IID_IClassFactory, &object), S_OK);
  static_cast<IClassFactory*>(object)->Release();
  service->Release();
}

TEST_F(ModuleEntryPoints, TheRegistrationNamesTheLoadedModule) {
  IDispatch* service = CreateRegistered();
  ASSERT_NE(service, nullptr);
  auto classes = platform::OpenSystemRegistry(platform::RegistryRoot::kClassesRoot);
  auto server = classes->Open(std::u16string(u"CLSID\\") + QEL::COM::kClsidText +
                                  u"\\InprocServer32",
                              platform::RegistryAccess::kRead);
  ASSERT_TRUE(server);
  std::u16string path;
  std::u16string threading;
  EXPECT_EQ(server->ReadString(u"", 0, &path), platform::RegistryRead::kOk);
  EXPECT_EQ(server->ReadString(u"ThreadingModel", 0, &threading), platform::RegistryRead::kOk);
  EXPECT_EQ(threading, u"Apartment");
  ASSERT_NE(LoadedLibrary(), nullptr);
  EXPECT_TRUE(path == ModulePath(LoadedLibrary()))
      << "registered " << std::string(path.begin(), path.end());
  service->Release();
}

}  // namespace
}  // namespace e2e
