#pragma once
// An image turned into what the printer prints: scaled by nearest-neighbour
// sampling, made grey, dithered to black and white by error diffusion, and
// packed into raster rows. The exact arithmetic matters: the same file must
// give the same bytes on every system.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "so/format/ErrorDiffusion.h"

namespace QEL {
namespace Printer {

// The printer's raster image: rows of width / 8 bytes (width a multiple of
// 8), the most significant bit the leftmost pixel, a set bit black; height a
// multiple of 8 (padded with white rows).
struct MonoRaster {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> bits;
};

// The size an image of imageWidth x imageHeight pixels prints at for a
// requested width in dots (-11: as it is), both rounded up to a multiple of
// `rounding`. False for a requested width that is neither -11 nor positive,
// or sizes beyond what a printer could print.
bool BitmapPrintSize(int32_t imageWidth, int32_t imageHeight, int32_t requestedWidth,
                     int32_t rounding, int32_t* width, int32_t* height);

// Scales, greys, dithers and packs `rgb` (imageWidth x imageHeight pixels, 3
// bytes each) for the requested width. False when the sizes are unusable.
// The scale is requestedWidth / imageWidth in double (the height is the
// truncated imageHeight x scale); a target pixel's source column and row are
// x / scale and y / scale in single precision, truncated. Every kernel gives
// the same bits; the choice exists so that they can be held to each other.
bool RasteriseBitmap(const uint8_t* rgb, int32_t imageWidth, int32_t imageHeight,
                     int32_t requestedWidth, MonoRaster* raster,
                     DiffusionKernel kernel = DiffusionKernel::kFastest);

// The raster as the downloaded bit image takes it: for each column from the
// left, height / 8 bytes from the top, bit 7 the topmost pixel of the 8.
void ToColumnFormat(const MonoRaster& raster, std::vector<uint8_t>* columns);

}  // namespace Printer
}  // namespace QEL
