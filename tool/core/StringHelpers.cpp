#include "tool/core/StringHelpers.h"

namespace tool {

namespace {

// 0-based index of the next occurrence at or after `from`, searching from
// index 1 at the earliest.
size_t FindFrom(const std::u16string& text, const std::u16string& separator, size_t from) {
  if (separator.empty()) return std::u16string::npos;
  return text.find(separator, from < 1 ? 1 : from);
}

}  // namespace

size_t CountOccurrences(const std::u16string& text, const std::u16string& separator) {
  size_t count = 0;
  for (size_t at = FindFrom(text, separator, 1); at != std::u16string::npos;
       at = FindFrom(text, separator, at + 1)) {
    ++count;
  }
  return count;
}

size_t PositionOfOccurrence(const std::u16string& text, const std::u16string& separator, size_t n) {
  size_t seen = 0;
  for (size_t at = FindFrom(text, separator, 1); at != std::u16string::npos;
       at = FindFrom(text, separator, at + 1)) {
    if (++seen == n) return at + 1;
  }
  return 0;
}

std::vector<std::u16string> Split(const std::u16string& text, const std::u16string& separator) {
  std::vector<std::u16string> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) return {text};
  size_t start = 0;
  for (size_t at = text.find(separator); at != std::u16string::npos; at = text.find(separator, start)) {
    pieces.push_back(text.substr(start, at - start));
    start = at + separator.size();
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

std::u16string Trim(const std::u16string& text) {
  const std::u16string blanks = u" \t";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::u16string::npos) return std::u16string();
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::u16string AsciiUpper(const std::u16string& text) {
  std::u16string upper = text;
  for (char16_t& c : upper) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return upper;
}

std::u16string FromAscii(const std::string& text) {
  std::u16string wide;
  for (char c : text) wide.push_back(static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : u'?');
  return wide;
}

std::string ToAscii(const std::u16string& text) {
  std::string narrow;
  for (char16_t c : text) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return narrow;
}

}  // namespace tool
