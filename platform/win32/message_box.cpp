#include "platform/message_box.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

namespace platform {

void ShowConfirmation(const std::u16string& title, const std::u16string& text) {
  // Unattended runs (test hosts, scripted demos) set this so that no dialog
  // waits for a hand that never comes.
  const char* mode = getenv("ZOBELSO_CONFIRM");
  if (mode != nullptr && strcmp(mode, "auto") == 0) return;
  // UTF-16 is what wchar_t holds on this system.
  ::MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()),
                reinterpret_cast<const wchar_t*>(title.c_str()), MB_OK);
}

}  // namespace platform
