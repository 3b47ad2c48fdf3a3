#pragma once
// What a printer checks in image commands: modes, sizes, colours, and above
// all that the declared length matches the image the header describes (a
// printer that trusts a wrong length prints the rest of the job as raster or
// the raster as commands).
#include <cstddef>
#include <cstdint>

#include "sim/command_scanner.h"
#include "sim/rule_helpers.h"

namespace sim {
namespace rules {

// ESC * m nL nH d...
Fault BitImageFault(const uint8_t* p, size_t n);
// GS * x y d...
Fault DownloadedImageFault(const uint8_t* p, size_t n);
// GS v 0 m xL xH yL yH d...
Fault RasterImageFault(const uint8_t* p, size_t n);
// GS ( L pL pH m fn ... and GS 8 L p1 p2 p3 p4 m fn ...
Fault GraphicsFault(const uint8_t* p, size_t n);
// FS q n ..., in ESC/POS or in the QX1270 family's own form.
Fault NvImageFault(const uint8_t* p, size_t n, Dialect dialect);

}  // namespace rules
}  // namespace sim
