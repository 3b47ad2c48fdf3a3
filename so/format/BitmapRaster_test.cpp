// The bitmap conversion against a naive model of the same rules written here
// from their description: nearest-neighbour sampling, the weighted grey
// level, error diffusion in signed bytes, packing with the 10-hex rule.
#include "so/format/BitmapRaster.h"
#include "so/format/GreyLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace QEL {
namespace Printer {
namespace {

std::vector<uint8_t> Plain(int32_t width, int32_t height, uint8_t r, uint8_t g, uint8_t b) {
  std::vector<uint8_t> rgb;
  for (int32_t i = 0; i < width * height; ++i) rgb.insert(rgb.end(), {r, g, b});
  return rgb;
}

std::vector<uint8_t> Noise(int32_t width, int32_t height, uint32_t seed) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width * height * 3));
  for (auto& byte : rgb) {
    seed = seed * 1103515245u + 12345u;
    byte = static_cast<uint8_t>(seed >> 16);
  }
  return rgb;
}

// Smooth left-to-right ramp with a little colour: long runs of similar grey,
// where the carried error decides every pixel.
std::vector<uint8_t> Ramp(int32_t width, int32_t height) {
  std::vector<uint8_t> rgb;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const int level = x * 255 / (width - 1);
      rgb.insert(rgb.end(), {static_cast<uint8_t>(level), static_cast<uint8_t>((level + y) % 256),
                             static_cast<uint8_t>(255 - level / 2)});
    }
  }
  return rgb;
}

struct Model {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> bits;
  int wraps = 0;  // how often an error byte overflowed
};

int SignedByte(int value, int* wraps) {
  int b = ((value % 256) + 256) % 256;
  if (b >= 128) b -= 256;
  if (b != value) ++*wraps;
  return b;
}

Model Convert(const std::vector<uint8_t>& rgb, int32_t iw, int32_t ih, int32_t requested) {
  Model m;
  const double scale = requested == -11 ? 1.0 : static_cast<double>(requested) / iw;
  const int32_t w = requested == -11 ? iw : requested;
  const int32_t scaledHeight = static_cast<int32_t>(ih * scale);
  m.width = (w + 7) / 8 * 8;
  m.height = (scaledHeight + 7) / 8 * 8;
  std::vector<std::vector<bool>> black(static_cast<size_t>(m.height), std::vector<bool>(static_cast<size_t>(m.width)));
  std::vector<int> e(static_cast<size_t>(w), 0);
  for (int32_t y = 0; y < scaledHeight; ++y) {
    int c5 = 0;
    int c3 = 0;
    for (int32_t x = 0; x < w; ++x) {
      const int sx = static_cast<int>(static_cast<float>(x) / static_cast<float>(scale));
      const int sy = static_cast<int>(static_cast<float>(y) / static_cast<float>(scale));
      const size_t at = (static_cast<size_t>(sy) * static_cast<size_t>(iw) + static_cast<size_t>(sx)) * 3;
      const long weighted = 29891L * rgb.at(at) + 58661L * rgb.at(at + 1) + 11448L * rgb.at(at + 2);
      const int grey = static_cast<int>(weighted / 100000);  // floor of 255 x (...) / 255
      const int v = grey + static_cast<int>(std::floor((e[x] + c5) / 16.0));
      const int t = v >= 128 ? v - 255 : v;
      black[y][x] = v < 128;
      if (x > 0) e[x - 1] = SignedByte(e[x - 1] + t, &m.wraps);
      e[x] = SignedByte(7 * t + c3, &m.wraps);
      c5 = 5 * t;
      c3 = 3 * t;
    }
  }
  for (int32_t y = 0; y < m.height; ++y) {
    for (int32_t i = 0; i < m.width / 8; ++i) {
      int byte = 0;
      for (int k = 0; k < 8; ++k) byte = byte * 2 + (black[y][i * 8 + k] ? 1 : 0);
      m.bits.push_back(static_cast<uint8_t>(byte == 0x10 ? 0x20 : byte));
    }
  }
  return m;
}

struct ImageCase {
  const char* name;
  std::vector<uint8_t> rgb;
  int32_t width;
  int32_t height;
  int32_t requested;
};

// Both kernels against the model. The shapes reach what the row-parallel
// kernel handles apart: several blocks of rows and a partial last one, rows
// narrower than its start-up and exactly one byte wide, a single column, and
// rows that end inside a byte.
TEST(RasteriseBitmap, MatchesTheModelForScaledImages) {
  const std::vector<ImageCase> cases = {
      {"noise as is", Noise(37, 23, 1), 37, 23, -11},
      {"noise scaled up", Noise(37, 23, 2), 37, 23, 61},
      {"noise scaled down", Noise(100, 40, 3), 100, 40, 45},
      {"small image to paper width", Noise(13, 7, 4), 13, 7, 200},
      {"ramp at paper width", Ramp(64, 16), 64, 16, 576},
      {"ramp as is", Ramp(203, 9), 203, 9, -11},
      {"tall noise, many row blocks", Noise(91, 77, 5), 91, 77, -11},
      {"narrow tall noise", Noise(5, 41, 6), 5, 41, -11},
      {"one byte wide", Noise(8, 33, 7), 8, 33, -11},
      {"one column", Noise(1, 19, 8), 1, 19, -11},
      {"ramp rows as wide as the start-up", Ramp(32, 18), 32, 18, -11},
      {"full width photograph rows", Ramp(576, 35), 576, 35, -11},
      {"full width noise scaled down", Noise(600, 40, 9), 600, 40, 577},
  };
  for (const DiffusionKernel kernel : {DiffusionKernel::kFastest, DiffusionKernel::kSerial}) {
    const char* kernelName = kernel == DiffusionKernel::kSerial ? "serial" : "fastest";
    int wraps = 0;
    int guarded = 0;
    for (const ImageCase& c : cases) {
      const Model want = Convert(c.rgb, c.width, c.height, c.requested);
      MonoRaster got;
      ASSERT_TRUE(RasteriseBitmap(c.rgb.data(), c.width, c.height, c.requested, &got, kernel)) << c.name;
      EXPECT_EQ(got.width, want.width) << c.name << ", " << kernelName;
      EXPECT_EQ(got.height, want.height) << c.name << ", " << kernelName;
      EXPECT_EQ(got.bits, want.bits) << c.name << ", " << kernelName;
      wraps += want.wraps;
      for (uint8_t b : want.bits) guarded += b == 0x20 ? 1 : 0;
    }
    // The cases must reach the byte wrapping of the error row and the bytes
    // the 10-hex rule touches, or they prove little about either.
    EXPECT_GT(wraps, 0);
    EXPECT_GT(guarded, 0);
  }
}

// Every one of the 2^24 colours, in rows long enough for the vector path and
// a tail, against the weighted sum divided in integers.
TEST(GreyRow16, EveryColourHasItsExactLevel) {
  constexpr int32_t kRow = 4099;
  std::vector<uint8_t> rgb(static_cast<size_t>(kRow) * 3);
  std::vector<int16_t> grey(static_cast<size_t>(kRow));
  uint32_t colour = 0;
  int mismatches = 0;
  while (colour < (1u << 24)) {
    int32_t n = 0;
    for (; n < kRow && colour + static_cast<uint32_t>(n) < (1u << 24); ++n) {
      const uint32_t c = colour + static_cast<uint32_t>(n);
      rgb[3 * static_cast<size_t>(n)] = static_cast<uint8_t>(c >> 16);
      rgb[3 * static_cast<size_t>(n) + 1] = static_cast<uint8_t>(c >> 8);
      rgb[3 * static_cast<size_t>(n) + 2] = static_cast<uint8_t>(c);
    }
    GreyRow16(rgb.data(), n, grey.data());
    for (int32_t i = 0; i < n; ++i) {
      const uint32_t c = colour + static_cast<uint32_t>(i);
      const uint32_t weighted = 29891u * (c >> 16) + 58661u * ((c >> 8) & 0xFFu) + 11448u * (c & 0xFFu);
      if (grey[static_cast<size_t>(i)] != static_cast<int16_t>(weighted / 100000u * 16u) && ++mismatches < 5) {
        ADD_FAILURE() << "colour " << std::hex << c << ": " << std::dec << grey[static_cast<size_t>(i)];
      }
    }
    colour += static_cast<uint32_t>(n);
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(RasteriseBitmap, GreyThresholdWithoutCarriedError) {
  MonoRaster raster;
  std::vector<uint8_t> grey127 = Plain(1, 1, 127, 127, 127);
  ASSERT_TRUE(RasteriseBitmap(grey127.data(), 1, 1, -11, &raster));
  ASSERT_EQ(raster.bits.size(), 8u);
  EXPECT_EQ(raster.bits[0], 0x80);  // black

  std::vector<uint8_t> grey128 = Plain(1, 1, 128, 128, 128);
  ASSERT_TRUE(RasteriseBitmap(grey128.data(), 1, 1, -11, &raster));
  EXPECT_EQ(raster.bits, std::vector<uint8_t>(8, 0));  // white

  // Pure white must not drift to black however long the row or image.
  std::vector<uint8_t> white = Plain(576, 40, 255, 255, 255);
  ASSERT_TRUE(RasteriseBitmap(white.data(), 576, 40, -11, &raster));
  EXPECT_EQ(raster.bits, std::vector<uint8_t>(72 * 40, 0));
}

TEST(RasteriseBitmap, ScaledHeightIsPaddedWithWhiteRows) {
  std::vector<uint8_t> black = Plain(100, 50, 0, 0, 0);
  MonoRaster raster;
  ASSERT_TRUE(RasteriseBitmap(black.data(), 100, 50, 200, &raster));
  EXPECT_EQ(raster.width, 200);
  EXPECT_EQ(raster.height, 104);
  ASSERT_EQ(raster.bits.size(), 25u * 104u);
  EXPECT_EQ(std::vector<uint8_t>(raster.bits.begin(), raster.bits.begin() + 25 * 100),
            std::vector<uint8_t>(25 * 100, 0xFF));
  EXPECT_EQ(std::vector<uint8_t>(raster.bits.begin() + 25 * 100, raster.bits.end()), std::vector<uint8_t>(25 * 4, 0));
}

TEST(RasteriseBitmap, AsIsWidthIsRoundedUpWithWhiteColumns) {
  std::vector<uint8_t> black = Plain(13, 2, 0, 0, 0);
  MonoRaster raster;
  ASSERT_TRUE(RasteriseBitmap(black.data(), 13, 2, -11, &raster));
  EXPECT_EQ(raster.width, 16);
  EXPECT_EQ(raster.height, 8);
  std::vector<uint8_t> want(2 * 8, 0);
  want[0] = 0xFF, want[1] = 0xF8, want[2] = 0xFF, want[3] = 0xF8;
  EXPECT_EQ(raster.bits, want);
}

TEST(RasteriseBitmap, ByteTenHexIsWrittenAsTwentyHex) {
  // One black pixel, fourth from the left in its byte, on white: inside a
  // row and as the partial byte that ends a row.
  std::vector<uint8_t> row = Plain(12, 1, 255, 255, 255);
  for (size_t at : {3u * 3u, 11u * 3u}) row[at] = row[at + 1] = row[at + 2] = 0;
  MonoRaster raster;
  ASSERT_TRUE(RasteriseBitmap(row.data(), 12, 1, -11, &raster));
  ASSERT_EQ(raster.bits.size(), 2u * 8u);
  EXPECT_EQ(raster.bits[0], 0x20);
  EXPECT_EQ(raster.bits[1], 0x20);
}

TEST(RasteriseBitmap, RefusesUnusableSizes) {
  std::vector<uint8_t> rgb = Plain(4, 4, 0, 0, 0);
  MonoRaster raster;
  EXPECT_FALSE(RasteriseBitmap(rgb.data(), 4, 4, 0, &raster));
  EXPECT_FALSE(RasteriseBitmap(rgb.data(), 4, 4, -1, &raster));
  EXPECT_FALSE(RasteriseBitmap(rgb.data(), 4, 4, -12, &raster));
  EXPECT_FALSE(RasteriseBitmap(rgb.data(), 0, 4, -11, &raster));
  EXPECT_FALSE(RasteriseBitmap(rgb.data(), 4, 0, -11, &raster));
  EXPECT_FALSE(RasteriseBitmap(rgb.data(), 4, 4, 1 << 20, &raster));
  EXPECT_FALSE(RasteriseBitmap(nullptr, 4, 4, -11, &raster));
}

struct SizeCase {
  int32_t imageWidth, imageHeight, requested, rounding;
  bool ok;
  int32_t width, height;
};

TEST(BitmapPrintSize, ScalesTruncatesAndRoundsUp) {
  const SizeCase cases[] = {
      {100, 50, 200, 8, true, 200, 104},  // 100 rows rounded up to 104
      {13, 5, -11, 8, true, 16, 8},       // as is, width rounded up too
      {100, 50, -11, 8, true, 104, 56},
      {3, 10, 7, 8, true, 8, 24},         // 10 x 7/3 = 23.3 truncated to 23
      {100, 50, 200, 1, true, 200, 100},  // no rounding asked
      {640, 480, 576, 8, true, 576, 432},
      {100, 50, 0, 8, false, 0, 0},
      {100, 50, -1, 8, false, 0, 0},
      {100, 50, -12, 8, false, 0, 0},
      {0, 50, -11, 8, false, 0, 0},
      {100, 0, -11, 8, false, 0, 0},
      {100, 50, 200, 0, false, 0, 0},
      {10, 60000, 100, 8, false, 0, 0},  // 600000 rows: no printer prints that
      {100, 50, 1 << 20, 8, false, 0, 0},
  };
  for (const SizeCase& c : cases) {
    int32_t width = -7;
    int32_t height = -7;
    const bool ok = BitmapPrintSize(c.imageWidth, c.imageHeight, c.requested, c.rounding, &width, &height);
    EXPECT_EQ(ok, c.ok) << c.imageWidth << "x" << c.imageHeight << " to " << c.requested;
    if (ok && c.ok) {
      EXPECT_EQ(width, c.width) << c.imageWidth << "x" << c.imageHeight << " to " << c.requested;
      EXPECT_EQ(height, c.height) << c.imageWidth << "x" << c.imageHeight << " to " << c.requested;
    }
  }
}

TEST(ToColumnFormat, ColumnsFromTheLeftGroupsFromTheTop) {
  // 8 x 16: a diagonal in the first 8 rows, a full line in row 8.
  MonoRaster raster;
  raster.width = 8;
  raster.height = 16;
  raster.bits = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01, 0xFF, 0, 0, 0, 0, 0, 0, 0};
  std::vector<uint8_t> columns;
  ToColumnFormat(raster, &columns);
  EXPECT_EQ(columns, (std::vector<uint8_t>{0x80, 0x80, 0x40, 0x80, 0x20, 0x80, 0x10, 0x80, 0x08, 0x80, 0x04, 0x80,
                                           0x02, 0x80, 0x01, 0x80}));

  // 16 x 8: the last pixel of the top row and the first of the bottom row.
  raster.width = 16;
  raster.height = 8;
  raster.bits.assign(16, 0);
  raster.bits[1] = 0x01;
  raster.bits[14] = 0x80;
  ToColumnFormat(raster, &columns);
  std::vector<uint8_t> want(16, 0);
  want[0] = 0x01;
  want[15] = 0x80;
  EXPECT_EQ(columns, want);
}

}  // namespace
}  // namespace Printer
}  // namespace QEL
