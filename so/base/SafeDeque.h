#pragma once
// The task queue of a worker: filled on the caller's thread, drained on the
// worker's, so every access goes through the queue's own lock.
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>

#include "so/base/ITaskBase.h"

namespace QEL {
namespace BASE {

class SafeDeque {
 public:
  using TaskPtr = std::shared_ptr<ITaskBase>;

  void PushBack(TaskPtr task);
  void PushFront(TaskPtr task);
  // Removes the front task and hands it over; null when the queue is empty.
  TaskPtr PopFront();
  // Removes the front task only when it is still `task`: the caller looked at
  // the front earlier and someone else may have emptied or refilled the queue
  // in the meantime.
  bool PopFrontIf(const TaskPtr& task);
  // The front task, still queued; null when the queue is empty.
  TaskPtr Front() const;
  bool Empty() const;
  size_t Size() const;
  // Drops every task.
  void Clear();

 private:
  mutable std::mutex lock_;
  std::deque<TaskPtr> cells_;
};

}  // namespace BASE
}  // namespace QEL
