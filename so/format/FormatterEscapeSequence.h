#pragma once
// The syntax of one OPOS escape sequence in print data:
//   ESC | [*] [!] [number] [modifier] Command
// each part optional, in this order. The number is a run of digits that may
// contain '.', worth its leading digits; the modifier is a run of lowercase
// letters; the command is one uppercase letter.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace QEL {
namespace Printer {

struct EscapeSequence {
  size_t begin = 0;  // at the ESC
  size_t end = 0;    // one past the command letter, or past what was read
  bool asterisk = false;
  bool exclamation = false;
  bool hasNumber = false;
  int64_t number = 0;  // 0 when there is none; held below about 10^10
  const uint8_t* modifier = nullptr;
  size_t modifierLength = 0;
  char command = 0;  // 0 when no uppercase letter ended the sequence

  bool Modifier(const char* text) const {
    const size_t n = std::strlen(text);
    return modifierLength == n && std::memcmp(modifier, text, n) == 0;
  }
};

// Reads the sequence whose ESC | stands at in[at], in[at + 1].
EscapeSequence ParseEscapeSequence(const uint8_t* in, size_t length, size_t at);

}  // namespace Printer
}  // namespace QEL
