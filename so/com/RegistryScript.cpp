#include "so/com/RegistryScript.h"

#include <memory>

#include "platform/reg_file.h"

namespace QEL {
namespace COM {

namespace {

// One entry with its markers replaced and its full path worked out.
struct ResolvedEntry {
  ScriptEntryKind kind;
  int depth;
  std::u16string parent;  // the key holding it
  std::u16string name;
  bool hasText;
  std::u16string text;
};

std::u16string Join(const std::u16string& parent, const std::u16string& name) {
  return parent.empty() ? name : parent + u"\\" + name;
}

std::string Narrow(const std::u16string& text) { return platform::Utf16ToUtf8(text); }

bool Expand(const char16_t* text, const ScriptReplacements& replacements, std::u16string* out,
            std::string* error) {
  out->clear();
  for (const char16_t* p = text; *p != 0; ++p) {
    if (*p != u'%') {
      out->push_back(*p);
      continue;
    }
    const char16_t* end = p + 1;
    while (*end != 0 && *end != u'%') ++end;
    if (*end == 0) {
      *error = "unclosed marker in \"" + Narrow(text) + "\"";
      return false;
    }
    const std::u16string marker(p + 1, end);
    if (marker.empty()) {
      out->push_back(u'%');
    } else {
      const std::u16string* value = nullptr;
      for (const auto& r : replacements) {
        if (r.first == marker) value = &r.second;
      }
      if (value == nullptr) {
        *error = "no replacement for %" + Narrow(marker) + "%";
        return false;
      }
      out->append(*value);
    }
    p = end;
  }
  return true;
}

bool Resolve(const std::u16string& base, const RegistryScript& script,
             const ScriptReplacements& replacements, std::vector<ResolvedEntry>* resolved,
             std::string* error) {
  // keyPaths[d] is the path of the latest key at depth d.
  std::vector<std::u16string> keyPaths;
  for (size_t i = 0; i < script.count; ++i) {
    const ScriptEntry& entry = script.entries[i];
    const bool isValue = entry.kind == ScriptEntryKind::kValue;
    const int holderDepth = entry.depth - 1;  // -1: the base key
    if (entry.depth < 0 || holderDepth >= static_cast<int>(keyPaths.size()) ||
        (isValue && holderDepth < 0) || (isValue && entry.text == nullptr)) {
      *error = "entry " + std::to_string(i) + " of the script has no key to belong to";
      return false;
    }
    ResolvedEntry out{entry.kind, entry.depth, holderDepth < 0 ? base : keyPaths[holderDepth],
                      std::u16string(), entry.text != nullptr, std::u16string()};
    if (!Expand(entry.name, replacements, &out.name, error)) return false;
    if (out.hasText && !Expand(entry.text, replacements, &out.text, error)) return false;
    if (!isValue) {
      keyPaths.resize(entry.depth);
      keyPaths.push_back(Join(out.parent, out.name));
    }
    resolved->push_back(std::move(out));
  }
  return true;
}

bool Exists(platform::Registry& registry, const std::u16string& path) {
  return registry.Open(path, platform::RegistryAccess::kRead) != nullptr;
}

// Deletes parent\name with its subtree; a key that is not there is no failure.
bool DeleteTree(platform::Registry& registry, const std::u16string& parent,
                const std::u16string& name, std::string* error) {
  const std::u16string path = Join(parent, name);
  if (!Exists(registry, path)) return true;
  std::unique_ptr<platform::RegistryKey> holder =
      registry.Open(parent, platform::RegistryAccess::kReadWrite);
  if (!holder) {
    *error = "cannot open " + Narrow(parent) + ": " + registry.ErrorText();
    return false;
  }
  if (holder->DeleteSubkey(name) || !Exists(registry, path)) return true;
  *error = "cannot delete " + Narrow(path) + ": " + holder->ErrorText();
  return false;
}

}  // namespace

bool ApplyRegistryScript(platform::Registry& registry, const std::u16string& base,
                         const RegistryScript& script, const ScriptReplacements& replacements,
                         std::string* error) {
  std::vector<ResolvedEntry> entries;
  if (!Resolve(base, script, replacements, &entries, error)) return false;
  // open[d] is the latest key written at depth d, for the values that follow it.
  std::vector<std::unique_ptr<platform::RegistryKey>> open;
  for (const ResolvedEntry& entry : entries) {
    const std::u16string path = Join(entry.parent, entry.name);
    if (entry.kind == ScriptEntryKind::kValue) {
      platform::RegistryKey& key = *open[entry.depth - 1];
      if (!key.WriteString(entry.name, entry.text)) {
        *error = "cannot write " + Narrow(entry.name) + " in " + Narrow(entry.parent) + ": " +
                 key.ErrorText();
        return false;
      }
      continue;
    }
    if (entry.kind == ScriptEntryKind::kOwnedKey &&
        !DeleteTree(registry, entry.parent, entry.name, error)) {
      return false;
    }
    std::unique_ptr<platform::RegistryKey> key = registry.Create(path);
    if (!key) {
      *error = "cannot create " + Narrow(path) + ": " + registry.ErrorText();
      return false;
    }
    if (entry.hasText && !key->WriteString(std::u16string(), entry.text)) {
      *error = "cannot write the default value of " + Narrow(path) + ": " + key->ErrorText();
      return false;
    }
    open.resize(entry.depth);
    open.push_back(std::move(key));
  }
  return true;
}

bool RemoveRegistryScript(platform::Registry& registry, const std::u16string& base,
                          const RegistryScript& script, const ScriptReplacements& replacements,
                          std::string* error) {
  std::vector<ResolvedEntry> entries;
  if (!Resolve(base, script, replacements, &entries, error)) return false;
  // Below a deleted key there is nothing left to delete.
  int deletedDepth = -1;
  for (const ResolvedEntry& entry : entries) {
    if (deletedDepth >= 0 && entry.depth > deletedDepth) continue;
    deletedDepth = -1;
    if (entry.kind == ScriptEntryKind::kValue || entry.kind == ScriptEntryKind::kSharedKey) {
      continue;
    }
    if (!DeleteTree(registry, entry.parent, entry.name, error)) return false;
    deletedDepth = entry.depth;
  }
  return true;
}

}  // namespace COM
}  // namespace QEL
