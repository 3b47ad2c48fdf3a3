#pragma once
// The images a printer holds and prints: graphics stored in the print
// buffer (GS ( L / GS 8 L fn 112, printed by fn 50 or fn 2), NV graphics
// kept under two-character keys (fn 67 and fn 68 define, fn 69 prints, fn 65
// and fn 66 delete), the numbered NV bit images (FS q defines them all, FS p
// prints one), the downloaded bit image (GS * defines, GS / prints), and the
// images printed as they arrive (GS v 0, ESC *).
//
// Each command gets the printer view's line:
//
//   GRAPHICS store 200 x 104 dots       GRAPHICS print 200 x 104 dots
//   NV define "A1" 200 x 104            NV print "A1" 200 x 104 dots
//   NV delete "A1" / NV delete all
//   FS q define 2 NV bit images: 200 x 200, 8 x 8 dots
//   FS p print 1 200 x 200 dots
//   GS * define 25 x 25 (200 x 200 dots)
//   GS / print 200 x 200 dots
//   GS v 0 raster 200 x 104
//   ESC * print 200 x 24 dots, double density
//
// An enlarged print says so after its size (", double width", ", double
// height", ", quadruple"); its image is kept at the size of its data.
//
// Power on and ESC @ drop the print buffer's graphics and the downloaded
// image; NV graphics and NV bit images stay, as they do in a printer's
// flash memory.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/command_scanner.h"
#include "sim/printed_image.h"
#include "sim/reading.h"

namespace sim {

struct NvGraphics {
  std::map<std::string, PrintedImage> keyed;  // by kc1 kc2 as two characters
  std::vector<PrintedImage> numbered;         // FS q's, image 1 first
};

class ImageMemory {
 public:
  // p[0..n) is one command its rules accepted. False when it is no image
  // command; otherwise *reading gets its line, why the printer does not act
  // on it (printing what was never stored), or the image it printed.
  // The QX1270 family's FS q is its own (sim/command_scanner.h): not read here.
  bool Command(const uint8_t* p, size_t n, Dialect dialect, Reading* reading);
  // Power on or ESC @.
  void Reset();

  const NvGraphics& Nv() const { return nv_; }
  void SetNv(const NvGraphics& nv) { nv_ = nv; }
  bool BufferGraphicsStored() const { return !buffer_.dots.empty(); }
  bool DownloadedImageDefined() const { return !downloaded_.dots.empty(); }

 private:
  bool Graphics(const uint8_t* p, Reading* reading);
  bool NvBitImages(const uint8_t* p, Reading* reading);
  void Print(const PrintedImage& image, std::string line, Reading* reading) const;

  PrintedImage buffer_;
  PrintedImage downloaded_;
  NvGraphics nv_;
};

}  // namespace sim
