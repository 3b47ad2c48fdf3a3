#pragma once
// What a worker does when its queue has been idle for a while.

namespace QEL {
namespace BASE {

class ITask2 {
 public:
  virtual void Run() = 0;
  virtual ~ITask2() = default;
};

}  // namespace BASE
}  // namespace QEL
