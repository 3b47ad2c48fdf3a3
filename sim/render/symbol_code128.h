#pragma once
// Code 128 drawn in exactly the code sets the printer was given: GS k
// CODE128 data selects them itself ({A, {B, {C, shift {S, function
// characters {1..{4, {{ for '{'), and a scanner must read the same
// characters whichever sets carried them. libzint chooses its own sets,
// hence this encoder.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {
namespace render {

struct Code128Bars {
  std::vector<uint8_t> modules;  // 1 bar, 0 space, start to stop
  std::string hri;               // the data characters, set C pairs as two digits
};

// d[0..k) is the data of GS k CODE128 (starting with a code-set selection).
// False with *why when the data selects no set first, ends in a selection or
// puts a character into a set that has none for it.
bool EncodeCode128(const uint8_t* d, size_t k, Code128Bars* bars, std::string* why);

}  // namespace render
}  // namespace sim
