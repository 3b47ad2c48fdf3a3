#pragma once
// Registry entries described as data, the way a COM server describes what it
// registers: a constant tree of keys with string values, written below a base
// key and removed from it again. In names and texts "%Name%" stands for a
// replacement given when the script runs (the module's path, say), and "%%"
// for a percent sign.
//
// A script is resolved whole before the registry is touched, so that a
// script naming a replacement nobody gave writes nothing at all.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace QEL {
namespace COM {

enum class ScriptEntryKind {
  // A key the script adds to whatever is there already; removing the script
  // deletes it with everything below it.
  kKey,
  // A key the script owns outright: emptied before it is written, so nothing
  // an older registration left in it survives; removed like kKey.
  kOwnedKey,
  // A key other registrations share (CLSID): created when missing, never
  // deleted; removal only looks at the script's keys below it.
  kSharedKey,
  // A named string value of the nearest key above it (one level less deep).
  kValue,
};

struct ScriptEntry {
  int depth;  // 0 for a key directly below the base key
  ScriptEntryKind kind;
  const char16_t* name;
  // A key's default value (null: the key has none) or a named value's text.
  const char16_t* text;
};

// The entries in the order of an indented listing: every key is followed by
// its values and then its subkeys.
struct RegistryScript {
  const ScriptEntry* entries;
  size_t count;
};

// Marker name (without the percent signs) and the text it stands for.
using ScriptReplacements = std::vector<std::pair<std::u16string, std::u16string>>;

// Writes the script's keys and values below `base` (empty for the root the
// registry was opened at). Stops at the first registry operation that fails
// and answers false with `error` saying why; what was written before stays.
bool ApplyRegistryScript(platform::Registry& registry, const std::u16string& base,
                         const RegistryScript& script, const ScriptReplacements& replacements,
                         std::string* error);

// Deletes the keys the script adds, each with its whole subtree; shared keys
// and everything the script does not name stay. Keys already gone are no
// failure.
bool RemoveRegistryScript(platform::Registry& registry, const std::u16string& base,
                          const RegistryScript& script, const ScriptReplacements& replacements,
                          std::string* error);

}  // namespace COM
}  // namespace QEL
