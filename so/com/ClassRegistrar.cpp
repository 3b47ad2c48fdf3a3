#include "so/com/ClassRegistrar.h"

#include <cstdint>

#include "so/com/ClassIdentity.h"
#include "so/com/RegistrarScripts.h"

namespace QEL {
namespace COM {

namespace {

// Longer paths do not fit the buffers that COM and its clients read the
// server's path into (MAX_PATH, terminator included).
constexpr size_t kLongestModulePath = 259;

// How a container treats the class's objects (OLEMISC_*): it has no user
// interface of its own, is invisible at run time and wants its client site
// before it is loaded.
constexpr uint32_t kOleMiscRecomposeOnResize = 0x1;
constexpr uint32_t kOleMiscCantLinkInside = 0x10;
constexpr uint32_t kOleMiscInsideOut = 0x80;
constexpr uint32_t kOleMiscActivateWhenVisible = 0x100;
constexpr uint32_t kOleMiscInvisibleAtRuntime = 0x400;
constexpr uint32_t kOleMiscSetClientSiteFirst = 0x20000;
constexpr uint32_t kOleMisc = kOleMiscRecomposeOnResize | kOleMiscCantLinkInside |
                              kOleMiscInsideOut | kOleMiscActivateWhenVisible |
                              kOleMiscInvisibleAtRuntime | kOleMiscSetClientSiteFirst;

std::u16string Decimal(uint32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

ScriptReplacements ModuleReplacements() { return {{kMarkerAppId, kAppIdText}}; }

// The path goes in unquoted: quotes are only for an executable, whose path
// the registry stores as a command line.
ScriptReplacements ClassReplacements(const std::u16string& modulePath) {
  return {{kMarkerModule, modulePath},
          {kMarkerModuleRaw, modulePath},
          {kMarkerOleMisc, Decimal(kOleMisc)}};
}

HRESULT Outcome(bool ok) { return ok ? S_OK : SELFREG_E_CLASS; }

}  // namespace

ClassesLocation MachineClasses() { return {platform::RegistryRoot::kClassesRoot, u""}; }

ClassesLocation UserClasses() {
  return {platform::RegistryRoot::kCurrentUser, u"Software\\Classes"};
}

HRESULT RegisterModuleScript(platform::Registry& classes, const ClassesLocation& location) {
  std::string error;
  return Outcome(
      ApplyRegistryScript(classes, location.path, ModuleScript(), ModuleReplacements(), &error));
}

HRESULT UnregisterModuleScript(platform::Registry& classes, const ClassesLocation& location) {
  std::string error;
  return Outcome(
      RemoveRegistryScript(classes, location.path, ModuleScript(), ModuleReplacements(), &error));
}

HRESULT RegisterClassScript(platform::Registry& classes, const ClassesLocation& location,
                            const std::u16string& modulePath) {
  if (modulePath.size() > kLongestModulePath) {
    return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  }
  std::string error;
  return Outcome(ApplyRegistryScript(classes, location.path, ClassScript(),
                                     ClassReplacements(modulePath), &error));
}

HRESULT UnregisterClassScript(platform::Registry& classes, const ClassesLocation& location) {
  // Removal deletes whole keys and never looks at their values, so the
  // module's path plays no part in it.
  std::string error;
  return Outcome(RemoveRegistryScript(classes, location.path, ClassScript(),
                                      ClassReplacements(std::u16string()), &error));
}

}  // namespace COM
}  // namespace QEL
