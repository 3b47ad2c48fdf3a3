#include "tool/win32/MessageBoxPrompt.h"

#include "tool/win32/Text.h"

namespace toolwin {

bool MessageBoxPrompt::Confirm(const std::u16string& title, const std::u16string& text) {
  return MessageBoxW(GetActiveWindow(), Wide(text), Wide(title),
                     MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TOPMOST) == IDOK;
}

void MessageBoxPrompt::Inform(const std::u16string& title, const std::u16string& text) {
  MessageBoxW(GetActiveWindow(), Wide(text), Wide(title), MB_OK | MB_ICONINFORMATION);
}

void MessageBoxPrompt::Notify(const std::u16string& text) {
  MessageBoxW(GetActiveWindow(), Wide(text), kProgramCaption, MB_OK);
}

}  // namespace toolwin
