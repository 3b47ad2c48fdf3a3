#pragma once
// The service-object instances that share one printer core: the owner and
// every instance attached to it. The physical device follows the union of
// its clients (claimed while any is claimed, enabled while any is enabled).
// The event thread reads the table while it delivers, so every access takes
// the table's lock; delivery holds it throughout, so a client that detaches
// is never called back afterwards.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>

#include "platform/com.h"

namespace QEL {
namespace COM {

// The drawer values a cash-drawer client brings; a printer client's are zero.
struct DrawerSettings {
  int32_t drawerPin = 0;
  int32_t openVoltage = 0;
  int32_t capDrawStatus = 0;
  int32_t signalOnTime = 16;
  int32_t signalOffTime = 16;
  int32_t waitForCloseTimeout = 60000;
};

// Indexes into a client's DISPID table.
enum PrinterEventIndex { kPrinterDirectIO = 0, kPrinterError = 1, kPrinterOutputComplete = 2,
                         kPrinterStatusUpdate = 3 };
enum DrawerEventIndex { kDrawerDirectIO = 0, kDrawerStatusUpdate = 1 };

struct ClientSlot {
  const void* client = nullptr;
  bool open = false;
  bool claimed = false;
  bool enabled = false;
  bool isPrinter = false;
  IDispatch* receiver = nullptr;
  DISPID dispids[4] = {DISPID_UNKNOWN, DISPID_UNKNOWN, DISPID_UNKNOWN, DISPID_UNKNOWN};
  bool frozen = false;
  DrawerSettings drawer;
};

class DeviceClientTable {
 public:
  static constexpr size_t kSlots = 255;

  // Takes the first empty slot; false when all are taken.
  bool Attach(const ClientSlot& slot);
  // Resets the client's slot; false when it has none.
  bool Detach(const void* client);
  // Changes the client's slot under the lock; false when it has none.
  bool Update(const void* client, const std::function<void(ClientSlot&)>& change);
  bool Has(const void* client) const;
  // Copies the drawer numbers of the client's slot; false when it has none.
  bool DrawerOf(const void* client, DrawerSettings* drawer) const;

  bool AnyOpen() const;
  bool AnyClaimed() const;
  bool AnyEnabled() const;
  bool AnyEnabledOfKind(bool printer) const;
  // True when there is at least one client and every one is frozen.
  bool AllFrozen() const;

  // Visits the occupied slots in order with the lock held.
  void ForEach(const std::function<void(const ClientSlot&)>& visit) const;

 private:
  bool Any(const std::function<bool(const ClientSlot&)>& test) const;

  mutable std::recursive_mutex mutex_;
  ClientSlot slots_[kSlots];
};

}  // namespace COM
}  // namespace QEL
