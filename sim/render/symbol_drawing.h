#pragma once
// Barcodes and two-dimensional symbols as a printer draws them: the settings
// commands (GS w, GS h, GS H, GS f, and the QR Code and PDF417 functions of
// GS ( k) are kept, and a print command (GS k, GS ( k fn 81) gives the
// symbol's dots, drawn with libzint from the data and settings received
// (Code 128 by an encoder of its own, which keeps the code sets given).
// What the receipt renderer does with the result (alignment, position, the
// human-readable text in the selected font) is its own business.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/printed_image.h"

namespace sim {
namespace render {

struct DrawnSymbol {
  PrintedImage dots;  // the bars or modules only, quiet zone not included
  // One-dimensional codes: the human-readable text and where it goes
  // (GS H: 0 none, 1 above, 2 below, 3 both) in which font (GS f: 0 A, 1 B).
  std::string hri;
  int hriPosition = 0;
  int hriFont = 0;
};

class SymbolDrawing {
 public:
  // p[0..n) is one whole command as the scanner cut it. False when it is no
  // barcode or symbol command. Otherwise the settings are kept, and for a
  // print command *drawn gets the symbol, or *why says why nothing is
  // printed (nothing stored, data the symbology cannot carry...), *drawn
  // then left with no dots.
  bool Command(const uint8_t* p, size_t n, DrawnSymbol* drawn, std::string* why);
  // Power on or ESC @: the settings return to their defaults, stored data is
  // dropped.
  void Reset();

 private:
  struct QrSettings {
    int model = 2;
    int module = 3;
    int level = 0;  // 0..3: L, M, Q, H
    std::vector<uint8_t> data;
    bool stored = false;
  };
  struct Pdf417Settings {
    int columns = 0;  // 0: as the data needs
    int rows = 0;     // 0: as the data needs
    int module = 3;
    int rowHeight = 3;  // in module widths
    bool byRatio = true;
    int errorSetting = 1;  // a level 0..8, or a ratio in tens of percent
    bool truncated = false;
    std::vector<uint8_t> data;
    bool stored = false;
  };

  bool Barcode(const uint8_t* p, size_t n, DrawnSymbol* drawn, std::string* why);
  bool Symbol(const uint8_t* p, size_t n, DrawnSymbol* drawn, std::string* why);
  bool DrawQr(DrawnSymbol* drawn, std::string* why) const;
  bool DrawPdf417(DrawnSymbol* drawn, std::string* why) const;

  int module_ = 3;
  int height_ = 162;
  int hriPosition_ = 0;
  int hriFont_ = 0;
  QrSettings qr_;
  Pdf417Settings pdf417_;
};

}  // namespace render
}  // namespace sim
