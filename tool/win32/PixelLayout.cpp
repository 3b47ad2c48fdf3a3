#include "tool/win32/PixelLayout.h"

namespace toolwin {

void SizeAndCentre(HWND window, int width, int height, HWND owner) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
  const int outerWidth = frame.right - frame.left;
  const int outerHeight = frame.bottom - frame.top;
  RECT around;
  if (owner != nullptr) {
    GetWindowRect(owner, &around);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
  }
  int left = around.left + ((around.right - around.left) - outerWidth) / 2;
  int top = around.top + ((around.bottom - around.top) - outerHeight) / 2;
  // Never above or left of the screen, where the caption could not be reached.
  if (left < 0) left = 0;
  if (top < 0) top = 0;
  SetWindowPos(window, nullptr, left, top, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace toolwin
