#include "platform/system_error.h"

#include <errno.h>

namespace platform {

int LastSystemError() { return errno; }

void SetLastSystemError(int code) { errno = code; }

}  // namespace platform
