#include "so/format/BitmapRaster.h"

#include <vector>

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

// 255 x (0.29891 R + 0.58661 G + 0.11448 B) / 255, floored, in exact integer
// form: the weights are whole hundred-thousandths, so no rounding of binary
// floating point can move a level across an integer (pure white stays 255).
inline int32_t GreyLevel(const uint8_t* pixel) {
  return static_cast<int32_t>((29891u * pixel[0] + 58661u * pixel[1] + 11448u * pixel[2]) / 100000u);
}

inline int8_t Wrap(int32_t value) {
  return static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFFu));
}

// The error diffusion along one row. With the grey level given as 16 L,
// L + ((E[x] + c5) >> 4) is (16 L + E[x] + c5) >> 4 exactly (an arithmetic
// shift floors), and v < 128 is 16 L + E[x] + c5 < 2048: one add stands
// between the carry of one pixel and the decision on the next, which is the
// chain that bounds the speed of the whole conversion. The error of a column
// is stored once, when the share from its right-hand neighbour is known.
struct RowDiffusion {
  int32_t c5 = 0;
  int32_t c3 = 0;
  int32_t pending = 0;  // 7t + c3 of the previous column, before its last share

  // `e` points at column x; e[-1] must be writable (a spare slot for x = 0,
  // which passes nothing to its left). Returns 1 for a black pixel.
  inline uint32_t Step(int32_t grey16, int8_t* e) {
    const int32_t sum = grey16 + static_cast<int32_t>(*e) + c5;
    const int32_t v = sum >> 4;
    const bool black = sum < 2048;
    const int32_t t = black ? v : v - 255;
    e[-1] = Wrap(pending + t);
    pending = 7 * t + c3;
    c5 = 5 * t;
    c3 = 3 * t;
    return black ? 1u : 0u;
  }
};

// The image data never carries the byte 10 hex (DLE, which begins the
// real-time commands some interfaces look for in the stream): its one black
// pixel moves left by one.
inline uint8_t Guarded(uint32_t byte) {
  return byte == 0x10u ? 0x20u : static_cast<uint8_t>(byte);
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
                     int32_t requestedWidth, MonoRaster* raster) {
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
  for (int32_t x = 0; x < w; ++x) {
    int32_t sx = static_cast<int32_t>(static_cast<float>(x) / scale);
    sourceColumn[static_cast<size_t>(x)] = sx < imageWidth ? sx : imageWidth - 1;
  }
  // Grey levels (times 16) of the source row in use: scaling up repeats
  // rows, and each source pixel is weighed once per row rather than once per
  // target pixel.
  std::vector<int32_t> grey16(static_cast<size_t>(imageWidth));
  // One signed error byte per column, kept from row to row, after a spare
  // slot for the first column's share to its left.
  std::vector<int8_t> errorRow(static_cast<size_t>(w) + 1, 0);
  int32_t greyRow = -1;

  for (int32_t y = 0; y < g.scaledHeight; ++y) {
    int32_t sy = static_cast<int32_t>(static_cast<float>(y) / scale);
    if (sy >= imageHeight) sy = imageHeight - 1;
    if (sy != greyRow) {
      const uint8_t* src = rgb + static_cast<size_t>(sy) * static_cast<size_t>(imageWidth) * 3;
      for (int32_t sx = 0; sx < imageWidth; ++sx) grey16[static_cast<size_t>(sx)] = GreyLevel(src + 3 * sx) * 16;
      greyRow = sy;
    }
    uint8_t* out = raster->bits.data() + static_cast<size_t>(y) * rowBytes;
    int8_t* e = errorRow.data() + 1;
    const int32_t* columns = sourceColumn.data();
    const int32_t* levels = grey16.data();
    RowDiffusion row;
    int32_t x = 0;
    for (; x + 8 <= w; x += 8) {
      uint32_t byte = 0;
      for (int32_t k = 0; k < 8; ++k) byte = (byte << 1) | row.Step(levels[columns[x + k]], e + x + k);
      *out++ = Guarded(byte);
    }
    if (x < w) {
      const int32_t left = w - x;
      uint32_t byte = 0;
      for (; x < w; ++x) byte = (byte << 1) | row.Step(levels[columns[x]], e + x);
      *out = Guarded(byte << (8 - left));
    }
    e[w - 1] = Wrap(row.pending);
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
