#include "so/format/EscapeSequenceFormatter.h"

#include <algorithm>

#include "so/format/FormatterEscapeSequence.h"
#include "so/format/MapModeUnits.h"

namespace QEL {
namespace Printer {

namespace {

constexpr uint8_t ESC = 0x1B;
constexpr uint8_t HT = 0x09;
constexpr uint8_t LF = 0x0A;
constexpr uint8_t FF = 0x0C;
constexpr int32_t kDefaultUnderline = 1;
constexpr float kMaxFeedMm = 1000.0f;
constexpr int64_t kMaxBitmapNumber = 20;

// One walk over the data: the state the walk keeps, and one handler for each
// kind of input.
class Walk {
 public:
  Walk(IFormatterHost& host, PrinterBuffer& out, PrinterBuffer& line, const uint8_t* in,
       size_t length, bool validateOnly)
      : host_(host),
        helper_(host.CmdHelper()),
        settings_(host.Settings()),
        out_(out),
        line_(line),
        in_(in),
        length_(length),
        validateOnly_(validateOnly),
        rotatedAxes_(settings_.sideways || settings_.rotatedPageDirection),
        wraps_(settings_.pageMode && !validateOnly && settings_.page.firstLine > 0 &&
               settings_.page.laterLines > 0),
        charWidth_(settings_.font.width),
        charHeight_(settings_.font.height),
        lineHeight_(settings_.lineSpacing),
        firstLine_(settings_.page.onFirstLine),
        lineStart_(settings_.pageMode || settings_.sideways ? settings_.page.usedDots : 0) {}

  FormatResult Run();

 private:
  // Why a line is handed on: a piece of it ends (the data ends, or the
  // alignment changes in the middle of it), a line feed ends it, or it
  // filled its room on a page.
  enum class LineClose { kPiece, kLineFeed, kWrap };

  // Each handler returns false when the walk ends at once (validating) or
  // the page is full.
  bool OnSequence(size_t* at);
  bool OnFormFeed();
  bool OnLineFeed();
  bool OnPrintable(size_t* at);
  // Adds in[begin..end) byte by byte, closing each line that fills its room.
  bool WrapRun(size_t begin, size_t end);
  // Appends the current line to the output; false when page mode has no
  // room left for it.
  bool CloseLine(LineClose how);
  void Epilogue();
  // A length in dots as it counts along the line.
  int32_t Along(int32_t dots) const {
    return rotatedAxes_ ? H2V(settings_.units, dots) : dots;
  }
  int32_t RoomOnLine() const {
    return firstLine_ ? settings_.page.firstLine : settings_.page.laterLines;
  }

  // The sequences, by command letter. An unusable one is printed raw by
  // the caller.
  SequenceOutcome Alignment(const EscapeSequence& seq);
  SequenceOutcome Bitmap(const EscapeSequence& seq);
  SequenceOutcome Character(const EscapeSequence& seq);
  SequenceOutcome DirectBytes(const EscapeSequence& seq, size_t* next);
  SequenceOutcome Feed(const EscapeSequence& seq);
  SequenceOutcome Logo(const EscapeSequence& seq);
  SequenceOutcome Normal(const EscapeSequence& seq);
  SequenceOutcome Cut(const EscapeSequence& seq);
  SequenceOutcome Barcode(const EscapeSequence& seq, size_t* next);
  SequenceOutcome Font(const EscapeSequence& seq);

  IFormatterHost& host_;
  CCmdHelperBase& helper_;
  const FormatSettings settings_;
  PrinterBuffer& out_;
  PrinterBuffer& line_;
  const uint8_t* const in_;
  const size_t length_;
  const bool validateOnly_;
  const bool rotatedAxes_;
  // Page-mode lines wrap at the room the host gives them.
  const bool wraps_;

  int32_t charWidth_;
  int32_t charHeight_;
  char alignment_ = 'l';
  // The justification the printer holds for this line (ESC a is taken only
  // at the start of a line).
  char printerAlignment_ = 'l';
  bool midLineAlignment_ = false;
  int32_t lineWidth_ = 0;
  int32_t pieceWidth_ = 0;
  int32_t lineHeight_;
  int32_t hMul_ = 1, vMul_ = 1;
  int32_t hScale_ = 1, vScale_ = 1;
  bool boldOrUnderlineUsed_ = false, alignmentChanged_ = false, sizeChanged_ = false;
  bool reverseUsed_ = false;
  int32_t pendingFont_ = -1;
  bool error_ = false, warning_ = false;
  bool formFeedSeen_ = false;
  FormatResult earlyResult_ = kFormatSuccess;
  bool firstLine_;
  // Dots an earlier walk left on the line this walk starts on.
  int32_t lineStart_;
};

FormatResult Walk::Run() {
  size_t i = 0;
  bool pageFull = false;
  while (i < length_) {
    const uint8_t b = in_[i];
    bool goOn = true;
    if (b == ESC && i + 1 < length_ && in_[i + 1] == '|') {
      goOn = OnSequence(&i);
    } else if (b == FF) {
      goOn = OnFormFeed();
      ++i;
    } else if (b == LF) {
      goOn = OnLineFeed();
      ++i;
    } else if (b == HT) {
      ++i;
    } else {
      goOn = OnPrintable(&i);
    }
    if (!goOn) {
      if (validateOnly_) return earlyResult_;
      pageFull = true;  // the rest of the data is dropped
      break;
    }
  }
  if (!pageFull && (!line_.isEmpty() || midLineAlignment_)) CloseLine(LineClose::kPiece);
  Epilogue();
  if (error_) return kFormatUnusable;
  if (warning_) return kFormatValueReplaced;
  return kFormatSuccess;
}

bool Walk::OnSequence(size_t* at) {
  const EscapeSequence seq = ParseEscapeSequence(in_, length_, *at);
  pendingFont_ = -1;  // any escape sequence cancels a pending font command
  size_t next = seq.end;
  SequenceOutcome outcome = SequenceOutcome::kUnusable;
  switch (seq.command) {
    case 'A': outcome = Alignment(seq); break;
    case 'B': outcome = Bitmap(seq); break;
    case 'C': outcome = Character(seq); break;
    case 'E': outcome = DirectBytes(seq, &next); break;
    case 'F': outcome = Feed(seq); break;
    case 'L': outcome = Logo(seq); break;
    case 'N': outcome = Normal(seq); break;
    case 'P': outcome = Cut(seq); break;
    case 'R': outcome = Barcode(seq, &next); break;
    case 'T': outcome = Font(seq); break;
    default: break;  // unknown, or no command letter at all
  }
  *at = next;
  if (outcome == SequenceOutcome::kUnusable) {
    // Printed as the application wrote it, so the mistake shows on paper.
    line_.append(in_ + seq.begin, seq.end - seq.begin);
    error_ = true;
    earlyResult_ = kFormatUnusable;
    return !validateOnly_;
  }
  if (outcome == SequenceOutcome::kValueReplaced) warning_ = true;
  error_ = false;
  return true;
}

bool Walk::OnFormFeed() {
  if (settings_.pageMode) {
    helper_.FeedDotsOnce(line_, 0);
  } else {
    error_ = true;
  }
  formFeedSeen_ = true;
  return true;
}

bool Walk::OnLineFeed() {
  if (validateOnly_ && formFeedSeen_) {
    earlyResult_ =
        (settings_.pageMode || settings_.sideways) ? kFormatValueReplaced : kFormatUnusable;
    return false;
  }
  if (settings_.pageMode) {
    const int32_t spacing = rotatedAxes_ ? settings_.lineSpacing
                                         : H2V(settings_.units, settings_.lineSpacing);
    helper_.FeedDotsOnce(line_, static_cast<uint8_t>(spacing));
  } else {
    helper_.LineFeed(line_);
  }
  return CloseLine(LineClose::kLineFeed);
}

bool Walk::OnPrintable(size_t* at) {
  if (pendingFont_ >= 0) {
    helper_.SetPrintMode(line_, pendingFont_ == 1, false, false, false, false);
    pendingFont_ = -1;
  }
  lineHeight_ = std::max(lineHeight_, charHeight_ * vMul_);
  // The whole run up to the next control byte goes in at once.
  const size_t begin = *at;
  size_t end = begin + 1;
  while (end < length_ && in_[end] != ESC && in_[end] != LF && in_[end] != FF &&
         in_[end] != HT) {
    ++end;
  }
  *at = end;
  if (wraps_) return WrapRun(begin, end);
  line_.append(in_ + begin, end - begin);
  const int32_t added = static_cast<int32_t>(end - begin) * charWidth_ * hMul_;
  lineWidth_ += added;
  pieceWidth_ += added;
  return true;
}

bool Walk::WrapRun(size_t begin, size_t end) {
  const int32_t step = charWidth_ * hMul_;
  for (size_t i = begin; i < end; ++i) {
    const int32_t before = lineStart_ + lineWidth_;
    const int32_t reached = Along(before + step);
    // A byte that does not fit ends the line before it and starts the next.
    const bool overflows = reached > RoomOnLine() && before > 0;
    if (overflows && !CloseLine(LineClose::kWrap)) return false;
    lineHeight_ = std::max(lineHeight_, charHeight_ * vMul_);
    line_.pushByte(in_[i]);
    lineWidth_ += step;
    pieceWidth_ += step;
    // A byte that fills the line exactly, or one wider than a whole line,
    // ends its line with it.
    if (!overflows && reached >= RoomOnLine() && !CloseLine(LineClose::kWrap)) return false;
  }
  return true;
}

bool Walk::CloseLine(LineClose how) {
  const bool lineEnd = how == LineClose::kLineFeed;
  PageModeLine line{alignment_, lineWidth_, lineHeight_, lineEnd};
  line.wrapped = how == LineClose::kWrap;
  line.firstLine = firstLine_;
  line.startsAt = lineStart_;
  if (settings_.pageMode) {
    if (!validateOnly_ && !host_.PlacePageModeLine(out_, line)) {
      line_.discard();
      return false;
    }
  } else {
    if (midLineAlignment_) {
      // The piece that followed a change in the middle of the line is
      // placed in front of it.
      PlaceInStandardLine(helper_, out_, alignment_, pieceWidth_, settings_.lineWidth);
    }
    if (settings_.sideways && !validateOnly_) host_.NoteSidewaysLine(line);
  }
  out_.append(line_);
  line_.discard();
  if (lineEnd || line.wrapped) {
    lineWidth_ = 0;
    pieceWidth_ = 0;
    lineHeight_ = settings_.lineSpacing;
    lineStart_ = 0;
    // After a line feed the next line starts on the left again; after a
    // wrap it continues the same paragraph.
    firstLine_ = lineEnd;
  }
  if (lineEnd) {
    if (midLineAlignment_) alignment_ = printerAlignment_;
    midLineAlignment_ = false;
  }
  return true;
}

void Walk::Epilogue() {
  if (boldOrUnderlineUsed_) host_.ResetPrintMode(out_);
  if (alignmentChanged_ && !settings_.pageMode && !settings_.sideways) {
    helper_.SetJustification(out_, 0);
  }
  if (sizeChanged_) helper_.SetCharacterSize(out_, 1, 1);
  if (reverseUsed_) helper_.SetReverse(out_, false);
}

SequenceOutcome Walk::Alignment(const EscapeSequence& seq) {
  char wanted = 0;
  if (seq.Modifier("c")) wanted = 'c';
  else if (seq.Modifier("r")) wanted = 'r';
  else if (seq.Modifier("l")) wanted = 'l';
  if (wanted == 0) return SequenceOutcome::kUnusable;
  if (wanted == alignment_ || settings_.pageMode || validateOnly_) {
    alignment_ = wanted;
    return SequenceOutcome::kDone;
  }
  if (lineWidth_ == 0 && !midLineAlignment_) {
    helper_.SetJustification(line_, wanted == 'c' ? 1 : wanted == 'r' ? 2 : 0);
    printerAlignment_ = wanted;
  } else {
    // Text before the change keeps its place; the rest is placed at the end
    // of the line.
    CloseLine(LineClose::kPiece);
    midLineAlignment_ = true;
    pieceWidth_ = 0;
  }
  alignment_ = wanted;
  alignmentChanged_ = true;
  return SequenceOutcome::kDone;
}

SequenceOutcome Walk::Bitmap(const EscapeSequence& seq) {
  if (seq.asterisk || seq.exclamation || seq.modifierLength != 0 ||
      seq.number > kMaxBitmapNumber) {
    return SequenceOutcome::kUnusable;
  }
  return host_.PrintStoredBitmap(line_, static_cast<int32_t>(seq.number), validateOnly_);
}

SequenceOutcome Walk::Character(const EscapeSequence& seq) {
  const int64_t number = seq.number;
  if (seq.modifierLength == 0) {
    const int64_t size = std::min<int64_t>(std::max<int64_t>(number, 1), 4);
    hScale_ = (size == 2 || size == 4) ? 2 : 1;
    vScale_ = size >= 3 ? 2 : 1;
    helper_.SetCharacterSize(line_, hScale_, vScale_);
    hMul_ = hScale_;
    vMul_ = vScale_;
    sizeChanged_ = true;
    return SequenceOutcome::kDone;
  }
  if (seq.Modifier("rv")) {
    helper_.SetReverse(line_, !seq.exclamation);
    reverseUsed_ = true;
    return SequenceOutcome::kDone;
  }
  if (seq.Modifier("b")) {
    helper_.SetEmphasized(line_, !seq.exclamation);
    boldOrUnderlineUsed_ = true;
    return SequenceOutcome::kDone;
  }
  if (seq.Modifier("h") || seq.Modifier("v")) {
    const bool horizontal = seq.Modifier("h");
    const int32_t scale =
        seq.exclamation ? 1 : static_cast<int32_t>(std::min<int64_t>(number, 255));
    const int32_t w = horizontal ? scale : hScale_;
    const int32_t h = horizontal ? vScale_ : scale;
    bool replaced = false;
    if (!helper_.SetCharacterSize(line_, w, h)) {
      helper_.SetCharacterSizeClamped(line_, w, h);
      replaced = true;
    }
    hScale_ = hMul_ = std::min(std::max(w, 1), 8);
    vScale_ = vMul_ = std::min(std::max(h, 1), 8);
    sizeChanged_ = true;
    return replaced ? SequenceOutcome::kValueReplaced : SequenceOutcome::kDone;
  }
  if (seq.Modifier("i")) return SequenceOutcome::kDone;  // accepted; the printers have no italic
  if (seq.Modifier("u")) {
    const int32_t thickness =
        seq.exclamation ? 0
                        : (seq.hasNumber ? static_cast<int32_t>(std::min<int64_t>(number, 255)) : 1);
    bool replaced = false;
    if (!helper_.SetUnderline(line_, static_cast<uint8_t>(std::min(thickness, 255)))) {
      helper_.SetUnderline(line_, kDefaultUnderline);
      replaced = true;
    }
    boldOrUnderlineUsed_ = true;
    return replaced ? SequenceOutcome::kValueReplaced : SequenceOutcome::kDone;
  }
  return SequenceOutcome::kUnusable;
}

SequenceOutcome Walk::DirectBytes(const EscapeSequence& seq, size_t* next) {
  if (seq.number < 1 || seq.modifierLength != 0) return SequenceOutcome::kUnusable;
  const size_t available = std::min<size_t>(static_cast<size_t>(seq.number), length_ - seq.end);
  // The bytes go to the printer as direct I/O command 100 would send them,
  // ahead of this text. They are already printer bytes: they are not decoded
  // a second time.
  if (!validateOnly_ && available > 0) host_.SendDirectBytes(in_ + seq.end, available);
  *next = seq.end + available;
  return SequenceOutcome::kDone;
}

SequenceOutcome Walk::Feed(const EscapeSequence& seq) {
  if (seq.Modifier("l")) {
    helper_.PrintAndFeedLines(line_, static_cast<uint8_t>(std::min<int64_t>(seq.number, 255)));
    return SequenceOutcome::kDone;
  }
  if (!seq.Modifier("u") || seq.number <= 0) return SequenceOutcome::kUnusable;
  const int32_t units = static_cast<int32_t>(std::min<int64_t>(seq.number, 0x7FFFFFFF));
  int32_t dots = rotatedAxes_ ? MapNumber2DOT_H(settings_.units, units)
                              : MapNumber2DOT_V(settings_.units, units);
  // A feed is bounded to a metre of paper: a mistyped number must not turn
  // into megabytes of feed commands.
  const float pitch =
      rotatedAxes_ ? settings_.units.horizontalDotPitch : settings_.units.verticalDotPitch;
  const int32_t maxDots = pitch > 0 ? static_cast<int32_t>(kMaxFeedMm / pitch) : 0;
  bool replaced = false;
  if (dots > maxDots || dots < 0) {
    dots = maxDots;
    replaced = true;
  }
  helper_.FeedDots(line_, dots);
  return replaced ? SequenceOutcome::kValueReplaced : SequenceOutcome::kDone;
}

SequenceOutcome Walk::Logo(const EscapeSequence& seq) {
  LogoPosition position;
  if (seq.Modifier("t")) {
    position = LogoPosition::kTop;
  } else if (seq.Modifier("b")) {
    position = LogoPosition::kBottom;
  } else {
    return SequenceOutcome::kUnusable;
  }
  if (validateOnly_) return SequenceOutcome::kDone;
  return host_.PrintLogo(line_, position);
}

SequenceOutcome Walk::Normal(const EscapeSequence& seq) {
  // With a number or a modifier it is accepted and does nothing.
  if (seq.hasNumber || seq.modifierLength != 0) return SequenceOutcome::kDone;
  if (midLineAlignment_) {
    // The piece before N keeps the alignment it was written with.
    CloseLine(LineClose::kPiece);
    midLineAlignment_ = false;
    pieceWidth_ = 0;
  }
  helper_.SetPrintMode(line_, false, false, false, false, false);
  helper_.SetJustification(line_, 0);
  hMul_ = vMul_ = hScale_ = vScale_ = 1;
  charWidth_ = settings_.font.width;
  charHeight_ = settings_.font.height;
  alignment_ = 'N';
  printerAlignment_ = 'l';
  boldOrUnderlineUsed_ = false;
  return SequenceOutcome::kDone;
}

SequenceOutcome Walk::Cut(const EscapeSequence& seq) {
  const int64_t number = seq.number;
  if (seq.asterisk || seq.exclamation || number > 100 || seq.modifierLength > 1 ||
      !settings_.hasCutter) {
    return SequenceOutcome::kUnusable;
  }
  if (validateOnly_ && (number < 1 || number > 100)) return SequenceOutcome::kValueReplaced;
  // A one-letter modifier (any letter counts as f) first feeds the paper
  // from the print head to the cutter.
  if (seq.modifierLength == 1) {
    const double vp = settings_.units.verticalDotPitch;
    if (vp > 0) helper_.FeedDots(line_, static_cast<int32_t>(settings_.cutterDistance / (vp * 100)));
  }
  if (number == 100) {
    helper_.FeedAndFullCut(line_);
  } else {
    helper_.FeedAndPartialCut(line_);
  }
  return SequenceOutcome::kDone;
}

SequenceOutcome Walk::Barcode(const EscapeSequence& seq, size_t* next) {
  // The parameter bytes are skipped whatever the answer: they never reach
  // the paper.
  const size_t available = std::min<size_t>(
      static_cast<size_t>(std::max<int64_t>(seq.number, 0)), length_ - seq.end);
  *next = seq.end + available;
  return host_.PrintBarcode(line_, in_ + seq.end, available, validateOnly_);
}

SequenceOutcome Walk::Font(const EscapeSequence& seq) {
  if (seq.modifierLength != 1 || seq.number < 0 || seq.number > settings_.fontCount) {
    return SequenceOutcome::kUnusable;
  }
  const int32_t font =
      seq.number == 0 ? settings_.defaultFont : static_cast<int32_t>(seq.number - 1);
  const FontMetrics metrics = host_.Font(font);
  charWidth_ = metrics.width;
  charHeight_ = metrics.height;
  // No bytes yet: the font command goes in front of the next printable byte,
  // unless another sequence comes first.
  pendingFont_ = font;
  return SequenceOutcome::kDone;
}

}  // namespace

FormatResult EscapeSequenceFormatter::Format(IFormatterHost& host, PrinterBuffer& out,
                                             const uint8_t* in, size_t length,
                                             bool validateOnly) {
  // A walk that ended early may have left its line behind.
  line_.discard();
  return Walk(host, out, line_, in, length, validateOnly).Run();
}

void PlaceInStandardLine(CCmdHelperBase& helper, PrinterBuffer& out, char alignment,
                         int32_t width, int32_t lineWidth) {
  if (alignment == 'c') {
    if (width < lineWidth) helper.SetAbsolutePosition(out, (lineWidth - width) / 2);
  } else if (alignment == 'r') {
    if (width < lineWidth) helper.SetAbsolutePosition(out, lineWidth - width);
  } else if (alignment == 'l') {
    helper.SetAbsolutePosition(out, 0);
  }
}

}  // namespace Printer
}  // namespace QEL
