#pragma once
// Puts a dialog's controls at client-pixel positions, whatever the dialog
// font would have scaled its template numbers to, and sizes and centres the
// window by its client area.
#include <windows.h>

namespace toolwin {

struct ControlRect {
  int id;
  int left, top, width, height;
};

// Moves each listed control of `dialog` to its rectangle.
template <size_t N>
void PlaceControls(HWND dialog, const ControlRect (&rects)[N]) {
  for (const ControlRect& r : rects) {
    SetWindowPos(GetDlgItem(dialog, r.id), nullptr, r.left, r.top, r.width, r.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// Gives `window` a client area of width × height and centres it over
// `owner`'s window, or over the work area of the screen when `owner` is null.
void SizeAndCentre(HWND window, int width, int height, HWND owner);

}  // namespace toolwin
