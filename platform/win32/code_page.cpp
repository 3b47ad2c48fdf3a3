#include "platform/code_page.h"

#include <windows.h>

namespace platform {

size_t WideToMultiByte(unsigned codePage, const char16_t* text, size_t length, char* out,
                       size_t capacity) {
  if (length == 0) return 0;
  int rc = WideCharToMultiByte(codePage == kAnsiCodePage ? CP_ACP : codePage, 0,
                               reinterpret_cast<LPCWCH>(text), static_cast<int>(length),
                               capacity == 0 ? nullptr : out, static_cast<int>(capacity), nullptr,
                               nullptr);
  return rc > 0 ? static_cast<size_t>(rc) : 0;
}

std::u16string MultiByteToWide(unsigned codePage, const char* bytes, size_t length) {
  std::u16string result;
  if (length == 0) return result;
  UINT cp = codePage == kAnsiCodePage ? CP_ACP : codePage;
  int needed = MultiByteToWideChar(cp, 0, bytes, static_cast<int>(length), nullptr, 0);
  if (needed <= 0) return result;
  result.resize(static_cast<size_t>(needed));
  MultiByteToWideChar(cp, 0, bytes, static_cast<int>(length), reinterpret_cast<LPWSTR>(&result[0]),
                      needed);
  return result;
}

}  // namespace platform
