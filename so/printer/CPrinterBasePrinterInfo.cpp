// What the printer says about itself at claim: firmware version, maker,
// model name (GS I 65, 66, 67) and whether a cutter is fitted (GS I 2).
#include <string>

#include "platform/code_page.h"
#include "so/printer/CPrinterBase.h"
#include "so/printer/PropertyIndex.h"

namespace QEL {
namespace Printer {

namespace {

// The printer frames each text answer as '_' text NUL.
constexpr uint8_t kTextStart = 0x5F;
constexpr uint8_t kTextEnd = 0x00;
constexpr int32_t kTextMaximum = 64;
constexpr size_t kModelNameChars = 29;
// Bit 1 of the printer type ID: an auto-cutter is fitted.
constexpr uint8_t kCutterFitted = 0x02;

}  // namespace

int32_t CPrinterBase::RefreshPrinterInfo() {
  if (cmdHelper_ == nullptr) return OPOS_E_FAILURE;
  CCmdHelperBase& helper = *cmdHelper_;
  uint8_t reply[kTextMaximum] = {};
  // One text exchange: its answer, or the code that ends the refresh. A
  // printer that answered nothing keeps the text we had.
  auto askText = [&](void (CCmdHelperBase::*request)(PrinterBuffer&), bool selectPrinter,
                     std::u16string* text) -> int32_t {
    commandBuffer_.clear();
    if (selectPrinter) helper.SelectPeripheral(commandBuffer_, true);
    (helper.*request)(commandBuffer_);
    int32_t received = 0;
    const int32_t rc = SendAndReadString(commandBuffer_, reply, 0, kTextMaximum, kTextStart,
                                         kTextEnd, &received);
    commandBuffer_.clear();
    if (rc != OPOS_SUCCESS) return rc;
    if (received <= 0) return OPOS_E_TIMEOUT;
    *text = platform::MultiByteToWide(platform::kAnsiCodePage,
                                      reinterpret_cast<const char*>(reply),
                                      static_cast<size_t>(received));
    return OPOS_SUCCESS;
  };

  int32_t rc = askText(&CCmdHelperBase::RequestFirmwareVersion, false, &firmwareText_);
  if (rc != OPOS_SUCCESS) return rc;
  rc = askText(&CCmdHelperBase::RequestMakerName, false, &makerText_);
  if (rc != OPOS_SUCCESS) return rc;
  std::u16string model;
  rc = askText(&CCmdHelperBase::RequestModelName, true, &model);
  if (rc != OPOS_SUCCESS) return rc;
  props_.deviceName = model.substr(0, kModelNameChars);

  commandBuffer_.clear();
  helper.SelectPeripheral(commandBuffer_, true);
  helper.RequestTypeId(commandBuffer_);
  uint8_t type = 0;
  int32_t received = 0;
  rc = SendAndReadData(commandBuffer_, &type, 0, 1, &received);
  commandBuffer_.clear();
  if (rc != OPOS_SUCCESS) return rc;
  if (received != 1) return OPOS_E_TIMEOUT;
  props_.Cap(Pidx::CapRecPapercut) = (type & kCutterFitted) != 0 ? 1 : 0;
  return OPOS_SUCCESS;
}

}  // namespace Printer
}  // namespace QEL
