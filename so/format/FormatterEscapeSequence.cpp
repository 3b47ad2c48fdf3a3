#include "so/format/FormatterEscapeSequence.h"

namespace QEL {
namespace Printer {

namespace {
bool IsLower(uint8_t c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(uint8_t c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
}  // namespace

EscapeSequence ParseEscapeSequence(const uint8_t* in, size_t length, size_t at) {
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
      // Digits past this add nothing any sequence could use, and the value
      // must not overflow however long the run is.
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

}  // namespace Printer
}  // namespace QEL
