#pragma once
// One-dimensional barcodes as the printer draws them: every module the
// module width in dots (the wide elements of CODE39, ITF and CODABAR the
// printer's wide width for it), every bar the bar height.
#include <string>

#include "sim/printed_image.h"

namespace sim {
namespace render {

// m is the barcode system of GS k's second form (65..79), data its bytes as
// the printer's rules accept them, module 2..6 dots. False with *why, and no
// dots, when the symbology cannot carry the data (a wrong check digit, a
// UPC-A number with no UPC-E form...) or is not drawn here.
bool DrawBarcode(int m, const std::string& data, int module, int height, PrintedImage* dots, std::string* hri,
                 std::string* why);

}  // namespace render
}  // namespace sim
