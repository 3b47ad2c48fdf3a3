#pragma once
// The registry as the setting tool uses it: every operation names its key by
// path and opens it afresh. A key that cannot be opened reads as empty (no
// subkeys, no values, empty texts) and is never created by a read; a write
// creates its key when it is missing. The tool shows no registry faults, so
// the results only let a caller check when it wants to.
#include <string>
#include <vector>

#include "platform/registry.h"

namespace QEL {
namespace Config {

class RegistryByPath {
 public:
  explicit RegistryByPath(platform::Registry& registry) : registry_(registry) {}

  std::vector<std::u16string> SubkeyNames(const std::u16string& path);
  std::vector<platform::RegistryValue> Values(const std::u16string& path);
  std::vector<std::u16string> ValueNames(const std::u16string& path);
  // Empty when the key, the value or a string is missing. An empty name reads
  // the default value.
  std::u16string ReadString(const std::u16string& path, const std::u16string& name);
  bool WriteString(const std::u16string& path, const std::u16string& name, const std::u16string& text);
  // Deletes the subkey with everything below it.
  bool DeleteSubkey(const std::u16string& parentPath, const std::u16string& name);
  bool DeleteValue(const std::u16string& path, const std::u16string& name);
  bool CreateKey(const std::u16string& path);

 private:
  platform::Registry& registry_;
};

}  // namespace Config
}  // namespace QEL
