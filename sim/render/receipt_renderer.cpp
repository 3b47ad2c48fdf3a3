#include "sim/render/receipt_renderer.h"

#include <memory>

#include "sim/command_rules.h"
#include "sim/frame_reader.h"
#include "sim/printer_modes.h"
#include "sim/render/character_cells.h"
#include "sim/render/code_pages.h"
#include "sim/render/dot_images.h"
#include "sim/render/page_canvas.h"
#include "sim/render/paper.h"
#include "sim/render/symbol_drawing.h"
#include "sim/render/text_line.h"

namespace sim {
namespace render {

namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kFs = 0x1C;
constexpr uint8_t kGs = 0x1D;
constexpr int kDotsPerInch = static_cast<int>(PageSize::kDotsPerInch);
// ESC 2: one sixth of an inch.
constexpr int kDefaultLineSpacing = (kDotsPerInch + 3) / 6;
// Between bars and their human-readable text.
constexpr int kHriGap = 2;
constexpr int kDefaultTabColumns = 8;
constexpr int kMaxTabs = 32;

// A parameter byte, 0 past the command's end: the scanner cut every
// command to its length, so this only guards against a reading of our own.
uint8_t At(const uint8_t* p, size_t n, size_t i) { return i < n ? p[i] : 0; }
int Word(const uint8_t* p, size_t n, size_t i) { return At(p, n, i) | At(p, n, i + 1) << 8; }

// 0..count-1 or its character form '0'...
int Choice(uint8_t v) { return v >= '0' ? v - '0' : v; }

// The settings ESC @ returns to.
struct Settings {
  TextStyle style;
  bool upsideDown = false;
  int align = 0;
  int leftMargin = 0;   // dots
  int areaWidth = -1;   // dots; -1: to the paper's edge
  int lineSpacing = kDefaultLineSpacing;
  int table = 0;
  int unitsX = static_cast<int>(PageSize::kDefaultUnitsX);
  int unitsY = static_cast<int>(PageSize::kDefaultUnitsY);
  std::vector<int> tabs;  // dots from the area's left edge; empty: every 8 characters
  bool tabsSet = false;
  // GS ( L fn 112's enlargement, applied when the buffer is printed.
  int storedAcross = 1, storedAlong = 1;
};

class Renderer : public FrameSink {
 public:
  Renderer(const NvGraphics& nv, int paperWidth) : paper_(paperWidth) { modes_.SetNvGraphics(nv); }

  void OnToken(TokenKind kind, const uint8_t* p, size_t n, Dialect dialect) override {
    if (kind == TokenKind::kText) {
      modes_.Text();
      for (size_t i = 0; i < n; ++i) Character(CharacterOf(s_.table, p[i]));
      return;
    }
    if (kind != TokenKind::kCommand || n == 0) return;
    if (!CommandFault(p, n, dialect).empty()) return;
    DrawnSymbol drawn;
    std::string why;
    const bool symbol = symbols_.Command(p, n, &drawn, &why);
    const Reading reading = modes_.Command(p, n, dialect);
    if (!reading.fault.empty()) return;
    if (symbol) {
      if (!drawn.dots.dots.empty()) Symbol(drawn);
      return;
    }
    if (!reading.printed.empty()) {
      Image(p, reading.printed.front());
      return;
    }
    if (n == 1) {
      Control(p[0]);
    } else if (p[0] == kEsc) {
      Esc(p, n);
    } else if (p[0] == kGs) {
      Gs(p, n);
    }
    for (const std::string& note : reading.notes) Page(note);
  }
  void OnFrameBegin() override {}
  void OnFrameEnd() override {}
  void OnBadFrame(const uint8_t*, size_t) override {}

  std::vector<PrintedImage> Receipts() const { return paper_.Receipts(); }

 private:
  // Standard mode: the print area across the paper.
  int AreaLeft() const { return s_.leftMargin < paper_.Width() ? s_.leftMargin : paper_.Width() - 1; }
  int AreaWidth() const {
    const int room = paper_.Width() - AreaLeft();
    return s_.areaWidth < 0 || s_.areaWidth > room ? room : (s_.areaWidth > 0 ? s_.areaWidth : 1);
  }
  int LineWidth() const { return page_ ? page_->Width() : AreaWidth(); }

  int AcrossDots(int units) const { return units * kDotsPerInch / s_.unitsX; }
  int AlongDots(int units) const { return units * kDotsPerInch / s_.unitsY; }
  // Page mode: across and along the text as it runs in the selected direction.
  int RunningAcrossDots(int units) const { return direction_ % 2 ? AlongDots(units) : AcrossDots(units); }
  int RunningAlongDots(int units) const { return direction_ % 2 ? AcrossDots(units) : AlongDots(units); }

  void Character(char32_t c) {
    const PrintedImage cell = DrawCharacter(c, s_.style);
    if (!line_.Add(cell, LineWidth())) {
      PrintLine();
      line_.Add(cell, LineWidth());
    }
  }

  // LF: the line is printed and the paper fed by the line spacing, or by
  // the line's height when that is more.
  void PrintLine() {
    const int height = line_.Height();
    if (!line_.Empty()) LayLine();
    Advance(height > s_.lineSpacing ? height : s_.lineSpacing);
  }
  void LayLine() {
    PrintedImage image = line_.Compose(LineWidth(), s_.align);
    line_.Clear();
    if (page_) {
      page_->Lay(image, 0, pageY_);
      return;
    }
    if (s_.upsideDown) image = TurnHalf(image);
    paper_.Lay(image, AreaLeft(), 0);
  }
  void Advance(int dots) {
    if (page_) {
      pageY_ += dots;
    } else {
      paper_.Feed(dots);
    }
  }
  // Prints what the line holds without the line spacing (before a feed by
  // a distance of its own, an image or a cut).
  int FlushLine() {
    if (line_.Empty()) return 0;
    const int height = line_.Height();
    LayLine();
    Advance(height);
    return height;
  }

  // An image or symbol on lines of its own, aligned in the print area.
  void Block(const PrintedImage& block) {
    FlushLine();
    const int width = LineWidth();
    int x = 0;
    if (block.width < width) {
      if (s_.align == 1) x = (width - block.width) / 2;
      if (s_.align == 2) x = width - block.width;
    }
    if (page_) {
      page_->Lay(block, x, pageY_);
      pageY_ += block.height;
    } else {
      paper_.Print(block, AreaLeft() + x);
    }
  }

  void Symbol(const DrawnSymbol& drawn) {
    TextStyle plain;
    plain.font = drawn.hriFont == 1 ? 1 : 0;
    PrintedImage text;
    if (!drawn.hri.empty() && drawn.hriPosition != 0) {
      TextLine hri;
      for (char c : drawn.hri) hri.Add(DrawCharacter(static_cast<unsigned char>(c), plain), 1 << 20);
      text = hri.Compose(hri.Cursor(), 0);
    }
    const bool above = (drawn.hriPosition & 1) && text.height > 0;
    const bool below = (drawn.hriPosition & 2) && text.height > 0;
    const PrintedImage& bars = drawn.dots;
    const int width = bars.width > text.width ? bars.width : text.width;
    const int textRows = text.height + kHriGap;
    PrintedImage block = BlankImage(width, bars.height + (above ? textRows : 0) + (below ? textRows : 0));
    int y = 0;
    if (above) {
      Stamp(text, (width - text.width) / 2, 0, &block);
      y = textRows;
    }
    Stamp(bars, (width - bars.width) / 2, y, &block);
    if (below) Stamp(text, (width - text.width) / 2, y + bars.height + kHriGap, &block);
    Block(block);
  }

  // What an image command printed, enlarged as the command says.
  void Image(const uint8_t* p, const PrintedImage& image) {
    if (p[0] == kEsc) {  // ESC * m: a piece of the line
      const int m = p[2];
      const PrintedImage piece = Enlarge(image, m == 0 || m == 32 ? 2 : 1, m < 32 ? 3 : 1);
      if (!line_.Add(piece, LineWidth())) {
        PrintLine();
        line_.Add(piece, LineWidth());
      }
      return;
    }
    int selector = 0;
    if (p[0] == kGs && p[1] == 'v') selector = Choice(p[3]);
    if (p[0] == kGs && p[1] == '/') selector = Choice(p[2]);
    if (p[0] == kFs && p[1] == 'p') selector = Choice(p[3]);
    int across = selector & 1 ? 2 : 1, along = selector & 2 ? 2 : 1;
    if (p[0] == kGs && (p[1] == '(' || p[1] == '8')) {
      const uint8_t* d = p + (p[1] == '8' ? 7 : 5);
      if (d[1] == 69) {
        across = d[4] == 2 ? 2 : 1;
        along = d[5] == 2 ? 2 : 1;
      } else {
        across = s_.storedAcross;
        along = s_.storedAlong;
      }
    }
    Block(Enlarge(image, across, along));
  }

  void Control(uint8_t c) {
    switch (c) {
      case 0x0A:
        PrintLine();
        break;
      case 0x09:
        Tab();
        break;
      default:
        break;  // CR, FF, CAN: page mode's business (Page)
    }
  }

  void Tab() {
    const int cursor = line_.Cursor();
    int next = -1;
    if (s_.tabsSet) {
      for (int stop : s_.tabs) {
        if (stop > cursor) {
          next = stop;
          break;
        }
      }
    } else {
      const int step = kDefaultTabColumns * CellWidth(0);
      next = (cursor / step + 1) * step;
    }
    if (next < 0 || next >= LineWidth()) return;
    line_.MoveTo(next);
  }

  void Esc(const uint8_t* p, size_t n) {
    switch (p[1]) {
      case '@':
        line_.Clear();
        s_ = Settings();
        symbols_.Reset();
        break;
      case '!': {
        const int m = At(p, n, 2);
        s_.style.font = m & 1;
        s_.style.emphasis = (m & 8) != 0;
        s_.style.along = m & 16 ? 2 : 1;
        s_.style.across = m & 32 ? 2 : 1;
        s_.style.underline = m & 128 ? 1 : 0;
        break;
      }
      case 'E':
      case 'G':
        s_.style.emphasis = (At(p, n, 2) & 1) != 0;
        break;
      case '-':
        s_.style.underline = Choice(At(p, n, 2)) > 2 ? 0 : Choice(At(p, n, 2));
        break;
      case 'M':
        s_.style.font = Choice(At(p, n, 2)) == 0 ? 0 : 1;
        break;
      case 'a':
        s_.align = Choice(At(p, n, 2)) % 3;
        break;
      case '{':
        s_.upsideDown = (At(p, n, 2) & 1) != 0;
        break;
      case 't':
        s_.table = At(p, n, 2);
        break;
      case ' ':
        s_.style.rightSpacing = AcrossDots(At(p, n, 2));
        break;
      case '2':
        s_.lineSpacing = kDefaultLineSpacing;
        break;
      case '3':
        s_.lineSpacing = AlongDots(At(p, n, 2));
        break;
      case '$':
        line_.MoveTo(page_ ? RunningAcrossDots(Word(p, n, 2)) : AcrossDots(Word(p, n, 2)));
        break;
      case '\\':
        line_.MoveTo(line_.Cursor() + AcrossDots(static_cast<int16_t>(Word(p, n, 2))));
        break;
      case 'J': {
        const int printed = FlushLine();
        const int feed = AlongDots(At(p, n, 2));
        Advance(feed > printed ? feed - printed : 0);
        break;
      }
      case 'd': {
        const bool printed = !line_.Empty();
        if (printed) PrintLine();
        for (int i = printed ? 1 : 0; i < At(p, n, 2); ++i) Advance(s_.lineSpacing);
        break;
      }
      case 'D':
        s_.tabs.clear();
        s_.tabsSet = true;
        for (size_t i = 2; i < n && p[i] != 0 && s_.tabs.size() < kMaxTabs; ++i) {
          s_.tabs.push_back(p[i] * (CellWidth(s_.style.font) + s_.style.rightSpacing) * s_.style.across);
        }
        break;
      case 'i':
      case 'm':
        Cut(0);
        break;
      case 'W':
      case 'T':
        if (page_) SelectArea();
        break;
      default:
        break;
    }
  }

  void Gs(const uint8_t* p, size_t n) {
    switch (p[1]) {
      case '!':
        s_.style.across = (At(p, n, 2) >> 4 & 7) + 1;
        s_.style.along = (At(p, n, 2) & 7) + 1;
        break;
      case 'B':
        s_.style.reverse = (At(p, n, 2) & 1) != 0;
        break;
      case 'L':
        s_.leftMargin = AcrossDots(Word(p, n, 2));
        break;
      case 'W':
        s_.areaWidth = AcrossDots(Word(p, n, 2));
        break;
      case 'P':
        s_.unitsX = At(p, n, 2) == 0 ? static_cast<int>(PageSize::kDefaultUnitsX) : At(p, n, 2);
        s_.unitsY = At(p, n, 3) == 0 ? static_cast<int>(PageSize::kDefaultUnitsY) : At(p, n, 3);
        break;
      case '$':
        if (page_) {
          FlushLine();
          pageY_ = RunningAlongDots(Word(p, n, 2));
        }
        break;
      case '\\':
        if (page_) {
          FlushLine();
          pageY_ += RunningAlongDots(static_cast<int16_t>(Word(p, n, 2)));
          if (pageY_ < 0) pageY_ = 0;
        }
        break;
      case 'V': {
        const int m = At(p, n, 2);
        Cut(n >= 4 && (m == 65 || m == 66) ? AlongDots(At(p, n, 3)) : 0);
        break;
      }
      case '(':
      case '8':
        StoredScale(p, n);
        break;
      default:
        break;
    }
  }

  // GS ( L / GS 8 L fn 112 says how its image is to be enlarged when printed.
  void StoredScale(const uint8_t* p, size_t n) {
    const size_t header = p[1] == '8' ? 7 : 5;
    if (At(p, n, 2) != 'L' || n < header + 5) return;
    const uint8_t* d = p + header;
    if (d[1] != 112) return;
    s_.storedAcross = d[3] == 2 ? 2 : 1;
    s_.storedAlong = d[4] == 2 ? 2 : 1;
  }

  void Cut(int feed) {
    if (page_) return;
    FlushLine();
    paper_.Feed(feed);
    paper_.Cut();
  }

  void SelectArea() {
    FlushLine();
    const PrinterModes::Area a = modes_.PrintArea();
    PageCanvas::Area area;
    area.x = AcrossDots(static_cast<int>(a.x));
    area.y = AlongDots(static_cast<int>(a.y));
    area.dx = AcrossDots(static_cast<int>(a.dx));
    area.dy = AlongDots(static_cast<int>(a.dy));
    if (area.x + area.dx > paper_.Width()) area.dx = paper_.Width() > area.x ? paper_.Width() - area.x : 0;
    direction_ = modes_.Direction() & 3;
    page_->Select(area, direction_);
    pageY_ = 0;
  }

  void Page(const std::string& note) {
    if (note == "PAGE begin") {
      FlushLine();
      page_ = std::make_unique<PageCanvas>(paper_.Width(), static_cast<int>(PageSize::kHeightDots));
      SelectArea();
    } else if (note == "PAGE print" && page_) {
      FlushLine();
      paper_.Print(page_->Print(), 0);
    } else if (note == "PAGE clear" && page_) {
      line_.Clear();
      page_->Clear();
      pageY_ = 0;
    } else if (note == "PAGE cancel") {
      line_.Clear();
    } else if (note == "PAGE end") {
      page_.reset();
      pageY_ = 0;
    }
  }

  Paper paper_;
  PrinterModes modes_;
  SymbolDrawing symbols_;
  Settings s_;
  TextLine line_;
  std::unique_ptr<PageCanvas> page_;
  int pageY_ = 0;
  int direction_ = 0;
};

}  // namespace

int PaperWidthForModel(const std::string& model) {
  return model.find("58") != std::string::npos ? kPaper58Dots : kPaper80Dots;
}

std::vector<PrintedImage> RenderReceipts(const std::vector<uint8_t>& bytes, const NvGraphics& nvAtStart,
                                         int paperWidthDots) {
  if (paperWidthDots <= 0) paperWidthDots = kPaper80Dots;
  Renderer renderer(nvAtStart, paperWidthDots);
  FrameReader reader;
  reader.Feed(bytes.data(), bytes.size(), renderer);
  reader.FlushCandidate(renderer);
  return renderer.Receipts();
}

}  // namespace render
}  // namespace sim
