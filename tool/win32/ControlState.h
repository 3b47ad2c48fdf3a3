#pragma once
// Copies the window logic's plain control descriptions onto Win32 controls.
// Each copy changes a control only where it differs, so that repeating it
// after every event neither flickers nor raises change notifications in vain.
#include <windows.h>

#include <string>

#include "tool/model/Controls.h"

namespace toolwin {

std::u16string TextOf(HWND window);
void SetText(HWND window, const std::u16string& text);
void SetVisible(HWND window, bool visible);
void SetEnabled(HWND window, bool enabled);

// Caption, visibility and whether it can be pressed.
void ApplyButton(HWND button, const tool::ButtonState& state);
// Entries (refilled only when they changed), selection and enabled state of
// a drop-down list.
void ApplyList(HWND combo, const tool::ListState& state);

}  // namespace toolwin
