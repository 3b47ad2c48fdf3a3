#include "sim/symbol_rules.h"

#include <cstring>
#include <string>

namespace sim {
namespace rules {

namespace {

bool Digit(uint8_t b) { return b >= '0' && b <= '9'; }
bool StartStop(uint8_t b) { return In(b, 'A', 'D') || In(b, 'a', 'd'); }
bool Code39Char(uint8_t b) {
  return Digit(b) || In(b, 'A', 'Z') || (b != 0 && std::strchr(" $%*+-./", b) != nullptr);
}
bool CodabarChar(uint8_t b) {
  return Digit(b) || StartStop(b) || (b != 0 && std::strchr("$+-./:", b) != nullptr);
}

std::string Hex(uint8_t b) {
  static const char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[b >> 4] + kDigits[b & 0x0F];
}

template <typename Accepts>
Fault FirstNot(const char* name, const uint8_t* d, size_t k, Accepts accepts, const char* what) {
  for (size_t i = 0; i < k; ++i) {
    if (!accepts(d[i])) return std::string(name) + " data byte " + Hex(d[i]) + " is not " + what;
  }
  return {};
}

Fault Count(const char* name, size_t k, const char* allowed) {
  return std::string(name) + " data of " + std::to_string(k) + " bytes, not " + allowed;
}

// CODE128 data is a sequence of code-set selections ({A, {B, {C) and the
// characters of the selected set; '{' is the escape for selections, shift
// ({S}), the function characters ({1}..{4}) and '{' itself ({{, set B
// only). In set C each byte is one pair of digits, 0..99.
Fault Code128Fault(const uint8_t* d, size_t k) {
  if (k < 2) return Count("CODE128", k, "2 or more");
  if (d[0] != '{' || !In(d[1], 'A', 'C')) return "CODE128 data does not start with {A, {B or {C";
  uint8_t set = d[1];
  for (size_t i = 2; i < k; ++i) {
    uint8_t b = d[i];
    if (b == '{') {
      if (i + 1 == k) return "CODE128 data ends in {";
      const uint8_t c = d[++i];
      if (In(c, 'A', 'C')) {
        set = c;
        continue;
      }
      if (c == 'S' || In(c, '1', '4')) continue;
      if (c != '{') {
        const std::string shown = In(c, 0x21, 0x7E) ? std::string(1, static_cast<char>(c)) : Hex(c);
        return "CODE128 {" + shown + " selects no code set or function";
      }
      if (set != 'B') return std::string("CODE128 {{ in code set ") + static_cast<char>(set);
      continue;
    }
    switch (set) {
      case 'A':
        if (b > 0x5F) return "CODE128 code set A byte " + Hex(b) + " is not 0x00..0x5F";
        break;
      case 'B':
        if (!In(b, 0x20, 0x7F)) return "CODE128 code set B byte " + Hex(b) + " is not 0x20..0x7F";
        break;
      default:
        if (b > 99) return "CODE128 code set C byte " + std::to_string(b) + " is not 0..99";
        break;
    }
  }
  return {};
}

// The barcode systems of the length-counted form (m 65..79). The
// zero-terminated form's systems 0..6 are the same symbologies as 65..71.
Fault DataFault(int m, const uint8_t* d, size_t k) {
  auto digits = [&](const char* name) { return FirstNot(name, d, k, Digit, "a digit"); };
  auto ascii = [&](const char* name) {
    return FirstNot(name, d, k, [](uint8_t b) { return b < 0x80; }, "0..127");
  };
  switch (m) {
    case 65:
      if (!In(k, 11, 12)) return Count("UPC-A", k, "11 or 12");
      return digits("UPC-A");
    case 66:
      if (!OneOf(k, {6, 7, 8, 11, 12})) return Count("UPC-E", k, "6, 7, 8, 11 or 12");
      if (k != 6 && d[0] != '0') return "UPC-E data of " + std::to_string(k) + " digits starts with 0";
      return digits("UPC-E");
    case 67:
      if (!In(k, 12, 13)) return Count("EAN-13", k, "12 or 13");
      return digits("EAN-13");
    case 68:
      if (!In(k, 7, 8)) return Count("EAN-8", k, "7 or 8");
      return digits("EAN-8");
    case 69:
      if (k < 1) return Count("CODE39", k, "1 or more");
      return FirstNot("CODE39", d, k, Code39Char, "a CODE39 character");
    case 70:
      if (k < 2 || k % 2 != 0) return Count("ITF", k, "an even number");
      return digits("ITF");
    case 71:
      if (k < 2) return Count("CODABAR", k, "2 or more");
      if (!StartStop(d[0]) || !StartStop(d[k - 1])) return "CODABAR data does not start and end with A..D";
      return FirstNot("CODABAR", d, k, CodabarChar, "a CODABAR character");
    case 72:
      if (k < 1) return Count("CODE93", k, "1 or more");
      return ascii("CODE93");
    case 73:
      return Code128Fault(d, k);
    case 74:
      if (k < 2) return Count("GS1-128", k, "2 or more");
      return ascii("GS1-128");
    case 75:
    case 76:
      if (k != 13) return Count("GS1 DataBar", k, "13");
      return digits("GS1 DataBar");
    case 77:
      if (k != 13) return Count("GS1 DataBar Limited", k, "13");
      if (d[0] != '0' && d[0] != '1') return "GS1 DataBar Limited data does not start with 0 or 1";
      return digits("GS1 DataBar Limited");
    case 78:
      if (k < 2) return Count("GS1 DataBar Expanded", k, "2 or more");
      return ascii("GS1 DataBar Expanded");
    case 79:
      if (k < 1) return Count("CODE128", k, "1 or more");
      return {};
    default:
      return Outside("m", m, "0..6 or 65..79");
  }
}

Fault Pdf417Fault(uint8_t fn, const uint8_t* d, size_t p) {
  auto fixed = [&](size_t length) -> Fault { return p == length ? Fault() : LengthSays(p, length); };
  switch (fn) {
    case 65:  // columns
      if (Fault f = fixed(3); !f.empty()) return f;
      return In(d[2], 0, 30) ? Fault() : Outside("columns", d[2], "0..30");
    case 66:  // rows
      if (Fault f = fixed(3); !f.empty()) return f;
      return d[2] == 0 || In(d[2], 3, 90) ? Fault() : Outside("rows", d[2], "0 or 3..90");
    case 67:  // module width
      if (Fault f = fixed(3); !f.empty()) return f;
      return In(d[2], 2, 8) ? Fault() : Outside("module width", d[2], "2..8");
    case 68:  // row height
      if (Fault f = fixed(3); !f.empty()) return f;
      return In(d[2], 2, 8) ? Fault() : Outside("row height", d[2], "2..8");
    case 69:  // error correction: by level or by ratio
      if (Fault f = fixed(4); !f.empty()) return f;
      if (d[2] == '0') return In(d[3], 48, 56) ? Fault() : Outside("level", d[3], "48..56");
      if (d[2] == '1') return In(d[3], 1, 40) ? Fault() : Outside("ratio", d[3], "1..40");
      return Outside("m", d[2], "48 or 49");
    case 70:  // options
      if (Fault f = fixed(3); !f.empty()) return f;
      return In(d[2], 0, 1) ? Fault() : Outside("option", d[2], "0..1");
    case 80:  // store
      if (p < 4) return "stores no data";
      return d[2] == 48 ? Fault() : Outside("m", d[2], "48");
    case 81:  // print
    case 82:  // size
      if (Fault f = fixed(3); !f.empty()) return f;
      return d[2] == 48 ? Fault() : Outside("m", d[2], "48");
    default:
      return NoFunction(fn);
  }
}

constexpr size_t kQrMaxStore = 7092;

Fault QrFault(uint8_t fn, const uint8_t* d, size_t p) {
  auto fixed = [&](size_t length) -> Fault { return p == length ? Fault() : LengthSays(p, length); };
  switch (fn) {
    case 65:  // model
      if (Fault f = fixed(4); !f.empty()) return f;
      if (!In(d[2], 49, 50)) return Outside("model", d[2], "49..50");
      return d[3] == 0 ? Fault() : Outside("n2", d[3], "0");
    case 67:  // module size
      if (Fault f = fixed(3); !f.empty()) return f;
      return In(d[2], 1, 16) ? Fault() : Outside("module size", d[2], "1..16");
    case 69:  // error correction level
      if (Fault f = fixed(3); !f.empty()) return f;
      return In(d[2], 48, 51) ? Fault() : Outside("level", d[2], "48..51");
    case 80:  // store: at most 7089 data bytes, the largest symbol's
      if (p < 4) return "stores no data";
      if (p > kQrMaxStore) return "p " + std::to_string(p) + " above " + std::to_string(kQrMaxStore);
      return d[2] == 48 ? Fault() : Outside("m", d[2], "48");
    case 81:  // print
    case 82:  // size
      if (Fault f = fixed(3); !f.empty()) return f;
      return d[2] == 48 ? Fault() : Outside("m", d[2], "48");
    default:
      return NoFunction(fn);
  }
}

}  // namespace

Fault BarcodeFault(const uint8_t* p, size_t n) {
  const uint8_t m = p[2];
  if (m <= 6) {
    // Zero-terminated form: the data runs up to the NUL.
    if (p[n - 1] != 0x00) return "no NUL within 255 data bytes";
    return DataFault(65 + m, p + 3, n - 4);
  }
  if (m < 65 || n < 4) return DataFault(m, nullptr, 0);
  const size_t k = p[3];
  if (k == 0) return "n 0: no data";
  return DataFault(m, p + 4, k);
}

Fault SymbolFault(const uint8_t* p, size_t n) {
  const size_t length = U16(p + 3);
  if (length < 2) return LengthSays(length, 2);
  const uint8_t* d = p + 5;  // cn fn parameters
  switch (d[0]) {
    case 48:
      return Pdf417Fault(d[1], d, length);
    case 49:
      return QrFault(d[1], d, length);
    default:
      // Other symbols exist on some models; their rules are not modelled.
      return {};
  }
}

}  // namespace rules
}  // namespace sim
