#include "sim/render/scan_readback/scan_readers.h"

#include <ZXing/BarcodeFormat.h>
#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/ReadBarcode.h>

namespace sim {
namespace render {

std::vector<Scanned> ScanPdf417WithZxing(const PrintedImage& dots) {
  int width = 0, height = 0;
  const std::vector<uint8_t> grey = OnWhitePaper(dots, &width, &height);
  ZXing::DecodeHints hints;
  hints.setFormats(ZXing::BarcodeFormat::PDF417);
  const ZXing::Result result =
      ZXing::ReadBarcode(ZXing::ImageView(grey.data(), width, height, ZXing::ImageFormat::Lum), hints);
  if (!result.isValid()) return {};
  const ZXing::ByteArray& bytes = result.bytes();
  return {{"PDF417", std::string(bytes.begin(), bytes.end())}};
}

}  // namespace render
}  // namespace sim
