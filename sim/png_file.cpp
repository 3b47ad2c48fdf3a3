#include "sim/png_file.h"

#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace sim {

bool WritePngFile(const std::string& path, const PrintedImage& image) {
  if (image.width <= 0 || image.height <= 0) return false;
  std::vector<uint8_t> grey(image.dots.size());
  for (size_t i = 0; i < grey.size(); ++i) grey[i] = image.dots[i] ? 0 : 255;
  return stbi_write_png(path.c_str(), image.width, image.height, 1, grey.data(), image.width) != 0;
}

}  // namespace sim
