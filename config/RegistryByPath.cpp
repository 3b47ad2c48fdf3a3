#include "config/RegistryByPath.h"

#include <memory>

namespace QEL {
namespace Config {

using platform::RegistryAccess;
using platform::RegistryKey;

std::vector<std::u16string> RegistryByPath::SubkeyNames(const std::u16string& path) {
  std::vector<std::u16string> names;
  std::unique_ptr<RegistryKey> key = registry_.Open(path, RegistryAccess::kRead);
  if (!key || !key->SubkeyNames(&names)) names.clear();
  return names;
}

std::vector<platform::RegistryValue> RegistryByPath::Values(const std::u16string& path) {
  std::vector<platform::RegistryValue> values;
  std::unique_ptr<RegistryKey> key = registry_.Open(path, RegistryAccess::kRead);
  if (!key || !key->Values(&values)) values.clear();
  return values;
}

std::vector<std::u16string> RegistryByPath::ValueNames(const std::u16string& path) {
  std::vector<std::u16string> names;
  for (const platform::RegistryValue& value : Values(path)) names.push_back(value.name);
  return names;
}

std::u16string RegistryByPath::ReadString(const std::u16string& path, const std::u16string& name) {
  std::u16string text;
  std::unique_ptr<RegistryKey> key = registry_.Open(path, RegistryAccess::kRead);
  if (!key || key->ReadString(name, 0, &text) != platform::RegistryRead::kOk) text.clear();
  return text;
}

bool RegistryByPath::WriteString(const std::u16string& path, const std::u16string& name,
                                 const std::u16string& text) {
  std::unique_ptr<RegistryKey> key = registry_.Create(path);
  return key && key->WriteString(name, text);
}

bool RegistryByPath::DeleteSubkey(const std::u16string& parentPath, const std::u16string& name) {
  std::unique_ptr<RegistryKey> key = registry_.Open(parentPath, RegistryAccess::kReadWrite);
  return key && key->DeleteSubkey(name);
}

bool RegistryByPath::DeleteValue(const std::u16string& path, const std::u16string& name) {
  std::unique_ptr<RegistryKey> key = registry_.Open(path, RegistryAccess::kReadWrite);
  return key && key->DeleteValue(name);
}

bool RegistryByPath::CreateKey(const std::u16string& path) { return registry_.Create(path) != nullptr; }

}  // namespace Config
}  // namespace QEL
