// Without COM registration: the module path comes from the dynamic loader,
// and there are neither type libraries nor thread locales to manage.
#include "platform/com_server.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <cstring>

#include "platform/code_page.h"

namespace platform {

namespace {
constexpr unsigned kUtf8 = 65001;
}  // namespace

std::u16string ThisModulePath() {
  Dl_info info;
  std::memset(&info, 0, sizeof info);
  if (dladdr(reinterpret_cast<void*>(&ThisModulePath), &info) == 0 || info.dli_fname == nullptr) {
    return std::u16string();
  }
  // The loader reports the name it was given, which may be relative.
  char resolved[PATH_MAX];
  const char* path = realpath(info.dli_fname, resolved) != nullptr ? resolved : info.dli_fname;
  return MultiByteToWide(kUtf8, path, std::strlen(path));
}

HRESULT RegisterModuleTypeLibrary(const std::u16string&, bool) { return E_NOTIMPL; }

HRESULT UnregisterModuleTypeLibrary(const std::u16string&, const GUID&, uint16_t, uint16_t, bool) {
  return E_NOTIMPL;
}

std::function<void()> SwitchThreadLocale(uint32_t) {
  return [] {};
}

}  // namespace platform
