#include "sim/image_memory.h"

#include <utility>

#include "sim/byte_text.h"
#include "sim/rule_helpers.h"

namespace sim {

using rules::U16;

namespace {

std::string Size(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

// Enlargement by whole dots across and along the paper, 1 or 2 each.
std::string Scale(int across, int along) {
  if (across == 2 && along == 2) return ", quadruple";
  if (across == 2) return ", double width";
  if (along == 2) return ", double height";
  return "";
}

// GS v 0 and GS / m: bit 0 doubles the width, bit 1 the height; the
// character forms '0'..'3' mean the same.
std::string ScaleSelector(uint8_t m) {
  const int mode = m >= '0' ? m - '0' : m;
  return Scale(mode & 1 ? 2 : 1, mode & 2 ? 2 : 1);
}

std::string Key(const uint8_t* kc) { return std::string(reinterpret_cast<const char*>(kc), 2); }

std::string QuotedKey(const std::string& key) {
  return QuotedBytes(reinterpret_cast<const uint8_t*>(key.data()), key.size());
}

size_t Bytes(size_t dots) { return (dots + 7) / 8; }

}  // namespace

void ImageMemory::Reset() {
  buffer_ = PrintedImage();
  downloaded_ = PrintedImage();
}

void ImageMemory::Print(const PrintedImage& image, std::string line, Reading* reading) const {
  reading->line = std::move(line);
  // A zero-sized image puts nothing on the paper.
  if (!image.dots.empty()) reading->printed.push_back(image);
}

bool ImageMemory::Command(const uint8_t* p, size_t n, Dialect dialect, Reading* reading) {
  if (n < 3) return false;
  if (p[0] == 0x1C && (p[1] == 'q' || p[1] == 'p')) return dialect == Dialect::kEscPos && NvBitImages(p, reading);
  if (p[0] == 0x1B && p[1] == '*') {  // ESC * m nL nH d...
    const int columns = static_cast<int>(U16(p + 3));
    const bool tall = p[2] >= 32;
    const PrintedImage image = ImageFromColumns(p + 5, columns, tall ? 3 : 1, tall ? 24 : 8);
    const bool doubleDensity = p[2] == 1 || p[2] == 33;
    Print(image,
          "ESC * print " + Size(image.width, image.height) + " dots, " + (doubleDensity ? "double" : "single") +
              " density",
          reading);
    return true;
  }
  if (p[0] != 0x1D) return false;
  switch (p[1]) {
    case '*': {  // GS * x y d...: x and y in 8-dot units, data in columns
      const int x = p[2], y = p[3];
      downloaded_ = ImageFromColumns(p + 4, x * 8, y, y * 8);
      reading->line = "GS * define " + Size(x, y) + " (" + Size(x * 8, y * 8) + " dots)";
      return true;
    }
    case '/':
      if (downloaded_.dots.empty()) {
        reading->line = "GS / print";
        reading->fault = "no downloaded image defined";
        return true;
      }
      Print(downloaded_, "GS / print " + Size(downloaded_.width, downloaded_.height) + " dots" + ScaleSelector(p[2]),
            reading);
      return true;
    case 'v': {  // GS v 0 m xL xH yL yH d...: x in bytes
      const int width = static_cast<int>(U16(p + 4)) * 8, height = static_cast<int>(U16(p + 6));
      Print(ImageFromRaster(p + 8, width, height), "GS v 0 raster " + Size(width, height) + ScaleSelector(p[3]),
            reading);
      return true;
    }
    case '(':
      return p[2] == 'L' && Graphics(p, reading);
    case '8':
      return p[2] == 'L' && Graphics(p, reading);
    default:
      return false;
  }
}

// FS q n [xL xH yL yH d...] n times: x and y in 8-dot units, data in
// columns; FS p n m.
bool ImageMemory::NvBitImages(const uint8_t* p, Reading* reading) {
  if (p[1] == 'p') {
    const int number = p[2];
    if (number > static_cast<int>(nv_.numbered.size())) {
      reading->line = "FS p print " + std::to_string(number);
      reading->fault = "no NV bit image " + std::to_string(number);
      return true;
    }
    const PrintedImage& image = nv_.numbered[number - 1];
    Print(image, "FS p print " + std::to_string(number) + " " + Size(image.width, image.height) + " dots" +
                     ScaleSelector(p[3]),
          reading);
    return true;
  }
  // Defining replaces every image defined before.
  nv_.numbered.clear();
  std::string sizes;
  size_t pos = 3;
  for (int i = 0; i < p[2]; ++i) {
    const int x = static_cast<int>(U16(p + pos)), y = static_cast<int>(U16(p + pos + 2));
    nv_.numbered.push_back(ImageFromColumns(p + pos + 4, x * 8, y, y * 8));
    sizes += (i ? ", " : ": ") + Size(x * 8, y * 8);
    pos += 4 + static_cast<size_t>(x) * y * 8;
  }
  reading->line = "FS q define " + std::to_string(p[2]) + " NV bit image" + (p[2] == 1 ? "" : "s") + sizes + " dots";
  return true;
}

// GS ( L pL pH m fn ... and GS 8 L p1 p2 p3 p4 m fn ..., their lengths
// already checked against the headers.
bool ImageMemory::Graphics(const uint8_t* p, Reading* reading) {
  const uint8_t* d = p + (p[1] == '8' ? 7 : 5);  // m fn ...
  switch (d[1]) {
    case 112: {  // a bx by c xL xH yL yH d...
      const int width = static_cast<int>(U16(d + 6)), height = static_cast<int>(U16(d + 8));
      buffer_ = ImageFromRaster(d + 10, width, height);
      std::string line = "GRAPHICS store " + Size(width, height) + " dots" + Scale(d[3], d[4]);
      if (d[5] != 49) line += ", colour " + std::to_string(d[5] - 48);
      reading->line = line;
      return true;
    }
    case 2:
    case 50:
      if (buffer_.dots.empty()) {
        reading->line = "GRAPHICS print";
        reading->fault = "no graphics stored";
        return true;
      }
      // Printing empties the print buffer, graphics and all.
      Print(buffer_, "GRAPHICS print " + Size(buffer_.width, buffer_.height) + " dots", reading);
      buffer_ = PrintedImage();
      return true;
    case 67:    // a kc1 kc2 b xL xH yL yH, then b planes: c d...
    case 68: {  // the same, each plane in columns
      const bool raster = d[1] == 67;
      const std::string key = Key(d + 3);
      const int planes = d[5];
      const int width = static_cast<int>(U16(d + 6)), height = static_cast<int>(U16(d + 8));
      const size_t plane = raster ? Bytes(width) * height : Bytes(height) * width;
      PrintedImage image;
      for (int i = 0; i < planes; ++i) {
        const uint8_t* data = d + 10 + i * (1 + plane) + 1;
        PrintedImage one = raster ? ImageFromRaster(data, width, height)
                                  : ImageFromColumns(data, width, static_cast<int>(Bytes(height)), height);
        if (i == 0) {
          image = std::move(one);
        } else {
          OverlayImage(one, &image);
        }
      }
      nv_.keyed[key] = std::move(image);
      reading->line = "NV define " + QuotedKey(key) + " " + Size(width, height) + (planes == 2 ? ", 2 colours" : "");
      return true;
    }
    case 69: {  // kc1 kc2 x y
      const std::string key = Key(d + 2);
      auto found = nv_.keyed.find(key);
      if (found == nv_.keyed.end()) {
        reading->line = "NV print " + QuotedKey(key);
        reading->fault = "no NV graphics " + QuotedKey(key);
        return true;
      }
      const PrintedImage& image = found->second;
      Print(image, "NV print " + QuotedKey(key) + " " + Size(image.width, image.height) + " dots" + Scale(d[4], d[5]),
            reading);
      return true;
    }
    case 65:
      nv_.keyed.clear();
      reading->line = "NV delete all";
      return true;
    case 66: {
      const std::string key = Key(d + 2);
      nv_.keyed.erase(key);
      reading->line = "NV delete " + QuotedKey(key);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace sim
