#include "so/com/RegistrarScripts.h"

#include "so/com/ClassIdentity.h"

namespace QEL {
namespace COM {

namespace {

constexpr ScriptEntryKind kKey = ScriptEntryKind::kKey;
constexpr ScriptEntryKind kOwned = ScriptEntryKind::kOwnedKey;
constexpr ScriptEntryKind kShared = ScriptEntryKind::kSharedKey;
constexpr ScriptEntryKind kValue = ScriptEntryKind::kValue;

constexpr char16_t kProgIdDescription[] = u"TarrowOposPrinterSO Class";
constexpr char16_t kClassDescription[] = u"OposPrinterSO Class";

const ScriptEntry kClassEntries[] = {
    {0, kOwned, kProgId, kProgIdDescription},
    {1, kKey, u"CLSID", kClsidText},
    {1, kKey, u"Insertable", nullptr},
    {0, kOwned, kVersionIndependentProgId, kProgIdDescription},
    {1, kKey, u"CurVer", kProgId},
    {0, kShared, u"CLSID", nullptr},
    {1, kOwned, kClsidText, kClassDescription},
    {2, kKey, u"ProgID", kProgId},
    {2, kKey, u"VersionIndependentProgID", kVersionIndependentProgId},
    {2, kKey, u"Programmable", nullptr},
    {2, kKey, u"InprocServer32", u"%Module%"},
    {3, kValue, u"ThreadingModel", u"Apartment"},
    {2, kKey, u"Control", nullptr},
    {2, kKey, u"Insertable", nullptr},
    {2, kKey, u"ToolboxBitmap32", u"%Module_Raw%, 106"},
    {2, kKey, u"MiscStatus", u"0"},
    {3, kKey, u"1", u"%OLEMISC%"},
    {2, kKey, u"TypeLib", kLibidText},
    {2, kKey, u"Version", u"1.0"},
};

const RegistryScript kClassScript{kClassEntries, sizeof kClassEntries / sizeof kClassEntries[0]};

// The module registers nothing of its own (no AppID key): its script is empty
// but still run, so that a future AppID entry only needs adding here.
const RegistryScript kModuleScript{nullptr, 0};

}  // namespace

const RegistryScript& ModuleScript() { return kModuleScript; }
const RegistryScript& ClassScript() { return kClassScript; }

}  // namespace COM
}  // namespace QEL
