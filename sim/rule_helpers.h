#pragma once
// Small pieces shared by the command rules: reading parameters and saying,
// in a short phrase, what a printer would object to. An empty string means
// the printer takes the command.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace sim {
namespace rules {

using Fault = std::string;

inline bool In(long v, long low, long high) { return v >= low && v <= high; }

inline bool OneOf(long v, std::initializer_list<long> allowed) {
  for (long a : allowed) {
    if (v == a) return true;
  }
  return false;
}

// The numeric and the character form of a selector: 0..count-1 or '0'...
inline bool Selector(long v, long count) { return In(v, 0, count - 1) || In(v, '0', '0' + count - 1); }

inline size_t U16(const uint8_t* p) { return size_t{p[0]} | (size_t{p[1]} << 8); }
inline size_t U32(const uint8_t* p) {
  return size_t{p[0]} | (size_t{p[1]} << 8) | (size_t{p[2]} << 16) | (size_t{p[3]} << 24);
}

// "n 0 outside 1..255"
inline Fault Outside(const char* what, long value, const char* allowed) {
  return std::string(what) + " " + std::to_string(value) + " outside " + allowed;
}

// "p 12 where the command takes 11"
inline Fault LengthSays(size_t declared, size_t needed) {
  return "p " + std::to_string(declared) + " where the command takes " + std::to_string(needed);
}

inline Fault NoFunction(long fn) { return "no function " + std::to_string(fn); }

}  // namespace rules
}  // namespace sim
