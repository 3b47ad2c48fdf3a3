#pragma once
// The tool's texts are UTF-16 (std::u16string) and so are the system's wide
// strings on Windows: the same code units, only a different C++ type.
#include <string>

namespace toolwin {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

inline const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline std::u16string FromWide(const std::wstring& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

}  // namespace toolwin
