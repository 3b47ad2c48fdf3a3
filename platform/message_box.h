#pragma once
// A modal confirmation the user must acknowledge before the caller goes on:
// the interactive health check waits in it.
#include <string>

namespace platform {

// Shows `text` under `title` with an OK button only and returns once it was
// acknowledged. Blocks the calling thread while it is shown. Where nobody can
// answer (no terminal, or ZOBELSO_CONFIRM=auto) it counts as acknowledged at
// once.
void ShowConfirmation(const std::u16string& title, const std::u16string& text);

}  // namespace platform
