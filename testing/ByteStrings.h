#pragma once
// Writing expected printer bytes in tests: literal bytes, text, and the two
// joined, compared against what reached a port or a buffer.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::vector<uint8_t>;

inline Bytes B(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out.push_back(static_cast<uint8_t>(b));
  return out;
}

inline Bytes Of(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

template <typename Buffer>
Bytes Content(const Buffer& b) {
  return Bytes(b.data(), b.data() + b.size());
}

}  // namespace testing_support
