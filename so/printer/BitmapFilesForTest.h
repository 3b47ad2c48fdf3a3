#pragma once
// Image files for the bitmap tests, written by hand: a BMP of one colour is
// a few dozen bytes of header, and every decoder reads it the same way.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace bitmap_test {

inline void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A 24-bit BMP of one colour (rows bottom-up, padded to 4 bytes).
inline std::string SolidBmp(int width, int height, uint8_t level) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::string out = "BM";
  PutLe(out, 54 + stride * height, 4);
  PutLe(out, 0, 4);
  PutLe(out, 54, 4);
  PutLe(out, 40, 4);
  PutLe(out, width, 4);
  PutLe(out, height, 4);
  PutLe(out, 1, 2);
  PutLe(out, 24, 2);
  for (int i = 0; i < 6; ++i) PutLe(out, 0, 4);
  for (int y = 0; y < height; ++y) {
    out.append(width * 3, static_cast<char>(level));
    out.append(stride - width * 3, '\0');
  }
  return out;
}

// A file in the temporary folder, removed when the test is done.
class ScratchFile {
 public:
  explicit ScratchFile(const std::string& contents, bool create = true) {
    static std::atomic<unsigned> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("zobelso_bitmap_" + std::to_string(std::random_device()()) + "_" +
             std::to_string(++counter) + ".bmp");
    if (create) std::ofstream(path_, std::ios::binary) << contents;
  }
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  std::u16string Path() const { return path_.u16string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace bitmap_test
