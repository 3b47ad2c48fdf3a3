#pragma once
// What the escape-sequence formatter asks of the printer it formats for: the
// command set, the settings it counts widths and feeds with, the raw bytes of
// ESC|#E, and the printer's own answer for the sequences that print stored
// things (bitmaps, logos, barcodes) or lay lines out in page mode.
//
// The formatter sees nothing else of the printer, so it can be tested and
// fuzzed with a small fake host, and the features that print stored things
// grow behind these hooks instead of inside the walk.
#include <cstddef>
#include <cstdint>

#include "so/base/PrinterBuffer.h"
#include "so/format/CCmdHelperBase.h"
#include "so/format/MapModeUnits.h"

namespace QEL {
namespace Printer {

// Size of one character cell in dots.
struct FontMetrics {
  int32_t width = 12;
  int32_t height = 24;
};

// How long page-mode lines may grow before they wrap, and where the text
// of earlier walks left the current line. Lengths are counted along the
// line: in dots, or in vertical dots when the axes are turned (sideways, or a
// turned page direction).
struct PageLineRoom {
  int32_t firstLine = 0;     // a line that starts after a line feed; 0: no wrapping
  int32_t laterLines = 0;    // a line that starts where a full one wrapped
  bool onFirstLine = true;   // the walk starts on a first line
  int32_t usedDots = 0;      // dots of text already on that line
};

// The printer's settings for one walk; read once, when the walk starts.
struct FormatSettings {
  MapModeUnits units;          // MapMode and the two dot pitches
  FontMetrics font;            // the font in effect
  int32_t lineSpacing = 30;    // RecLineSpacing, dots
  int32_t lineWidth = 576;     // RecLineWidth, dots: the width alignment places against
  int32_t fontCount = 2;       // ESC|#fT may select fonts 1..fontCount
  int32_t defaultFont = 0;     // the font index ESC|0fT selects
  int32_t cutterDistance = 0;  // print head to cutter, hundredths of a millimetre
  bool hasCutter = false;
  bool pageMode = false;
  bool sideways = false;              // rotated right or left 90 degrees
  bool rotatedPageDirection = false;  // page mode with print direction 2 or 4
  PageLineRoom page;                  // page mode and sideways jobs
};

// A hook's answer for one sequence.
enum class SequenceOutcome {
  kDone,           // usable; whatever it prints is appended
  kValueReplaced,  // usable, but a value had to be replaced (106 from the walk)
  kUnusable,       // the sequence is printed raw, as any unusable one
};

enum class LogoPosition { kTop, kBottom };

// A line of page-mode text, handed over when it closes.
struct PageModeLine {
  char alignment = 'l';  // 'l', 'c', 'r', or 'N' after ESC|N
  int32_t width = 0;     // dots the line's characters take in this walk
  int32_t height = 0;    // its tallest character, at least the line spacing
  bool lineEnd = false;  // closed by a line feed, not by the end of the data
  bool wrapped = false;  // closed because it filled its room
  bool firstLine = true; // starts after a line feed (or on a fresh page), not after a wrap
  int32_t startsAt = 0;  // dots of text earlier walks put on this line
};

class IFormatterHost {
 public:
  virtual ~IFormatterHost() = default;

  // The command set every byte the walk produces comes from.
  virtual CCmdHelperBase& CmdHelper() = 0;
  virtual FormatSettings Settings() const = 0;
  // Font `index`, 0 to fontCount - 1.
  virtual FontMetrics Font(int32_t index) const = 0;
  // The bytes of ESC|#E: they reach the printer at once (or join an open
  // transaction), ahead of the text being formatted. Not called when only
  // validating.
  virtual void SendDirectBytes(const uint8_t* bytes, size_t length) = 0;
  // Bold and underline off at the end of a walk. A printer in Kanji mode
  // resets them with its own command, and a host that remembers the last
  // print mode sent learns it here.
  virtual void ResetPrintMode(PrinterBuffer& out) {
    CmdHelper().SetPrintMode(out, false, false, false, false, false);
  }

  // --- hooks for what prints stored things or lays out pages ---
  // Their defaults are what a printer without the feature does. Each appends
  // its bytes to `out` (the current line) in place of the sequence; with
  // validateOnly it only judges the sequence and appends nothing.

  // ESC|#B, # at most 20. Unusable until bitmaps can be stored.
  virtual SequenceOutcome PrintStoredBitmap(PrinterBuffer& out, int32_t number,
                                            bool validateOnly) {
    return SequenceOutcome::kUnusable;
  }
  // ESC|tL, ESC|bL. No logo set prints nothing. Not called when validating.
  virtual SequenceOutcome PrintLogo(PrinterBuffer& out, LogoPosition position) {
    return SequenceOutcome::kDone;
  }
  // ESC|#R: `parameters` are the # bytes after the R, as the application
  // wrote them (they are never printed). A printer without barcodes finds
  // the sequence unusable.
  virtual SequenceOutcome PrintBarcode(PrinterBuffer& out, const uint8_t* parameters,
                                       size_t length, bool validateOnly) {
    return SequenceOutcome::kUnusable;
  }
  // Called in page mode for each line as it closes, before its bytes are
  // appended to `out`: placement and feeds go in front of them. False when
  // the page has no room left: the line and the rest of the data are
  // dropped. Not called when validating.
  virtual bool PlacePageModeLine(PrinterBuffer& out, const PageModeLine& line) { return true; }
  // Called in a sideways job (outside page mode) whenever a line or a piece
  // of one closes, so the host can size the page the job is printed in. Not
  // called when validating.
  virtual void NoteSidewaysLine(const PageModeLine& line) {}
};

}  // namespace Printer
}  // namespace QEL
