#include "sim/render/scan_readback/scan_readers.h"

#include <zbar.h>

#include <memory>

namespace sim {
namespace render {

std::vector<Scanned> ScanWithZbar(const PrintedImage& dots) {
  int width = 0, height = 0;
  std::vector<uint8_t> grey = OnWhitePaper(dots, &width, &height);
  std::unique_ptr<zbar::zbar_image_scanner_t, void (*)(zbar::zbar_image_scanner_t*)> scanner(
      zbar::zbar_image_scanner_create(), zbar::zbar_image_scanner_destroy);
  zbar::zbar_image_scanner_set_config(scanner.get(), zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 1);
  std::unique_ptr<zbar::zbar_image_t, void (*)(zbar::zbar_image_t*)> image(zbar::zbar_image_create(),
                                                                           zbar::zbar_image_destroy);
  zbar::zbar_image_set_format(image.get(), zbar_fourcc('Y', '8', '0', '0'));
  zbar::zbar_image_set_size(image.get(), static_cast<unsigned>(width), static_cast<unsigned>(height));
  zbar::zbar_image_set_data(image.get(), grey.data(), grey.size(), nullptr);
  std::vector<Scanned> found;
  if (zbar::zbar_scan_image(scanner.get(), image.get()) <= 0) return found;
  for (const zbar::zbar_symbol_t* s = zbar::zbar_image_first_symbol(image.get()); s != nullptr;
       s = zbar::zbar_symbol_next(s)) {
    found.push_back({zbar::zbar_get_symbol_name(zbar::zbar_symbol_get_type(s)),
                     std::string(zbar::zbar_symbol_get_data(s), zbar::zbar_symbol_get_data_length(s))});
  }
  return found;
}

}  // namespace render
}  // namespace sim
