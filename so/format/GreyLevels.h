#pragma once
// The grey level of a pixel as the printer's image conversion defines it:
// 255 x (0.29891 R + 0.58661 G + 0.11448 B) / 255, floored. It is computed
// exactly in integers: the weights are whole hundred-thousandths, so no
// rounding of binary floating point can move a level across an integer (pure
// white stays 255). Levels are kept times 16, the scale the error diffusion
// works in.
#include <cstdint>

namespace QEL {
namespace Printer {

inline int16_t GreyLevel16(const uint8_t* rgb) {
  return static_cast<int16_t>((29891u * rgb[0] + 58661u * rgb[1] + 11448u * rgb[2]) / 100000u * 16u);
}

// GreyLevel16 of `pixels` RGB pixels, 3 bytes each, into `out`.
void GreyRow16(const uint8_t* rgb, int32_t pixels, int16_t* out);

}  // namespace Printer
}  // namespace QEL
