// Registration support from kernel32 and oleaut32.
#include "platform/com_server.h"

#include <windows.h>
#include <oleauto.h>

#include <vector>

namespace platform {

namespace {

// The per-user registration calls exist only on newer systems; they are
// looked up when needed, and the machine-wide ones serve where they are
// missing.
typedef HRESULT(WINAPI* RegisterForUserFn)(ITypeLib*, OLECHAR*, OLECHAR*);
typedef HRESULT(WINAPI* UnregisterForUserFn)(REFGUID, WORD, WORD, LCID, SYSKIND);

template <typename Fn>
Fn OleAutomationFunction(const char* name) {
  HMODULE oleaut = ::GetModuleHandleW(L"oleaut32.dll");
  if (oleaut == nullptr) return nullptr;
  FARPROC proc = ::GetProcAddress(oleaut, name);
  // Through the generic function type, which casts to any other.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

std::vector<wchar_t> Writable(const std::u16string& text) {
  std::vector<wchar_t> copy(text.begin(), text.end());
  copy.push_back(L'\0');
  return copy;
}

}  // namespace

std::u16string ThisModulePath() {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&ThisModulePath), &module)) {
    return std::u16string();
  }
  // A path may be longer than MAX_PATH; the call truncates silently, so a
  // full buffer means: try a larger one.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::u16string();
    if (n < buffer.size()) return std::u16string(buffer.begin(), buffer.begin() + n);
    if (buffer.size() >= 32768) return std::u16string();
    buffer.resize(buffer.size() * 2);
  }
}

HRESULT RegisterModuleTypeLibrary(const std::u16string& modulePath, bool perUser) {
  std::vector<wchar_t> path = Writable(modulePath);
  ITypeLib* library = nullptr;
  HRESULT hr = ::LoadTypeLibEx(path.data(), REGKIND_NONE, &library);
  if (FAILED(hr)) return hr;
  RegisterForUserFn forUser =
      perUser ? OleAutomationFunction<RegisterForUserFn>("RegisterTypeLibForUser") : nullptr;
  hr = forUser != nullptr ? forUser(library, path.data(), nullptr)
                          : ::RegisterTypeLib(library, path.data(), nullptr);
  library->Release();
  return hr;
}

HRESULT UnregisterModuleTypeLibrary(const std::u16string& modulePath, const GUID& libid,
                                    uint16_t major, uint16_t minor, bool perUser) {
  // The library in the file says under which locale and system kind it was
  // registered; a file without one was registered, if at all, as neutral.
  LCID locale = LOCALE_NEUTRAL;
  SYSKIND kind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
  std::vector<wchar_t> path = Writable(modulePath);
  ITypeLib* library = nullptr;
  if (SUCCEEDED(::LoadTypeLibEx(path.data(), REGKIND_NONE, &library))) {
    TLIBATTR* attributes = nullptr;
    if (SUCCEEDED(library->GetLibAttr(&attributes))) {
      locale = attributes->lcid;
      kind = attributes->syskind;
      library->ReleaseTLibAttr(attributes);
    }
    library->Release();
  }
  // Unregistering what is not registered fails; for a module being removed
  // that is success.
  BSTR registeredPath = nullptr;
  if (FAILED(::QueryPathOfRegTypeLib(libid, major, minor, locale, &registeredPath))) return S_OK;
  ::SysFreeString(registeredPath);
  UnregisterForUserFn forUser =
      perUser ? OleAutomationFunction<UnregisterForUserFn>("UnRegisterTypeLibForUser") : nullptr;
  return forUser != nullptr ? forUser(libid, major, minor, locale, kind)
                            : ::UnRegisterTypeLib(libid, major, minor, locale, kind);
}

std::function<void()> SwitchThreadLocale(uint32_t locale) {
  const LCID saved = ::GetThreadLocale();
  ::SetThreadLocale(locale);
  return [saved] { ::SetThreadLocale(saved); };
}

}  // namespace platform
