#include "sim/render/symbol_barcode.h"

#include <zint.h>

#include "sim/render/symbol_code128.h"
#include "sim/render/symbol_ean_upc.h"
#include "sim/render/symbol_zint.h"

namespace sim {
namespace render {

namespace {

// CODE39, ITF and CODABAR have narrow and wide elements only. The printer
// makes a narrow element the module width and a wide one the width its
// module width gives it (2.5 times, rounded up: 5, 8, 10, 13, 15 dots for
// 2..6), where libzint's modules put them at 2 or 3 narrow widths.
bool TwoWidths(int m) { return m == 69 || m == 70 || m == 71; }
int WideDots(int module) { return (module * 5 + 1) / 2; }

// One row of bars: each run of like modules becomes the dots it takes.
PrintedImage Bars(const std::vector<uint8_t>& modules, bool twoWidths, int module, int height) {
  std::vector<uint8_t> line;
  for (size_t i = 0; i < modules.size();) {
    size_t run = 1;
    while (i + run < modules.size() && modules[i + run] == modules[i]) ++run;
    const size_t dots = twoWidths ? (run == 1 ? module : WideDots(module)) : run * module;
    line.insert(line.end(), dots, modules[i]);
    i += run;
  }
  PrintedImage image;
  image.width = static_cast<int>(line.size());
  image.height = height;
  for (int y = 0; y < height; ++y) image.dots.insert(image.dots.end(), line.begin(), line.end());
  return image;
}

bool Zint(int symbology, const std::string& data, ZintModules* modules, std::string* why) {
  ZintRequest request;
  request.symbology = symbology;
  return ZintEncode(request, reinterpret_cast<const uint8_t*>(data.data()), data.size(), modules, why);
}

// The modules and text of one barcode system's data.
bool BarcodeModules(int m, const std::string& data, std::vector<uint8_t>* modules, std::string* hri,
                    std::string* why) {
  ZintModules z;
  std::string body;
  bool ok = false;
  switch (m) {
    case 65:
      ok = Zint(BARCODE_UPCA, data, &z, why);
      break;
    case 66: {
      std::string e = data;
      if (data.size() >= 11) {
        if (data.size() == 12 && !WithoutCheckDigit(data, &body, why)) return false;
        if (!UpcEFromUpcA(data.substr(0, 11), &e, why)) return false;
      }
      ok = Zint(BARCODE_UPCE, e, &z, why);
      break;
    }
    case 67:
      ok = Zint(BARCODE_EANX, data, &z, why);
      break;
    case 68:
      // libzint would read eight digits as a short EAN-13.
      if (data.size() == 8 && !WithoutCheckDigit(data, &body, why)) return false;
      ok = Zint(BARCODE_EANX, data.size() == 8 ? body : data, &z, why);
      break;
    case 69: {
      // The printer adds the start and stop characters unless given.
      body = data;
      if (body.size() >= 2 && body.front() == '*' && body.back() == '*')
        body = body.substr(1, body.size() - 2);
      if (body.empty() || body.find('*') != std::string::npos) {
        *why = "CODE39 '*' is only the start and the stop character";
        return false;
      }
      ok = Zint(BARCODE_CODE39, body, &z, why);
      break;
    }
    case 70:
      ok = Zint(BARCODE_C25INTER, data, &z, why);
      break;
    case 71:
      ok = Zint(BARCODE_CODABAR, data, &z, why);
      break;
    case 72:
      ok = Zint(BARCODE_CODE93, data, &z, why);
      break;
    case 73: {
      Code128Bars bars;
      if (!EncodeCode128(reinterpret_cast<const uint8_t*>(data.data()), data.size(), &bars, why))
        return false;
      *modules = std::move(bars.modules);
      *hri = std::move(bars.hri);
      return true;
    }
    case 75:
    case 76:
      ok = Zint(BARCODE_DBAR_OMN, data, &z, why);
      break;
    case 77:
      ok = Zint(BARCODE_DBAR_LTD, data, &z, why);
      break;
    case 79:
      ok = Zint(BARCODE_CODE128, data, &z, why);
      break;
    default:
      *why = m == 74 ? "GS1-128 is not drawn" : "GS1 DataBar Expanded is not drawn";
      return false;
  }
  if (!ok) return false;
  if (z.rows.size() != 1) {
    *why = "libzint drew " + std::to_string(z.rows.size()) + " rows for a one-row code";
    return false;
  }
  *modules = std::move(z.rows[0]);
  *hri = z.text;
  return true;
}

}  // namespace

bool DrawBarcode(int m, const std::string& data, int module, int height, PrintedImage* dots, std::string* hri,
                 std::string* why) {
  std::vector<uint8_t> modules;
  if (!BarcodeModules(m, data, &modules, hri, why)) return false;
  *dots = Bars(modules, TwoWidths(m), module, height);
  return true;
}

}  // namespace render
}  // namespace sim
