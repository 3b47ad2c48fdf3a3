#include "tool/win32/SystemPorts.h"

#include <windows.h>

#include <winspool.h>

#include <vector>

namespace toolwin {
namespace {

std::u16string FromAnsi(const char* text) {
  std::u16string out;
  const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (n <= 1) return out;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
  wide.resize(static_cast<size_t>(n - 1));
  return std::u16string(wide.begin(), wide.end());
}

std::u16string SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text;
  if (n > 0 && buffer != nullptr) text.assign(buffer, buffer + n);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) text.pop_back();
  return text;
}

}  // namespace

tool::SystemPortList SystemPorts::ListPorts() {
  tool::SystemPortList list;
  DWORD needed = 0;
  DWORD returned = 0;
  // The ANSI call, as the port names are plain ASCII device names.
  if (EnumPortsA(nullptr, 2, nullptr, 0, &needed, &returned)) {
    list.outcome = tool::SystemPortList::Outcome::kNoPorts;
    return list;
  }
  DWORD error = GetLastError();
  if (error == ERROR_INSUFFICIENT_BUFFER) {
    std::vector<BYTE> buffer(needed);
    if (EnumPortsA(nullptr, 2, buffer.data(), needed, &needed, &returned)) {
      const auto* ports = reinterpret_cast<const PORT_INFO_2A*>(buffer.data());
      for (DWORD i = 0; i < returned; ++i) list.names.push_back(FromAnsi(ports[i].pPortName));
      return list;
    }
    error = GetLastError();
  }
  list.outcome = tool::SystemPortList::Outcome::kFailed;
  list.errorText = SystemErrorText(error);
  return list;
}

}  // namespace toolwin
