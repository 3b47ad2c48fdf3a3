#include "so/format/GreyLevels.h"

#include "so/format/Sse2.h"

namespace QEL {
namespace Printer {

#if ZOBELSO_SSE2
namespace {

// One round of a three-way unshuffle: four rounds turn 16 interleaved RGB
// pixels into 16 reds, 16 greens and 16 blues.
inline void Unshuffle(__m128i& a, __m128i& b, __m128i& c) {
  const __m128i x = _mm_unpacklo_epi8(a, _mm_unpackhi_epi64(b, b));
  const __m128i y = _mm_unpacklo_epi8(_mm_unpackhi_epi64(a, a), c);
  const __m128i z = _mm_unpacklo_epi8(b, _mm_unpackhi_epi64(c, c));
  a = x;
  b = y;
  c = z;
}

// Four grey levels from four (red, green) and four (blue, green) word pairs.
// The green weight 58661 does not fit a signed word, so green is weighed
// twice, by 29330 and by 29331. Since 100000 = 32 x 3125, the floored
// quotient is floor(floor(n / 32) / 3125); n / 32 stays below 2^20, exact in
// single precision, and the half added before the multiplication by 1 / 3125
// keeps every quotient at least 1.6e-4 away from an integer, far more than
// the rounding of the multiplication can move it.
inline __m128i FourLevels(__m128i redGreen, __m128i blueGreen) {
  const __m128i n = _mm_add_epi32(_mm_madd_epi16(redGreen, _mm_set1_epi32((29330 << 16) | 29891)),
                                  _mm_madd_epi16(blueGreen, _mm_set1_epi32((29331 << 16) | 11448)));
  const __m128 m = _mm_cvtepi32_ps(_mm_srli_epi32(n, 5));
  return _mm_cvttps_epi32(_mm_mul_ps(_mm_add_ps(m, _mm_set1_ps(0.5f)), _mm_set1_ps(1.0f / 3125.0f)));
}

}  // namespace
#endif

void GreyRow16(const uint8_t* rgb, int32_t pixels, int16_t* out) {
  int32_t x = 0;
#if ZOBELSO_SSE2
  const __m128i zero = _mm_setzero_si128();
  for (; x + 16 <= pixels; x += 16) {
    const uint8_t* src = rgb + 3 * static_cast<size_t>(x);
    __m128i red = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    __m128i green = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 16));
    __m128i blue = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 32));
    for (int round = 0; round < 4; ++round) Unshuffle(red, green, blue);
    const __m128i rg[2] = {_mm_unpacklo_epi8(red, green), _mm_unpackhi_epi8(red, green)};
    const __m128i bg[2] = {_mm_unpacklo_epi8(blue, green), _mm_unpackhi_epi8(blue, green)};
    for (int half = 0; half < 2; ++half) {
      const __m128i low = FourLevels(_mm_unpacklo_epi8(rg[half], zero), _mm_unpacklo_epi8(bg[half], zero));
      const __m128i high = FourLevels(_mm_unpackhi_epi8(rg[half], zero), _mm_unpackhi_epi8(bg[half], zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 8 * half),
                       _mm_slli_epi16(_mm_packs_epi32(low, high), 4));
    }
  }
#endif
  for (; x < pixels; ++x) out[x] = GreyLevel16(rgb + 3 * static_cast<size_t>(x));
}

}  // namespace Printer
}  // namespace QEL
