#include "platform/private_heap.h"

#include <windows.h>

#include <new>

namespace platform {

// The heap raises no structured exceptions (they would pass by C++ handlers);
// a failed call is turned into std::bad_alloc instead.
struct PrivateHeap::Impl {
  HANDLE heap = nullptr;
};

PrivateHeap::PrivateHeap(size_t initialBytes, size_t maximumBytes)
    : impl_(new Impl), maximumBytes_(maximumBytes) {
  impl_->heap = HeapCreate(0, initialBytes, maximumBytes);
  if (impl_->heap == nullptr) throw std::bad_alloc();
}

PrivateHeap::~PrivateHeap() {
  if (impl_->heap != nullptr) HeapDestroy(impl_->heap);
}

void* PrivateHeap::Allocate(size_t bytes) {
  void* block = HeapAlloc(impl_->heap, HEAP_ZERO_MEMORY, bytes);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void PrivateHeap::Free(void* block) {
  if (block != nullptr) HeapFree(impl_->heap, 0, block);
}

}  // namespace platform
