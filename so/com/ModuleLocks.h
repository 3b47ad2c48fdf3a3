#pragma once
// What keeps the library loaded: every live service-object instance and every
// IClassFactory::LockServer(TRUE) not yet undone. DllCanUnloadNow answers
// from this count alone, so nothing else may hold code of the library
// running once it is zero.
namespace QEL {
namespace COM {
namespace ModuleLocks {

void Lock();
void Unlock();
long Count();

}  // namespace ModuleLocks
}  // namespace COM
}  // namespace QEL
