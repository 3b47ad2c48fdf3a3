#pragma once
// Tick count and sleep, portable on every system.
#include <cstdint>

namespace platform {
// Milliseconds since an arbitrary start; wraps like GetTickCount.
uint32_t TickCount();
void SleepMs(uint32_t milliseconds);
}  // namespace platform
