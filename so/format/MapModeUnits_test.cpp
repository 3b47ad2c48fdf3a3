#include "so/format/MapModeUnits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

using namespace QEL::Printer;

namespace {

// The QX1270 family and the 80 mm profile: 0.125 mm across, 0.0625 mm down.
MapModeUnits Units(int32_t mapMode, float hp = 0.125f, float vp = 0.0625f) {
  MapModeUnits u;
  u.mapMode = mapMode;
  u.horizontalDotPitch = hp;
  u.verticalDotPitch = vp;
  return u;
}

TEST(MapModeUnits, MapNumberToDots) {
  const struct {
    int32_t mapMode;
    int32_t value;
    int32_t horizontal;
    int32_t vertical;
  } rows[] = {
      {kMapModeDots, 300, 300, 600},      // vertical dots are half as high
      {kMapModeDots, 10, 10, 20},
      {kMapModeTwips, 1440, 202, 405},    // 2537 hundredths
      {kMapModeEnglish, 1000, 202, 405},  // 2537 hundredths
      {kMapModeMetric, 2540, 203, 406},
      {kMapModeTwips, -1440, -202, -405},  // truncation toward zero
      {kMapModeMetric, 0, 0, 0},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(MapNumber2DOT_H(Units(r.mapMode), r.value), r.horizontal)
        << r.mapMode << " " << r.value;
    EXPECT_EQ(MapNumber2DOT_V(Units(r.mapMode), r.value), r.vertical)
        << r.mapMode << " " << r.value;
  }
}

TEST(MapModeUnits, DotsToMapNumber) {
  const struct {
    int32_t mapMode;
    int32_t dots;
    int32_t horizontal;
    int32_t vertical;
  } rows[] = {
      {kMapModeDots, 20, 20, 10},
      {kMapModeTwips, 203, 1439, 719},  // 2537 and 1268 hundredths
      {kMapModeEnglish, 203, 999, 499},
      {kMapModeMetric, 203, 2537, 1268},
      {kMapModeTwips, 406, 2880, 1439},  // exactly 5075 hundredths across
  };
  for (const auto& r : rows) {
    EXPECT_EQ(DOT2MapNumber_H(Units(r.mapMode), r.dots), r.horizontal)
        << r.mapMode << " " << r.dots;
    EXPECT_EQ(DOT2MapNumber_V(Units(r.mapMode), r.dots), r.vertical)
        << r.mapMode << " " << r.dots;
  }
}

TEST(MapModeUnits, MetricConversions) {
  EXPECT_EQ(metric2MapNumber(Units(kMapModeDots), 2540), 0);
  EXPECT_EQ(metric2MapNumber(Units(kMapModeTwips), 2540), 1441);
  EXPECT_EQ(metric2MapNumber(Units(kMapModeEnglish), 2540), 1000);
  EXPECT_EQ(metric2MapNumber(Units(kMapModeMetric), 2540), 2540);
  EXPECT_EQ(MapNumber2metric(Units(kMapModeDots), 1440), 0);
  EXPECT_EQ(MapNumber2metric(Units(kMapModeTwips), 1440), 2537);
  EXPECT_EQ(MapNumber2metric(Units(kMapModeEnglish), 1000), 2537);
  EXPECT_EQ(MapNumber2metric(Units(kMapModeMetric), 5), 5);
  // 80 thousandths of an inch are exactly 203 hundredths of a millimetre;
  // binary floating point would land just below and truncate to 202.
  EXPECT_EQ(MapNumber2metric(Units(kMapModeEnglish), 80), 203);
  EXPECT_EQ(metric2MapNumber(Units(kMapModeEnglish), 203), 80);
  EXPECT_EQ(MapNumber2DOT_H(Units(kMapModeEnglish), 80 * 25), 406);  // 5075 / 12.5
}

TEST(MapModeUnits, HorizontalToVertical) {
  EXPECT_EQ(H2V(Units(kMapModeTwips), 10), 20);
  EXPECT_EQ(H2V(Units(kMapModeDots, 0.125f, 0.125f), 10), 10);
  EXPECT_EQ(H2V(Units(kMapModeDots, 0.141f, 0.0705f), 10), 20);
  EXPECT_EQ(H2V(Units(kMapModeDots, 0.141f, 0.0705f), 576), 1152);
}

TEST(MapModeUnits, UnknownMapModeGivesZeroOutsideTheDotsColumn) {
  for (int32_t mode : {0, 5, -1}) {
    const MapModeUnits u = Units(mode);
    EXPECT_EQ(MapNumber2DOT_H(u, 1440), 0);
    EXPECT_EQ(MapNumber2DOT_V(u, 1440), 0);
    EXPECT_EQ(DOT2MapNumber_H(u, 203), 0);
    EXPECT_EQ(DOT2MapNumber_V(u, 203), 0);
    EXPECT_EQ(metric2MapNumber(u, 2540), 0);
    EXPECT_EQ(MapNumber2metric(u, 2540), 0);
    EXPECT_EQ(H2V(u, 10), 20);  // pitches only, no map mode
  }
}

TEST(MapModeUnits, UnusablePitchesGiveZero) {
  for (float bad : {0.0f, -0.125f}) {
    EXPECT_EQ(MapNumber2DOT_H(Units(kMapModeMetric, bad), 2540), 0);
    EXPECT_EQ(MapNumber2DOT_V(Units(kMapModeMetric, 0.125f, bad), 2540), 0);
    EXPECT_EQ(MapNumber2DOT_V(Units(kMapModeDots, 0.125f, bad), 10), 0);
    EXPECT_EQ(DOT2MapNumber_V(Units(kMapModeDots, bad), 10), 0);
    EXPECT_EQ(H2V(Units(kMapModeDots, 0.125f, bad), 10), 0);
  }
  // Extremes saturate instead of overflowing.
  EXPECT_EQ(MapNumber2DOT_V(Units(kMapModeDots, 0.125f, 1e-30f), 1000), INT32_MAX);
  EXPECT_EQ(MapNumber2DOT_V(Units(kMapModeDots, 0.125f, 1e-30f), -1000), INT32_MIN);
  EXPECT_EQ(MapNumber2metric(Units(kMapModeTwips), INT32_MAX), INT32_MAX);
  EXPECT_EQ(MapNumber2DOT_H(Units(kMapModeTwips), INT32_MAX), 302735541);
  EXPECT_EQ(DOT2MapNumber_H(Units(kMapModeMetric, 1000.0f), INT32_MAX), INT32_MAX);
}

// Dots to map-mode units and back loses at most one dot, in every mode and on
// both axes, for the pitches of all printer profiles.
TEST(MapModeUnits, RoundTripLosesAtMostOneDot) {
  const float pitches[][2] = {{0.125f, 0.0625f}, {0.125f, 0.125f}, {0.141f, 0.0705f}};
  for (const auto& p : pitches) {
    for (int32_t mode : {kMapModeDots, kMapModeTwips, kMapModeEnglish, kMapModeMetric}) {
      const MapModeUnits u = Units(mode, p[0], p[1]);
      for (int32_t d = 0; d <= 2400; ++d) {
        const int32_t h = MapNumber2DOT_H(u, DOT2MapNumber_H(u, d));
        ASSERT_TRUE(h == d || h == d - 1) << mode << " " << p[0] << " h " << d << " -> " << h;
        const int32_t v = MapNumber2DOT_V(u, DOT2MapNumber_V(u, d));
        ASSERT_TRUE(v == d || v == d - 1)
            << mode << " " << p[0] << " v " << d << " -> " << v;
      }
    }
  }
}

TEST(MapModeUnits, MetricRoundTripLosesAtMostOneUnit) {
  for (int32_t mode : {kMapModeTwips, kMapModeEnglish, kMapModeMetric}) {
    const MapModeUnits u = Units(mode);
    for (int32_t v = -3000; v <= 3000; ++v) {
      const int32_t back = metric2MapNumber(u, MapNumber2metric(u, v));
      ASSERT_LE(std::abs(back - v), 1) << mode << " " << v;
      ASSERT_LE(std::abs(back), std::abs(v)) << mode << " " << v;
    }
  }
}

}  // namespace
