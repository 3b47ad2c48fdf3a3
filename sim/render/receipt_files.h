#pragma once
// Receipts written as PNG files next to the printer's other images.
#include <string>
#include <vector>

#include "sim/printed_image.h"

namespace sim {
namespace render {

// DIR/<stem>-<n>.png for each receipt, n from 1; the paths of the files
// written, in order (a file that could not be written is left out).
std::vector<std::string> WriteReceiptFiles(const std::string& directory, const std::string& stem,
                                           const std::vector<PrintedImage>& receipts);

}  // namespace render
}  // namespace sim
