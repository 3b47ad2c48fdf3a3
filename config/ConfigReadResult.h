#pragma once
// How reading a device key ended. Every fault is a configuration error to the
// control object (OpenResult 403); a cash drawer's open also tells a key that
// could not be opened from a value that could not be read.
#include <string>

#include "platform/registry.h"

namespace QEL {
namespace Config {

enum class ConfigFault {
  kNone,
  kKeyNotOpened,     // the device key does not exist or cannot be opened
  kValueUnreadable,  // a value was still unreadable after every attempt
};

struct ConfigReadResult {
  ConfigFault fault = ConfigFault::kNone;
  // The device key, or the value that could not be read.
  std::u16string failed;
  // What the last attempt at that value gave: missing, not a string, or too
  // long (more than the read buffer or more than 255 characters).
  platform::RegistryRead lastRead = platform::RegistryRead::kOk;
  // The registry's own account of the fault, e.g. a malformed store file.
  std::string detail;

  bool Ok() const { return fault == ConfigFault::kNone; }
};

}  // namespace Config
}  // namespace QEL
