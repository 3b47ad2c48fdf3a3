#pragma once
// Numbers in the registry are decimal text, read the way the C library reads
// them: leading white space and a sign are allowed, reading stops at the first
// character that is not a digit, and text without digits gives 0 (so an empty
// SignalOnTime is 0). A number beyond 32 bits gives the nearest 32-bit limit.
#include <cstdint>
#include <string>

namespace QEL {
namespace Config {

int32_t DecimalNumber(const std::u16string& text);

}  // namespace Config
}  // namespace QEL
