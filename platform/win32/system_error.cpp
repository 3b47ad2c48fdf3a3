#include "platform/system_error.h"

#include <windows.h>

namespace platform {

int LastSystemError() { return static_cast<int>(::GetLastError()); }

void SetLastSystemError(int code) { ::SetLastError(static_cast<DWORD>(code)); }

}  // namespace platform
