#pragma once
// The registry entries that make the service-object class reachable: the
// module's script (it writes nothing of its own, but is run and undone like
// the class's) and the class's script (the two ProgIDs and the class key
// below CLSID). Both scripts are written below a classes location: the
// machine's classes root, or a user's Software\Classes when the library is
// registered for one user only.
//
// Unregistering removes exactly what the class script names: both ProgID
// keys and the class's own key below CLSID with everything below it. The
// CLSID key itself and every other class stay.
#include <string>

#include "platform/com.h"
#include "platform/registry.h"

namespace QEL {
namespace COM {

// Where the scripts write: a root of the registry and a path below it.
struct ClassesLocation {
  platform::RegistryRoot root;
  std::u16string path;  // empty for the machine's classes root
};

// HKEY_CLASSES_ROOT.
ClassesLocation MachineClasses();
// HKEY_CURRENT_USER\Software\Classes.
ClassesLocation UserClasses();

// The module's script, with its "APPID" replacement. `classes` is the
// registry opened at location.root.
HRESULT RegisterModuleScript(platform::Registry& classes, const ClassesLocation& location);
HRESULT UnregisterModuleScript(platform::Registry& classes, const ClassesLocation& location);

// The class's script with the "Module", "Module_Raw" and "OLEMISC"
// replacements. A module path of 260 characters or more fails with
// HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE) and writes nothing. A
// registry failure stops at the failing key and answers
// SELFREG_E_CLASS; what was written before it stays for the caller to
// undo. Registering twice leaves the same keys as registering once.
HRESULT RegisterClassScript(platform::Registry& classes, const ClassesLocation& location,
                            const std::u16string& modulePath);
// Removes what RegisterClassScript writes; keys already gone are no failure,
// a key that cannot be deleted stops it with SELFREG_E_CLASS.
HRESULT UnregisterClassScript(platform::Registry& classes, const ClassesLocation& location);

}  // namespace COM
}  // namespace QEL
