#pragma once
// The calling thread's last system error (GetLastError on Windows, errno on POSIX).
namespace platform {
int LastSystemError();
void SetLastSystemError(int code);
}  // namespace platform
