#pragma once
// Reading an image file for printing: any format the system's imaging
// library reads (at least BMP of 1, 4, 8, 24 and 32 bits, PNG with palette,
// grey or alpha, JPEG, GIF), as 8-bit red, green and blue per pixel. GDI+ on
// Windows, stb_image elsewhere.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct RgbImage {
  int32_t width = 0;
  int32_t height = 0;
  // width x height pixels, row by row from the top, 3 bytes each (R, G, B).
  // Pixels with transparency are already laid over white paper.
  std::vector<uint8_t> rgb;
};

enum class ImageFileResult {
  kDecoded,
  kNotFound,     // the file does not exist or cannot be opened for reading
  kUndecodable,  // it opened, but no decoder takes it (or it is absurdly large)
};

// Decodes `path`. On anything but kDecoded, *why says which file and why in
// words for ErrorString, and *image is left empty.
ImageFileResult DecodeImageFile(const std::u16string& path, RgbImage* image, std::u16string* why);

}  // namespace platform
