#pragma once
// Writing printer input by hand in the virtual printer's tests.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace sim {
namespace testbytes {

using Bytes = std::vector<uint8_t>;

inline Bytes B(std::initializer_list<int> bytes) {
  Bytes v;
  for (int b : bytes) v.push_back(static_cast<uint8_t>(b));
  return v;
}

inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

}  // namespace testbytes
}  // namespace sim
