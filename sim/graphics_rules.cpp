#include "sim/graphics_rules.h"

#include <string>

namespace sim {
namespace rules {

namespace {

size_t Bytes(size_t dots) { return (dots + 7) / 8; }

bool Key(uint8_t b) { return In(b, 32, 126); }

Fault KeyFault(uint8_t kc1, uint8_t kc2) {
  if (!Key(kc1)) return Outside("kc1", kc1, "32..126");
  if (!Key(kc2)) return Outside("kc2", kc2, "32..126");
  return {};
}

// fn 67 (raster) and fn 68 (column): a kc1 kc2 b xL xH yL yH, then b planes,
// each a colour byte and its data. d points at m.
Fault DefinitionFault(const uint8_t* d, size_t length, bool raster) {
  if (length < 10) return "p " + std::to_string(length) + " too short for the header";
  if (d[2] != 48) return Outside("a", d[2], "48");
  if (Fault f = KeyFault(d[3], d[4]); !f.empty()) return f;
  const size_t planes = d[5];
  if (!In(static_cast<long>(planes), 1, 2)) return Outside("b", static_cast<long>(planes), "1..2");
  const size_t x = U16(d + 6), y = U16(d + 8);
  if (!In(static_cast<long>(x), 1, 8192)) return Outside("width", static_cast<long>(x), "1..8192");
  if (!In(static_cast<long>(y), 1, 2304)) return Outside("height", static_cast<long>(y), "1..2304");
  const size_t plane = raster ? Bytes(x) * y : Bytes(y) * x;
  const size_t needed = 10 + planes * (1 + plane);
  if (length != needed) return LengthSays(length, needed);
  for (size_t i = 0; i < planes; ++i) {
    const uint8_t colour = d[10 + i * (1 + plane)];
    if (planes == 1 && !In(colour, 49, 52)) return Outside("colour", colour, "49..52");
    // Two tones: the first plane is colour 1, the second colour 2.
    if (planes == 2 && colour != 49 + i) {
      return Outside(i == 0 ? "first colour" : "second colour", colour, i == 0 ? "49" : "50");
    }
  }
  return {};
}

// fn 112: a bx by c xL xH yL yH d...
Fault StoreFault(const uint8_t* d, size_t length) {
  if (length < 10) return "p " + std::to_string(length) + " too short for the header";
  if (d[2] != 48) return Outside("a", d[2], "48");
  if (!In(d[3], 1, 2)) return Outside("bx", d[3], "1..2");
  if (!In(d[4], 1, 2)) return Outside("by", d[4], "1..2");
  if (!In(d[5], 49, 52)) return Outside("colour", d[5], "49..52");
  const size_t x = U16(d + 6), y = U16(d + 8);
  if (x == 0) return Outside("width", 0, "1 or more");
  if (y == 0) return Outside("height", 0, "1 or more");
  const size_t needed = 10 + Bytes(x) * y;
  return length == needed ? Fault() : LengthSays(length, needed);
}

Fault FixedText(const uint8_t* d, size_t length, const char* text) {
  const size_t size = std::char_traits<char>::length(text);
  if (length != 2 + size) return LengthSays(length, 2 + size);
  if (std::string(d + 2, d + 2 + size) != text) return std::string("data is not \"") + text + "\"";
  return {};
}

}  // namespace

Fault BitImageFault(const uint8_t* p, size_t n) {
  if (!OneOf(p[2], {0, 1, 32, 33})) return Outside("m", p[2], "0, 1, 32 or 33");
  if (p[4] > 3) return Outside("nH", p[4], "0..3");
  return {};
}

Fault DownloadedImageFault(const uint8_t* p, size_t n) {
  if (p[2] == 0) return Outside("x", 0, "1..255");
  if (!In(p[3], 1, 48)) return Outside("y", p[3], "1..48");
  if (p[2] * p[3] > 1536) return "x * y = " + std::to_string(p[2] * p[3]) + " above 1536";
  return {};
}

Fault RasterImageFault(const uint8_t* p, size_t n) {
  if (!Selector(p[3], 4)) return Outside("m", p[3], "0..3 or 48..51");
  if (U16(p + 4) == 0) return Outside("width", 0, "1 or more");
  if (U16(p + 6) == 0) return Outside("height", 0, "1 or more");
  return {};
}

Fault GraphicsFault(const uint8_t* p, size_t n) {
  const bool wide = p[1] == '8';
  const size_t length = wide ? U32(p + 3) : U16(p + 3);
  const uint8_t* d = p + (wide ? 7 : 5);  // m fn ...
  if (length < 2) return LengthSays(length, 2);
  if (d[0] != 48) return Outside("m", d[0], "48");
  auto fixed = [&](size_t needed) { return length == needed ? Fault() : LengthSays(length, needed); };
  const uint8_t fn = d[1];
  switch (fn) {
    case 0:  // NV capacity
    case 48:
    case 2:  // print the print buffer's graphics
    case 50:
    case 3:  // remaining NV capacity
    case 51:
    case 4:  // remaining download capacity
    case 52:
      return fixed(2);
    case 1:  // reference dot density
    case 49:
      if (Fault f = fixed(4); !f.empty()) return f;
      if (!In(d[2], 50, 51)) return Outside("x", d[2], "50..51");
      return In(d[3], 50, 51) ? Fault() : Outside("y", d[3], "50..51");
    case 64:
      return FixedText(d, length, "KC");
    case 65:
      return FixedText(d, length, "CLR");
    case 66:
      if (Fault f = fixed(4); !f.empty()) return f;
      return KeyFault(d[2], d[3]);
    case 67:
      return DefinitionFault(d, length, true);
    case 68:
      return DefinitionFault(d, length, false);
    case 69:  // print NV graphics
      if (Fault f = fixed(6); !f.empty()) return f;
      if (Fault f = KeyFault(d[2], d[3]); !f.empty()) return f;
      if (!In(d[4], 1, 2)) return Outside("x", d[4], "1..2");
      return In(d[5], 1, 2) ? Fault() : Outside("y", d[5], "1..2");
    case 112:
      return StoreFault(d, length);
    case 80:  // download graphics and the column store: not modelled
    case 81:
    case 82:
    case 83:
    case 84:
    case 85:
    case 113:
      return {};
    default:
      return NoFunction(fn);
  }
}

Fault NvImageFault(const uint8_t* p, size_t n, Dialect dialect) {
  if (p[2] == 0) return Outside("n", 0, "1..255");
  if (dialect == Dialect::kQx1270Frame && p[2] == 1) {
    // The family's one image, sized in dots.
    if (U16(p + 3) == 0) return Outside("width", 0, "1 or more");
    if (U16(p + 5) == 0) return Outside("height", 0, "1 or more");
    return {};
  }
  size_t pos = 3;
  for (int i = 0; i < p[2] && pos + 4 <= n; ++i) {
    const size_t x = U16(p + pos), y = U16(p + pos + 2);
    if (!In(static_cast<long>(x), 1, 1023)) return Outside("x", static_cast<long>(x), "1..1023");
    if (!In(static_cast<long>(y), 1, 288)) return Outside("y", static_cast<long>(y), "1..288");
    pos += 4 + x * y * 8;
  }
  return {};
}

}  // namespace rules
}  // namespace sim
