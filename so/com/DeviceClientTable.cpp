#include "so/com/DeviceClientTable.h"

namespace QEL {
namespace COM {

bool DeviceClientTable::Attach(const ClientSlot& slot) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  for (ClientSlot& s : slots_) {
    if (s.client == nullptr) {
      s = slot;
      return true;
    }
  }
  return false;
}

bool DeviceClientTable::Detach(const void* client) {
  return Update(client, [](ClientSlot& s) { s = ClientSlot(); });
}

bool DeviceClientTable::Update(const void* client,
                               const std::function<void(ClientSlot&)>& change) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (client == nullptr) return false;
  for (ClientSlot& s : slots_) {
    if (s.client == client) {
      change(s);
      return true;
    }
  }
  return false;
}

bool DeviceClientTable::Has(const void* client) const {
  return Any([client](const ClientSlot& s) { return s.client == client; });
}

bool DeviceClientTable::DrawerOf(const void* client, DrawerSettings* drawer) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (client == nullptr) return false;
  for (const ClientSlot& s : slots_) {
    if (s.client == client) {
      *drawer = s.drawer;
      return true;
    }
  }
  return false;
}

bool DeviceClientTable::AnyOpen() const {
  return Any([](const ClientSlot& s) { return s.open; });
}

bool DeviceClientTable::AnyClaimed() const {
  return Any([](const ClientSlot& s) { return s.claimed; });
}

bool DeviceClientTable::AnyEnabled() const {
  return Any([](const ClientSlot& s) { return s.enabled; });
}

bool DeviceClientTable::AnyEnabledOfKind(bool printer) const {
  return Any([printer](const ClientSlot& s) { return s.enabled && s.isPrinter == printer; });
}

bool DeviceClientTable::AllFrozen() const {
  return Any([](const ClientSlot&) { return true; }) &&
         !Any([](const ClientSlot& s) { return !s.frozen; });
}

void DeviceClientTable::ForEach(const std::function<void(const ClientSlot&)>& visit) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  for (const ClientSlot& s : slots_) {
    if (s.client != nullptr) visit(s);
  }
}

bool DeviceClientTable::Any(const std::function<bool(const ClientSlot&)>& test) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  for (const ClientSlot& s : slots_) {
    if (s.client != nullptr && test(s)) return true;
  }
  return false;
}

}  // namespace COM
}  // namespace QEL
