#pragma once
// The paper a printer produces from a job: text in its fonts, code pages and
// print modes, images, barcodes and two-dimensional symbols, page-mode pages,
// feeds and cuts. One image per receipt, each ending where the paper was
// cut; what was printed after the last cut comes last.
//
// Commands a strict printer rejects (sim/command_rules.h) or would not act on
// where they stand (sim/printer_modes.h) leave no ink; a line still in the
// printer's buffer when the job ends is not printed, as on a real printer.
#include <cstdint>
#include <string>
#include <vector>

#include "sim/image_memory.h"
#include "sim/printed_image.h"

namespace sim {
namespace render {

// Printable dots across the paper: 72 mm of an 80 mm roll, 48 mm of 58 mm.
constexpr int kPaper80Dots = 576;
constexpr int kPaper58Dots = 384;

// The paper a model takes, from its name: 58 mm models say so ("...-58").
int PaperWidthForModel(const std::string& model);

// bytes: what one connection sent, read from power-on; nvAtStart: what the
// printer's NV memory held then.
std::vector<PrintedImage> RenderReceipts(const std::vector<uint8_t>& bytes, const NvGraphics& nvAtStart,
                                         int paperWidthDots);

}  // namespace render
}  // namespace sim
