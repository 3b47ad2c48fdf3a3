#pragma once
// What an in-process COM server needs from the system to register itself:
// the file it was loaded from, the registration of the type library that
// file carries, and the thread locale under which registration runs.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/com.h"

namespace platform {

// The full path of the module (DLL or program) holding this code; empty when
// the system cannot tell.
std::u16string ThisModulePath();

// Registers the type library held in the module file `modulePath` (resource
// TYPELIB 1), for every user or, with perUser, for the calling user only
// (where the system can; otherwise for every user). E_NOTIMPL where the
// system has no type libraries.
HRESULT RegisterModuleTypeLibrary(const std::u16string& modulePath, bool perUser);

// Removes the registration of the type library `libid` of that version, in
// the locale the library in `modulePath` declares (neutral when the file
// holds none). A library that is not registered counts as removed.
// E_NOTIMPL where the system has no type libraries.
HRESULT UnregisterModuleTypeLibrary(const std::u16string& modulePath, const GUID& libid,
                                    uint16_t major, uint16_t minor, bool perUser);

// Sets the calling thread's locale and answers what restores the previous
// one. Where threads have no locale of their own, both do nothing.
std::function<void()> SwitchThreadLocale(uint32_t locale);

}  // namespace platform
