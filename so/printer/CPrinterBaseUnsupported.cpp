// The OPOS methods a receipt-only printer without statistics or firmware
// update has no use for: each refuses the same way, so that an application
// can tell "not supported" (114/300) from a failure.
#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {

int32_t Refuse(CPrinterBase& core, int32_t* result) {
  const int32_t rc = core.SetRC(OPOS_E_NOT_SUPPORTED);
  if (result != nullptr) *result = rc;
  return 0;
}

}  // namespace

long CPrinterBase::RetrieveStatistics(std::u16string*, int32_t* result) {
  return Refuse(*this, result);
}

long CPrinterBase::UpdateStatistics(const std::u16string&, int32_t* result) {
  return Refuse(*this, result);
}

long CPrinterBase::ResetStatistics(const std::u16string&, int32_t* result) {
  return Refuse(*this, result);
}

long CPrinterBase::CompareFirmwareVersion(const std::u16string&, int32_t*, int32_t* result) {
  return Refuse(*this, result);
}

long CPrinterBase::UpdateFirmware(const std::u16string&, int32_t* result) {
  return Refuse(*this, result);
}

long CPrinterBase::BeginInsertion(int32_t, int32_t* result) { return Refuse(*this, result); }

long CPrinterBase::BeginRemoval(int32_t, int32_t* result) { return Refuse(*this, result); }

long CPrinterBase::EndInsertion(int32_t* result) { return Refuse(*this, result); }

long CPrinterBase::EndRemoval(int32_t* result) { return Refuse(*this, result); }

long CPrinterBase::ChangePrintSide(int32_t, int32_t* result) { return Refuse(*this, result); }

long CPrinterBase::MarkFeed(int32_t, int32_t* result) { return Refuse(*this, result); }

}  // namespace Printer
}  // namespace QEL
