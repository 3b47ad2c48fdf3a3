#include "so/format/MapModeUnits.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace QEL {
namespace Printer {

namespace {

// A twip is 2537.5/1440 = 5075/2880 hundredths of a millimetre and an English
// unit 2.5375 = 203/80 hundredths. Integer ratios keep exact multiples exact:
// 80 English units are 203 hundredths, which 80 * 2.5375 in binary floating
// point would truncate to 202.
constexpr int64_t kTwipNum = 5075;
constexpr int64_t kTwipDen = 2880;
constexpr int64_t kEnglishNum = 203;
constexpr int64_t kEnglishDen = 80;

int32_t Clamp(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

// Truncation toward zero; out-of-range and NaN values never reach the cast.
int64_t Trunc(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9.0e18) return std::numeric_limits<int64_t>::max();
  if (v <= -9.0e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(v);
}

bool UsablePitch(float pitch) { return pitch > 0.0f && std::isfinite(pitch); }

// Hundredths of a millimetre per dot.
double PerDot(float pitch) { return static_cast<double>(pitch) * 100.0; }

// value in hundredths of a millimetre, truncated, for MapModes 2 to 4.
bool ToHundredths(int32_t mapMode, int64_t value, int64_t& hundredths) {
  switch (mapMode) {
    case kMapModeTwips: hundredths = value * kTwipNum / kTwipDen; return true;
    case kMapModeEnglish: hundredths = value * kEnglishNum / kEnglishDen; return true;
    case kMapModeMetric: hundredths = value; return true;
    default: return false;
  }
}

bool FromHundredths(int32_t mapMode, int64_t hundredths, int64_t& value) {
  switch (mapMode) {
    case kMapModeTwips: value = hundredths * kTwipDen / kTwipNum; return true;
    case kMapModeEnglish: value = hundredths * kEnglishDen / kEnglishNum; return true;
    case kMapModeMetric: value = hundredths; return true;
    default: return false;
  }
}

int32_t MapNumberToDots(const MapModeUnits& units, int32_t value, float pitch) {
  int64_t hundredths = 0;
  if (!ToHundredths(units.mapMode, value, hundredths) || !UsablePitch(pitch)) return 0;
  return Clamp(Trunc(static_cast<double>(hundredths) / PerDot(pitch)));
}

int32_t DotsToMapNumber(const MapModeUnits& units, int32_t dots, float pitch) {
  if (!UsablePitch(pitch)) return 0;
  const int64_t hundredths = Trunc(PerDot(pitch) * static_cast<double>(dots));
  // Beyond this the scaling below could overflow; no real distance gets there.
  constexpr int64_t kLimit = int64_t{1} << 50;
  if (hundredths > kLimit || hundredths < -kLimit) {
    return hundredths > 0 ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min();
  }
  int64_t value = 0;
  if (!FromHundredths(units.mapMode, hundredths, value)) return 0;
  return Clamp(value);
}

// ratio * value / divisor, truncated; 0 when the divisor is not a pitch.
int32_t ScaleByPitches(float numerator, int32_t value, float divisor) {
  if (!UsablePitch(numerator) || !UsablePitch(divisor)) return 0;
  return Clamp(Trunc(static_cast<double>(numerator) * value / static_cast<double>(divisor)));
}

}  // namespace

int32_t MapNumber2DOT_H(const MapModeUnits& units, int32_t value) {
  if (units.mapMode == kMapModeDots) return value;
  return MapNumberToDots(units, value, units.horizontalDotPitch);
}

int32_t MapNumber2DOT_V(const MapModeUnits& units, int32_t value) {
  if (units.mapMode == kMapModeDots) {
    return ScaleByPitches(units.horizontalDotPitch, value, units.verticalDotPitch);
  }
  return MapNumberToDots(units, value, units.verticalDotPitch);
}

int32_t DOT2MapNumber_H(const MapModeUnits& units, int32_t dots) {
  if (units.mapMode == kMapModeDots) return dots;
  return DotsToMapNumber(units, dots, units.horizontalDotPitch);
}

int32_t DOT2MapNumber_V(const MapModeUnits& units, int32_t verticalDots) {
  if (units.mapMode == kMapModeDots) {
    return ScaleByPitches(units.verticalDotPitch, verticalDots, units.horizontalDotPitch);
  }
  return DotsToMapNumber(units, verticalDots, units.verticalDotPitch);
}

int32_t metric2MapNumber(const MapModeUnits& units, int32_t hundredthsMm) {
  int64_t value = 0;
  if (!FromHundredths(units.mapMode, hundredthsMm, value)) return 0;
  return Clamp(value);
}

int32_t MapNumber2metric(const MapModeUnits& units, int32_t value) {
  int64_t hundredths = 0;
  if (!ToHundredths(units.mapMode, value, hundredths)) return 0;
  return Clamp(hundredths);
}

int32_t H2V(const MapModeUnits& units, int32_t horizontalDots) {
  return ScaleByPitches(units.horizontalDotPitch, horizontalDots, units.verticalDotPitch);
}

}  // namespace Printer
}  // namespace QEL
