#include "config/RetryingValueReader.h"

#include "config/RegistryLayout.h"
#include "platform/clock.h"

namespace QEL {
namespace Config {

namespace {

platform::RegistryRead ReadOnce(platform::RegistryKey& key, const char16_t* name, std::u16string* text,
                                std::string* detail) {
  std::u16string read;
  platform::RegistryRead result = key.ReadString(name, kReadBufferBytes, &read);
  if (result == platform::RegistryRead::kOk && read.size() > kMaxValueChars) {
    *detail = "the value holds " + std::to_string(read.size()) + " characters, more than " +
              std::to_string(kMaxValueChars);
    return platform::RegistryRead::kTooLong;
  }
  if (result == platform::RegistryRead::kOk) {
    *text = read;
  } else {
    *detail = key.ErrorText();
  }
  return result;
}

}  // namespace

Pause SleepingPause() {
  return [](uint32_t milliseconds) { platform::SleepMs(milliseconds); };
}

ConfigReadResult ReadValues(platform::RegistryKey& key, const ValueSlot* slots, size_t count,
                            const RetryRule& rule, const Pause& pause) {
  ConfigReadResult result;
  for (size_t i = 0; i < count; ++i) {
    for (int failures = 0;;) {
      std::string detail;
      platform::RegistryRead read = ReadOnce(key, slots[i].name, slots[i].text, &detail);
      if (read == platform::RegistryRead::kOk) {
        pause(rule.afterSuccessMs);
        break;
      }
      if (++failures >= rule.attempts) {
        result.fault = ConfigFault::kValueUnreadable;
        result.failed = slots[i].name;
        result.lastRead = read;
        result.detail = detail;
        return result;
      }
      pause(rule.stepMs * static_cast<uint32_t>(failures - 1));
    }
  }
  return result;
}

}  // namespace Config
}  // namespace QEL
