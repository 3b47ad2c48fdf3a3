// Status decoding and status-change detection of the standard command set.
#include <gtest/gtest.h>

#include <array>

#include "so/format/CCmdHelperBase.h"
#include "so/format/PrinterStatus.h"
#include "so/format/StatusUpdateValues.h"

using namespace QEL::Printer;

namespace {

// A record whose every field shows whether a decoder wrote it.
tagPrinterStatus Untouched() {
  tagPrinterStatus s;
  s.drawerBit = s.drawerOpen = s.offline = s.coverOpen = s.nearEnd = s.paperOut = -7;
  return s;
}

bool SameRecord(const tagPrinterStatus& a, const tagPrinterStatus& b) {
  return a.drawerBit == b.drawerBit && a.drawerOpen == b.drawerOpen && a.offline == b.offline &&
         a.coverOpen == b.coverOpen && a.nearEnd == b.nearEnd && a.paperOut == b.paperOut;
}

TEST(CCmdHelperBaseStatus, AsbReadsDrawerCoverAndPaper) {
  CCmdHelperBase helper;
  const uint8_t paperOut[4] = {0x14, 0x00, 0x0C, 0x00};
  tagPrinterStatus s = Untouched();
  ASSERT_TRUE(helper.DecodeAsb(paperOut, &s));
  EXPECT_NE(s.drawerBit, 0);
  EXPECT_NE(s.paperOut, 0);
  EXPECT_EQ(s.nearEnd, 0);
  EXPECT_EQ(s.offline, 0);
  EXPECT_EQ(s.coverOpen, 0);
  EXPECT_EQ(s.drawerOpen, -7);  // derived by the core, not by the decoder

  const uint8_t everything[4] = {0x3C, 0x40, 0x0F, 0x00};
  ASSERT_TRUE(helper.DecodeAsb(everything, &s));
  EXPECT_EQ(s.drawerBit, 0x04);
  EXPECT_EQ(s.offline, 0x08);
  EXPECT_EQ(s.coverOpen, 0x20);
  EXPECT_EQ(s.nearEnd, 1);
  EXPECT_EQ(s.paperOut, 1);

  // One sensor bit of a pair is not enough.
  const uint8_t halfBits[4] = {0x10, 0x00, 0x05, 0x00};
  ASSERT_TRUE(helper.DecodeAsb(halfBits, &s));
  EXPECT_EQ(s.nearEnd, 0);
  EXPECT_EQ(s.paperOut, 0);
}

TEST(CCmdHelperBaseStatus, AsbRejectsBytesOutsideTheFrame) {
  CCmdHelperBase helper;
  const std::array<uint8_t, 4> invalid[] = {
      {0x94, 0x00, 0x0C, 0x00}, {0x00, 0x00, 0x00, 0x00}, {0x11, 0x00, 0x00, 0x00},
      {0x12, 0x00, 0x00, 0x00}, {0x10, 0x10, 0x00, 0x00}, {0x10, 0x00, 0x80, 0x00},
      {0x10, 0x00, 0x00, 0x90},
  };
  for (const auto& bytes : invalid) {
    tagPrinterStatus s = Untouched();
    EXPECT_FALSE(helper.DecodeAsb(bytes.data(), &s)) << int(bytes[0]) << " " << int(bytes[3]);
    EXPECT_TRUE(SameRecord(s, Untouched()));
    EXPECT_FALSE(helper.DecodeAsb(bytes.data(), nullptr));
  }
  const uint8_t valid[4] = {0x10, 0x00, 0x00, 0x00};
  EXPECT_TRUE(helper.DecodeAsb(valid, nullptr));
  EXPECT_FALSE(helper.DecodeAsb(nullptr, nullptr));

  // Bits 0x04, 0x08, 0x20 and 0x40 are free; 0x10 must be set, the rest clear.
  int validFirstBytes = 0;
  for (int b = 0; b < 256; ++b) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(b), 0, 0, 0};
    if (helper.DecodeAsb(bytes, nullptr)) ++validFirstBytes;
  }
  EXPECT_EQ(validFirstBytes, 16);
}

TEST(CCmdHelperBaseStatus, RealtimeReplies) {
  CCmdHelperBase helper;
  tagPrinterStatus s = Untouched();
  ASSERT_TRUE(helper.DecodePrinterStatus(0x16, &s));  // online, drawer bit set
  EXPECT_EQ(s.drawerBit, 0x04);
  EXPECT_EQ(s.offline, 0);
  ASSERT_TRUE(helper.DecodePrinterStatus(0x1A, &s));  // offline
  EXPECT_EQ(s.drawerBit, 0);
  EXPECT_EQ(s.offline, 0x08);
  EXPECT_EQ(s.coverOpen, -7);
  for (uint8_t bad : {0x13, 0x02, 0x10, 0x00}) {
    tagPrinterStatus r = Untouched();
    EXPECT_FALSE(helper.DecodePrinterStatus(bad, &r)) << int(bad);
    EXPECT_TRUE(SameRecord(r, Untouched()));
  }

  s = Untouched();
  ASSERT_TRUE(helper.DecodeOfflineStatus(0x16, &s));
  EXPECT_EQ(s.coverOpen, 0x04);
  ASSERT_TRUE(helper.DecodeOfflineStatus(0x12, &s));
  EXPECT_EQ(s.coverOpen, 0);
  EXPECT_EQ(s.offline, -7);
  EXPECT_FALSE(helper.DecodeOfflineStatus(0x92, &s));
  EXPECT_FALSE(helper.DecodeOfflineStatus(0x13, &s));

  s = Untouched();
  ASSERT_TRUE(helper.DecodeRollPaperStatus(0x1E, &s));
  EXPECT_EQ(s.nearEnd, 0x0C);
  EXPECT_EQ(s.paperOut, 0);
  ASSERT_TRUE(helper.DecodeRollPaperStatus(0x72, &s));
  EXPECT_EQ(s.nearEnd, 0);
  EXPECT_EQ(s.paperOut, 0x60);
  EXPECT_FALSE(helper.DecodeRollPaperStatus(0x92, &s));
  EXPECT_FALSE(helper.DecodeRollPaperStatus(0x10, &s));
  EXPECT_TRUE(helper.DecodeRollPaperStatus(0x12, nullptr));
}

TEST(CCmdHelperBaseStatus, TransmitStatusReplies) {
  CCmdHelperBase helper;
  tagPrinterStatus s = Untouched();
  ASSERT_TRUE(helper.DecodePaperSensorStatus(0x0F, &s));
  EXPECT_EQ(s.paperOut, 0x0C);
  EXPECT_EQ(s.nearEnd, 0x03);
  ASSERT_TRUE(helper.DecodePaperSensorStatus(0xF0, &s));
  EXPECT_EQ(s.paperOut, 0);
  EXPECT_EQ(s.nearEnd, 0);
  EXPECT_EQ(s.drawerBit, -7);

  int32_t state = -7;
  ASSERT_TRUE(helper.DecodeDrawerStatus(0x01, &state));
  EXPECT_EQ(state, 1);
  ASSERT_TRUE(helper.DecodeDrawerStatus(0xFE, &state));
  EXPECT_EQ(state, 0);
  EXPECT_TRUE(helper.DecodeDrawerStatus(0x01, nullptr));

  uint8_t record[3] = {0, 0, 0};
  EXPECT_TRUE(helper.DrawerStatusRequest(record));
  EXPECT_EQ(record[0], 0x1D);
  EXPECT_EQ(record[1], 0x72);
  EXPECT_EQ(record[2], 0x02);
}

struct AsbChange {
  std::array<uint8_t, 4> fresh;
  std::array<uint8_t, 4> stored;
  int32_t result;
  std::array<uint8_t, 4> storedAfter;
};

TEST(CCmdHelperBaseStatus, CompareAsbRules) {
  const AsbChange rows[] = {
      {{0x10, 0, 0, 0}, {0x10, 0, 0, 0}, 0, {0x10, 0, 0, 0}},
      {{0x10, 0, 0, 0}, {0x30, 0, 0, 0}, PTR_SUE_COVER_OK, {0x10, 0, 0, 0}},       // cover closed
      {{0x30, 0, 0, 0}, {0x10, 0, 0, 0}, PTR_SUE_COVER_OPEN, {0x30, 0, 0, 0}},       // cover opened
      {{0x10, 0, 0, 0}, {0x10, 0x08, 0, 0}, kStatusSecondSensorCleared, {0x10, 0, 0, 0}},    // second sensor cleared
      {{0x10, 0x08, 0, 0}, {0x10, 0, 0, 0}, kStatusSecondSensorSet, {0x10, 0x08, 0, 0}},  // second sensor set
      {{0x10, 0, 0x0C, 0}, {0x10, 0, 0, 0}, PTR_SUE_REC_EMPTY, {0x10, 0, 0x0C, 0}},  // paper end
      {{0x10, 0, 0x0C, 0}, {0x10, 0, 0x04, 0}, PTR_SUE_REC_EMPTY, {0x10, 0, 0x0C, 0}},
      {{0x10, 0, 0, 0}, {0x10, 0, 0x0C, 0}, PTR_SUE_REC_PAPEROK, {0x10, 0, 0, 0}},    // paper present again
      {{0x10, 0, 0, 0}, {0x10, 0, 0x04, 0}, PTR_SUE_REC_PAPEROK, {0x10, 0, 0, 0}},
      {{0x10, 0, 0x03, 0}, {0x10, 0, 0x01, 0}, PTR_SUE_REC_NEAREMPTY, {0x10, 0, 0x03, 0}},  // near end
      {{0x10, 0, 0, 0x01}, {0x10, 0, 0, 0}, 0, {0x10, 0, 0, 0}},         // no rule
      // The cover wins over the paper; the paper change waits for the next call.
      {{0x30, 0, 0x0C, 0}, {0x10, 0, 0, 0}, PTR_SUE_COVER_OPEN, {0x30, 0, 0, 0}},
  };
  CCmdHelperBase helper;
  for (const AsbChange& r : rows) {
    std::array<uint8_t, 4> stored = r.stored;
    EXPECT_EQ(helper.CompareAsb(r.fresh.data(), stored.data()), r.result);
    EXPECT_EQ(stored, r.storedAfter) << "result " << r.result;
  }
  EXPECT_EQ(helper.CompareAsb(nullptr, nullptr), 0);
}

TEST(CCmdHelperBaseStatus, CompareAsbReportsEachChangeOnce) {
  CCmdHelperBase helper;
  const uint8_t fresh[4] = {0x30, 0x08, 0x0F, 0x00};
  uint8_t stored[4] = {0x10, 0x00, 0x04, 0x00};
  std::vector<int32_t> results;
  for (int i = 0; i < 10; ++i) {
    const int32_t r = helper.CompareAsb(fresh, stored);
    if (r == 0) break;
    results.push_back(r);
  }
  EXPECT_EQ(results, (std::vector<int32_t>{PTR_SUE_COVER_OPEN, kStatusSecondSensorSet, PTR_SUE_REC_EMPTY,
                                     PTR_SUE_REC_NEAREMPTY}));
}

TEST(CCmdHelperBaseStatus, CompareStatusByte) {
  const struct {
    uint8_t fresh;
    uint8_t stored;
    int32_t kind;
    int32_t result;
    uint8_t storedAfter;
  } rows[] = {
      {0x16, 0x16, 2, 0, 0x16},
      {0x16, 0x12, 2, kStatusDrawerBitSet, 0x16},
      {0x12, 0x16, 2, kStatusDrawerBitCleared, 0x12},
      {0x1E, 0x12, 2, kStatusDrawerBitSet, 0x16},  // only the drawer bit is taken over
      {0x1A, 0x12, 2, 0, 0x12},
      {0x7E, 0x12, 4, PTR_SUE_REC_PAPEROK, 0x7E},
      {0x1E, 0x12, 4, PTR_SUE_REC_NEAREMPTY, 0x1E},
      {0x72, 0x12, 4, PTR_SUE_REC_NEAREMPTY, 0x72},
      {0x1E, 0x1F, 4, 0, 0x1F},
      {0x16, 0x12, 4, 0, 0x12},
      {0x16, 0x12, 3, 0, 0x12},
  };
  CCmdHelperBase helper;
  for (const auto& r : rows) {
    uint8_t stored = r.stored;
    EXPECT_EQ(helper.CompareStatusByte(r.fresh, &stored, r.kind), r.result)
        << int(r.fresh) << " " << int(r.stored) << " kind " << r.kind;
    EXPECT_EQ(stored, r.storedAfter) << int(r.fresh) << " " << int(r.stored);
  }
  EXPECT_EQ(helper.CompareStatusByte(0x16, nullptr, 2), 0);
}

TEST(CCmdHelperBaseStatus, DrawerBits) {
  CCmdHelperBase helper;
  EXPECT_FALSE(helper.DrawerStateDiffers(0x04, 0x04, false));
  EXPECT_FALSE(helper.DrawerStateDiffers(0x00, 0x00, true));
  EXPECT_FALSE(helper.DrawerStateDiffers(0x0F, 0x04, false));
  EXPECT_TRUE(helper.DrawerStateDiffers(0x04, 0x00, false));
  EXPECT_TRUE(helper.DrawerStateDiffers(0x04, 0x00, true));
  EXPECT_TRUE(helper.DrawerStateDiffers(0x00, 0x04, false));
  EXPECT_FALSE(helper.DrawerStateDiffers(0x00, 0x04, true));

  EXPECT_TRUE(helper.IsDrawerBitSet(0x04, true));
  EXPECT_FALSE(helper.IsDrawerBitSet(0xFB, true));
  EXPECT_FALSE(helper.IsDrawerBitSet(0x04, false));
  EXPECT_TRUE(helper.IsDrawerBitSet(0xFB, false));
}

}  // namespace
