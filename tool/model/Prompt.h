#pragma once
// The message boxes the windows show, behind an interface so that the window
// logic runs without a screen. The Win32 shell shows MessageBoxW; tests script
// the answers and record what was asked.
#include <string>

namespace tool {

class Prompt {
 public:
  virtual ~Prompt() = default;
  // OK and Cancel, question icon, Cancel as the default button, window on
  // top. True when the user chose OK.
  virtual bool Confirm(const std::u16string& title, const std::u16string& text) = 0;
  // Information icon and OK.
  virtual void Inform(const std::u16string& title, const std::u16string& text) = 0;
  // A plain box with OK, no icon, the program's own caption (port listing
  // faults).
  virtual void Notify(const std::u16string& text) = 0;
};

}  // namespace tool
