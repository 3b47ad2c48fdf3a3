#pragma once
// Plain descriptions of controls that the Win32 shell copies onto its
// windows after every event.
#include <string>
#include <vector>

namespace tool {

struct ButtonState {
  bool visible = true;
  bool enabled = true;
  std::u16string captionKey;  // language key of the caption
  std::u16string caption;     // its text
  int tag = 0;
};

// A drop-down list without free text.
struct ListState {
  std::vector<std::u16string> items;
  int selected = -1;  // -1: no entry selected
  bool enabled = true;

  // The selected entry's text, empty when none is selected.
  std::u16string Text() const {
    return selected >= 0 && static_cast<size_t>(selected) < items.size() ? items[selected]
                                                                         : std::u16string();
  }
  // Selects the first entry equal to `text`; none when there is no such entry.
  void Select(const std::u16string& text) {
    selected = -1;
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i] == text) {
        selected = static_cast<int>(i);
        return;
      }
    }
  }
};

}  // namespace tool
