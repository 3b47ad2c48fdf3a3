// Any print data through the escape-sequence formatter alone, with no core
// and no port behind it: a fake host whose settings and hook answers the
// input picks, both command sets, and the text path an application's data
// takes before formatting.
//
// The first byte picks the printer: command set, MapMode, dot pitches, page
// mode, the two kinds of rotation and the cutter. The second picks
// BinaryConversion (bits 0-1), how the rest becomes text (bit 2: one
// character a byte, or UTF-16 little-endian pairs, which reaches surrogates
// and characters the code page lacks), the character set (bit 3), the hooks'
// answers (bits 4-5) and how many page-mode lines fit (bits 6-7). Page-mode
// lines wrap at a room derived from the MapMode bits.
//
// Checked: results are only 0, 106 or 111; the output stays within a bound
// proportional to the input, so that a short sequence can never make
// megabytes of printer data; direct bytes are a copy of part of the input;
// validating sends nothing, prints no stored thing and lays out no page; and
// the same data formats to the same bytes twice (nothing of one walk leaks
// into the next).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "so/format/CCmdHelperBase.h"
#include "so/format/CmdHelper_QX1270.h"
#include "so/format/EscapeSequenceFormatter.h"
#include "so/format/FakeFormatterHost.h"
#include "so/format/TextConversion.h"

using namespace QEL::Printer;

namespace {

// Generous: the longest expansions (a feed in map-mode units, a cut with its
// feed, a placed piece, what a hook prints) are a few dozen bytes for a
// sequence of a few bytes.
size_t Bound(size_t inputBytes) { return 64 * inputBytes + 4096; }

bool Allowed(int32_t rc) {
  return rc == kFormatSuccess || rc == kFormatValueReplaced || rc == kFormatUnusable;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

FakeFormatterHost::Answer AnswerFor(int pick, const char* bytes) {
  switch (pick) {
    case 1: return {SequenceOutcome::kDone, bytes};
    case 2: return {SequenceOutcome::kValueReplaced, bytes};
    default: return {SequenceOutcome::kUnusable, ""};
  }
}

void SetUp(FakeFormatterHost& host, uint8_t printer, uint8_t text) {
  FormatSettings& s = host.settings;
  s.units.mapMode = 1 + (printer >> 1) % 4;
  const bool fine = (printer & 0x08) != 0;
  s.units.horizontalDotPitch = fine ? 0.125f : 0.141f;
  s.units.verticalDotPitch = fine ? 0.0625f : 0.0705f;
  s.pageMode = (printer & 0x10) != 0;
  s.sideways = (printer & 0x20) != 0;
  s.rotatedPageDirection = s.pageMode && (printer & 0x40) != 0;
  s.hasCutter = (printer & 0x80) != 0;
  s.cutterDistance = 2600;
  s.lineWidth = fine ? 576 : 512;

  host.bitmap.reset();
  host.logo.reset();
  host.barcode.reset();
  const int hooks = (text >> 4) & 3;
  if (hooks != 0) {
    host.bitmap = AnswerFor(hooks, "<bitmap>");
    host.logo = AnswerFor(hooks, "<logo>");
    host.barcode = AnswerFor(3 - hooks, "<barcode>");
  }
  host.pagePlacement = "<at>";
  host.pageLinesWithRoom = (text >> 6) == 3 ? -1 : (text >> 6);
  // Page lines wrap at a room the MapMode bits pick (none, or 37, 74 or 111
  // dots: less than one enlarged character), and may continue a line an
  // earlier walk began.
  const int32_t room = 37 * ((printer >> 1) & 3);
  s.page.firstLine = room;
  s.page.laterLines = room != 0 ? room + 60 : 0;
  s.page.onFirstLine = (text & 0x08) == 0;
  s.page.usedDots = (text & 0x08) != 0 ? 30 : 0;
}

// The bytes an application's text becomes before formatting: the code page
// conversion (none needed for ASCII), then the BinaryConversion decoding.
bool Convert(const std::u16string& text, int32_t binaryConversion, int32_t characterSet,
             PrinterBuffer& out) {
  if (text.empty()) return true;
  const unsigned codePage = binaryConversion == kBinaryConversionNone
                                ? CodePageForCharacterSet(characterSet)
                                : platform::kAnsiCodePage;
  std::vector<char> bytes(text.size() * 4 + 16);
  const size_t n =
      platform::WideToMultiByte(codePage, text.data(), text.size(), bytes.data(), bytes.size());
  if (n == 0) return false;
  return AppendBinaryConverted(out, bytes.data(), n, binaryConversion);
}

struct Target {
  CCmdHelperBase standard;
  CmdHelper_QX1270 framed;
  FakeFormatterHost standardHost{standard};
  FakeFormatterHost framedHost{framed};
  EscapeSequenceFormatter formatter;
  PrinterBuffer out{4096, 32};
  PrinterBuffer again{4096, 32};
  PrinterBuffer converted{4096, 32};
};

// Formats in[0..length) once validating and twice for printing.
void FormatAllWays(Target& t, FakeFormatterHost& host, const uint8_t* in, size_t length) {
  host.asked.clear();
  host.directBytes.clear();
  host.directCalls.clear();
  t.out.discard();
  const int32_t validated = t.formatter.Format(host, t.out, in, length, true);
  Check(Allowed(validated));
  Check(host.directCalls.empty());
  for (const std::string& asked : host.asked) {
    Check(asked.size() >= 11 && asked.compare(asked.size() - 11, 11, " validating") == 0);
  }

  const int linesWithRoom = host.pageLinesWithRoom;
  t.out.discard();
  const int32_t rc = t.formatter.Format(host, t.out, in, length, false);
  Check(Allowed(rc));
  Check(t.out.size() <= Bound(length));
  Check(host.directBytes.size() <= length);

  t.again.discard();
  host.pageLinesWithRoom = linesWithRoom;  // the page has the room it had
  const int32_t rcAgain = t.formatter.Format(host, t.again, in, length, false);
  Check(rcAgain == rc);
  Check(t.again.size() == t.out.size());
  for (size_t i = 0; i < t.out.size(); ++i) Check(t.again.at(i) == t.out.at(i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  static Target* t = new Target();
  const uint8_t printer = data[0];
  const uint8_t textMode = data[1];
  const uint8_t* in = data + 2;
  const size_t length = size - 2;

  FakeFormatterHost& host = (printer & 1) != 0 ? t->framedHost : t->standardHost;
  SetUp(host, printer, textMode);

  FormatAllWays(*t, host, in, length);

  std::u16string text;
  if ((textMode & 0x04) != 0) {
    for (size_t i = 0; i + 1 < length; i += 2) {
      text.push_back(static_cast<char16_t>(in[i] | (in[i + 1] << 8)));
    }
  } else {
    text.assign(in, in + length);
  }
  const int32_t characterSet = (textMode & 0x08) != 0 ? 866 : 437;
  t->converted.discard();
  if (!Convert(text, (textMode & 3) % 3, characterSet, t->converted)) return 0;
  // At most a few bytes a character in any code page.
  Check(t->converted.size() <= text.size() * 4);
  FormatAllWays(*t, host, t->converted.data(), t->converted.size());
  return 0;
}
