#pragma once
// What an event task needs from the instance that owns the printer: the
// delivery to every eligible client, and the two answers a control object may
// give to an error event.
#include <cstddef>
#include <cstdint>

namespace QEL {
namespace COM {

enum class EventKind : int32_t { kError = 1, kOutputComplete = 2, kStatusUpdate = 3 };

class ISOFireEvents {
 public:
  // Delivers one event to every enabled, unfrozen client with a receiver.
  // For an error the fourth value is the error response, passed by reference
  // and left as the last control object set it. 0, or 106 when an Invoke failed.
  virtual int32_t FireEvent(EventKind kind, int32_t* values, size_t count) = 0;
  virtual void RequestClearOutput() = 0;
  virtual int32_t RequestRetry() = 0;
  virtual ~ISOFireEvents() = default;
};

}  // namespace COM
}  // namespace QEL
