// How long an image takes to become printer raster: a full-width receipt
// picture (576 x 800) converted from pixels already in memory, the same
// picture read from a PNG file first, and a 200 x 200 logo at its own size
// and stretched to paper width.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/image_file.h"
#include "so/format/BitmapRaster.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

using QEL::Printer::MonoRaster;
using QEL::Printer::RasteriseBitmap;

namespace {

// A photograph-like picture: smooth shading with some texture, so that the
// dithering has real work and the PNG does not shrink to nothing.
std::vector<uint8_t> Picture(int32_t width, int32_t height) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  uint32_t seed = 12345;
  size_t at = 0;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      seed = seed * 1103515245u + 12345u;
      const int noise = static_cast<int>((seed >> 16) & 31) - 16;
      const int base = (x * 255 / width + y * 255 / height) / 2;
      for (int c = 0; c < 3; ++c) {
        int v = base + noise + c * 20;
        rgb[at++] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
      }
    }
  }
  return rgb;
}

void Rasterise(benchmark::State& state, int32_t width, int32_t height, int32_t requested) {
  const std::vector<uint8_t> rgb = Picture(width, height);
  MonoRaster raster;
  for (auto _ : state) {
    if (!RasteriseBitmap(rgb.data(), width, height, requested, &raster)) {
      state.SkipWithError("the conversion refused the image");
      break;
    }
    benchmark::DoNotOptimize(raster.bits.data());
  }
  state.counters["raster_bytes"] = static_cast<double>(raster.bits.size());
}

void Receipt576x800_Rasterise(benchmark::State& state) { Rasterise(state, 576, 800, -11); }
BENCHMARK(Receipt576x800_Rasterise)->Unit(benchmark::kMicrosecond);

void Logo200x200_Rasterise(benchmark::State& state) { Rasterise(state, 200, 200, -11); }
BENCHMARK(Logo200x200_Rasterise)->Unit(benchmark::kMicrosecond);

void Logo200x200_ToPaperWidth(benchmark::State& state) { Rasterise(state, 200, 200, 576); }
BENCHMARK(Logo200x200_ToPaperWidth)->Unit(benchmark::kMicrosecond);

void Logo200x200_ToColumns(benchmark::State& state) {
  const std::vector<uint8_t> rgb = Picture(200, 200);
  MonoRaster raster;
  std::vector<uint8_t> columns;
  for (auto _ : state) {
    RasteriseBitmap(rgb.data(), 200, 200, -11, &raster);
    QEL::Printer::ToColumnFormat(raster, &columns);
    benchmark::DoNotOptimize(columns.data());
  }
}
BENCHMARK(Logo200x200_ToColumns)->Unit(benchmark::kMicrosecond);

void Receipt576x800_DecodePngAndRasterise(benchmark::State& state) {
  const int32_t width = 576;
  const int32_t height = 800;
  const std::vector<uint8_t> rgb = Picture(width, height);
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("zobelso_bench_" + std::to_string(std::random_device()()) + ".png");
  if (!stbi_write_png(file.string().c_str(), width, height, 3, rgb.data(), width * 3)) {
    state.SkipWithError("cannot write the PNG");
    return;
  }
  const std::u16string path = file.u16string();
  platform::RgbImage image;
  std::u16string why;
  MonoRaster raster;
  for (auto _ : state) {
    if (platform::DecodeImageFile(path, &image, &why) != platform::ImageFileResult::kDecoded ||
        !RasteriseBitmap(image.rgb.data(), image.width, image.height, -11, &raster)) {
      state.SkipWithError("the PNG did not convert");
      break;
    }
    benchmark::DoNotOptimize(raster.bits.data());
  }
  state.counters["png_bytes"] = static_cast<double>(std::filesystem::file_size(file));
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
}
BENCHMARK(Receipt576x800_DecodePngAndRasterise)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
