#pragma once
// What the library writes into the classes part of the registry, as the two
// registrar scripts a COM server carries: the module's own (resource 101) and
// the service-object class's (resource 107).
#include "so/com/RegistryScript.h"

namespace QEL {
namespace COM {

// Replacement markers the scripts use.
constexpr char16_t kMarkerAppId[] = u"APPID";
constexpr char16_t kMarkerModule[] = u"Module";
constexpr char16_t kMarkerModuleRaw[] = u"Module_Raw";
constexpr char16_t kMarkerOleMisc[] = u"OLEMISC";

// The module's script; run with the APPID replacement.
const RegistryScript& ModuleScript();
// The class's script: both ProgIDs and the class key below CLSID; run with
// the Module, Module_Raw and OLEMISC replacements.
const RegistryScript& ClassScript();

}  // namespace COM
}  // namespace QEL
