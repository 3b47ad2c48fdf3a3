#include "so/format/BitmapRaster.h"

#include <memory>
#include <vector>

#include "so/format/GreyLevels.h"

namespace QEL {
namespace Printer {

namespace {

// Larger than any paper or page a receipt printer handles, small enough that
// the raster's byte count stays far from overflowing and that the 16-bit
// size fields of the graphics commands can carry it.
constexpr int32_t kMaxDots = 65528;
constexpr int32_t kMaxImagePixels = 65535;
constexpr int32_t kAsIs = -11;

int32_t RoundUp(int32_t value, int32_t rounding) {
  return (value + rounding - 1) / rounding * rounding;
}

// The scale and the unrounded target size. The scale is kept in double; the
// mapping of target to source columns uses it in single precision.
struct Geometry {
  double scale = 1.0;
  int32_t targetWidth = 0;   // before rounding: the dithered columns
  int32_t scaledHeight = 0;  // before rounding: the dithered rows
};

bool ComputeGeometry(int32_t imageWidth, int32_t imageHeight, int32_t requestedWidth,
                     Geometry* g) {
  if (imageWidth <= 0 || imageHeight <= 0) return false;
  if (imageWidth > kMaxImagePixels || imageHeight > kMaxImagePixels) return false;
  if (requestedWidth == kAsIs) {
    g->scale = 1.0;
    g->targetWidth = imageWidth;
  } else if (requestedWidth > 0) {
    g->scale = static_cast<double>(requestedWidth) / static_cast<double>(imageWidth);
    g->targetWidth = requestedWidth;
  } else {
    return false;
  }
  if (g->targetWidth > kMaxDots) return false;
  const double height = static_cast<double>(imageHeight) * g->scale;
  if (!(height <= static_cast<double>(kMaxDots))) return false;
  g->scaledHeight = static_cast<int32_t>(height);
  return true;
}

}  // namespace

bool BitmapPrintSize(int32_t imageWidth, int32_t imageHeight, int32_t requestedWidth,
                     int32_t rounding, int32_t* width, int32_t* height) {
  Geometry g;
  if (rounding <= 0 || rounding > 256) return false;
  if (!ComputeGeometry(imageWidth, imageHeight, requestedWidth, &g)) return false;
  *width = RoundUp(g.targetWidth, rounding);
  *height = RoundUp(g.scaledHeight, rounding);
  return true;
}

bool RasteriseBitmap(const uint8_t* rgb, int32_t imageWidth, int32_t imageHeight,
                     int32_t requestedWidth, MonoRaster* raster, DiffusionKernel kernel) {
  Geometry g;
  if (rgb == nullptr || !ComputeGeometry(imageWidth, imageHeight, requestedWidth, &g)) return false;
  const int32_t width = RoundUp(g.targetWidth, 8);
  const int32_t height = RoundUp(g.scaledHeight, 8);
  const size_t rowBytes = static_cast<size_t>(width) / 8;
  raster->width = width;
  raster->height = height;
  raster->bits.assign(rowBytes * static_cast<size_t>(height), 0);

  const int32_t w = g.targetWidth;
  const float scale = static_cast<float>(g.scale);
  // Source column of every target column, once per image. Single-precision
  // rounding could land the last column on imageWidth itself; it stays on
  // the image.
  std::vector<int32_t> sourceColumn(static_cast<size_t>(w));
  bool asIs = w == imageWidth;
  for (int32_t x = 0; x < w; ++x) {
    int32_t sx = static_cast<int32_t>(static_cast<float>(x) / scale);
    if (sx >= imageWidth) sx = imageWidth - 1;
    sourceColumn[static_cast<size_t>(x)] = sx;
    asIs = asIs && sx == x;
  }
  // Grey levels of the source row last used: scaling up repeats rows, and
  // each source pixel is weighed once per row rather than once per target
  // pixel.
  std::vector<int16_t> sourceGrey(asIs ? 0 : static_cast<size_t>(imageWidth));
  int32_t greyRow = -1;
  const std::unique_ptr<ErrorDiffusion> diffusion = MakeErrorDiffusion(w, kernel);
  const int32_t blockRows = diffusion->BlockRows();

  for (int32_t y0 = 0; y0 < g.scaledHeight; y0 += blockRows) {
    const int32_t rows = g.scaledHeight - y0 < blockRows ? g.scaledHeight - y0 : blockRows;
    for (int32_t r = 0; r < rows; ++r) {
      int32_t sy = static_cast<int32_t>(static_cast<float>(y0 + r) / scale);
      if (sy >= imageHeight) sy = imageHeight - 1;
      const uint8_t* src = rgb + static_cast<size_t>(sy) * static_cast<size_t>(imageWidth) * 3;
      int16_t* levels = diffusion->Levels(r);
      if (asIs) {
        GreyRow16(src, w, levels);
        continue;
      }
      if (sy != greyRow) {
        GreyRow16(src, imageWidth, sourceGrey.data());
        greyRow = sy;
      }
      for (int32_t x = 0; x < w; ++x) levels[x] = sourceGrey[static_cast<size_t>(sourceColumn[static_cast<size_t>(x)])];
    }
    diffusion->Diffuse(rows, raster->bits.data() + static_cast<size_t>(y0) * rowBytes, rowBytes);
  }
  return true;
}

void ToColumnFormat(const MonoRaster& raster, std::vector<uint8_t>* columns) {
  const size_t rowBytes = static_cast<size_t>(raster.width) / 8;
  const size_t groups = static_cast<size_t>(raster.height) / 8;
  columns->assign(static_cast<size_t>(raster.width) * groups, 0);
  uint8_t* out = columns->data();
  for (int32_t x = 0; x < raster.width; ++x) {
    const size_t byteIndex = static_cast<size_t>(x) / 8;
    const unsigned shift = 7u - static_cast<unsigned>(x & 7);
    for (size_t g = 0; g < groups; ++g) {
      const uint8_t* rows = raster.bits.data() + g * 8 * rowBytes + byteIndex;
      uint32_t column = 0;
      for (size_t k = 0; k < 8; ++k) column = (column << 1) | ((rows[k * rowBytes] >> shift) & 1u);
      *out++ = static_cast<uint8_t>(column);
    }
  }
}

}  // namespace Printer
}  // namespace QEL
