// Renders arbitrary bytes as receipts: nothing may crash or hang, every
// receipt is as wide as the paper with a dot for every position, and the
// same bytes always come out as the same paper.
//
// The first byte chooses the paper and may put the printer in page mode, in
// a turned print area, with symbol data, images and NV graphics stored
// before the rest arrives, so that random bytes reach the commands that only
// mean something there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "sim/render/receipt_renderer.h"

namespace {

const uint8_t kEnterPageMode[] = {0x1B, 0x4C, 0x1B, 0x54, 0x01, 0x1B, 0x57, 0x10, 0x00,
                                  0x20, 0x00, 0x00, 0x01, 0x80, 0x00};
const uint8_t kStoreSymbols[] = {0x1D, 0x28, 0x6B, 0x04, 0x00, 0x31, 0x50, 0x30, 'Q',
                                 0x1D, 0x28, 0x6B, 0x04, 0x00, 0x30, 0x50, 0x30, 'P'};
// An 8 x 1 image in the print buffer (double size), and the downloaded
// image (8 x 8).
const uint8_t kStoreImages[] = {0x1D, 0x28, 0x4C, 0x0B, 0x00, 0x30, 0x70, 0x30, 0x02, 0x02, 0x31, 0x08,
                                0x00, 0x01, 0x00, 0x5A, 0x1D, 0x2A, 0x01, 0x01, 0x01, 0x02, 0x04, 0x08,
                                0x10, 0x20, 0x40, 0x80};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<uint8_t> bytes;
  if (data[0] & 4) bytes.insert(bytes.end(), kEnterPageMode, kEnterPageMode + sizeof kEnterPageMode);
  if (data[0] & 8) bytes.insert(bytes.end(), kStoreSymbols, kStoreSymbols + sizeof kStoreSymbols);
  if (data[0] & 16) bytes.insert(bytes.end(), kStoreImages, kStoreImages + sizeof kStoreImages);
  bytes.insert(bytes.end(), data + 1, data + size);

  sim::NvGraphics nv;
  if (data[0] & 32) nv.keyed["A1"] = sim::PrintedImage{3, 2, {1, 0, 1, 0, 1, 0}};
  const int width = data[0] & 1 ? sim::render::kPaper58Dots : sim::render::kPaper80Dots;
  const std::vector<sim::PrintedImage> receipts = sim::render::RenderReceipts(bytes, nv, width);
  for (const sim::PrintedImage& r : receipts) {
    if (r.width != width || r.height <= 0) std::abort();
    if (r.dots.size() != static_cast<size_t>(r.width) * static_cast<size_t>(r.height)) std::abort();
  }
  if (sim::render::RenderReceipts(bytes, nv, width) != receipts) std::abort();
  return 0;
}
