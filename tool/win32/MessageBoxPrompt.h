#pragma once
// The tool's questions and notices as system message boxes, owned by the
// window that is in front, so that it stays disabled while the box is open.
#include <windows.h>

#include "tool/model/Prompt.h"

namespace toolwin {

class MessageBoxPrompt : public tool::Prompt {
 public:
  // Boxes are owned by the active window of this thread, or by none.
  MessageBoxPrompt() = default;

  bool Confirm(const std::u16string& title, const std::u16string& text) override;
  void Inform(const std::u16string& title, const std::u16string& text) override;
  void Notify(const std::u16string& text) override;
};

// The caption of boxes that have no title of their own: the program's name.
constexpr const wchar_t* kProgramCaption = L"VORNAOPOSPrintSetting";

}  // namespace toolwin
