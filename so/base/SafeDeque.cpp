#include "so/base/SafeDeque.h"

#include <utility>

namespace QEL {
namespace BASE {

void SafeDeque::PushBack(TaskPtr task) {
  std::lock_guard<std::mutex> guard(lock_);
  cells_.push_back(std::move(task));
}

void SafeDeque::PushFront(TaskPtr task) {
  std::lock_guard<std::mutex> guard(lock_);
  cells_.push_front(std::move(task));
}

SafeDeque::TaskPtr SafeDeque::PopFront() {
  std::lock_guard<std::mutex> guard(lock_);
  if (cells_.empty()) return nullptr;
  TaskPtr task = std::move(cells_.front());
  cells_.pop_front();
  return task;
}

bool SafeDeque::PopFrontIf(const TaskPtr& task) {
  TaskPtr released;  // let go of the task outside the lock
  std::lock_guard<std::mutex> guard(lock_);
  if (cells_.empty() || cells_.front() != task) return false;
  released = std::move(cells_.front());
  cells_.pop_front();
  return true;
}

SafeDeque::TaskPtr SafeDeque::Front() const {
  std::lock_guard<std::mutex> guard(lock_);
  return cells_.empty() ? nullptr : cells_.front();
}

bool SafeDeque::Empty() const {
  std::lock_guard<std::mutex> guard(lock_);
  return cells_.empty();
}

size_t SafeDeque::Size() const {
  std::lock_guard<std::mutex> guard(lock_);
  return cells_.size();
}

void SafeDeque::Clear() {
  std::deque<TaskPtr> released;  // tasks are destroyed outside the lock
  {
    std::lock_guard<std::mutex> guard(lock_);
    released.swap(cells_);
  }
}

}  // namespace BASE
}  // namespace QEL
