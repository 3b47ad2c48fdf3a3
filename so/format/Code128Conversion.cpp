#include "so/format/Code128Conversion.h"

#include <cstdint>

namespace QEL {
namespace Printer {

namespace {

constexpr char kEscape = '{';
// Six digits in a row are worth a set C switch, so a set chosen ahead of
// them only has to serve what comes before: B, the set without controls.
constexpr size_t kDigitsWorthSetC = 6;
// A digit run this short stays in set A or B unless it stands alone at the
// start or end of the data, where its switch costs less.
constexpr size_t kLongestCopiedRun = 5;
constexpr size_t kShortestEdgeRunPacked = 4;

enum class CodeSet { kNone, kA, kB, kC };

uint8_t ByteAt(const std::string& s, size_t i) { return static_cast<uint8_t>(s[i]); }

bool IsDigit(uint8_t b) { return b >= '0' && b <= '9'; }

bool IsControl(uint8_t b) { return b < 0x20; }

bool IsLowerHalf(uint8_t b) { return b >= 0x60 && b <= 0x7F; }

bool FitsSet(CodeSet set, uint8_t b) {
  switch (set) {
    case CodeSet::kA:
      return b < 0x60;
    case CodeSet::kB:
      return b >= 0x20 && b <= 0x7F;
    default:
      return false;
  }
}

CodeSet OtherOfAB(CodeSet set) { return set == CodeSet::kA ? CodeSet::kB : CodeSet::kA; }

// Set A when a control character comes before anything only B holds.
CodeSet ChooseAOrB(const std::string& in, size_t from) {
  size_t digits = 0;
  for (size_t i = from; i < in.size(); ++i) {
    const uint8_t b = ByteAt(in, i);
    if (IsControl(b) || b >= 0x80) return CodeSet::kA;
    if (IsLowerHalf(b)) return CodeSet::kB;
    digits = IsDigit(b) ? digits + 1 : 0;
    if (digits >= kDigitsWorthSetC) return CodeSet::kB;
  }
  return CodeSet::kB;
}

class Code128Writer {
 public:
  CodeSet Current() const { return current_; }
  const std::string& Bytes() const { return out_; }

  void Select(CodeSet set) {
    static const char kLetters[] = {'?', 'A', 'B', 'C'};
    out_ += kEscape;
    out_ += kLetters[static_cast<int>(set)];
    current_ = set;
  }

  void Special(char letter) {
    out_ += kEscape;
    out_ += letter;
  }

  void Character(uint8_t b) {
    if (b == kEscape) out_ += kEscape;
    out_ += static_cast<char>(b);
  }

  void DigitPair(uint8_t tens, uint8_t ones) {
    out_ += static_cast<char>((tens - '0') * 10 + (ones - '0'));
  }

 private:
  std::string out_;
  CodeSet current_ = CodeSet::kNone;
};

bool StartsWithSelection(const std::string& in) {
  return in.size() >= 2 && in[0] == kEscape && (in[1] == 'A' || in[1] == 'B' || in[1] == 'C');
}

}  // namespace

bool ConvertCode128(std::string& data) {
  const std::string in = data.substr(0, kCode128InputLimit);
  if (in.empty()) return false;
  const size_t n = in.size();
  Code128Writer out;
  size_t i = 0;
  while (i < n) {
    const uint8_t b = ByteAt(in, i);
    if (IsDigit(b)) {
      size_t end = i;
      while (end < n && IsDigit(ByteAt(in, end))) ++end;
      const size_t run = end - i;
      const bool inside = i > 0 && end < n;
      if (run <= kLongestCopiedRun && (inside || run < kShortestEdgeRunPacked)) {
        // Inside the data a set A or B is already current, and holds digits.
        if (i == 0) out.Select(ChooseAOrB(in, end));
        for (; i < end; ++i) out.Character(ByteAt(in, i));
      } else {
        out.Select(CodeSet::kC);
        for (; i + 1 < end; i += 2) out.DigitPair(ByteAt(in, i), ByteAt(in, i + 1));
        if (i < end) {
          out.Select(CodeSet::kB);
          out.Character(ByteAt(in, i));
          ++i;
        }
      }
      continue;
    }
    if (b >= 0x80) return false;
    if (IsControl(b)) {
      if (out.Current() != CodeSet::kA) out.Select(CodeSet::kA);
    } else if (IsLowerHalf(b)) {
      if (out.Current() != CodeSet::kB) out.Select(CodeSet::kB);
    } else if (out.Current() == CodeSet::kC || out.Current() == CodeSet::kNone) {
      out.Select(ChooseAOrB(in, i));
    }
    out.Character(b);
    ++i;
  }
  if (out.Bytes().size() > kCode128OutputLimit) return false;
  data = out.Bytes();
  return true;
}

bool ConvertParsedCode128(std::string& data) {
  const std::string in = data.substr(0, kCode128InputLimit);
  const size_t n = in.size();
  if (n < 2) return false;
  Code128Writer out;
  if (!StartsWithSelection(in)) out.Select(ChooseAOrB(in, 0));
  bool shifted = false;  // the next character is read from the other of A and B
  bool anyCharacter = false;
  size_t i = 0;
  while (i < n) {
    const uint8_t b = ByteAt(in, i);
    if (out.Current() == CodeSet::kC && b != kEscape) {
      // Also after an FNC1 in set C: digits sent as text there would be
      // read as the values 48..57.
      if (i + 1 < n && IsDigit(b) && IsDigit(ByteAt(in, i + 1))) {
        out.DigitPair(b, ByteAt(in, i + 1));
        anyCharacter = true;
        i += 2;
      } else {
        out.Select(ChooseAOrB(in, i));
      }
      continue;
    }
    if (b == kEscape) {
      if (i + 1 >= n) return false;
      const char code = in[i + 1];
      i += 2;
      const bool inC = out.Current() == CodeSet::kC;
      switch (code) {
        case 'A':
          if (shifted) return false;
          out.Select(CodeSet::kA);
          break;
        case 'B':
          if (shifted) return false;
          out.Select(CodeSet::kB);
          break;
        case 'C':
          if (shifted) return false;
          out.Select(CodeSet::kC);
          break;
        case '1':
          if (shifted) return false;
          out.Special(code);
          anyCharacter = true;
          break;
        case '2':
        case '3':
        case '4':
          if (shifted || inC) return false;
          out.Special(code);
          anyCharacter = true;
          break;
        case 'S':
          if (shifted || inC) return false;
          out.Special(code);
          shifted = true;
          break;
        case kEscape: {
          const CodeSet set = shifted ? OtherOfAB(out.Current()) : out.Current();
          if (!FitsSet(set, kEscape)) return false;
          out.Character(kEscape);
          shifted = false;
          anyCharacter = true;
          break;
        }
        default:
          return false;
      }
      continue;
    }
    const CodeSet set = shifted ? OtherOfAB(out.Current()) : out.Current();
    if (!FitsSet(set, b)) return false;
    out.Character(b);
    shifted = false;
    anyCharacter = true;
    ++i;
  }
  if (shifted || !anyCharacter || out.Bytes().size() > kCode128OutputLimit) return false;
  data = out.Bytes();
  return true;
}

}  // namespace Printer
}  // namespace QEL
