// One row at a time, pixel after pixel: the plain form of the diffusion, for
// processors without SSE2 and as the reference the wavefront is held to.
#include <vector>

#include "so/format/ErrorDiffusion.h"

namespace QEL {
namespace Printer {
namespace {

// With the grey level given as 16 L, L + ((E[x] + c5) >> 4) is
// (16 L + E[x] + c5) >> 4 exactly (an arithmetic shift floors), and v < 128
// is 16 L + E[x] + c5 < 2048. The error of a column is stored once, when the
// share from its right-hand neighbour is known.
struct RowState {
  int32_t c5 = 0;
  int32_t c3 = 0;
  int32_t pending = 0;  // 7t + c3 of the previous column, before its last share

  // `e` points at column x; e[-1] must be writable (a spare slot for x = 0,
  // which passes nothing to its left). Returns 1 for a black pixel.
  inline uint32_t Step(int32_t grey16, int8_t* e) {
    const int32_t sum = grey16 + static_cast<int32_t>(*e) + c5;
    const int32_t v = sum >> 4;
    const bool black = sum < 2048;
    const int32_t t = black ? v : v - 255;
    e[-1] = ErrorByte(pending + t);
    pending = 7 * t + c3;
    c5 = 5 * t;
    c3 = 3 * t;
    return black ? 1u : 0u;
  }
};

class SerialDiffusion final : public ErrorDiffusion {
 public:
  explicit SerialDiffusion(int32_t width)
      : width_(width), levels_(static_cast<size_t>(width)), errors_(static_cast<size_t>(width) + 1, 0) {}

  int32_t BlockRows() const override { return 1; }
  int16_t* Levels(int32_t) override { return levels_.data(); }

  void Diffuse(int32_t rows, uint8_t* out, size_t) override {
    if (rows < 1) return;
    const int32_t w = width_;
    const int16_t* levels = levels_.data();
    int8_t* e = errors_.data() + 1;
    RowState row;
    int32_t x = 0;
    for (; x + 8 <= w; x += 8) {
      uint32_t byte = 0;
      for (int32_t k = 0; k < 8; ++k) byte = (byte << 1) | row.Step(levels[x + k], e + x + k);
      *out++ = WithoutDle(byte);
    }
    if (x < w) {
      const int32_t left = w - x;
      uint32_t byte = 0;
      for (; x < w; ++x) byte = (byte << 1) | row.Step(levels[x], e + x);
      *out = WithoutDle(byte << (8 - left));
    }
    e[w - 1] = ErrorByte(row.pending);
  }

 private:
  int32_t width_;
  std::vector<int16_t> levels_;
  std::vector<int8_t> errors_;  // a spare slot, then one error per column
};

}  // namespace

std::unique_ptr<ErrorDiffusion> MakeSerialDiffusion(int32_t width) {
  return std::make_unique<SerialDiffusion>(width);
}

}  // namespace Printer
}  // namespace QEL
