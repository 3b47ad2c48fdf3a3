#pragma once
// Table rows for the command-builder tests: one row per builder call, with
// the bytes it must append and the result it must return. Every row runs on a
// buffer that already holds a byte, so a builder that overwrites instead of
// appending, or appends a partial command on rejection, fails.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "so/base/PrinterBuffer.h"
#include "so/format/CCmdHelperBase.h"

namespace QEL {
namespace Printer {
namespace test {

using Bytes = std::vector<uint8_t>;

// "1B 21 00" -> {0x1B, 0x21, 0x00}.
inline Bytes Hex(const std::string& text) {
  Bytes bytes;
  std::istringstream in(text);
  std::string token;
  while (in >> token) bytes.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
  return bytes;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

inline Bytes Content(const PrinterBuffer& b) { return Bytes(b.data(), b.data() + b.size()); }

inline std::string ToHex(const Bytes& bytes) {
  std::string s;
  char piece[4];
  for (uint8_t b : bytes) {
    std::snprintf(piece, sizeof piece, "%02X ", b);
    s += piece;
  }
  return s;
}

struct BuilderCase {
  std::string call;
  std::function<bool(CCmdHelperBase&, PrinterBuffer&)> run;
  Bytes expected;
  bool result;
};

constexpr uint8_t kSentinel = 0xEE;

// Runs the call after a sentinel byte and returns what it appended.
inline Bytes Appended(CCmdHelperBase& helper, const BuilderCase& c, bool* result) {
  PrinterBuffer out(32, 32);
  out.pushByte(kSentinel);
  *result = c.run(helper, out);
  EXPECT_EQ(out.at(0), kSentinel) << c.call << " touched what was already in the buffer";
  return Bytes(out.data() + 1, out.data() + out.size());
}

inline void ExpectCases(CCmdHelperBase& helper, const std::vector<BuilderCase>& cases) {
  for (const BuilderCase& c : cases) {
    bool result = false;
    const Bytes got = Appended(helper, c, &result);
    EXPECT_EQ(ToHex(got), ToHex(c.expected)) << c.call;
    EXPECT_EQ(result, c.result) << c.call;
  }
}

}  // namespace test
}  // namespace Printer
}  // namespace QEL

// A call whose builder returns nothing: expected bytes, and true as result.
#define APPENDS(hex, ...)                                                     \
  ::QEL::Printer::test::BuilderCase {                                         \
    #__VA_ARGS__,                                                             \
        [](::QEL::Printer::CCmdHelperBase& h, ::QEL::Printer::PrinterBuffer& out) { \
          __VA_ARGS__;                                                        \
          return true;                                                        \
        },                                                                    \
        ::QEL::Printer::test::Hex(hex), true                                  \
  }
// A validating call that must accept and append hex.
#define ACCEPTS(hex, ...)                                                     \
  ::QEL::Printer::test::BuilderCase {                                         \
    #__VA_ARGS__,                                                             \
        [](::QEL::Printer::CCmdHelperBase& h, ::QEL::Printer::PrinterBuffer& out) { \
          return static_cast<bool>(__VA_ARGS__);                              \
        },                                                                    \
        ::QEL::Printer::test::Hex(hex), true                                  \
  }
// A validating call that must reject and append nothing.
#define REJECTS(...)                                                          \
  ::QEL::Printer::test::BuilderCase {                                         \
    #__VA_ARGS__,                                                             \
        [](::QEL::Printer::CCmdHelperBase& h, ::QEL::Printer::PrinterBuffer& out) { \
          return static_cast<bool>(__VA_ARGS__);                              \
        },                                                                    \
        ::QEL::Printer::test::Bytes{}, false                                  \
  }
