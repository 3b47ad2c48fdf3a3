#include "so/base/WorkerHeaps.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

namespace {

using QEL::BASE::HeapBlock;
using QEL::BASE::HeapKind;
using QEL::BASE::WorkerHeaps;

std::vector<uint8_t> Bytes(size_t n) {
  std::vector<uint8_t> data(n);
  for (size_t i = 0; i < n; ++i) data[i] = static_cast<uint8_t>(i * 7 + 1);
  return data;
}

TEST(WorkerHeaps, SizeDecidesTheHeapAtTheSmallLimit) {
  WorkerHeaps heaps;
  struct Case {
    size_t length;
    HeapKind kind;
  } cases[] = {{1, HeapKind::Small}, {65535, HeapKind::Small}, {65536, HeapKind::Large},
               {600 * 1024, HeapKind::Large}};
  for (const Case& c : cases) {
    const auto data = Bytes(c.length);
    HeapBlock block = heaps.Copy(data.data(), data.size());
    EXPECT_EQ(block.Kind(), c.kind) << c.length;
    EXPECT_EQ(block.Heap(), c.kind == HeapKind::Small ? heaps.SmallHeap() : heaps.LargeHeap());
    ASSERT_EQ(block.Length(), c.length);
    EXPECT_EQ(std::vector<uint8_t>(block.Data(), block.Data() + block.Length()), data) << c.length;
  }
}

TEST(WorkerHeaps, EmptyDataNeedsNoBlock) {
  WorkerHeaps heaps;
  HeapBlock block = heaps.Copy(nullptr, 0);
  EXPECT_EQ(block.Kind(), HeapKind::None);
  EXPECT_EQ(block.Data(), nullptr);
}

TEST(WorkerHeaps, FullSmallHeapFallsBackToTheLargeOneUntilRoomIsFreed) {
  WorkerHeaps heaps;
  const auto data = Bytes(65535);
  std::vector<HeapBlock> held;
  // 512 KB hold at most eight such blocks, less their bookkeeping.
  for (int i = 0; i < 16; ++i) {
    held.push_back(heaps.Copy(data.data(), data.size()));
    if (held.back().Kind() == HeapKind::Large) break;
  }
  ASSERT_EQ(held.back().Kind(), HeapKind::Large) << "the small heap never ran full";
  ASSERT_GE(held.size(), 5u) << "the small heap holds far less than 512 KB";
  for (size_t i = 0; i + 1 < held.size(); ++i) EXPECT_EQ(held[i].Kind(), HeapKind::Small);
  EXPECT_EQ(std::vector<uint8_t>(held.back().Data(), held.back().Data() + 65535), data);

  held.erase(held.begin());  // freed into the small heap
  HeapBlock again = heaps.Copy(data.data(), data.size());
  EXPECT_EQ(again.Kind(), HeapKind::Small);
}

TEST(WorkerHeaps, BoundedHeapRefusesWhatDoesNotFit) {
  platform::PrivateHeap heap(64 * 1024, 512 * 1024);
  EXPECT_THROW(heap.Allocate(1024 * 1024), std::bad_alloc);
  void* block = heap.Allocate(1000);
  auto* bytes = static_cast<uint8_t*>(block);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(bytes[i], 0) << "blocks come zero-filled";
  heap.Free(block);
}

TEST(WorkerHeaps, BlocksKeepTheirHeapAliveAndMove) {
  HeapBlock kept;
  {
    WorkerHeaps heaps;
    const auto data = Bytes(100);
    HeapBlock block = heaps.Copy(data.data(), data.size());
    kept = std::move(block);
    EXPECT_EQ(block.Data(), nullptr);
  }
  ASSERT_NE(kept.Data(), nullptr);
  EXPECT_EQ(kept.Data()[99], static_cast<uint8_t>(99 * 7 + 1));
}

}  // namespace
