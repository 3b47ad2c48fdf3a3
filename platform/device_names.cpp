#include "platform/device_names.h"

namespace platform {

namespace {

// n >= 1 when `name` is `prefix` (any case) followed by decimal digits only.
bool NumberedName(const std::u16string& name, const char* prefix, unsigned* n) {
  size_t i = 0;
  for (; prefix[i] != '\0'; ++i) {
    if (i >= name.size()) return false;
    char16_t c = name[i];
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (c != static_cast<char16_t>(prefix[i])) return false;
  }
  if (i == name.size() || name.size() - i > 6) return false;
  unsigned value = 0;
  for (; i < name.size(); ++i) {
    if (name[i] < u'0' || name[i] > u'9') return false;
    value = value * 10 + static_cast<unsigned>(name[i] - u'0');
  }
  if (value == 0) return false;
  *n = value;
  return true;
}

std::u16string Numbered(const char* base, unsigned n) {
  std::string text = std::string(base) + std::to_string(n);
  return std::u16string(text.begin(), text.end());
}

}  // namespace

std::u16string PosixDevicePath(const std::u16string& portName) {
  std::u16string name = portName;
  const std::u16string devicePrefix = u"\\\\.\\";
  if (name.compare(0, devicePrefix.size(), devicePrefix) == 0) name.erase(0, devicePrefix.size());
  if (name.empty() || name[0] == u'/') return name;
  unsigned n = 0;
  if (NumberedName(name, "COM", &n)) return Numbered("/dev/ttyS", n - 1);
  if (NumberedName(name, "LPT", &n)) return Numbered("/dev/lp", n - 1);
  return u"/dev/" + name;
}

}  // namespace platform
