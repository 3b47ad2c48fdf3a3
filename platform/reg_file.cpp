#include "platform/reg_file.h"

#include <cstddef>
#include <cstdint>

namespace platform {

namespace {

constexpr char kHeader[] = "Windows Registry Editor Version 5.00";
constexpr char kOldHeader[] = "REGEDIT4";

const char16_t* const kRoots[] = {u"HKEY_LOCAL_MACHINE", u"HKEY_CURRENT_USER",
                                  u"HKEY_CLASSES_ROOT", u"HKEY_USERS", u"HKEY_CURRENT_CONFIG"};

// Upper case of the letters that key and value names are made of in practice
// (Latin, Greek, Cyrillic); enough to match names the way the registry does.
char16_t Fold(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c < 0x80) return c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c == 0xFF) return 0x178;
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x3B1 && c <= 0x3C9) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  return c;
}

bool SamePrefix(const std::u16string& text, size_t n, const std::u16string& prefix) {
  if (text.size() < n || prefix.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    if (Fold(text[i]) != Fold(prefix[i])) return false;
  }
  return true;
}

// True when `path` lies anywhere below `parent`.
bool IsBelow(const std::u16string& path, const std::u16string& parent) {
  return path.size() > parent.size() + 1 && path[parent.size()] == u'\\' &&
         SamePrefix(path, parent.size(), parent);
}

bool IsRoot(const std::u16string& path) {
  for (const char16_t* root : kRoots) {
    if (SameRegistryName(path, root)) return true;
  }
  return false;
}

std::u16string ParentOf(const std::u16string& path) {
  size_t slash = path.rfind(u'\\');
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string Trim(const std::u16string& s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool HasLineBreakOrNul(const std::u16string& s) {
  for (char16_t c : s) {
    if (c == u'\r' || c == u'\n' || c == 0) return true;
  }
  return false;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool StartsWithNoCase(const std::u16string& s, const char* prefix) {
  size_t i = 0;
  for (; prefix[i] != 0; ++i) {
    if (i >= s.size() || Fold(s[i]) != Fold(static_cast<char16_t>(prefix[i]))) return false;
  }
  return true;
}

size_t LineOfOffset(const std::string& bytes, size_t offset) {
  size_t line = 1;
  for (size_t i = 0; i < offset && i < bytes.size(); ++i) {
    if (bytes[i] == '\n') ++line;
  }
  return line;
}

bool DecodeUtf8(const std::string& bytes, size_t start, std::u16string* out, std::string* error) {
  size_t i = start;
  while (i < bytes.size()) {
    const uint8_t b = static_cast<uint8_t>(bytes[i]);
    uint32_t c;
    size_t more;
    if (b < 0x80) {
      out->push_back(b);
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      c = b & 0x1F;
      more = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      c = b & 0x0F;
      more = 2;
    } else if (b >= 0xF0 && b <= 0xF4) {
      c = b & 0x07;
      more = 3;
    } else {
      *error = "line " + std::to_string(LineOfOffset(bytes, i)) + ": not UTF-8 text";
      return false;
    }
    for (size_t k = 1; k <= more; ++k) {
      if (i + k >= bytes.size() || (static_cast<uint8_t>(bytes[i + k]) & 0xC0) != 0x80) {
        *error = "line " + std::to_string(LineOfOffset(bytes, i)) + ": not UTF-8 text";
        return false;
      }
      c = (c << 6) | (static_cast<uint8_t>(bytes[i + k]) & 0x3F);
    }
    const bool overlong = (more == 2 && c < 0x800) || (more == 3 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      *error = "line " + std::to_string(LineOfOffset(bytes, i)) + ": not UTF-8 text";
      return false;
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      out->push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out->push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out->push_back(static_cast<char16_t>(c));
    }
    i += more + 1;
  }
  return true;
}

bool Decode(const std::string& bytes, std::u16string* text, std::string* error) {
  if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF &&
      static_cast<uint8_t>(bytes[1]) == 0xFE) {
    size_t line = 1;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      char16_t c = static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                         (static_cast<uint8_t>(bytes[i + 1]) << 8));
      if (c == u'\n') ++line;
      text->push_back(c);
    }
    if (bytes.size() % 2 != 0) {
      *error = "line " + std::to_string(line) + ": the UTF-16 text ends in half a character";
      return false;
    }
    return true;
  }
  size_t start = 0;
  if (bytes.size() >= 3 && static_cast<uint8_t>(bytes[0]) == 0xEF &&
      static_cast<uint8_t>(bytes[1]) == 0xBB && static_cast<uint8_t>(bytes[2]) == 0xBF) {
    start = 3;
  }
  return DecodeUtf8(bytes, start, text, error);
}

std::vector<std::u16string> SplitLines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  size_t begin = 0;
  while (begin <= text.size()) {
    size_t end = text.find(u'\n', begin);
    if (end == std::u16string::npos) end = text.size();
    std::u16string line = text.substr(begin, end - begin);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    lines.push_back(line);
    begin = end + 1;
  }
  return lines;
}

// A quoted text starting at s[*pos] == '"'; regedit escapes only the backslash
// and the quote. Anything else after a backslash is refused rather than
// guessed at: a hand-written Windows path with single backslashes would
// otherwise lose them without a word.
bool ParseQuoted(const std::u16string& s, size_t* pos, std::u16string* out, std::string* what) {
  size_t p = *pos + 1;
  out->clear();
  while (p < s.size()) {
    char16_t c = s[p];
    if (c == u'\\') {
      if (p + 1 >= s.size()) break;
      char16_t next = s[p + 1];
      if (next != u'\\' && next != u'"') {
        *what = "a backslash in a quoted text must be doubled (\\\\) or escape a quote (\\\")";
        return false;
      }
      out->push_back(next);
      p += 2;
      continue;
    }
    if (c == u'"') {
      *pos = p + 1;
      return true;
    }
    out->push_back(c);
    ++p;
  }
  *what = "a quoted text is not closed on its line";
  return false;
}

std::u16string Escape(const std::u16string& s) {
  std::u16string out;
  out.reserve(s.size() + 2);
  out.push_back(u'"');
  for (char16_t c : s) {
    if (c == u'\\' || c == u'"') out.push_back(u'\\');
    out.push_back(c);
  }
  out.push_back(u'"');
  return out;
}

std::u16string Ascii(const char* s) {
  std::u16string out;
  for (; *s != 0; ++s) out.push_back(static_cast<char16_t>(*s));
  return out;
}

std::u16string HexString(const std::u16string& text) {
  static const char kDigits[] = "0123456789abcdef";
  std::u16string out = u"hex(1):";
  auto put = [&](uint8_t b) {
    if (out.back() != u':') out.push_back(u',');
    out.push_back(static_cast<char16_t>(kDigits[b >> 4]));
    out.push_back(static_cast<char16_t>(kDigits[b & 15]));
  };
  for (char16_t c : text) {
    put(static_cast<uint8_t>(c & 0xFF));
    put(static_cast<uint8_t>(c >> 8));
  }
  put(0);
  put(0);
  return out;
}

class Parser {
 public:
  Parser(std::vector<std::u16string> lines, std::vector<RegFileKey>* keys)
      : lines_(std::move(lines)), keys_(keys) {}

  bool Run(std::string* error) {
    size_t i = 0;
    while (i < lines_.size() && Trim(lines_[i]).empty()) ++i;
    if (i == lines_.size()) return true;
    std::u16string header = Trim(lines_[i]);
    if (header != Ascii(kHeader) && header != Ascii(kOldHeader)) {
      return Fail(i, std::string("the first line must be \"") + kHeader + "\"", error);
    }
    for (++i; i < lines_.size(); ++i) {
      std::u16string line = Trim(lines_[i]);
      if (line.empty() || line[0] == u';') continue;
      std::string what;
      size_t first = i;
      bool ok;
      if (line[0] == u'[') {
        ok = KeyLine(line, &what);
      } else if (line[0] == u'"' || line[0] == u'@') {
        ok = ValueLine(line, &i, &what);
      } else {
        what = "expected a [key] line or a \"name\"=value line";
        ok = false;
      }
      if (!ok) return Fail(first, what, error);
    }
    return true;
  }

 private:
  static bool Fail(size_t index, const std::string& what, std::string* error) {
    *error = "line " + std::to_string(index + 1) + ": " + what;
    return false;
  }

  bool KeyLine(const std::u16string& line, std::string* what) {
    if (line.size() < 3 || line.back() != u']') {
      *what = "a [key] line must end with ]";
      return false;
    }
    std::u16string path = line.substr(1, line.size() - 2);
    if (path[0] == u'-') {
      *what = "a key deletion [-...] belongs in an import file, not in a stored registry";
      return false;
    }
    if (!RegFile::IsValidKeyPath(path)) {
      *what = "not a key path below HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER or another root";
      return false;
    }
    for (size_t k = 0; k < keys_->size(); ++k) {
      if (SameRegistryName((*keys_)[k].path, path)) {
        current_ = static_cast<long>(k);
        return true;
      }
    }
    keys_->push_back(RegFileKey{path, {}});
    current_ = static_cast<long>(keys_->size() - 1);
    return true;
  }

  bool ValueLine(const std::u16string& line, size_t* index, std::string* what) {
    if (current_ < 0) {
      *what = "a value before the first [key] line";
      return false;
    }
    RegFileValue value;
    size_t p = 0;
    if (line[0] == u'@') {
      p = 1;
    } else if (!ParseQuoted(line, &p, &value.name, what)) {
      return false;
    }
    while (p < line.size() && IsBlank(line[p])) ++p;
    if (p >= line.size() || line[p] != u'=') {
      *what = "expected = after the value name";
      return false;
    }
    ++p;
    while (p < line.size() && IsBlank(line[p])) ++p;
    if (p < line.size() && line[p] == u'"') {
      if (!ParseQuoted(line, &p, &value.data, what)) return false;
      if (!Trim(line.substr(p)).empty()) {
        *what = "text after the closing quote";
        return false;
      }
    } else if (!TypedData(Trim(line.substr(p)), index, &value, what)) {
      return false;
    }
    RegFileKey& key = (*keys_)[static_cast<size_t>(current_)];
    if (RegFile::FindValue(key, value.name) != nullptr) {
      *what = "the key has this value already";
      return false;
    }
    key.values.push_back(value);
    return true;
  }

  bool TypedData(std::u16string data, size_t* index, RegFileValue* value, std::string* what) {
    if (data == u"-") {
      *what = "a value deletion (=-) belongs in an import file, not in a stored registry";
      return false;
    }
    value->isString = false;
    if (StartsWithNoCase(data, "dword:")) {
      std::u16string digits = data.substr(6);
      bool ok = !digits.empty() && digits.size() <= 8;
      for (char16_t c : digits) ok = ok && HexDigit(c) >= 0;
      if (!ok) {
        *what = "dword: needs one to eight hexadecimal digits";
        return false;
      }
      value->data = data;
      return true;
    }
    if (!StartsWithNoCase(data, "hex")) {
      *what = "unknown value data: expected \"text\", dword: or hex";
      return false;
    }
    size_t p = 3;
    long type = -1;  // plain hex: (binary)
    if (p < data.size() && data[p] == u'(') {
      type = 0;
      size_t digits = 0;
      for (++p; p < data.size() && HexDigit(data[p]) >= 0 && digits < 8; ++p, ++digits) {
        type = type * 16 + HexDigit(data[p]);
      }
      if (digits == 0 || p >= data.size() || data[p] != u')') {
        *what = "hex(type): needs a hexadecimal type number";
        return false;
      }
      ++p;
    }
    if (p >= data.size() || data[p] != u':') {
      *what = "expected : after hex";
      return false;
    }
    std::u16string prefix = data.substr(0, p + 1);
    std::u16string list = data.substr(p + 1);
    // Long data runs over several lines, each but the last ending in a backslash.
    while (!list.empty() && list.back() == u'\\') {
      list.pop_back();
      if (*index + 1 >= lines_.size()) {
        *what = "the value's data continues past the end of the file";
        return false;
      }
      ++*index;
      list += Trim(lines_[*index]);
    }
    std::u16string compact;
    for (char16_t c : list) {
      if (!IsBlank(c)) compact.push_back(c);
    }
    std::string bytes;
    size_t q = 0;
    while (q < compact.size()) {
      if (q + 2 > compact.size() || HexDigit(compact[q]) < 0 || HexDigit(compact[q + 1]) < 0 ||
          (q + 2 < compact.size() && compact[q + 2] != u',') ||
          (q + 2 < compact.size() && q + 3 == compact.size())) {
        *what = "hex data must be two-digit bytes separated by commas";
        return false;
      }
      bytes.push_back(static_cast<char>(HexDigit(compact[q]) * 16 + HexDigit(compact[q + 1])));
      q += 3;
    }
    if (type == 1) {  // a string written as its UTF-16 bytes
      if (bytes.size() % 2 != 0) {
        *what = "hex(1) data must be whole UTF-16 characters";
        return false;
      }
      value->isString = true;
      value->data.clear();
      for (size_t k = 0; k < bytes.size(); k += 2) {
        value->data.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[k]) |
                                                    (static_cast<uint8_t>(bytes[k + 1]) << 8)));
      }
      if (!value->data.empty() && value->data.back() == 0) value->data.pop_back();
      return true;
    }
    value->data = prefix + compact;
    return true;
  }

  std::vector<std::u16string> lines_;
  std::vector<RegFileKey>* keys_;
  long current_ = -1;
};

}  // namespace

bool SameRegistryName(const std::u16string& a, const std::u16string& b) {
  return SamePrefix(a, a.size(), b);
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(text[i + 1]) - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

bool RegFile::Parse(const std::string& bytes, RegFile* out, std::string* error) {
  std::u16string text;
  if (!Decode(bytes, &text, error)) return false;
  std::vector<RegFileKey> keys;
  Parser parser(SplitLines(text), &keys);
  if (!parser.Run(error)) return false;
  out->keys_ = std::move(keys);
  return true;
}

std::string RegFile::Serialise() const {
  std::u16string text = Ascii(kHeader);
  text += u"\n";
  for (const RegFileKey& key : keys_) {
    text += u"\n[" + key.path + u"]\n";
    for (const RegFileValue& value : key.values) {
      text += value.name.empty() ? std::u16string(u"@") : Escape(value.name);
      text += u'=';
      if (!value.isString) {
        text += value.data;
      } else if (HasLineBreakOrNul(value.data)) {
        text += HexString(value.data);
      } else {
        text += Escape(value.data);
      }
      text += u'\n';
    }
  }
  return Utf16ToUtf8(text);
}

bool RegFile::KeyExists(const std::u16string& path) const {
  if (IsRoot(path)) return true;
  for (const RegFileKey& key : keys_) {
    if (SameRegistryName(key.path, path) || IsBelow(key.path, path)) return true;
  }
  return false;
}

RegFileKey* RegFile::FindKey(const std::u16string& path) {
  for (RegFileKey& key : keys_) {
    if (SameRegistryName(key.path, path)) return &key;
  }
  return nullptr;
}

const RegFileKey* RegFile::FindKey(const std::u16string& path) const {
  return const_cast<RegFile*>(this)->FindKey(path);
}

bool RegFile::CreateKey(const std::u16string& path) {
  if (IsRoot(path)) return false;
  bool added = CreateKey(ParentOf(path));
  if (FindKey(path) != nullptr) return added;
  const std::u16string parent = ParentOf(path);
  size_t at = keys_.size();
  if (KeyExists(path)) {
    // Known so far only through keys below it: its line goes before theirs.
    for (at = 0; !IsBelow(keys_[at].path, path); ++at) {
    }
  } else {
    for (size_t k = 0; k < keys_.size(); ++k) {
      if (SameRegistryName(keys_[k].path, parent) || IsBelow(keys_[k].path, parent)) at = k + 1;
    }
  }
  keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(at), RegFileKey{path, {}});
  return true;
}

std::vector<std::u16string> RegFile::SubkeyNames(const std::u16string& path) const {
  std::vector<std::u16string> names;
  for (const RegFileKey& key : keys_) {
    if (!IsBelow(key.path, path)) continue;
    std::u16string rest = key.path.substr(path.size() + 1);
    std::u16string name = rest.substr(0, rest.find(u'\\'));
    bool seen = false;
    for (const std::u16string& n : names) seen = seen || SameRegistryName(n, name);
    if (!seen) names.push_back(name);
  }
  return names;
}

bool RegFile::DeleteKeyTree(const std::u16string& path) {
  if (IsRoot(path) || !KeyExists(path)) return false;
  std::vector<RegFileKey> kept;
  for (RegFileKey& key : keys_) {
    if (!SameRegistryName(key.path, path) && !IsBelow(key.path, path)) kept.push_back(std::move(key));
  }
  keys_ = std::move(kept);
  return true;
}

const RegFileValue* RegFile::FindValue(const RegFileKey& key, const std::u16string& name) {
  for (const RegFileValue& value : key.values) {
    if (SameRegistryName(value.name, name)) return &value;
  }
  return nullptr;
}

void RegFile::SetValue(RegFileKey* key, const RegFileValue& value) {
  for (RegFileValue& existing : key->values) {
    if (SameRegistryName(existing.name, value.name)) {
      existing.isString = value.isString;
      existing.data = value.data;
      return;
    }
  }
  key->values.push_back(value);
}

bool RegFile::DeleteValue(RegFileKey* key, const std::u16string& name) {
  for (size_t i = 0; i < key->values.size(); ++i) {
    if (SameRegistryName(key->values[i].name, name)) {
      key->values.erase(key->values.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
  }
  return false;
}

bool RegFile::IsValidKeyPath(const std::u16string& path) {
  if (HasLineBreakOrNul(path)) return false;
  size_t slash = path.find(u'\\');
  if (!IsRoot(path.substr(0, slash))) return false;
  while (slash != std::u16string::npos) {
    size_t next = path.find(u'\\', slash + 1);
    size_t end = next == std::u16string::npos ? path.size() : next;
    if (end == slash + 1) return false;
    slash = next;
  }
  return true;
}

bool RegFile::IsValidValueName(const std::u16string& name) { return !HasLineBreakOrNul(name); }

}  // namespace platform
