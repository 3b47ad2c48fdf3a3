#include "sim/printer_modes.h"

#include <utility>

#include "sim/rule_helpers.h"

namespace sim {

using namespace rules;

namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kGs = 0x1D;

Reading Ignored(std::string why) {
  Reading reading;
  reading.fault = std::move(why);
  return reading;
}
Reading Notes(std::vector<std::string> notes) {
  Reading reading;
  reading.notes = std::move(notes);
  return reading;
}

// "0..575", or "none" when nothing fits.
std::string Below(uint32_t limit) { return limit == 0 ? "none" : "0.." + std::to_string(limit - 1); }

}  // namespace

void PrinterModes::Reset() {
  page_ = false;
  lineStart_ = true;
  direction_ = 0;
  unitsX_ = PageSize::kDefaultUnitsX;
  unitsY_ = PageSize::kDefaultUnitsY;
  area_ = WholePage();
  qrStored_ = false;
  pdf417Stored_ = false;
  images_.Reset();
}

uint32_t PrinterModes::PageWidthUnits() const { return PageSize::kWidthDots * unitsX_ / PageSize::kDotsPerInch; }

uint32_t PrinterModes::PageHeightUnits() const { return PageSize::kHeightDots * unitsY_ / PageSize::kDotsPerInch; }

PrinterModes::Area PrinterModes::WholePage() const {
  Area a;
  a.dx = PageWidthUnits();
  a.dy = PageHeightUnits();
  return a;
}

void PrinterModes::LeavePage() {
  page_ = false;
  lineStart_ = true;
  // The area goes back to the whole page; the direction stays.
  area_ = WholePage();
}

Reading PrinterModes::Command(const uint8_t* p, size_t n, Dialect dialect) {
  if (n == 1) return Control(p[0]);
  Reading image;
  if (images_.Command(p, n, dialect, &image)) {
    if (!image.fault.empty()) return image;
    // ESC * prints within the line; every other image stands on lines of its own.
    if (p[0] == kEsc) {
      lineStart_ = false;
    } else if (!image.printed.empty()) {
      lineStart_ = true;
    }
    return image;
  }
  if (n >= 2 && p[0] == kEsc) return Esc(p, n);
  if (n >= 3 && p[0] == kGs) return Gs(p, n);
  return {};
}

Reading PrinterModes::Control(uint8_t c) {
  switch (c) {
    case 0x09:  // HT moves into the line
      lineStart_ = false;
      return {};
    case 0x0A:  // LF and CR print the line
    case 0x0D:
      lineStart_ = true;
      return {};
    case 0x0C:  // FF
      if (!page_) return Ignored("ignored in standard mode");
      LeavePage();
      return Notes({"PAGE print", "PAGE end"});
    case 0x18:  // CAN
      if (!page_) return Ignored("ignored in standard mode");
      return Notes({"PAGE clear"});
    default:
      return {};
  }
}

Reading PrinterModes::Esc(const uint8_t* p, size_t n) {
  switch (p[1]) {
    case '@': {
      const bool wasPage = page_;
      Reset();
      if (wasPage) return Notes({"PAGE cancel", "PAGE end"});
      return {};
    }
    case 0x0C:  // ESC FF
      if (!page_) return Ignored("ignored in standard mode");
      return Notes({"PAGE print"});
    case 'L':
      if (page_) return Ignored("ignored in page mode");
      if (!lineStart_) return Ignored("ignored after data in the line");
      page_ = true;
      return Notes({"PAGE begin"});
    case 'S':
      if (!page_) return Ignored("ignored in standard mode");
      LeavePage();
      return Notes({"PAGE cancel", "PAGE end"});
    case 'W':
      return SetArea(p);
    case 'T':
      direction_ = p[2] >= '0' ? p[2] - '0' : p[2];
      return {};
    case '$':
      // Across the paper unless the page runs from the lower or upper right.
      if (page_) return Position(U16(p + 2), direction_ % 2 == 0);
      return {};
    case 'J':
    case 'd':
      lineStart_ = true;
      return {};
    default:
      return {};
  }
}

Reading PrinterModes::Gs(const uint8_t* p, size_t n) {
  switch (p[1]) {
    case '$':
      if (!page_) return Ignored("ignored in standard mode");
      return Position(U16(p + 2), direction_ % 2 != 0);
    case '\\':
      if (!page_) return Ignored("ignored in standard mode");
      return {};
    case 'P':
      unitsX_ = p[2] == 0 ? PageSize::kDefaultUnitsX : p[2];
      unitsY_ = p[3] == 0 ? PageSize::kDefaultUnitsY : p[3];
      return {};
    case '(':
      if (p[2] == 'k') return Symbol(p, n);
      return {};
    case 'k':  // barcodes and cuts leave the printer at the beginning of a line
    case 'V':
      lineStart_ = true;
      return {};
    default:
      return {};
  }
}

Reading PrinterModes::Symbol(const uint8_t* p, size_t n) {
  if (n < 7) return {};
  const uint8_t cn = p[5], fn = p[6];
  bool* stored = cn == 49 ? &qrStored_ : cn == 48 ? &pdf417Stored_ : nullptr;
  if (stored == nullptr) return {};
  switch (fn) {
    case 80:  // stored until the next store or a reset, printed as often as asked
      *stored = true;
      return {};
    case 81:
      if (!*stored) return Ignored(cn == 49 ? "no QR data stored" : "no PDF417 data stored");
      lineStart_ = true;
      return {};
    default:
      return {};
  }
}

// ESC W x y dx dy. A start outside the page makes the printer drop the
// command; an area reaching beyond the page is cut at its edge.
Reading PrinterModes::SetArea(const uint8_t* p) {
  const uint32_t x = static_cast<uint32_t>(U16(p + 2)), y = static_cast<uint32_t>(U16(p + 4));
  const uint32_t dx = static_cast<uint32_t>(U16(p + 6)), dy = static_cast<uint32_t>(U16(p + 8));
  const uint32_t width = PageWidthUnits(), height = PageHeightUnits();
  if (x >= width) return Ignored(Outside("x", x, Below(width).c_str()));
  if (y >= height) return Ignored(Outside("y", y, Below(height).c_str()));
  area_.x = x;
  area_.y = y;
  area_.dx = dx < width - x ? dx : width - x;
  area_.dy = dy < height - y ? dy : height - y;
  return {};
}

Reading PrinterModes::Position(size_t position, bool acrossThePaper) const {
  const uint32_t limit = acrossThePaper ? area_.dx : area_.dy;
  if (position < limit) return {};
  return Ignored(Outside("position", static_cast<long>(position), Below(limit).c_str()));
}

}  // namespace sim
