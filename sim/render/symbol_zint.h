#pragma once
// libzint as the virtual printer uses it: the symbol's modules, row by row,
// and its human-readable text; no raster of libzint's own, since the printer
// scales modules to its settings in whole dots.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {
namespace render {

struct ZintRequest {
  int symbology = 0;  // a libzint BARCODE_ value
  int option1 = 0;
  int option2 = 0;
  int option3 = 0;
};

struct ZintModules {
  int width = 0;                           // modules across
  std::vector<std::vector<uint8_t>> rows;  // each width long: 1 dark, 0 light
  std::string text;                        // libzint's human-readable text
};

// The bytes are taken as they are (no character set conversion). False with
// libzint's message in *why when libzint refuses the data; its warnings
// (a column count it had to raise, say) still give the symbol.
bool ZintEncode(const ZintRequest& request, const uint8_t* data, size_t length, ZintModules* out,
                std::string* why);

}  // namespace render
}  // namespace sim
