#pragma once
// Image commands written out by hand, and images drawn as text, for the
// virtual printer's image tests.
#include <cstdint>
#include <string>
#include <vector>

#include "sim/byte_builders_test.h"
#include "sim/printed_image.h"

namespace sim {
namespace imagebytes {

using testbytes::B;
using testbytes::Bytes;
using testbytes::operator+;

// Rows of '#' (black) and '.' (white), all of one length.
inline PrintedImage Drawn(const std::vector<std::string>& rows) {
  PrintedImage image;
  image.height = static_cast<int>(rows.size());
  image.width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
  for (const std::string& row : rows) {
    for (char c : row) image.dots.push_back(c == '#' ? 1 : 0);
  }
  return image;
}

inline Bytes Le16(size_t v) { return B({static_cast<int>(v & 0xFF), static_cast<int>(v >> 8)}); }
inline Bytes Le32(size_t v) {
  return B({static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF),
            static_cast<int>(v >> 24)});
}

// GS ( L pL pH (or, wide, GS 8 L p1..p4) with `body` from m on.
inline Bytes GraphicsBlock(const Bytes& body, bool wide = false) {
  return wide ? B({0x1D, '8', 'L'}) + Le32(body.size()) + body : B({0x1D, '(', 'L'}) + Le16(body.size()) + body;
}

// fn 112: raster graphics into the print buffer.
inline Bytes StoreGraphics(int width, int height, const Bytes& data, bool wide = false, int bx = 1, int by = 1) {
  return GraphicsBlock(B({48, 112, 48, bx, by, 49}) + Le16(width) + Le16(height) + data, wide);
}

inline Bytes PrintGraphics(bool wide = false) { return GraphicsBlock(B({48, wide ? 2 : 50}), wide); }

// fn 67 (raster) with one plane of colour 1.
inline Bytes DefineNv(char kc1, char kc2, int width, int height, const Bytes& data) {
  return GraphicsBlock(B({48, 67, 48, kc1, kc2, 1}) + Le16(width) + Le16(height) + B({49}) + data);
}

inline Bytes PrintNv(char kc1, char kc2, int x = 1, int y = 1) { return GraphicsBlock(B({48, 69, kc1, kc2, x, y})); }

}  // namespace imagebytes
}  // namespace sim
