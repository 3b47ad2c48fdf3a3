#pragma once
// Conversions between the OPOS map-mode units and printer dots.
//
// One inch is taken as 25.375 mm throughout (not 25.4): positions that
// applications have tuned against this service depend on it. Every step
// truncates toward zero. Horizontal dots are the unit of MapMode 1; vertical
// positions are counted in vertical dots, whose pitch may be finer.
#include <cstdint>

namespace QEL {
namespace Printer {

enum MapMode : int32_t {
  kMapModeDots = 1,
  kMapModeTwips = 2,    // 1/1440 inch
  kMapModeEnglish = 3,  // 0.001 inch
  kMapModeMetric = 4,   // 0.01 mm
};

struct MapModeUnits {
  int32_t mapMode = kMapModeDots;
  float horizontalDotPitch = 0.125f;  // millimetres per dot
  float verticalDotPitch = 0.0625f;   // millimetres per dot
};

// Map-mode value to horizontal dots.
int32_t MapNumber2DOT_H(const MapModeUnits& units, int32_t value);
// Map-mode value to vertical dots; in MapMode 1 the value is in horizontal dots.
int32_t MapNumber2DOT_V(const MapModeUnits& units, int32_t value);
// Horizontal dots to map-mode value.
int32_t DOT2MapNumber_H(const MapModeUnits& units, int32_t dots);
// Vertical dots to map-mode value; in MapMode 1 the result is in horizontal dots.
int32_t DOT2MapNumber_V(const MapModeUnits& units, int32_t verticalDots);
// Hundredths of a millimetre to map-mode value (0 in MapMode 1).
int32_t metric2MapNumber(const MapModeUnits& units, int32_t hundredthsMm);
// Map-mode value to hundredths of a millimetre (0 in MapMode 1).
int32_t MapNumber2metric(const MapModeUnits& units, int32_t value);
// A distance of n horizontal dots in vertical dots.
int32_t H2V(const MapModeUnits& units, int32_t horizontalDots);

}  // namespace Printer
}  // namespace QEL
