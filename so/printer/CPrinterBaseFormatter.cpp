// The OPOS escape-sequence formatter. One walk over the converted print data:
// printable bytes are copied into the current line, each ESC | sequence turns
// into command-helper calls, and what a sequence changed is undone at the end.
#include <algorithm>
#include <cstring>

#include "so/format/TextConversion.h"
#include "so/printer/CPrinterBase.h"
#include "so/printer/PropertyIndex.h"

namespace QEL {
namespace Printer {

namespace {

constexpr uint8_t ESC = 0x1B;
constexpr uint8_t HT = 0x09;
constexpr uint8_t LF = 0x0A;
constexpr uint8_t FF = 0x0C;
constexpr int32_t kDefaultUnderline = 1;
constexpr float kMaxFeedMm = 1000.0f;

// One parsed "ESC | [*] [!] [number] [modifier] Command".
struct EscapeSequence {
  size_t begin = 0;  // at the ESC
  size_t end = 0;    // one past the command letter (or past what was read)
  bool asterisk = false;
  bool exclamation = false;
  bool hasNumber = false;
  int64_t number = 0;
  const uint8_t* modifier = nullptr;
  size_t modifierLength = 0;
  char command = 0;  // 0 when no uppercase letter ended the sequence

  bool Modifier(const char* text) const {
    const size_t n = std::strlen(text);
    return modifierLength == n && std::memcmp(modifier, text, n) == 0;
  }
};

bool IsLower(uint8_t c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(uint8_t c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

EscapeSequence ParseSequence(const uint8_t* in, size_t length, size_t at) {
  EscapeSequence seq;
  seq.begin = at;
  size_t i = at + 2;  // past ESC |
  if (i < length && in[i] == '*') {
    seq.asterisk = true;
    ++i;
  }
  if (i < length && in[i] == '!') {
    seq.exclamation = true;
    ++i;
  }
  bool leading = true;
  while (i < length && (IsDigit(in[i]) || in[i] == '.')) {
    seq.hasNumber = true;
    if (in[i] == '.') {
      leading = false;
    } else if (leading && seq.number < 1000000000) {
      seq.number = seq.number * 10 + (in[i] - '0');
    }
    ++i;
  }
  const size_t modifierStart = i;
  while (i < length && IsLower(in[i])) ++i;
  seq.modifier = in + modifierStart;
  seq.modifierLength = i - modifierStart;
  if (i < length && IsUpper(in[i])) {
    seq.command = static_cast<char>(in[i]);
    ++i;
  }
  seq.end = i;
  return seq;
}

}  // namespace

void CPrinterBase::SelectHPosInStd(PrinterBuffer& buffer, char alignment, int32_t width) {
  const int32_t lineWidth = props_.recLineWidth;
  if (alignment == 'c') {
    if (width < lineWidth) cmdHelper_->SetAbsolutePosition(buffer, (lineWidth - width) / 2);
  } else if (alignment == 'r') {
    if (width < lineWidth) cmdHelper_->SetAbsolutePosition(buffer, lineWidth - width);
  } else if (alignment == 'l') {
    cmdHelper_->SetAbsolutePosition(buffer, 0);
  }
}

void CPrinterBase::SelectPrintMode(PrinterBuffer& buffer, bool bold, bool /*ignored*/,
                                   bool doubleWidth, bool doubleHeight, bool underline,
                                   bool fontB) {
  if (kanjiMode_) {
    lastKanjiPrintMode_ = static_cast<uint8_t>(
        cmdHelper_->SetKanjiPrintMode(buffer, doubleWidth, doubleHeight, underline));
  } else {
    lastPrintMode_ = static_cast<uint8_t>(
        cmdHelper_->SetPrintMode(buffer, fontB, bold, doubleWidth, doubleHeight, underline));
  }
}

void CPrinterBase::ClearFormatInStd(PrinterBuffer& buffer) {
  cmdHelper_->SetJustification(buffer, 0);
  cmdHelper_->SetLeftMargin(buffer, 0);
  cmdHelper_->SetPrintMode(buffer, false, false, false, false, false);
}

int32_t CPrinterBase::FormatStringToOutBuffer(PrinterBuffer& out, const uint8_t* in, size_t length,
                                              bool validateOnly) {
  if (cmdHelper_ == nullptr) return OPOS_E_FAILURE;
  CCmdHelperBase& helper = *cmdHelper_;
  PrinterBuffer& line = lineBuffer_;
  line.discard();

  const bool pageMode = modes_.pageMode;
  const bool sideways = modes_.Sideways();
  const bool rotatedAxes = sideways || modes_.RotatedPageDirection();

  int32_t charWidth = charWidth_;
  int32_t charHeight = charHeight_;
  char alignment = 'l';
  // The justification the printer holds for this line (ESC a is taken only
  // at the start of a line).
  char printerAlignment = 'l';
  bool midLineAlignment = false;
  int32_t lineWidth = 0;
  int32_t pieceWidth = 0;
  int32_t lineHeight = props_.recLineSpacing;
  int32_t hMul = 1, vMul = 1;
  int32_t hScale = 1, vScale = 1;
  bool boldOrUnderlineUsed = false, alignmentChanged = false, sizeChanged = false;
  bool reverseUsed = false;
  int32_t pendingFont = -1;
  bool error = false, warning = false;
  bool formFeedSeen = false;

  auto closeLine = [&](bool lineEnd) {
    // The piece that followed a change in the middle of the line is placed
    // in front of it.
    if (!pageMode && midLineAlignment) SelectHPosInStd(out, alignment, pieceWidth);
    out.append(line);
    line.discard();
    if (lineEnd) {
      lineWidth = 0;
      pieceWidth = 0;
      lineHeight = props_.recLineSpacing;
      if (midLineAlignment) alignment = printerAlignment;
      midLineAlignment = false;
    }
  };

  size_t i = 0;
  while (i < length) {
    const uint8_t b = in[i];
    if (b == ESC && i + 1 < length && in[i + 1] == '|') {
      const EscapeSequence seq = ParseSequence(in, length, i);
      const size_t rawLength = seq.end - seq.begin;
      auto unusable = [&]() {
        line.append(in + seq.begin, rawLength);
        error = true;
      };
      pendingFont = -1;  // any escape sequence cancels a pending font command
      if (seq.command == 0) {
        line.append(in + seq.begin, rawLength);
        error = true;
        if (validateOnly) return OPOS_E_FAILURE;
        i = seq.end;
        continue;
      }
      size_t next = seq.end;
      bool usable = true;
      const int64_t number = seq.number;
      switch (seq.command) {
        case 'A': {
          char wanted = 0;
          if (seq.Modifier("c")) wanted = 'c';
          else if (seq.Modifier("r")) wanted = 'r';
          else if (seq.Modifier("l")) wanted = 'l';
          if (wanted == 0) {
            usable = false;
            break;
          }
          if (wanted == alignment || pageMode || validateOnly) {
            alignment = wanted;
            break;
          }
          if (lineWidth == 0 && !midLineAlignment) {
            helper.SetJustification(line, wanted == 'c' ? 1 : wanted == 'r' ? 2 : 0);
            printerAlignment = wanted;
          } else {
            // Text before the change keeps its place; the rest is placed at
            // the end of the line.
            closeLine(false);
            midLineAlignment = true;
            pieceWidth = 0;
          }
          alignment = wanted;
          alignmentChanged = true;
          break;
        }
        case 'B':
          // Stored bitmaps come with the bitmap support; until one is set,
          // every bitmap number is unusable.
          usable = false;
          break;
        case 'C': {
          if (seq.modifierLength == 0) {
            const int64_t size = std::min<int64_t>(std::max<int64_t>(number, 1), 4);
            hScale = (size == 2 || size == 4) ? 2 : 1;
            vScale = size >= 3 ? 2 : 1;
            helper.SetCharacterSize(line, hScale, vScale);
            hMul = hScale;
            vMul = vScale;
            sizeChanged = true;
          } else if (seq.Modifier("rv")) {
            helper.SetReverse(line, !seq.exclamation);
            reverseUsed = true;
          } else if (seq.Modifier("b")) {
            helper.SetEmphasized(line, !seq.exclamation);
            boldOrUnderlineUsed = true;
          } else if (seq.Modifier("h") || seq.Modifier("v")) {
            const bool horizontal = seq.Modifier("h");
            const int32_t scale =
                seq.exclamation ? 1 : static_cast<int32_t>(std::min<int64_t>(number, 255));
            const int32_t w = horizontal ? scale : hScale;
            const int32_t h = horizontal ? vScale : scale;
            if (!helper.SetCharacterSize(line, w, h)) {
              helper.SetCharacterSizeClamped(line, w, h);
              warning = true;
            }
            const int32_t clampedW = std::min(std::max(w, 1), 8);
            const int32_t clampedH = std::min(std::max(h, 1), 8);
            hScale = hMul = clampedW;
            vScale = vMul = clampedH;
            sizeChanged = true;
          } else if (seq.Modifier("i")) {
            // Italic is accepted; the printers have none.
          } else if (seq.Modifier("u")) {
            const int32_t thickness =
                seq.exclamation ? 0 : (seq.hasNumber ? static_cast<int32_t>(std::min<int64_t>(number, 255)) : 1);
            if (!helper.SetUnderline(line, static_cast<uint8_t>(std::min(thickness, 255)))) {
              helper.SetUnderline(line, kDefaultUnderline);
              warning = true;
            }
            boldOrUnderlineUsed = true;
          } else {
            usable = false;
          }
          break;
        }
        case 'E': {
          const int64_t count = number;
          if (count < 1 || seq.modifierLength != 0) {
            usable = false;
            break;
          }
          const size_t available = std::min<size_t>(static_cast<size_t>(count), length - seq.end);
          // The bytes go to the printer as direct I/O command 100 would send
          // them, ahead of this text. They are already printer bytes: they
          // are not decoded a second time.
          if (!validateOnly) DirectIOBytes(in + seq.end, available);
          next = seq.end + available;
          break;
        }
        case 'F':
          if (seq.Modifier("l")) {
            helper.PrintAndFeedLines(line, static_cast<uint8_t>(std::min<int64_t>(number, 255)));
          } else if (seq.Modifier("u") && number > 0) {
            const int32_t units = static_cast<int32_t>(std::min<int64_t>(number, 0x7FFFFFFF));
            int32_t dots = rotatedAxes ? MapNumber2DOT_H(units) : MapNumber2DOT_V(units);
            // A feed is bounded to a metre of paper: a mistyped number must
            // not turn into megabytes of feed commands.
            const float pitch = rotatedAxes ? traits_.horizontalDotPitch : traits_.verticalDotPitch;
            const int32_t maxDots = pitch > 0 ? static_cast<int32_t>(kMaxFeedMm / pitch) : 0;
            if (dots > maxDots || dots < 0) {
              dots = maxDots;
              warning = true;
            }
            helper.FeedDots(line, dots);
          } else {
            usable = false;
          }
          break;
        case 'L':
          // Logos arrive with the bitmap support; an unset logo prints nothing.
          if (!seq.Modifier("t") && !seq.Modifier("b")) usable = false;
          break;
        case 'N':
          if (!seq.hasNumber && seq.modifierLength == 0) {
            if (midLineAlignment) {
              // The piece before N keeps the alignment it was written with.
              closeLine(false);
              midLineAlignment = false;
              pieceWidth = 0;
            }
            helper.SetPrintMode(line, false, false, false, false, false);
            helper.SetJustification(line, 0);
            hMul = vMul = hScale = vScale = 1;
            charWidth = charWidth_;
            charHeight = charHeight_;
            alignment = 'N';
            printerAlignment = 'l';
            boldOrUnderlineUsed = false;
          }
          break;
        case 'P': {
          const bool withFeed = seq.modifierLength == 1;
          if (seq.asterisk || seq.exclamation || number > 100 || seq.modifierLength > 1 ||
              props_.Cap(Pidx::CapRecPapercut) == 0) {
            usable = false;
            break;
          }
          if (validateOnly && (number < 1 || number > 100)) {
            warning = true;
            break;
          }
          if (withFeed) {
            const double vp = traits_.verticalDotPitch;
            if (vp > 0) helper.FeedDots(line, static_cast<int32_t>(traits_.cutterDistance / (vp * 100)));
          }
          if (number == 100) {
            helper.FeedAndFullCut(line);
          } else {
            helper.FeedAndPartialCut(line);
          }
          break;
        }
        case 'R': {
          const size_t available =
              std::min<size_t>(static_cast<size_t>(std::max<int64_t>(number, 0)), length - seq.end);
          next = seq.end + available;
          // Barcodes are printed by the barcode support; until then the
          // sequence is reported as unusable, and its parameter bytes never
          // reach the paper.
          usable = false;
          break;
        }
        case 'T': {
          if (seq.modifierLength != 1 || number < 0 || number > traits_.fontCount) {
            usable = false;
            break;
          }
          const int32_t font = number == 0 ? traits_.defaultFont : static_cast<int32_t>(number - 1);
          charWidth = traits_.fonts[font].width;
          charHeight = traits_.fonts[font].height;
          pendingFont = font;
          break;
        }
        default:
          usable = false;
          break;
      }
      if (usable) {
        error = false;
      } else {
        unusable();
        if (validateOnly) return OPOS_E_FAILURE;
      }
      i = next;
      continue;
    }

    if (b == FF) {
      if (pageMode) {
        helper.FeedDotsOnce(line, 0);
      } else {
        error = true;
      }
      formFeedSeen = true;
      ++i;
      continue;
    }
    if (b == LF) {
      if (validateOnly && formFeedSeen) {
        return (pageMode || sideways) ? OPOS_E_ILLEGAL : OPOS_E_FAILURE;
      }
      if (pageMode) {
        helper.FeedDotsOnce(line, static_cast<uint8_t>(rotatedAxes ? props_.recLineSpacing
                                                                    : H2V(props_.recLineSpacing)));
      } else {
        helper.LineFeed(line);
      }
      closeLine(true);
      ++i;
      continue;
    }
    if (b == HT) {
      ++i;
      continue;
    }

    // A printable byte: copy the run up to the next control byte at once.
    if (pendingFont >= 0) {
      helper.SetPrintMode(line, pendingFont == 1, false, false, false, false);
      pendingFont = -1;
    }
    lineHeight = std::max(lineHeight, charHeight * vMul);
    size_t runEnd = i + 1;
    while (runEnd < length && in[runEnd] != ESC && in[runEnd] != LF && in[runEnd] != FF &&
           in[runEnd] != HT) {
      ++runEnd;
    }
    line.append(in + i, runEnd - i);
    const int32_t added = static_cast<int32_t>(runEnd - i) * charWidth * hMul;
    lineWidth += added;
    pieceWidth += added;
    i = runEnd;
  }

  if (!line.isEmpty() || midLineAlignment) closeLine(false);

  if (boldOrUnderlineUsed) SelectPrintMode(out, false, false, false, false, false, false);
  if (alignmentChanged && !pageMode && !sideways) helper.SetJustification(out, 0);
  if (sizeChanged) helper.SetCharacterSize(out, 1, 1);
  if (reverseUsed) helper.SetReverse(out, false);

  if (error) return OPOS_E_FAILURE;
  if (warning) return OPOS_E_ILLEGAL;
  return OPOS_SUCCESS;
}

}  // namespace Printer
}  // namespace QEL
