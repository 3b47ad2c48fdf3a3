#include "sim/render/symbol_zint.h"

#include <zint.h>

#include <cstring>
#include <memory>

namespace sim {
namespace render {

namespace {

struct SymbolDeleter {
  void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

}  // namespace

bool ZintEncode(const ZintRequest& request, const uint8_t* data, size_t length, ZintModules* out,
                std::string* why) {
  std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
  if (!symbol) {
    *why = "libzint could not allocate a symbol";
    return false;
  }
  symbol->symbology = request.symbology;
  symbol->option_1 = request.option1;
  symbol->option_2 = request.option2;
  symbol->option_3 = request.option3;
  symbol->input_mode = DATA_MODE;
  if (length == 0 || length > 100000) {
    *why = "no data for libzint, or far too much";
    return false;
  }
  if (ZBarcode_Encode(symbol.get(), data, static_cast<int>(length)) >= ZINT_ERROR) {
    why->assign(symbol->errtxt, strnlen(symbol->errtxt, sizeof symbol->errtxt));
    return false;
  }
  out->width = symbol->width;
  out->rows.assign(static_cast<size_t>(symbol->rows),
                   std::vector<uint8_t>(static_cast<size_t>(symbol->width)));
  for (int y = 0; y < symbol->rows; ++y) {
    for (int x = 0; x < symbol->width; ++x) {
      // libzint keeps each row's modules as bits, the lowest bit leftmost.
      out->rows[y][x] = (symbol->encoded_data[y][x >> 3] >> (x & 7)) & 1;
    }
  }
  const char* text = reinterpret_cast<const char*>(symbol->text);
  out->text.assign(text, strnlen(text, sizeof symbol->text));
  return true;
}

}  // namespace render
}  // namespace sim
