#include "sim/symbol_lines.h"

#include <cstdio>

#include "sim/byte_text.h"

namespace sim {

namespace {

constexpr size_t kQuotedUpTo = 40;

size_t U16(const uint8_t* p) { return size_t{p[0]} | (size_t{p[1]} << 8); }

// Data that reads unambiguously between spaces is shown bare.
std::string Shown(const uint8_t* d, size_t k) {
  bool bare = k > 0;
  for (size_t i = 0; i < k && bare; ++i) bare = d[i] > 0x20 && d[i] < 0x7F && d[i] != '"' && d[i] != '\\';
  return bare ? std::string(reinterpret_cast<const char*>(d), k) : QuotedBytes(d, k);
}

const char* SymbologyName(int m) {
  static const char* const kNames[] = {
      "UPC-A",  "UPC-E",    "EAN13",        "EAN8",     "CODE39",           "ITF",             "CODABAR",
      "CODE93", "CODE128",  "GS1-128",      "DATABAR",  "DATABAR-TRUNCATED", "DATABAR-LIMITED", "DATABAR-EXPANDED",
      "CODE128-AUTO",
  };
  if (m < 65 || m >= 65 + static_cast<int>(sizeof kNames / sizeof kNames[0])) return nullptr;
  return kNames[m - 65];
}

// {B AB {C 12 34 {1 ...: each selection, shift or function character as
// it is written, set C pairs as two digits, runs of other characters shown.
std::string Code128(const uint8_t* d, size_t k) {
  std::string out;
  std::string run;
  bool setC = false;
  auto flush = [&]() {
    if (run.empty()) return;
    out += " " + Shown(reinterpret_cast<const uint8_t*>(run.data()), run.size());
    run.clear();
  };
  for (size_t i = 0; i < k; ++i) {
    const uint8_t b = d[i];
    if (b == '{' && i + 1 < k && d[i + 1] != '{') {
      flush();
      const uint8_t c = d[++i];
      // A selector that is no character of its own is shown escaped, so that
      // it cannot break the line.
      out += " " + (c > 0x20 && c < 0x7F ? std::string("{") + static_cast<char>(c) : QuotedBytes(d + i - 1, 2));
      if (c >= 'A' && c <= 'C') setC = c == 'C';
      continue;
    }
    if (b == '{' && i + 1 < k) ++i;  // {{ is the character '{'
    if (setC) {
      char pair[8];
      std::snprintf(pair, sizeof pair, " %02u", static_cast<unsigned>(b));
      out += pair;
    } else {
      run += static_cast<char>(b);
    }
  }
  flush();
  return out;
}

std::string Barcode(const uint8_t* p, size_t n) {
  int m = p[2];
  const uint8_t* d;
  size_t k;
  if (m <= 6) {
    if (p[n - 1] != 0x00) return {};  // no end to its data
    m += 65;
    d = p + 3;
    k = n - 4;
  } else {
    if (n < 4) return {};
    d = p + 4;
    k = n - 4;
  }
  const char* name = SymbologyName(m);
  if (name == nullptr || k == 0) return {};
  const std::string data = m == 73 && d[0] == '{' ? Code128(d, k) : " " + Shown(d, k);
  return std::string("GS k ") + name + data;
}

std::string Stored(const char* symbol, const uint8_t* d, size_t k) {
  if (k <= kQuotedUpTo) return std::string(symbol) + " store " + QuotedBytes(d, k);
  return std::string(symbol) + " store " + std::to_string(k) + " bytes";
}

// cn fn and the parameters after them, p bytes in all.
std::string Qr(const uint8_t* d, size_t p) {
  if (p < 3) return {};
  switch (d[1]) {
    case 65:
      if (p != 4 || (d[2] != '1' && d[2] != '2')) return {};
      return std::string("QR model ") + static_cast<char>(d[2]);
    case 67:
      if (p != 3) return {};
      return "QR module " + std::to_string(d[2]);
    case 69:
      if (p != 3 || d[2] < 48 || d[2] > 51) return {};
      return std::string("QR error ") + "LMQH"[d[2] - 48];
    case 80:
      if (d[2] != 48) return {};
      return Stored("QR", d + 3, p - 3);
    case 81:
      return p == 3 && d[2] == 48 ? "QR print" : "";
    case 82:
      return p == 3 && d[2] == 48 ? "QR query size" : "";
    default:
      return {};
  }
}

std::string Pdf417(const uint8_t* d, size_t p) {
  if (p < 3) return {};
  auto count = [&](const char* what) {
    return std::string("PDF417 ") + what + " " + (d[2] == 0 ? std::string("auto") : std::to_string(d[2]));
  };
  switch (d[1]) {
    case 65:
      return p == 3 ? count("columns") : "";
    case 66:
      return p == 3 ? count("rows") : "";
    case 67:
      return p == 3 ? "PDF417 module " + std::to_string(d[2]) : "";
    case 68:
      return p == 3 ? "PDF417 row height " + std::to_string(d[2]) : "";
    case 69:
      if (p != 4) return {};
      // By level (48 + level 0..8), or by a share of the data in tens of percent.
      if (d[2] == '0' && d[3] >= 48 && d[3] <= 56) return "PDF417 error level " + std::to_string(d[3] - 48);
      if (d[2] == '1') return "PDF417 error ratio " + std::to_string(d[3] * 10) + "%";
      return {};
    case 70:
      if (p != 3 || d[2] > 1) return {};
      return d[2] == 0 ? "PDF417 options standard" : "PDF417 options truncated";
    case 80:
      if (d[2] != 48) return {};
      return Stored("PDF417", d + 3, p - 3);
    case 81:
      return p == 3 && d[2] == 48 ? "PDF417 print" : "";
    case 82:
      return p == 3 && d[2] == 48 ? "PDF417 query size" : "";
    default:
      return {};
  }
}

// GS H and GS f take a number or its digit character.
int Choice(uint8_t n) { return n >= '0' ? n - '0' : n; }

}  // namespace

std::string DescribeSymbolCommand(const uint8_t* p, size_t n) {
  if (n < 3 || p[0] != 0x1D) return {};
  if (p[1] != 'k' && p[1] != '(' && n != 3) return {};
  switch (p[1]) {
    case 'k':
      return Barcode(p, n);
    case 'w':
      return "GS w module " + std::to_string(p[2]);
    case 'h':
      return "GS h height " + std::to_string(p[2]);
    case 'H': {
      static const char* const kPlaces[] = {"none", "above", "below", "above and below"};
      const int c = Choice(p[2]);
      if (c > 3) return {};
      return std::string("GS H HRI ") + kPlaces[c];
    }
    case 'f': {
      if (p[2] == 97 || p[2] == 98) return std::string("GS f HRI font special ") + static_cast<char>('A' + p[2] - 97);
      const int c = Choice(p[2]);
      if (c > 4) return {};
      return std::string("GS f HRI font ") + static_cast<char>('A' + c);
    }
    case '(': {
      if (n < 7 || p[2] != 'k') return {};
      const size_t length = U16(p + 3);
      if (length + 5 != n) return {};
      if (p[5] == 49) return Qr(p + 5, length);
      if (p[5] == 48) return Pdf417(p + 5, length);
      return {};
    }
    default:
      return {};
  }
}

}  // namespace sim
