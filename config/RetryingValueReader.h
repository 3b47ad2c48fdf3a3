#pragma once
// Reads the string values of one open key in a fixed order, retrying each
// value that cannot be read yet: the setting tool may be rewriting the key
// while a device is opened. A failed attempt is followed by a pause of
// `stepMs` times (failures so far - 1), so 0, 1, 2, 3, 4 steps; after the
// sixth failure the whole read fails. Each value read is followed by a short
// pause as well, and the next value starts with a clean count.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "config/ConfigReadResult.h"
#include "platform/registry.h"

namespace QEL {
namespace Config {

// Waits the given number of milliseconds; tests pass one that only records.
using Pause = std::function<void(uint32_t milliseconds)>;
// The real wait.
Pause SleepingPause();

struct RetryRule {
  uint32_t stepMs;
  int attempts;
  uint32_t afterSuccessMs;
};

constexpr RetryRule kPrinterRetry{20, 6, 10};
constexpr RetryRule kDrawerRetry{50, 6, 10};

struct ValueSlot {
  const char16_t* name;
  std::u16string* text;
};

// Stops at the first value that fails for good; the values before it are filled.
ConfigReadResult ReadValues(platform::RegistryKey& key, const ValueSlot* slots, size_t count,
                            const RetryRule& rule, const Pause& pause);

}  // namespace Config
}  // namespace QEL
