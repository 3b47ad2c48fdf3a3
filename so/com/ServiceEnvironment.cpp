#include "so/com/ServiceEnvironment.h"

#include "config/RegistryLayout.h"

namespace QEL {
namespace COM {

std::shared_ptr<const ServiceEnvironment> SystemEnvironment() {
  static const std::shared_ptr<const ServiceEnvironment> environment = [] {
    auto e = std::make_shared<ServiceEnvironment>();
    e->openRegistry = [] { return platform::OpenSystemRegistry(platform::RegistryRoot::kLocalMachine); };
    e->oposRoot = Config::kOposRoot;
    e->registryPause = Config::SleepingPause();
    e->eventClock = platform::SystemClock();
    return e;
  }();
  return environment;
}

}  // namespace COM
}  // namespace QEL
