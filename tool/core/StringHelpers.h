#pragma once
// The three small text helpers the windows share. Searches start at the
// second character: a separator in the first position is never counted, which
// the address check relies on (".1.2.3" has two dots, not three).
#include <cstddef>
#include <string>
#include <vector>

namespace tool {

// Occurrences of `separator` in `text`, searched from the second character on;
// each search restarts one character after the previous find.
size_t CountOccurrences(const std::u16string& text, const std::u16string& separator);
// 1-based position of the n-th occurrence counted the same way; 0 when there
// is none (or n is 0).
size_t PositionOfOccurrence(const std::u16string& text, const std::u16string& separator, size_t n);
// The pieces between separators; the text after the last separator is always
// the final piece ("a,b," gives "a", "b", ""). An empty text gives no pieces.
std::vector<std::u16string> Split(const std::u16string& text, const std::u16string& separator);

// Leading and trailing spaces and tabs removed.
std::u16string Trim(const std::u16string& text);
// ASCII letters folded to upper case; other characters unchanged.
std::u16string AsciiUpper(const std::u16string& text);
// ASCII to UTF-16 and back (non-ASCII narrows to '?'); for names and numbers.
std::u16string FromAscii(const std::string& text);
std::string ToAscii(const std::u16string& text);

}  // namespace tool
