#include "platform/private_heap.h"

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

namespace platform {

// The system allocator has no separate heaps here, so a bounded heap is a
// budget kept over ordinary blocks: every block counts with its size header,
// which makes the limit a little tighter than the raw byte count, as a real
// heap's own bookkeeping does.
struct PrivateHeap::Impl {
  std::mutex lock;
  size_t inUse = 0;
};

namespace {
// Keeps the data behind the header as aligned as malloc's own blocks.
constexpr size_t kHeader = alignof(std::max_align_t) > sizeof(size_t) ? alignof(std::max_align_t)
                                                                         : sizeof(size_t);
}  // namespace

PrivateHeap::PrivateHeap(size_t initialBytes, size_t maximumBytes)
    : impl_(new Impl), maximumBytes_(maximumBytes) {
  if (maximumBytes != 0 && initialBytes > maximumBytes) throw std::bad_alloc();
}

PrivateHeap::~PrivateHeap() = default;

void* PrivateHeap::Allocate(size_t bytes) {
  if (bytes > SIZE_MAX - kHeader) throw std::bad_alloc();
  const size_t cost = bytes + kHeader;
  {
    std::lock_guard<std::mutex> guard(impl_->lock);
    if (maximumBytes_ != 0 && (cost > maximumBytes_ || impl_->inUse > maximumBytes_ - cost)) {
      throw std::bad_alloc();
    }
    impl_->inUse += cost;
  }
  void* raw = std::calloc(1, cost);
  if (raw == nullptr) {
    std::lock_guard<std::mutex> guard(impl_->lock);
    impl_->inUse -= cost;
    throw std::bad_alloc();
  }
  *static_cast<size_t*>(raw) = cost;
  return static_cast<unsigned char*>(raw) + kHeader;
}

void PrivateHeap::Free(void* block) {
  if (block == nullptr) return;
  void* raw = static_cast<unsigned char*>(block) - kHeader;
  const size_t cost = *static_cast<size_t*>(raw);
  std::free(raw);
  std::lock_guard<std::mutex> guard(impl_->lock);
  impl_->inUse -= cost;
}

}  // namespace platform
