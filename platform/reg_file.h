#pragma once
// Registry keys and values in the text form that regedit exports and imports
// ("Windows Registry Editor Version 5.00", [key] lines, "Name"="value" lines).
// Where the system has no registry of its own, the registry lives in one such
// file (posix/registry.cpp); this is its model, with no file access of its own.
#include <string>
#include <vector>

namespace platform {

struct RegFileValue {
  std::u16string name;  // empty for the key's default value ("@")
  bool isString = true;
  // A string's text. For any other type (dword:, hex:, hex(7): ...) the data
  // as written after '=' without white space or line continuations: it is
  // kept and written back, never interpreted.
  std::u16string data;
};

struct RegFileKey {
  std::u16string path;  // with its root, e.g. HKEY_LOCAL_MACHINE\SOFTWARE\X
  std::vector<RegFileValue> values;  // in the order they were written
};

// Key and value names are compared as the registry compares them: letter case
// does not count.
bool SameRegistryName(const std::u16string& a, const std::u16string& b);

// UTF-16 to UTF-8 for messages and file contents; an unpaired surrogate
// becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);

class RegFile {
 public:
  // Reads a whole file. UTF-8 (with or without its byte-order mark) and
  // UTF-16LE with its mark, as regedit writes it, are accepted. A file that is
  // empty or only white space is an empty registry. Anything else that is not
  // a well-formed .reg text is refused: false, with `error` saying
  // "line N: <what is wrong>", and `out` is left unchanged.
  static bool Parse(const std::string& bytes, RegFile* out, std::string* error);

  // The .reg text (UTF-8, LF line ends). Strings that cannot stand on one line
  // (line breaks, NUL) are written as hex(1): data, which is a string as well.
  std::string Serialise() const;

  const std::vector<RegFileKey>& Keys() const { return keys_; }

  // A key exists when it has a [key] line or some key below it has one; a
  // root (HKEY_...) always exists.
  bool KeyExists(const std::u16string& path) const;
  RegFileKey* FindKey(const std::u16string& path);
  const RegFileKey* FindKey(const std::u16string& path) const;
  // Gives the key a [key] line, and every key above it that lacks one. A new
  // key goes after the last key of its parent's subtree, a key that existed
  // only through keys below it goes before them. False when nothing had to be
  // added.
  bool CreateKey(const std::u16string& path);
  // Names of the keys directly below `path`, in the order they first appear.
  std::vector<std::u16string> SubkeyNames(const std::u16string& path) const;
  // Removes the key with everything below it; false when it did not exist.
  bool DeleteKeyTree(const std::u16string& path);

  static const RegFileValue* FindValue(const RegFileKey& key, const std::u16string& name);
  // An existing value (letter case ignored) keeps its place and its name's
  // spelling; a new one goes last.
  static void SetValue(RegFileKey* key, const RegFileValue& value);
  static bool DeleteValue(RegFileKey* key, const std::u16string& name);

  // Whether a key path can be written as a [key] line: a known root, no empty
  // part, no line break or NUL.
  static bool IsValidKeyPath(const std::u16string& path);
  // Whether a value name can be written as a "Name" (no line break or NUL).
  static bool IsValidValueName(const std::u16string& name);

 private:
  std::vector<RegFileKey> keys_;
};

}  // namespace platform
