#pragma once
// Paper is white: a pixel with transparency is laid over white before it is
// weighed, so that a transparent background (often black with alpha 0)
// prints as nothing rather than as a black block. Both imaging back ends use
// this same rounding, so they give the same bytes for the same file.
#include <cstdint>

namespace platform {

inline uint8_t OverWhite(uint32_t colour, uint32_t alpha) {
  return static_cast<uint8_t>((colour * alpha + 255u * (255u - alpha) + 127u) / 255u);
}

}  // namespace platform
