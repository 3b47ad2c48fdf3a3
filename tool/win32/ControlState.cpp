#include "tool/win32/ControlState.h"

#include <vector>

#include "tool/win32/Text.h"

namespace toolwin {
namespace {

std::vector<std::u16string> Entries(HWND combo) {
  std::vector<std::u16string> entries;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    std::wstring entry(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&entry[0]));
    entry.resize(static_cast<size_t>(length < 0 ? 0 : length));
    entries.push_back(FromWide(entry));
  }
  return entries;
}

}  // namespace

std::u16string TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], length + 1)));
  return FromWide(text);
}

void SetText(HWND window, const std::u16string& text) {
  if (TextOf(window) != text) SetWindowTextW(window, Wide(text));
}

void SetVisible(HWND window, bool visible) {
  const bool now = (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
  if (now != visible) ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
}

void SetEnabled(HWND window, bool enabled) {
  if ((IsWindowEnabled(window) != FALSE) != enabled) EnableWindow(window, enabled);
}

void ApplyButton(HWND button, const tool::ButtonState& state) {
  SetText(button, state.caption);
  SetEnabled(button, state.enabled);
  SetVisible(button, state.visible);
}

void ApplyList(HWND combo, const tool::ListState& state) {
  if (Entries(combo) != state.items) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::u16string& item : state.items) {
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item)));
    }
  }
  if (SendMessageW(combo, CB_GETCURSEL, 0, 0) != state.selected) {
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(state.selected), 0);
  }
  SetEnabled(combo, state.enabled);
}

}  // namespace toolwin
