// The library's COM entry points: one class per OPOS device class, under the
// ProgIDs "OPOS.POSPrinter" and "OPOS.CashDrawer". Registration writes the
// classes root of the machine; only the tests' wine prefix ever runs it.
#include <string>

#include "platform/com.h"
#include "platform/registry.h"
#include "testing/controlobject/OposControlObject.h"

namespace testing_controlobject {
namespace {

// {222DE99E-998F-49A4-B59C-5388A06EE920}
const CLSID kPrinterClass = {0x222de99e, 0x998f, 0x49a4, {0xb5, 0x9c, 0x53, 0x88, 0xa0, 0x6e, 0xe9, 0x20}};
// {818C258F-C302-4525-A64F-FB77731C8FD3}
const CLSID kDrawerClass = {0x818c258f, 0xc302, 0x4525, {0xa6, 0x4f, 0xfb, 0x77, 0x73, 0x1c, 0x8f, 0xd3}};

struct ClassEntry {
  const CLSID* clsid;
  const char16_t* clsidText;
  const char16_t* progId;
  const char16_t* deviceClass;
};

const ClassEntry kClasses[] = {
    {&kPrinterClass, u"{222DE99E-998F-49A4-B59C-5388A06EE920}", u"OPOS.POSPrinter", u"POSPrinter"},
    {&kDrawerClass, u"{818C258F-C302-4525-A64F-FB77731C8FD3}", u"OPOS.CashDrawer", u"CashDrawer"},
};

HMODULE gModule = nullptr;

class ClassFactory : public IClassFactory {
 public:
  explicit ClassFactory(const ClassEntry& entry) : entry_(entry) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // The factories are static: counting them only keeps the library loaded.
  ULONG STDMETHODCALLTYPE AddRef() override {
    ++gModuleLocks;
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    --gModuleLocks;
    return 1;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    auto* created = new (std::nothrow) OposControlObject(entry_.deviceClass);
    if (created == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = created->QueryInterface(riid, object);
    created->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      ++gModuleLocks;
    } else {
      --gModuleLocks;
    }
    return S_OK;
  }

 private:
  const ClassEntry& entry_;
};

ClassFactory gPrinterFactory(kClasses[0]);
ClassFactory gDrawerFactory(kClasses[1]);

std::u16string ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(gModule, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return std::u16string();
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return std::u16string(path.begin(), path.end());
}

bool WriteValue(platform::Registry& root, const std::u16string& path, const std::u16string& name,
                const std::u16string& text) {
  std::unique_ptr<platform::RegistryKey> key = root.Create(path);
  return key && key->WriteString(name, text);
}

}  // namespace
}  // namespace testing_controlobject

using namespace testing_controlobject;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    gModule = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (IsEqualCLSID(clsid, kPrinterClass)) return gPrinterFactory.QueryInterface(riid, object);
  if (IsEqualCLSID(clsid, kDrawerClass)) return gDrawerFactory.QueryInterface(riid, object);
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return gModuleLocks == 0 ? S_OK : S_FALSE; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  std::unique_ptr<platform::Registry> root = platform::OpenSystemRegistry(platform::RegistryRoot::kClassesRoot);
  const std::u16string path = ModulePath();
  if (!root || path.empty()) return SELFREG_E_CLASS;
  for (const ClassEntry& entry : kClasses) {
    const std::u16string classKey = std::u16string(u"CLSID\\") + entry.clsidText;
    const bool written =
        WriteValue(*root, classKey, u"", std::u16string(u"Test OPOS control object ") + entry.deviceClass) &&
        WriteValue(*root, classKey + u"\\InprocServer32", u"", path) &&
        WriteValue(*root, classKey + u"\\InprocServer32", u"ThreadingModel", u"Apartment") &&
        WriteValue(*root, classKey + u"\\ProgID", u"", entry.progId) &&
        WriteValue(*root, entry.progId, u"", std::u16string(u"Test OPOS control object ") + entry.deviceClass) &&
        WriteValue(*root, std::u16string(entry.progId) + u"\\CLSID", u"", entry.clsidText);
    if (!written) return SELFREG_E_CLASS;
  }
  return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  std::unique_ptr<platform::Registry> root = platform::OpenSystemRegistry(platform::RegistryRoot::kClassesRoot);
  if (!root) return SELFREG_E_CLASS;
  std::unique_ptr<platform::RegistryKey> top = root->Open(u"", platform::RegistryAccess::kReadWrite);
  std::unique_ptr<platform::RegistryKey> classes = root->Open(u"CLSID", platform::RegistryAccess::kReadWrite);
  if (!top || !classes) return SELFREG_E_CLASS;
  for (const ClassEntry& entry : kClasses) {
    // A key that is already gone is what unregistering asks for.
    top->DeleteSubkey(entry.progId);
    classes->DeleteSubkey(entry.clsidText);
  }
  return S_OK;
}
