#pragma once
// Paths reach the POSIX calls as UTF-8. An unpaired surrogate has no UTF-8
// form: such a name is refused rather than turned into another name.
#include <string>

namespace platform {

// False on an unpaired surrogate; `out` then holds no usable name.
bool PathToUtf8(const std::u16string& text, std::string* out);

}  // namespace platform
