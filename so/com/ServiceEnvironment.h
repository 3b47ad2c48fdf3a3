#pragma once
// What a service-object instance takes from its surroundings: the registry it
// reads device keys from, and the clocks that pace it. A control object's
// instance uses the system's; tests hand in a private registry and a manual
// clock.
#include <functional>
#include <memory>
#include <string>

#include "config/RetryingValueReader.h"
#include "platform/clock.h"
#include "platform/registry.h"

namespace QEL {
namespace COM {

struct ServiceEnvironment {
  // Opens the registry whose keys lie below oposRoot (HKEY_LOCAL_MACHINE).
  std::function<std::unique_ptr<platform::Registry>()> openRegistry;
  std::u16string oposRoot;
  // The pause between attempts at a registry value being rewritten.
  Config::Pause registryPause;
  // Paces event delivery.
  std::shared_ptr<platform::Clock> eventClock;
  // Given to each printer core; null leaves the core its own.
  std::shared_ptr<platform::Clock> coreClock;
  // Shows a message the user must acknowledge (a cash drawer's interactive
  // health check); null uses the platform's message box.
  std::function<void(const std::u16string& title, const std::u16string& text)> confirm;
};

// The system registry, the OPOS root and the real clock.
std::shared_ptr<const ServiceEnvironment> SystemEnvironment();

}  // namespace COM
}  // namespace QEL
