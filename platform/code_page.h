#pragma once
// Conversion between UTF-16 text and the byte encodings of Windows code pages.
#include <cstddef>
#include <string>

namespace platform {

// Code page number that stands for the system's default ANSI code page.
constexpr unsigned kAnsiCodePage = 0;

// Converts text[0..length) into code page `codePage`. Characters the code page
// cannot hold become '?'. With capacity 0 only the number of bytes needed is
// returned; otherwise at most `capacity` bytes are written and the number
// written is returned (0 when the output does not fit or the code page is
// unknown).
size_t WideToMultiByte(unsigned codePage, const char16_t* text, size_t length, char* out,
                       size_t capacity);

// The reverse; unknown bytes become U+FFFD (POSIX) or what the system gives.
std::u16string MultiByteToWide(unsigned codePage, const char* bytes, size_t length);

}  // namespace platform
