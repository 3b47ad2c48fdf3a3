#include "so/printer/CPrinterEventObject.h"

namespace QEL {
namespace Printer {

void CPrinterEventObject::OnError(const std::u16string& description) {
  if (EventsOn() && target_ != nullptr) target_->OnError(description);
}

void CPrinterEventObject::OnOutputComplete(int32_t outputId) {
  if (EventsOn() && target_ != nullptr) target_->OnOutputComplete(outputId);
}

void CPrinterEventObject::OnOutputError(int32_t resultCode, int32_t resultCodeExtended) {
  if (EventsOn() && target_ != nullptr) target_->OnOutputError(resultCode, resultCodeExtended);
}

void CPrinterEventObject::OnStatusUpdate(int32_t status) {
  if (EventsOn() && target_ != nullptr) target_->OnStatusUpdate(status);
}

int32_t CPrinterEventObject::QueryPrinterState() {
  if (!EventsOn() || target_ == nullptr) return -1;
  return target_->QueryPrinterState();
}

}  // namespace Printer
}  // namespace QEL
