#pragma once
// Bytes written for people: quoted with escapes where they are not plain
// printable ASCII.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace sim {

// "AB\x0A": printable ASCII as it is, '"' and '\' escaped, anything else \xNN.
inline std::string QuotedBytes(const uint8_t* p, size_t n) {
  std::string out = "\"";
  char buf[5];
  for (size_t i = 0; i < n; ++i) {
    const uint8_t b = p[i];
    if (b == '"' || b == '\\') {
      out += '\\';
      out += static_cast<char>(b);
    } else if (b >= 0x20 && b < 0x7F) {
      out += static_cast<char>(b);
    } else {
      std::snprintf(buf, sizeof buf, "\\x%02X", b);
      out += buf;
    }
  }
  return out + "\"";
}

}  // namespace sim
