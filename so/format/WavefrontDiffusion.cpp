// The diffusion of sixteen rows at once, one row per 16-bit lane of two SSE2
// registers. A row's error for a column is final once the row above has moved
// one column past it, so each row runs two columns behind the row above:
// after one step the error a row leaves sits in the lane above, and a shift
// by one lane hands it down. The serial chain from pixel to pixel, which
// bounds the plain loop, is shared by sixteen rows.
//
// Every value fits a 16-bit lane exactly: the error t stays within -127..127
// (a black pixel's sum is below 2048, a white one's above 2047 and at most
// 4080 + 127 + 635), so the sums stay within -763..4842 and 7t + 3t within
// 1270 in magnitude, before the error row wraps them to signed bytes.
#include <cstring>
#include <vector>

#include "so/format/ErrorDiffusion.h"
#include "so/format/Sse2.h"

namespace QEL {
namespace Printer {

#if ZOBELSO_SSE2
namespace {

constexpr int32_t kLanes = 16;
constexpr int32_t kLag = 2;                            // columns behind the row above
constexpr int32_t kSpan = kLag * (kLanes - 1) + 2;    // extra steps until the last row has ended

struct Lanes {
  __m128i c5 = _mm_setzero_si128();
  __m128i c3 = _mm_setzero_si128();
  __m128i pending = _mm_setzero_si128();
  __m128i out = _mm_setzero_si128();  // pending + t: the error a lane leaves one column back

  // One column of eight rows; lanes marked `idle` (not inside their row) pass
  // nothing on. Returns the lanes that printed white.
  inline __m128i Step(__m128i sum, __m128i idle) {
    const __m128i white = _mm_cmpgt_epi16(sum, _mm_set1_epi16(2047));
    const __m128i t = _mm_andnot_si128(
        idle, _mm_sub_epi16(_mm_srai_epi16(sum, 4), _mm_and_si128(white, _mm_set1_epi16(255))));
    out = _mm_add_epi16(pending, t);
    pending = _mm_add_epi16(_mm_sub_epi16(_mm_slli_epi16(t, 3), t), c3);
    c5 = _mm_add_epi16(_mm_slli_epi16(t, 2), t);
    c3 = _mm_add_epi16(_mm_slli_epi16(t, 1), t);
    return white;
  }
};

// Eight rows of eight levels into eight steps of eight lanes.
inline void Transpose8(const int16_t* const rows[8], int32_t at, int16_t* out) {
  __m128i v[8];
  for (int i = 0; i < 8; ++i) v[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[i] + at));
  const __m128i a0 = _mm_unpacklo_epi16(v[0], v[1]), a1 = _mm_unpackhi_epi16(v[0], v[1]);
  const __m128i a2 = _mm_unpacklo_epi16(v[2], v[3]), a3 = _mm_unpackhi_epi16(v[2], v[3]);
  const __m128i a4 = _mm_unpacklo_epi16(v[4], v[5]), a5 = _mm_unpackhi_epi16(v[4], v[5]);
  const __m128i a6 = _mm_unpacklo_epi16(v[6], v[7]), a7 = _mm_unpackhi_epi16(v[6], v[7]);
  const __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
  const __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
  const __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
  const __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
  const __m128i columns[8] = {_mm_unpacklo_epi64(b0, b4), _mm_unpackhi_epi64(b0, b4),
                              _mm_unpacklo_epi64(b1, b5), _mm_unpackhi_epi64(b1, b5),
                              _mm_unpacklo_epi64(b2, b6), _mm_unpackhi_epi64(b2, b6),
                              _mm_unpacklo_epi64(b3, b7), _mm_unpackhi_epi64(b3, b7)};
  // A step holds both registers' lanes: sixteen levels.
  for (int k = 0; k < 8; ++k) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k * kLanes), columns[k]);
}

class WavefrontDiffusion final : public ErrorDiffusion {
 public:
  explicit WavefrontDiffusion(int32_t width)
      : width_(width),
        steps_(width + kSpan - 1),
        stepBlocks_((steps_ + 7) / 8),
        rowLength_(static_cast<size_t>(stepBlocks_) * 8 + 8),
        rowLevels_(rowLength_ * kLanes, 0),
        skewed_(static_cast<size_t>(stepBlocks_) * 8 * kLanes, 0),
        errors_(static_cast<size_t>(steps_) + 2 * kSpan, 0),
        whitesHigh_(static_cast<size_t>(steps_) + kSpan, 0),
        whitesLow_(static_cast<size_t>(steps_) + kSpan, 0) {}

  int32_t BlockRows() const override { return kLanes; }

  // Each row's levels start at its own lag, so that one step reads every row
  // at the column it has reached; what lies before and after stays zero.
  int16_t* Levels(int32_t row) override {
    return rowLevels_.data() + static_cast<size_t>(row) * rowLength_ + static_cast<size_t>(kLag * row);
  }

  void Diffuse(int32_t rows, uint8_t* out, size_t rowBytes) override {
    const int16_t* upper[8];
    const int16_t* lower[8];
    for (int32_t r = 0; r < 8; ++r) {
      upper[r] = rowLevels_.data() + static_cast<size_t>(r) * rowLength_;
      lower[r] = rowLevels_.data() + static_cast<size_t>(r + 8) * rowLength_;
    }
    for (int32_t block = 0; block < stepBlocks_; ++block) {
      int16_t* at = skewed_.data() + static_cast<size_t>(block) * 8 * kLanes;
      Transpose8(upper, block * 8, at);
      Transpose8(lower, block * 8, at + 8);
    }
    Lanes first;
    Lanes second;
    const int32_t w = width_;
    // Past the first kSpan steps every lane is inside its row until the
    // first lane reaches the end of its own.
    Run<true>(0, kSpan < w ? kSpan : w, &first, &second);
    if (w > kSpan) Run<false>(kSpan, w, &first, &second);
    Run<true>(w, steps_, &first, &second);
    Pack(rows, out, rowBytes);
  }

 private:
  // Steps [from, to). kEdges: some lane may be before the start of its row or
  // past its end.
  template <bool kEdges>
  void Run(int32_t from, int32_t to, Lanes* first, Lanes* second) {
    const __m128i lagFirst = _mm_setr_epi16(0, 2, 4, 6, 8, 10, 12, 14);
    const __m128i lagSecond = _mm_setr_epi16(16, 18, 20, 22, 24, 26, 28, 30);
    const int16_t* levels = skewed_.data();
    int8_t* e = errors_.data() + kSpan;
    for (int32_t s = from; s < to; ++s) {
      // Errors handed down: the first row takes the row above the block from
      // memory, the second register's first lane the first register's last.
      // Shifting the low byte of each lane into the high byte of the next
      // and back down sign-extends it, which is the wrap to a signed byte.
      const __m128i fromAbove = _mm_cvtsi32_si128(static_cast<uint16_t>(static_cast<int16_t>(e[s])));
      const __m128i passedFirst = _mm_add_epi16(_mm_srai_epi16(_mm_slli_si128(first->out, 3), 8), fromAbove);
      const __m128i passedSecond = _mm_or_si128(_mm_srai_epi16(_mm_slli_si128(second->out, 3), 8),
                                                _mm_srai_epi16(_mm_srli_si128(first->out, 13), 8));
      const __m128i* step = reinterpret_cast<const __m128i*>(levels + static_cast<size_t>(s) * kLanes);
      const __m128i sumFirst = _mm_add_epi16(_mm_add_epi16(_mm_loadu_si128(step), first->c5), passedFirst);
      const __m128i sumSecond = _mm_add_epi16(_mm_add_epi16(_mm_loadu_si128(step + 1), second->c5), passedSecond);
      __m128i idleFirst = _mm_setzero_si128();
      __m128i idleSecond = _mm_setzero_si128();
      if (kEdges) {
        // Lane r works on column s - 2r: idle while 2r > s or 2r <= s - w.
        const __m128i reached = _mm_set1_epi16(static_cast<int16_t>(s < kSpan ? s : kSpan));
        const __m128i ended = _mm_set1_epi16(static_cast<int16_t>(s - width_ >= 0 ? s - width_ + 1 : 0));
        idleFirst = _mm_or_si128(_mm_cmpgt_epi16(lagFirst, reached), _mm_cmpgt_epi16(ended, lagFirst));
        idleSecond = _mm_or_si128(_mm_cmpgt_epi16(lagSecond, reached), _mm_cmpgt_epi16(ended, lagSecond));
      }
      const __m128i whiteFirst = first->Step(sumFirst, idleFirst);
      const __m128i whiteSecond = second->Step(sumSecond, idleSecond);
      // The last row's error goes back to memory for the next block.
      e[s - kSpan + 1] = ErrorByte(_mm_extract_epi16(second->out, 7));
      const uint32_t white = static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(whiteFirst, whiteSecond)));
      whitesHigh_[static_cast<size_t>(s)] = static_cast<uint8_t>(white);
      whitesLow_[static_cast<size_t>(s)] = static_cast<uint8_t>(white >> 8);
    }
  }

  // Row r's column x was decided at step x + 2r, in bit r % 8 of its half.
  void Pack(int32_t rows, uint8_t* out, size_t rowBytes) const {
    const int32_t groups = (width_ + 7) / 8;
    for (int32_t r = 0; r < rows; ++r) {
      const uint8_t* whites = (r < 8 ? whitesHigh_ : whitesLow_).data() + kLag * r;
      const unsigned bit = static_cast<unsigned>(r & 7);
      uint8_t* row = out + static_cast<size_t>(r) * rowBytes;
      for (int32_t j = 0; j < groups; ++j) {
        uint64_t word;
        std::memcpy(&word, whites + 8 * j, sizeof word);
        // Bit `bit` of byte k moves to bit 7 - k of the top byte.
        const uint64_t picked = (~word >> bit) & 0x0101010101010101ull;
        uint32_t byte = static_cast<uint32_t>((picked * 0x8040201008040201ull) >> 56);
        const int32_t inRow = width_ - 8 * j;
        if (inRow < 8) byte &= 0xFF00u >> inRow;
        row[j] = WithoutDle(byte);
      }
    }
  }

  int32_t width_;
  int32_t steps_;       // until the last row has left its last error
  int32_t stepBlocks_;  // steps in blocks of eight
  size_t rowLength_;
  std::vector<int16_t> rowLevels_;  // kLanes rows, each at its lag
  std::vector<int16_t> skewed_;     // per step: the level of every lane
  std::vector<int8_t> errors_;      // the error row, with room for the lanes' lead-in and run-out
  std::vector<uint8_t> whitesHigh_;  // per step, bit r: row r (of the first eight) printed white
  std::vector<uint8_t> whitesLow_;   // the same for rows 8 to 15
};

}  // namespace

std::unique_ptr<ErrorDiffusion> MakeWavefrontDiffusion(int32_t width) {
  return std::make_unique<WavefrontDiffusion>(width);
}

#else

std::unique_ptr<ErrorDiffusion> MakeWavefrontDiffusion(int32_t) { return nullptr; }

#endif

}  // namespace Printer
}  // namespace QEL
