#include "so/base/PrinterBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

using QEL::Printer::PrinterBuffer;

namespace {

std::vector<uint8_t> Content(const PrinterBuffer& b) {
  return std::vector<uint8_t>(b.data(), b.data() + b.size());
}

TEST(PrinterBufferGrowth, ThirtyFirstByteGrowsOneStep) {
  PrinterBuffer b(32, 32);
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(b.pushByte(static_cast<uint8_t>(i)));
  EXPECT_EQ(b.capacity(), 32);
  ASSERT_TRUE(b.pushByte(30));
  EXPECT_EQ(b.capacity(), 64);
  ASSERT_EQ(b.size(), 31u);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(b.at(i), i);
}

TEST(PrinterBufferGrowth, LargeAppendGrowsInWholeStepsWithASpareByte) {
  struct Case {
    size_t existing, appended;
    int32_t capacity;
  } cases[] = {
      {0, 31, 64},    // 0 + 31 + 1 >= 32: (31 - 32) / 32 + 1 = 1 step
      {0, 32, 64},    // (32 - 32) / 32 + 1 = 1 step; 32 bytes in 64
      {0, 63, 64},    // (63 - 32) / 32 + 1 = 1 step leaves the one spare byte
      {0, 64, 96},    // 64 bytes need the spare byte of a second step
      {10, 100, 128}, // (110 - 32) / 32 + 1 = 3 steps
      {0, 30, 32},    // still fits with the spare byte
  };
  for (const Case& c : cases) {
    PrinterBuffer b(32, 32);
    std::vector<uint8_t> first(c.existing, 0xAA), second(c.appended, 0x55);
    ASSERT_TRUE(b.append(first.data(), first.size()));
    ASSERT_TRUE(b.append(second.data(), second.size()));
    EXPECT_EQ(b.capacity(), c.capacity) << c.existing << "+" << c.appended;
    EXPECT_EQ(b.size(), c.existing + c.appended);
    EXPECT_GT(static_cast<size_t>(b.capacity()), b.size());
  }
}

TEST(PrinterBufferGrowth, ImpossibleEnlargementLeavesEverythingAsItWas) {
  PrinterBuffer b(32, 32);
  const uint8_t abc[] = {'A', 'B', 'C'};
  ASSERT_TRUE(b.append(abc, 3));
  const size_t huge = static_cast<size_t>(std::numeric_limits<int32_t>::max());
  EXPECT_FALSE(b.append(abc, huge));
  EXPECT_FALSE(b.insert(0, abc, huge));
  EXPECT_FALSE(b.resize(huge, 0));
  EXPECT_EQ(b.capacity(), 32);
  EXPECT_EQ(Content(b), (std::vector<uint8_t>{'A', 'B', 'C'}));
}

TEST(PrinterBufferEditing, ClearZeroesKeepsCapacity) {
  PrinterBuffer b(32, 32);
  std::vector<uint8_t> data(40, 0x7F);
  b.append(data.data(), data.size());
  const int32_t capacity = b.capacity();
  b.clear();
  EXPECT_TRUE(b.isEmpty());
  EXPECT_EQ(b.capacity(), capacity);
  for (int32_t i = 0; i < capacity; ++i) ASSERT_EQ(b.data()[i], 0) << i;
}

TEST(PrinterBufferEditing, InsertMovesTheTail) {
  PrinterBuffer b(8, 8);
  const uint8_t tail[] = {'c', 'd', 'e', 'f', 'g', 'h'};
  const uint8_t head[] = {'a', 'b'};
  b.append(tail, sizeof tail);
  ASSERT_TRUE(b.insert(0, head, sizeof head));
  EXPECT_EQ(Content(b), (std::vector<uint8_t>{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'}));
  const uint8_t mid[] = {'-'};
  ASSERT_TRUE(b.insert(4, mid, 1));
  EXPECT_EQ(Content(b), (std::vector<uint8_t>{'a', 'b', 'c', 'd', '-', 'e', 'f', 'g', 'h'}));
  EXPECT_FALSE(b.insert(100, mid, 1));  // past the end: refused, unchanged
  EXPECT_EQ(b.size(), 9u);
}

TEST(PrinterBufferEditing, InsertOfItsOwnContentSurvivesAMove) {
  PrinterBuffer b(4, 4);
  const uint8_t abc[] = {'x', 'y', 'z'};
  b.append(abc, 3);
  ASSERT_TRUE(b.insert(0, b.data(), 3));  // grows: the source block moves
  EXPECT_EQ(Content(b), (std::vector<uint8_t>{'x', 'y', 'z', 'x', 'y', 'z'}));
}

TEST(PrinterBufferEditing, ReserveFillsFromTheEndOfContent) {
  PrinterBuffer b(32, 32);
  b.pushByte(1);
  ASSERT_TRUE(b.reserve(40, 0xEE));
  EXPECT_EQ(b.capacity(), 40);
  EXPECT_EQ(b.size(), 1u);
  EXPECT_EQ(b.at(0), 1);
  for (int i = 1; i < 40; ++i) ASSERT_EQ(b.data()[i], 0xEE) << i;
  ASSERT_TRUE(b.reserve(10, 0x11));  // smaller: nothing happens
  EXPECT_EQ(b.capacity(), 40);
  EXPECT_EQ(b.data()[5], 0xEE);
}

TEST(PrinterBufferEditing, ResizeShrinksWithFill) {
  PrinterBuffer b(32, 32);
  const uint8_t data[] = {1, 2, 3, 4, 5};
  b.append(data, 5);
  ASSERT_TRUE(b.resize(2, 0x99));
  EXPECT_EQ(Content(b), (std::vector<uint8_t>{1, 2}));
  EXPECT_EQ(b.data()[2], 0x99);
  EXPECT_EQ(b.data()[4], 0x99);
  ASSERT_TRUE(b.resize(100, 0x00));
  EXPECT_EQ(b.size(), 100u);
  EXPECT_EQ(b.capacity(), 132);
}

}  // namespace
