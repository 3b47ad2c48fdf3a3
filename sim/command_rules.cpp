#include "sim/command_rules.h"

#include "sim/graphics_rules.h"
#include "sim/rule_helpers.h"
#include "sim/symbol_rules.h"

namespace sim {

using namespace rules;

namespace {

// A one-parameter command whose parameter must be one of a few values.
Fault Param(uint8_t v, bool accepted, const char* allowed) {
  return accepted ? Fault() : Outside("n", v, allowed);
}

Fault DleFault(const uint8_t* p, size_t n) {
  switch (p[1]) {
    case 0x04:  // DLE EOT n [a]
      if (p[2] == 7) return In(p[3], 1, 2) ? Fault() : Outside("a", p[3], "1..2");
      if (p[2] == 8) return p[3] == 3 ? Fault() : Outside("a", p[3], "3");
      return Param(p[2], In(p[2], 1, 4), "1..4, 7 or 8");
    case 0x05:  // DLE ENQ n
      return Param(p[2], In(p[2], 1, 2), "1..2");
    case 0x14:  // DLE DC4 fn ...
      switch (p[2]) {
        case 1:  // pulse: connector pin, then the time in 100 ms units
          if (!In(p[3], 0, 1)) return Outside("m", p[3], "0..1");
          return In(p[4], 1, 8) ? Fault() : Outside("t", p[4], "1..8");
        case 2:  // power off
          return p[3] == 1 && p[4] == 8 ? Fault() : "a b not 1 8";
        case 3:  // buzzer: the ranges depend on the model
          return {};
        case 7:
          return OneOf(p[3], {1, 2, 4, 5}) ? Fault() : Outside("m", p[3], "1, 2, 4 or 5");
        case 8: {
          static const uint8_t kFixed[] = {1, 3, 20, 1, 6, 2, 8};
          for (size_t i = 0; i < sizeof kFixed; ++i) {
            if (p[3 + i] != kFixed[i]) return "parameters not 1 3 20 1 6 2 8";
          }
          return {};
        }
        default:
          return NoFunction(p[2]);
      }
    default:
      return {};
  }
}

// ESC D n1 .. nk NUL: the scanner ends the list where a printer does; only
// a list that ends with its NUL was taken whole.
Fault TabsFault(const uint8_t* p, size_t n) {
  if (p[n - 1] == 0x00) return {};
  const size_t stops = n - 2;
  if (stops >= 2 && p[n - 1] <= p[n - 2]) {
    return "stop " + std::to_string(p[n - 1]) + " does not rise above " + std::to_string(p[n - 2]);
  }
  return "more than 32 stops";
}

Fault BeeperFault(const uint8_t* p, size_t n) {
  const size_t length = U16(p + 3);
  if (length < 1) return LengthSays(length, 1);
  switch (p[5]) {
    case 48:  // pattern, count, cycle time: their ranges depend on the model
      return length == 4 ? Fault() : LengthSays(length, 4);
    case 97:  // 100, count, on time, off time
      if (length != 5) return LengthSays(length, 5);
      if (p[6] != 100) return Outside("n", p[6], "100");
      return p[7] <= 63 ? Fault() : Outside("c", p[7], "0..63");
    default:
      return {};
  }
}

Fault EscFault(const uint8_t* p, size_t n) {
  switch (p[1]) {
    case '-':
      return Param(p[2], Selector(p[2], 3), "0..2 or 48..50");
    case '?':
      return Param(p[2], In(p[2], 32, 126), "32..126");
    case '&':
      if (!In(p[3], 32, 126) || !In(p[4], p[3], 126)) return "c1 c2 not within 32..126 and rising";
      return {};
    case '*':
      return BitImageFault(p, n);
    case 'D':
      return TabsFault(p, n);
    case 'M':
      return Param(p[2], Selector(p[2], 5) || OneOf(p[2], {97, 98}), "0..4, 48..52, 97 or 98");
    case 'R':
      return Param(p[2], In(p[2], 0, 17) || In(p[2], 66, 75) || p[2] == 82, "0..17, 66..75 or 82");
    case 'T':
      return Param(p[2], Selector(p[2], 4), "0..3 or 48..51");
    case 'V':
      return Param(p[2], Selector(p[2], 3), "0..2 or 48..50");
    case 'W':
      if (U16(p + 6) == 0) return Outside("dx", 0, "1 or more");
      return U16(p + 8) != 0 ? Fault() : Outside("dy", 0, "1 or more");
    case 'a':
      return Param(p[2], Selector(p[2], 3), "0..2 or 48..50");
    case 'c':
      if (!OneOf(p[2], {'0', '1', '3', '4', '5'})) return NoFunction(p[2]);
      return {};
    case 'p':
      return Selector(p[2], 2) ? Fault() : Outside("m", p[2], "0, 1, 48 or 49");
    case 'r':
      return Param(p[2], Selector(p[2], 2), "0, 1, 48 or 49");
    case 't':
      return Param(p[2], In(p[2], 0, 53) || p[2] >= 254, "0..53, 254 or 255");
    case 'u':
      return Param(p[2], p[2] == 0 || p[2] == 48, "0 or 48");
    case '(':
      if (p[2] == 'A') return BeeperFault(p, n);
      return {};
    default:
      return {};
  }
}

Fault FsFault(const uint8_t* p, size_t n, Dialect dialect) {
  switch (p[1]) {
    case '-':
      return Param(p[2], Selector(p[2], 3), "0..2 or 48..50");
    case 'C':
      return Param(p[2], Selector(p[2], 3), "0..2 or 48..50");
    case 'p':
      if (p[2] == 0) return Outside("n", 0, "1..255");
      return Selector(p[3], 4) ? Fault() : Outside("m", p[3], "0..3 or 48..51");
    case 'q':
      return NvImageFault(p, n, dialect);
    default:
      return {};
  }
}

Fault UserSetupFault(const uint8_t* p, size_t n) {
  const size_t length = U16(p + 3);
  if (length < 1) return LengthSays(length, 1);
  const uint8_t* d = p + 5;  // fn data
  auto text = [&](const char* expected) -> Fault {
    const std::string data(d + 1, d + length);
    return data == expected ? Fault() : std::string("data is not \"") + expected + "\"";
  };
  switch (d[0]) {
    case 1:
      return text("IN");
    case 2:
      return text("OUT");
    case 5:  // entries of a key and a 16-bit value
      if (length < 4 || (length - 1) % 3 != 0) return "p " + std::to_string(length) + " holds no whole entries";
      return {};
    case 6:  // one key
    case 12:
      return length == 2 ? Fault() : LengthSays(length, 2);
    default:
      return {};
  }
}

Fault PrintControlFault(const uint8_t* p, size_t n) {
  const size_t length = U16(p + 3);
  if (length != 2) return LengthSays(length, 2);
  const uint8_t fn = p[5], m = p[6];
  switch (fn) {
    case 50:  // print speed
      return Selector(m, 10) ? Fault() : Outside("m", m, "0..9 or 48..57");
    case 97:  // head energising parts
      return OneOf(m, {0, 1, 2, 4, 48, 49, 50, 52, 128}) ? Fault()
                                                          : Outside("m", m, "0, 1, 2, 4, 48, 49, 50, 52 or 128");
    default:
      return {};
  }
}

Fault GsFault(const uint8_t* p, size_t n, Dialect dialect) {
  switch (p[1]) {
    case '!':  // width and height multipliers 1..8 each
      return (p[2] & 0x88) == 0 ? Fault() : Outside("n", p[2], "a width and a height of 1..8");
    case '(':
      switch (p[2]) {
        case 'A': {  // test print
          const size_t length = U16(p + 3);
          if (length != 2) return LengthSays(length, 2);
          if (!Selector(p[5], 3)) return Outside("n", p[5], "0..2 or 48..50");
          return In(p[6], 1, 3) || In(p[6], 49, 51) ? Fault() : Outside("m", p[6], "1..3 or 49..51");
        }
        case 'E':
          return UserSetupFault(p, n);
        case 'K':
          return PrintControlFault(p, n);
        case 'L':
          return GraphicsFault(p, n);
        case 'N': {
          const size_t length = U16(p + 3);
          if (length < 1 || p[5] != 48) return {};
          if (length != 2) return LengthSays(length, 2);
          return In(p[6], 48, 51) ? Fault() : Outside("m", p[6], "48..51");
        }
        case 'k':
          return SymbolFault(p, n);
        default:
          return {};
      }
    case '8':
      return p[2] == 'L' ? GraphicsFault(p, n) : Fault();
    case '*':
      return DownloadedImageFault(p, n);
    case '/':
      return Param(p[2], Selector(p[2], 4), "0..3 or 48..51");
    case 'E':
      // The QX1270 family's print density; ESC/POS gives GS E another meaning.
      if (dialect == Dialect::kQx1270Frame) return Param(p[2], p[2] <= 9, "0..9");
      return {};
    case 'H':
      return Param(p[2], Selector(p[2], 4), "0..3 or 48..51");
    case 'I':
      return Param(p[2], In(p[2], 1, 3) || In(p[2], 49, 51) || OneOf(p[2], {33, 35, 36, 96}) ||
                             In(p[2], 65, 69) || In(p[2], 110, 112),
                   "a known information kind");
    case 'T':
      return Param(p[2], Selector(p[2], 2), "0, 1, 48 or 49");
    case 'V':
      return OneOf(p[2], {0, 1, 48, 49, 65, 66, 97, 98, 103, 104}) ? Fault() : Outside("m", p[2], "a cut mode");
    case '^':
      return In(p[4], 0, 1) ? Fault() : Outside("m", p[4], "0..1");
    case 'f':
      return Param(p[2], Selector(p[2], 5) || OneOf(p[2], {97, 98}), "0..4, 48..52, 97 or 98");
    case 'g': {
      const size_t counter = U16(p + 4);
      if (p[3] != 0) return Outside("m", p[3], "0");
      const bool reset = p[2] == '0';
      const bool known = reset ? OneOf(static_cast<long>(counter), {20, 21, 50, 70, 71, 72, 73})
                               : OneOf(static_cast<long>(counter),
                                       {20, 21, 50, 70, 71, 72, 73, 148, 149, 150, 178, 198, 199, 200, 201});
      return known ? Fault() : Outside("counter", static_cast<long>(counter), "a known counter");
    }
    case 'h':
      return Param(p[2], p[2] >= 1, "1..255");
    case 'k':
      return BarcodeFault(p, n);
    case 'r':
      return Param(p[2], OneOf(p[2], {1, 2, 49, 50}), "1, 2, 49 or 50");
    case 'v':
      return RasterImageFault(p, n);
    case 'w':
      return Param(p[2], In(p[2], 2, 6), "2..6");
    case '"':  // the QX1270 family's curved text
      if (p[n - 1] != 0x00) return "no NUL after the text";
      return In(p[2], 0, 1) ? Fault() : Outside("m", p[2], "0..1");
    default:
      return {};
  }
}

}  // namespace

std::string CommandFault(const uint8_t* p, size_t n, Dialect dialect) {
  if (n < 2) return {};
  switch (p[0]) {
    case 0x10:
      return DleFault(p, n);
    case 0x1B:
      return EscFault(p, n);
    case 0x1C:
      return FsFault(p, n, dialect);
    case 0x1D:
      return GsFault(p, n, dialect);
    default:
      return {};
  }
}

}  // namespace sim
