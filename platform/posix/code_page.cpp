#include "platform/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform {
namespace {

// Without a Windows system behind us the "default ANSI code page" is the one a
// Western European installation has.
constexpr unsigned kDefaultAnsi = 1252;

std::string IconvName(unsigned codePage) {
  switch (codePage) {
    case 65001: return "UTF-8";
    case 20127: return "ASCII";
    case 28591: return "ISO-8859-1";
    case 28592: return "ISO-8859-2";
    case 28595: return "ISO-8859-5";
    case 28597: return "ISO-8859-7";
    case 28605: return "ISO-8859-15";
    case 936: return "GBK";
    case 54936: return "GB18030";
    case 949: return "CP949";
    case 950: return "BIG5";
    case 932: return "CP932";
    default: break;
  }
  char name[16];
  std::snprintf(name, sizeof name, "CP%u", codePage);
  return name;
}

struct Converter {
  iconv_t handle = reinterpret_cast<iconv_t>(-1);
  ~Converter() {
    if (handle != reinterpret_cast<iconv_t>(-1)) iconv_close(handle);
  }
};

// iconv descriptors keep shift state and must not be shared between threads,
// so each thread keeps its own, opened once per code page.
iconv_t ConverterFor(unsigned codePage, bool toWide) {
  thread_local std::map<std::pair<unsigned, bool>, std::unique_ptr<Converter>> cache;
  auto key = std::make_pair(codePage, toWide);
  auto it = cache.find(key);
  if (it == cache.end()) {
    auto conv = std::make_unique<Converter>();
    std::string name = IconvName(codePage);
    conv->handle = toWide ? iconv_open("UTF-16LE", name.c_str()) : iconv_open(name.c_str(), "UTF-16LE");
    it = cache.emplace(key, std::move(conv)).first;
  }
  iconv(it->second->handle, nullptr, nullptr, nullptr, nullptr);  // reset shift state
  return it->second->handle;
}

unsigned Resolve(unsigned codePage) { return codePage == kAnsiCodePage ? kDefaultAnsi : codePage; }

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

size_t WideToMultiByte(unsigned codePage, const char16_t* text, size_t length, char* out,
                       size_t capacity) {
  if (length == 0) return 0;
  iconv_t cd = ConverterFor(Resolve(codePage), false);
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;

  // UTF-16LE input regardless of the host's byte order.
  std::vector<char> input(length * 2);
  for (size_t i = 0; i < length; ++i) {
    input[2 * i] = static_cast<char>(text[i] & 0xFF);
    input[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  const bool measureOnly = capacity == 0;
  std::vector<char> scratch;
  char* target = out;
  size_t room = capacity;
  if (measureOnly) {
    scratch.resize(length * 4 + 16);
    target = scratch.data();
    room = scratch.size();
  }
  char* inPtr = input.data();
  size_t inLeft = input.size();
  char* outPtr = target;
  size_t outLeft = room;
  while (inLeft > 0) {
    size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    if (rc != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) return 0;
    // Unmappable or broken input: one '?' stands for the character, as the
    // Windows conversion does with its default character.
    if (outLeft == 0) return 0;
    *outPtr++ = '?';
    --outLeft;
    size_t unit = 2;
    if (inLeft >= 4) {
      char16_t c = static_cast<char16_t>(static_cast<unsigned char>(inPtr[0]) |
                                         (static_cast<unsigned char>(inPtr[1]) << 8));
      char16_t d = static_cast<char16_t>(static_cast<unsigned char>(inPtr[2]) |
                                         (static_cast<unsigned char>(inPtr[3]) << 8));
      if (IsHighSurrogate(c) && d >= 0xDC00 && d <= 0xDFFF) unit = 4;
    }
    if (unit > inLeft) unit = inLeft;
    inPtr += unit;
    inLeft -= unit;
  }
  // Flush a stateful encoding's closing sequence.
  if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return 0;
  return static_cast<size_t>(outPtr - target);
}

std::u16string MultiByteToWide(unsigned codePage, const char* bytes, size_t length) {
  std::u16string result;
  if (length == 0) return result;
  iconv_t cd = ConverterFor(Resolve(codePage), true);
  if (cd == reinterpret_cast<iconv_t>(-1)) return result;
  std::vector<char> output(length * 4 + 8);
  char* inPtr = const_cast<char*>(bytes);
  size_t inLeft = length;
  char* outPtr = output.data();
  size_t outLeft = output.size();
  while (inLeft > 0) {
    size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    if (rc != static_cast<size_t>(-1)) break;
    if (errno == E2BIG || outLeft < 2) break;
    outPtr[0] = static_cast<char>(0xFD);
    outPtr[1] = static_cast<char>(0xFF);
    outPtr += 2;
    outLeft -= 2;
    ++inPtr;
    --inLeft;
  }
  size_t produced = static_cast<size_t>(outPtr - output.data()) / 2;
  result.resize(produced);
  for (size_t i = 0; i < produced; ++i) {
    result[i] = static_cast<char16_t>(static_cast<unsigned char>(output[2 * i]) |
                                      (static_cast<unsigned char>(output[2 * i + 1]) << 8));
  }
  return result;
}

}  // namespace platform
