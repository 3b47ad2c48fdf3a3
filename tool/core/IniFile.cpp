#include "tool/core/IniFile.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tool/core/StringHelpers.h"

namespace tool {

namespace {

// UTF-8 to UTF-16; a byte that does not start a valid sequence becomes U+FFFD.
std::u16string FromUtf8(const std::string& bytes, size_t start) {
  std::u16string text;
  size_t i = start;
  while (i < bytes.size()) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    uint32_t code = 0xFFFD;
    size_t length = 1;
    if (lead < 0x80) {
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      code = lead & 0x07;
    } else {
      length = 0;
    }
    bool valid = length > 0 && i + length <= bytes.size();
    for (size_t k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid) {
      code = 0xFFFD;
      length = 1;
    }
    if (code >= 0x10000 && code <= 0x10FFFF) {
      code -= 0x10000;
      text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      text.push_back(code > 0x10FFFF ? u'\xFFFD' : static_cast<char16_t>(code));
    }
    i += length;
  }
  return text;
}

std::u16string FromUtf16Le(const std::string& bytes, size_t start) {
  std::u16string text;
  for (size_t i = start; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return text;
}

std::u16string Decode(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    return FromUtf16Le(bytes, 2);
  }
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return FromUtf8(bytes, 3);
  return FromUtf8(bytes, 0);
}

}  // namespace

IniFile IniFile::Parse(const std::string& bytes) {
  IniFile file;
  const std::u16string text = Decode(bytes);
  std::u16string section;
  bool inSection = false;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string::npos) end = text.size();
    const std::u16string line = Trim(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == u';' || line[0] == u'#') continue;
    if (line[0] == u'[') {
      const size_t close = line.find(u']');
      inSection = close != std::u16string::npos;
      if (inSection) section = AsciiUpper(Trim(line.substr(1, close - 1)));
      continue;
    }
    const size_t equals = line.find(u'=');
    if (!inSection || equals == std::u16string::npos) continue;
    std::u16string value = Trim(line.substr(equals + 1));
    // Quotes keep blanks at the ends of a value ("Delete ") and are dropped.
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    file.entries_.push_back({section, AsciiUpper(Trim(line.substr(0, equals))), value});
  }
  return file;
}

IniFile IniFile::Load(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  if (!in) return IniFile();
  return Parse(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

std::optional<std::u16string> IniFile::Find(const std::u16string& section,
                                            const std::u16string& key) const {
  const std::u16string wantedSection = AsciiUpper(section);
  const std::u16string wantedKey = AsciiUpper(key);
  for (const Entry& entry : entries_) {
    if (entry.section == wantedSection && entry.key == wantedKey) return entry.value;
  }
  return std::nullopt;
}

std::u16string IniFile::Read(const std::u16string& section, const std::u16string& key) const {
  return Find(section, key).value_or(std::u16string());
}

}  // namespace tool
