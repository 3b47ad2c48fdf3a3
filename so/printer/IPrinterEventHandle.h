#pragma once
// The sink through which a printer core reports to the COM layer.
#include <cstdint>
#include <string>

namespace QEL {
namespace Printer {

class IPrinterEventHandle {
 public:
  virtual void OnError(const std::u16string& description) = 0;
  virtual void OnOutputComplete(int32_t outputId) = 0;
  // A queued job could not be written. The codes are those a synchronous
  // write would have answered (107, 113, or 114 with 201/203 for a printer
  // known to have its cover open or no paper). The job stays at the front
  // of the queue, and nothing behind it runs, until Retry or ClearOutput.
  virtual void OnOutputError(int32_t resultCode, int32_t resultCodeExtended) = 0;
  virtual void OnStatusUpdate(int32_t status) = 0;
  // Asks the owner to refresh the printer state.
  virtual int32_t QueryPrinterState() = 0;
  virtual ~IPrinterEventHandle() = default;
};

}  // namespace Printer
}  // namespace QEL
