#include "sim/render/pcf_font.h"

#include <zlib.h>

#include <cstddef>

namespace sim {
namespace render {

namespace {

// Table types and format bits of the PCF header.
constexpr uint32_t kAccelerators = 1u << 1;
constexpr uint32_t kMetrics = 1u << 2;
constexpr uint32_t kBitmaps = 1u << 3;
constexpr uint32_t kEncodings = 1u << 5;
constexpr uint32_t kBdfAccelerators = 1u << 8;
constexpr uint32_t kCompressedMetrics = 0x100;
constexpr uint32_t kMostSignificantByteFirst = 1u << 2;
constexpr uint32_t kMostSignificantBitFirst = 1u << 3;

struct Table {
  uint32_t type = 0, format = 0, size = 0, offset = 0;
};

// Reads integers from the file in the byte order a table's format gives;
// every read past the end fails the whole parse instead of reading garbage.
class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& data) : data_(data) {}
  void Seek(size_t at, bool bigEndian) {
    pos_ = at;
    big_ = bigEndian;
  }
  bool ok() const { return ok_; }
  size_t pos() const { return pos_; }
  uint32_t U8() {
    if (pos_ + 1 > data_.size()) return Fail();
    return data_[pos_++];
  }
  uint32_t U16() {
    const uint32_t a = U8(), b = U8();
    return big_ ? (a << 8 | b) : (b << 8 | a);
  }
  int32_t S16() { return static_cast<int16_t>(U16()); }
  uint32_t U32() {
    const uint32_t a = U8(), b = U8(), c = U8(), d = U8();
    return big_ ? (a << 24 | b << 16 | c << 8 | d) : (d << 24 | c << 16 | b << 8 | a);
  }
  int32_t S32() { return static_cast<int32_t>(U32()); }

 private:
  uint32_t Fail() {
    ok_ = false;
    return 0;
  }
  const std::vector<uint8_t>& data_;
  size_t pos_ = 0;
  bool big_ = false;
  bool ok_ = true;
};

struct Metrics {
  int left = 0, right = 0, advance = 0, ascent = 0, descent = 0;
};

std::unique_ptr<PcfFont> Failed(std::string* error, const char* why) {
  if (error) *error = why;
  return nullptr;
}

uint8_t ReverseBits(uint8_t b) {
  b = static_cast<uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
  b = static_cast<uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
  return static_cast<uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

}  // namespace

std::unique_ptr<PcfFont> PcfFont::Load(const std::string& path, std::string* error) {
  // gzread passes uncompressed files through unchanged.
  gzFile file = gzopen(path.c_str(), "rb");
  if (file == nullptr) return Failed(error, "cannot open the font file");
  std::vector<uint8_t> data;
  uint8_t chunk[16384];
  int got;
  while ((got = gzread(file, chunk, sizeof chunk)) > 0) data.insert(data.end(), chunk, chunk + got);
  const bool readError = got < 0;
  gzclose(file);
  if (readError) return Failed(error, "the font file is damaged");
  return Parse(data, error);
}

std::unique_ptr<PcfFont> PcfFont::Parse(const std::vector<uint8_t>& pcf, std::string* error) {
  Reader r(pcf);
  if (pcf.size() < 8 || pcf[0] != 1 || pcf[1] != 'f' || pcf[2] != 'c' || pcf[3] != 'p')
    return Failed(error, "not a PCF font");
  r.Seek(4, false);
  const uint32_t count = r.U32();
  if (count > 64) return Failed(error, "too many tables");
  std::map<uint32_t, Table> tables;
  for (uint32_t i = 0; i < count; ++i) {
    Table t;
    t.type = r.U32();
    t.format = r.U32();
    t.size = r.U32();
    t.offset = r.U32();
    // The last table's size may count padding the file does not hold.
    if (t.offset >= pcf.size()) return Failed(error, "a table starts past the file");
    tables[t.type] = t;
  }
  if (!r.ok()) return Failed(error, "truncated table of contents");
  for (uint32_t needed : {kMetrics, kBitmaps, kEncodings}) {
    if (!tables.count(needed)) return Failed(error, "a table is missing");
  }
  // Each table repeats its format, always least significant byte first.
  auto open = [&](const Table& t) {
    r.Seek(t.offset, false);
    const uint32_t format = r.U32();
    r.Seek(r.pos(), (format & kMostSignificantByteFirst) != 0);
    return format;
  };

  auto font = std::unique_ptr<PcfFont>(new PcfFont);
  const auto accel = tables.count(kBdfAccelerators) ? tables.find(kBdfAccelerators) : tables.find(kAccelerators);
  if (accel != tables.end()) {
    open(accel->second);
    for (int i = 0; i < 8; ++i) r.U8();  // flags
    font->ascent_ = r.S32();
    font->descent_ = r.S32();
  }

  std::vector<Metrics> metrics;
  {
    const uint32_t format = open(tables[kMetrics]);
    const bool compressed = (format & kCompressedMetrics) != 0;
    const uint32_t n = compressed ? r.U16() : r.U32();
    if (n > 65536) return Failed(error, "too many glyphs");
    metrics.resize(n);
    for (Metrics& m : metrics) {
      if (compressed) {
        m.left = static_cast<int>(r.U8()) - 0x80;
        m.right = static_cast<int>(r.U8()) - 0x80;
        m.advance = static_cast<int>(r.U8()) - 0x80;
        m.ascent = static_cast<int>(r.U8()) - 0x80;
        m.descent = static_cast<int>(r.U8()) - 0x80;
      } else {
        m.left = r.S16();
        m.right = r.S16();
        m.advance = r.S16();
        m.ascent = r.S16();
        m.descent = r.S16();
        r.U16();  // attributes
      }
    }
  }

  std::vector<Glyph> glyphs(metrics.size());
  {
    const uint32_t format = open(tables[kBitmaps]);
    const uint32_t n = r.U32();
    if (n != metrics.size()) return Failed(error, "bitmaps and metrics disagree");
    std::vector<uint32_t> offsets(n);
    for (uint32_t& o : offsets) o = r.U32();
    uint32_t sizes[4];
    for (uint32_t& s : sizes) s = r.U32();
    const size_t base = r.pos();
    const int pad = 1 << (format & 3);
    const int unit = 1 << ((format >> 4) & 3);
    const bool msbFirst = (format & kMostSignificantBitFirst) != 0;
    const bool swapUnits = unit > 1 && ((format & kMostSignificantByteFirst) != 0) != msbFirst;
    for (uint32_t i = 0; i < n && r.ok(); ++i) {
      const Metrics& m = metrics[i];
      Glyph& g = glyphs[i];
      g.width = m.right - m.left;
      g.height = m.ascent + m.descent;
      g.left = m.left;
      g.ascent = m.ascent;
      g.advance = m.advance;
      if (g.width <= 0 || g.height <= 0 || g.width > 256 || g.height > 256) {
        g.width = g.height = 0;
        continue;
      }
      const int stride = ((g.width + 7) / 8 + pad - 1) / pad * pad;
      const size_t start = base + offsets[i];
      if (offsets[i] > sizes[format & 3] || start + static_cast<size_t>(stride) * g.height > pcf.size())
        return Failed(error, "a bitmap reaches past the file");
      g.dots.assign(static_cast<size_t>(g.width) * g.height, 0);
      for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
          size_t index = static_cast<size_t>(y) * stride + x / 8;
          if (swapUnits) index = index / unit * unit + (unit - 1 - index % unit);
          uint8_t b = pcf[start + index];
          if (!msbFirst) b = ReverseBits(b);
          g.dots[static_cast<size_t>(y) * g.width + x] = (b >> (7 - x % 8)) & 1;
        }
      }
    }
  }

  {
    open(tables[kEncodings]);
    const uint32_t minByte2 = r.U16(), maxByte2 = r.U16(), minByte1 = r.U16(), maxByte1 = r.U16();
    r.U16();  // default character
    if (maxByte2 < minByte2 || maxByte1 < minByte1 || maxByte2 > 255 || maxByte1 > 255)
      return Failed(error, "bad encoding table");
    for (uint32_t b1 = minByte1; b1 <= maxByte1; ++b1) {
      for (uint32_t b2 = minByte2; b2 <= maxByte2; ++b2) {
        const uint32_t index = r.U16();
        if (index == 0xFFFF || index >= glyphs.size()) continue;
        font->glyphs_[static_cast<char32_t>(b1 << 8 | b2)] = glyphs[index];
      }
    }
  }
  if (!r.ok()) return Failed(error, "truncated font");
  if (font->ascent_ == 0 && font->descent_ == 0) {
    for (const Metrics& m : metrics) {
      if (m.ascent > font->ascent_) font->ascent_ = m.ascent;
      if (m.descent > font->descent_) font->descent_ = m.descent;
    }
  }
  return font;
}

const Glyph* PcfFont::Find(char32_t c) const {
  auto found = glyphs_.find(c);
  return found == glyphs_.end() ? nullptr : &found->second;
}

}  // namespace render
}  // namespace sim
