#pragma once
// The two private heaps of a worker that hold copies of queued output until
// it is sent: small blocks come from a bounded heap, larger ones (and small
// ones when the bounded heap is full) from a growable one.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/private_heap.h"

namespace QEL {
namespace BASE {

enum class HeapKind { None, Small, Large };

// A block of one of the heaps, freed into it when the block goes. The block
// keeps its heap alive, so it may outlive the worker that made it.
class HeapBlock {
 public:
  HeapBlock() = default;
  HeapBlock(std::shared_ptr<platform::PrivateHeap> heap, HeapKind kind, uint8_t* data, size_t length)
      : heap_(std::move(heap)), kind_(kind), data_(data), length_(length) {}
  ~HeapBlock() { Release(); }
  HeapBlock(HeapBlock&& other) noexcept { *this = std::move(other); }
  HeapBlock& operator=(HeapBlock&& other) noexcept;
  HeapBlock(const HeapBlock&) = delete;
  HeapBlock& operator=(const HeapBlock&) = delete;

  uint8_t* Data() const { return data_; }
  size_t Length() const { return length_; }
  HeapKind Kind() const { return kind_; }
  const platform::PrivateHeap* Heap() const { return heap_.get(); }

 private:
  void Release();

  std::shared_ptr<platform::PrivateHeap> heap_;
  HeapKind kind_ = HeapKind::None;
  uint8_t* data_ = nullptr;
  size_t length_ = 0;
};

class WorkerHeaps {
 public:
  static constexpr size_t kSmallInitialBytes = 64 * 1024;
  static constexpr size_t kSmallMaximumBytes = 512 * 1024;
  // Data of up to this many bytes goes to the small heap.
  static constexpr size_t kSmallBlockLimit = 65535;

  // Throws std::bad_alloc when a heap cannot be created.
  WorkerHeaps();

  // A copy of `length` bytes (an empty block for 0). Throws std::bad_alloc
  // when neither heap has room.
  HeapBlock Copy(const uint8_t* data, size_t length);

  const platform::PrivateHeap* SmallHeap() const { return small_.get(); }
  const platform::PrivateHeap* LargeHeap() const { return large_.get(); }

 private:
  static HeapBlock CopyInto(const std::shared_ptr<platform::PrivateHeap>& heap, HeapKind kind,
                            const uint8_t* data, size_t length);

  std::shared_ptr<platform::PrivateHeap> small_;
  std::shared_ptr<platform::PrivateHeap> large_;
};

}  // namespace BASE
}  // namespace QEL
