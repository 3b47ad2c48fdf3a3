#pragma once
// A task of a worker's queue. Truth values are 32-bit integers, as everywhere
// at the OPOS side of the system.
#include <cstdint>

namespace QEL {
namespace BASE {

class ITaskBase {
 public:
  // Not 0: the task is finished and may leave the queue.
  virtual int32_t Execute() = 0;
  virtual void Cancel() = 0;
  // The OutputID for output tasks; negative for the worker's internal tasks.
  virtual int32_t Id() = 0;
  // True while Execute runs.
  virtual int32_t IsRunning() = 0;
  virtual int32_t IsCancelled() = 0;
  virtual ~ITaskBase() = default;
};

}  // namespace BASE
}  // namespace QEL
