#include "so/com/OpenInstanceTable.h"

#include <mutex>

namespace QEL {
namespace COM {
namespace OpenInstanceTable {

namespace {

struct Entry {
  CQELOposPrinterSO* owner = nullptr;
  std::u16string deviceKey;
};

// Instances are created on any apartment thread of the process.
std::mutex& TableMutex() {
  static std::mutex mutex;
  return mutex;
}

Entry* Entries() {
  static Entry entries[kEntries];
  return entries;
}

}  // namespace

size_t Register(CQELOposPrinterSO* owner, const std::u16string& deviceKey) {
  std::lock_guard<std::mutex> lock(TableMutex());
  Entry* entries = Entries();
  for (size_t i = 0; i < kEntries; ++i) {
    if (entries[i].owner == nullptr) {
      entries[i].owner = owner;
      entries[i].deviceKey = deviceKey;
      return i + 1;
    }
  }
  return 0;
}

void Unregister(size_t slot) {
  if (slot == 0 || slot > kEntries) return;
  std::lock_guard<std::mutex> lock(TableMutex());
  Entries()[slot - 1] = Entry();
}

CQELOposPrinterSO* Find(const std::u16string& deviceKey) {
  std::lock_guard<std::mutex> lock(TableMutex());
  Entry* entries = Entries();
  for (size_t i = 0; i < kEntries; ++i) {
    if (entries[i].owner != nullptr && entries[i].deviceKey == deviceKey) return entries[i].owner;
  }
  return nullptr;
}

}  // namespace OpenInstanceTable
}  // namespace COM
}  // namespace QEL
