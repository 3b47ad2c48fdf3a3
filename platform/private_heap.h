#pragma once
// A heap of its own for data that is queued for a while, so that queued
// output neither fragments the process heap nor competes with it. A heap with
// a maximum never grows beyond it: an allocation that does not fit fails
// instead, and the caller decides where the data goes then.
#include <cstddef>
#include <memory>

namespace platform {

class PrivateHeap {
 public:
  // maximumBytes 0: the heap grows as needed. Throws std::bad_alloc when the
  // system refuses to create the heap.
  PrivateHeap(size_t initialBytes, size_t maximumBytes);
  ~PrivateHeap();
  PrivateHeap(const PrivateHeap&) = delete;
  PrivateHeap& operator=(const PrivateHeap&) = delete;

  // A zero-filled block of at least `bytes` bytes (a valid block also for 0).
  // Throws std::bad_alloc when the heap has no room for it. Safe to call from
  // any thread, as is Free.
  void* Allocate(size_t bytes);
  // Returns a block of this heap; null is ignored.
  void Free(void* block);

  size_t MaximumBytes() const { return maximumBytes_; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  size_t maximumBytes_;
};

}  // namespace platform
