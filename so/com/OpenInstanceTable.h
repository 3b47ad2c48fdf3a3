#pragma once
// The instances of this process that own a printer core, by printer device
// name: a later instance naming the same printer attaches to the owner
// instead of opening the port a second time.
#include <cstddef>
#include <string>

namespace QEL {
namespace COM {

class CQELOposPrinterSO;

namespace OpenInstanceTable {

constexpr size_t kEntries = 255;

// Stores the owner in the first empty entry: its 1-based slot, or 0 when full.
size_t Register(CQELOposPrinterSO* owner, const std::u16string& deviceKey);
void Unregister(size_t slot);
// The owner of that device name (compared exactly), or null.
CQELOposPrinterSO* Find(const std::u16string& deviceKey);

}  // namespace OpenInstanceTable
}  // namespace COM
}  // namespace QEL
