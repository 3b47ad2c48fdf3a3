#include "sim/render/symbol_drawing.h"

#include <zint.h>

#include <algorithm>

#include "sim/render/symbol_barcode.h"
#include "sim/render/symbol_zint.h"
#include "sim/symbol_rules.h"

namespace sim {
namespace render {

namespace {

constexpr uint8_t kGs = 0x1D;
constexpr uint8_t kQr = 49, kPdf417 = 48;
constexpr uint8_t kPrint = 81;

size_t U16(const uint8_t* p) { return size_t{p[0]} | (size_t{p[1]} << 8); }

// GS H and GS f take a number or its digit character.
int Choice(uint8_t n) { return n >= '0' ? n - '0' : n; }

// Rows of modules, each module `across` dots wide and its row `down` dots
// high.
// The modules' square outlined one module thick and crossed by its two
// diagonals.
void CrossedBox(ZintModules* z) {
  const size_t size = z->rows.size();
  for (size_t y = 0; y < size; ++y) {
    std::vector<uint8_t>& row = z->rows[y];
    for (size_t x = 0; x < row.size(); ++x) {
      const bool edge = x == 0 || y == 0 || x + 1 == row.size() || y + 1 == size;
      row[x] = edge || x == y || x + y + 1 == size ? 1 : 0;
    }
  }
}

PrintedImage Scaled(const std::vector<std::vector<uint8_t>>& rows, int across, int down) {
  PrintedImage image;
  if (rows.empty()) return image;
  image.width = static_cast<int>(rows[0].size()) * across;
  image.height = static_cast<int>(rows.size()) * down;
  image.dots.resize(static_cast<size_t>(image.width) * image.height);
  for (size_t r = 0; r < rows.size(); ++r) {
    std::vector<uint8_t> line;
    line.reserve(static_cast<size_t>(image.width));
    for (uint8_t m : rows[r]) line.insert(line.end(), static_cast<size_t>(across), m);
    for (int y = 0; y < down; ++y) {
      std::copy(line.begin(), line.end(), image.dots.begin() + (r * down + y) * image.width);
    }
  }
  return image;
}

// The smallest level whose 2^(level+1) error codewords reach the share of
// the data codewords; byte compaction's 5 codewords per 6 bytes (and the
// length and mode codewords) stand for the data codewords.
int Pdf417LevelForRatio(size_t bytes, int tensOfPercent) {
  const size_t dataCodewords = 2 + bytes / 6 * 5 + bytes % 6;
  const size_t wanted = (dataCodewords * static_cast<size_t>(tensOfPercent) + 9) / 10;
  int level = 0;
  while (level < 8 && (size_t{2} << level) < wanted) ++level;
  return level;
}

}  // namespace

bool SymbolDrawing::Command(const uint8_t* p, size_t n, DrawnSymbol* drawn, std::string* why) {
  if (n < 3 || p[0] != kGs) return false;
  switch (p[1]) {
    case 'k':
      return Barcode(p, n, drawn, why);
    case '(':
      return p[2] == 'k' && Symbol(p, n, drawn, why);
    default:
      break;
  }
  if (n != 3) return false;
  const uint8_t v = p[2];
  switch (p[1]) {
    case 'w':
      if (v >= 2 && v <= 6) module_ = v;  // others leave the width as it was
      return true;
    case 'h':
      height_ = std::max<int>(v, 1);
      return true;
    case 'H':
      if (Choice(v) >= 0 && Choice(v) <= 3) hriPosition_ = Choice(v);
      return true;
    case 'f':
      if (Choice(v) >= 0 && Choice(v) <= 4) hriFont_ = Choice(v);
      return true;
    default:
      return false;
  }
}

void SymbolDrawing::Reset() { *this = SymbolDrawing(); }

bool SymbolDrawing::Barcode(const uint8_t* p, size_t n, DrawnSymbol* drawn, std::string* why) {
  *drawn = DrawnSymbol();
  if (n < 4 || (p[2] >= 65 && n != size_t{p[3]} + 4)) {
    *why = "GS k whose data does not match its length";
    return true;
  }
  const rules::Fault fault = rules::BarcodeFault(p, n);
  if (!fault.empty()) {
    *why = fault;
    return true;
  }
  int m = p[2];
  std::string data;
  if (m <= 6) {
    m += 65;
    data.assign(reinterpret_cast<const char*>(p + 3), n - 4);
  } else {
    data.assign(reinterpret_cast<const char*>(p + 4), p[3]);
  }
  std::string hri;
  if (!DrawBarcode(m, data, module_, height_, &drawn->dots, &hri, why)) return true;
  drawn->hri = hri;
  drawn->hriPosition = hriPosition_;
  drawn->hriFont = hriFont_;
  return true;
}

bool SymbolDrawing::Symbol(const uint8_t* p, size_t n, DrawnSymbol* drawn, std::string* why) {
  *drawn = DrawnSymbol();
  if (n < 7 || U16(p + 3) + 5 != n) {
    *why = "GS ( k whose length does not match its bytes";
    return true;
  }
  const uint8_t* d = p + 5;  // cn fn parameters
  const size_t length = n - 5;
  const uint8_t cn = d[0], fn = d[1];
  if (cn != kQr && cn != kPdf417) {
    if (fn == kPrint) *why = "GS ( k symbol " + std::to_string(cn) + " is not drawn";
    return true;
  }
  const rules::Fault fault = rules::SymbolFault(p, n);
  if (!fault.empty()) {
    // The printer ignores the command; a print of it prints nothing.
    if (fn == kPrint) *why = fault;
    return true;
  }
  if (cn == kQr) {
    switch (fn) {
      case 65:
        qr_.model = d[2] - '0';
        break;
      case 67:
        qr_.module = d[2];
        break;
      case 69:
        qr_.level = d[2] - '0';
        break;
      case 80:
        qr_.data.assign(d + 3, d + length);
        qr_.stored = true;
        break;
      case kPrint:
        DrawQr(drawn, why);
        break;
      default:
        break;
    }
    return true;
  }
  switch (fn) {
    case 65:
      pdf417_.columns = d[2];
      break;
    case 66:
      pdf417_.rows = d[2];
      break;
    case 67:
      pdf417_.module = d[2];
      break;
    case 68:
      pdf417_.rowHeight = d[2];
      break;
    case 69:
      pdf417_.byRatio = d[2] == '1';
      pdf417_.errorSetting = pdf417_.byRatio ? d[3] : d[3] - '0';
      break;
    case 70:
      pdf417_.truncated = d[2] == 1;
      break;
    case 80:
      pdf417_.data.assign(d + 3, d + length);
      pdf417_.stored = true;
      break;
    case kPrint:
      DrawPdf417(drawn, why);
      break;
    default:
      break;
  }
  return true;
}

bool SymbolDrawing::DrawQr(DrawnSymbol* drawn, std::string* why) const {
  if (!qr_.stored) {
    *why = "QR print with no data stored";
    return false;
  }
  ZintRequest request;
  request.symbology = BARCODE_QRCODE;
  request.option1 = qr_.level + 1;
  ZintModules z;
  if (!ZintEncode(request, qr_.data.data(), qr_.data.size(), &z, why)) return false;
  if (qr_.model != 2) {
    // libzint draws model 2 only. A model 1 symbol takes about the room of
    // the model 2 symbol of the same data; a crossed box of that size shows
    // where it prints without passing for a code anything could scan.
    CrossedBox(&z);
    *why = "QR model 1 shown as a crossed box: only model 2 is drawn";
  }
  drawn->dots = Scaled(z.rows, qr_.module, qr_.module);
  return true;
}

bool SymbolDrawing::DrawPdf417(DrawnSymbol* drawn, std::string* why) const {
  if (!pdf417_.stored) {
    *why = "PDF417 print with no data stored";
    return false;
  }
  ZintRequest request;
  request.symbology = pdf417_.truncated ? BARCODE_PDF417COMP : BARCODE_PDF417;
  request.option1 =
      pdf417_.byRatio ? Pdf417LevelForRatio(pdf417_.data.size(), pdf417_.errorSetting) : pdf417_.errorSetting;
  request.option2 = pdf417_.columns;
  request.option3 = pdf417_.rows;
  ZintModules z;
  if (!ZintEncode(request, pdf417_.data.data(), pdf417_.data.size(), &z, why)) return false;
  drawn->dots = Scaled(z.rows, pdf417_.module, pdf417_.rowHeight * pdf417_.module);
  return true;
}

}  // namespace render
}  // namespace sim
