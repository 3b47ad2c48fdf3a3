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
  virtual void OnStatusUpdate(int32_t status) = 0;
  // Asks the owner to refresh the printer state.
  virtual int32_t QueryPrinterState() = 0;
  virtual ~IPrinterEventHandle() = default;
};

}  // namespace Printer
}  // namespace QEL
