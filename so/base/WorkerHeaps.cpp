#include "so/base/WorkerHeaps.h"

#include <cstring>
#include <new>

namespace QEL {
namespace BASE {

HeapBlock& HeapBlock::operator=(HeapBlock&& other) noexcept {
  if (this != &other) {
    Release();
    heap_ = std::move(other.heap_);
    kind_ = other.kind_;
    data_ = other.data_;
    length_ = other.length_;
    other.kind_ = HeapKind::None;
    other.data_ = nullptr;
    other.length_ = 0;
  }
  return *this;
}

void HeapBlock::Release() {
  if (heap_ && data_ != nullptr) heap_->Free(data_);
  heap_.reset();
  kind_ = HeapKind::None;
  data_ = nullptr;
  length_ = 0;
}

WorkerHeaps::WorkerHeaps()
    : small_(std::make_shared<platform::PrivateHeap>(kSmallInitialBytes, kSmallMaximumBytes)),
      large_(std::make_shared<platform::PrivateHeap>(0, 0)) {}

HeapBlock WorkerHeaps::CopyInto(const std::shared_ptr<platform::PrivateHeap>& heap, HeapKind kind,
                                const uint8_t* data, size_t length) {
  auto* block = static_cast<uint8_t*>(heap->Allocate(length));
  if (length != 0 && data != nullptr) std::memcpy(block, data, length);
  return HeapBlock(heap, kind, block, length);
}

HeapBlock WorkerHeaps::Copy(const uint8_t* data, size_t length) {
  if (length == 0) return HeapBlock();
  if (length <= kSmallBlockLimit) {
    try {
      return CopyInto(small_, HeapKind::Small, data, length);
    } catch (const std::bad_alloc&) {
      // The small heap is full of queued output: the large one takes it.
    }
  }
  return CopyInto(large_, HeapKind::Large, data, length);
}

}  // namespace BASE
}  // namespace QEL
