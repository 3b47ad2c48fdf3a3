#pragma once
// A printed image as a PNG file: 8-bit grey, black dots on white paper, so
// that any viewer shows it as the receipt would.
#include <string>

#include "sim/printed_image.h"

namespace sim {

// False when the file cannot be written (or the image is empty).
bool WritePngFile(const std::string& path, const PrintedImage& image);

}  // namespace sim
