#pragma once
// A portable reader of INI text, so that the language file reads the same on
// every system: "[section]" lines, then "key=value" lines. Section and key
// names ignore ASCII letter case; blanks around names and values are dropped;
// a value in a pair of double or single quotes loses them, so it can keep
// blanks at its ends; lines starting with ';' or '#' are comments; the first of
// two equal keys wins. The text may be UTF-8 (with or without a byte-order
// mark) or UTF-16LE with its byte-order mark.
#include <optional>
#include <string>
#include <vector>

namespace tool {

class IniFile {
 public:
  IniFile() = default;

  static IniFile Parse(const std::string& bytes);
  // The file's contents; an empty IniFile when it cannot be read. `path` is
  // UTF-8.
  static IniFile Load(const std::string& path);

  // The value, or nothing when the section or the key is absent.
  std::optional<std::u16string> Find(const std::u16string& section, const std::u16string& key) const;
  // The value, or empty when absent.
  std::u16string Read(const std::u16string& section, const std::u16string& key) const;

 private:
  struct Entry {
    std::u16string section;  // upper-cased
    std::u16string key;      // upper-cased
    std::u16string value;
  };
  std::vector<Entry> entries_;
};

}  // namespace tool
