#pragma once
// What a printer remembers between commands that decides how it takes the
// next one: standard or page mode, whether it is at the beginning of a line,
// the page-mode print area and direction, the motion units, and the
// two-dimensional symbol data and the images stored for printing
// (sim/image_memory.h).
//
// Page mode as ESC/POS references describe it: ESC L enters it (in standard
// mode, at the beginning of a line only), FF prints the page and returns to
// standard mode, ESC FF prints it and stays, ESC S returns discarding it, CAN
// clears it, ESC @ resets everything. FF, ESC FF, CAN, ESC S, GS $ and the
// relative GS \ work in page mode only: a printer ignores them in standard
// mode, as it ignores an ESC L it cannot act on, and this model flags each of
// them. ESC W and ESC T are taken in either mode: in standard mode they are
// kept for the next page.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/image_memory.h"
#include "sim/reading.h"

namespace sim {

// The page of the virtual printer: a 203-dpi head 576 dots (72 mm) wide and
// pages of up to 936 dots (117 mm), the page-mode size public references
// give for 80 mm receipt printers. It moves in half dots along the paper:
// the motion units are 1/203 inch across and 1/406 inch along the paper
// until GS P sets others.
struct PageSize {
  static constexpr uint32_t kDotsPerInch = 203;
  static constexpr uint32_t kWidthDots = 576;
  static constexpr uint32_t kHeightDots = 936;
  static constexpr uint32_t kDefaultUnitsX = 203;  // per inch, across the paper
  static constexpr uint32_t kDefaultUnitsY = 406;  // per inch, along the paper
};

class PrinterModes {
 public:
  // A print area in motion units: x and dx across the paper, y and dy along it.
  struct Area {
    uint32_t x = 0, y = 0, dx = 0, dy = 0;
    bool operator==(const Area& o) const { return x == o.x && y == o.y && dx == o.dx && dy == o.dy; }
  };

  PrinterModes() { Reset(); }

  // p[0..n) is one command that the per-command rules (command_rules.h)
  // accepted. Acts on it unless the printer would not here.
  Reading Command(const uint8_t* p, size_t n, Dialect dialect = Dialect::kEscPos);
  // A printable byte went into the line.
  void Text() { lineStart_ = false; }
  // Power on: standard mode, nothing stored.
  void Reset();

  bool PageMode() const { return page_; }
  bool AtLineStart() const { return lineStart_; }
  // The area the next page is laid out in (the whole page until ESC W).
  Area PrintArea() const { return area_; }
  // ESC T: 0 starts at the upper left, 1 lower left, 2 lower right, 3 upper right.
  int Direction() const { return direction_; }
  bool QrStored() const { return qrStored_; }
  bool Pdf417Stored() const { return pdf417Stored_; }
  const ImageMemory& Images() const { return images_; }
  // NV graphics outlive the power: a new reading of the printer starts with
  // what the last one left.
  void SetNvGraphics(const NvGraphics& nv) { images_.SetNv(nv); }
  // The printable page in the current motion units.
  uint32_t PageWidthUnits() const;
  uint32_t PageHeightUnits() const;

 private:
  Reading Control(uint8_t c);
  Reading Esc(const uint8_t* p, size_t n);
  Reading Gs(const uint8_t* p, size_t n);
  Reading Symbol(const uint8_t* p, size_t n);
  Reading SetArea(const uint8_t* p);
  // ESC $ and GS $ in page mode: a position along one side of the area.
  Reading Position(size_t position, bool acrossThePaper) const;
  void LeavePage();
  Area WholePage() const;

  bool page_ = false;
  bool lineStart_ = true;
  Area area_;
  int direction_ = 0;
  uint32_t unitsX_ = PageSize::kDefaultUnitsX;
  uint32_t unitsY_ = PageSize::kDefaultUnitsY;
  bool qrStored_ = false;
  bool pdf417Stored_ = false;
  ImageMemory images_;
};

}  // namespace sim
