// CheckHealth: the internal level answers from memory, the external and
// interactive levels print a short report and judge the printer by whether
// it took it.
#include <utility>

#include "platform/message_box.h"
#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {

constexpr int32_t kInternal = 1;
constexpr int32_t kExternal = 2;
constexpr int32_t kInteractive = 3;

constexpr const char16_t* kInteractiveTitle = u"Opos";
constexpr const char16_t* kInteractivePrompt =
    u"OPOS Check Health:INTERACTIVE!\nPlease click the 'OK' button to continue...";

std::u16string Widen(const char* text) {
  std::u16string wide;
  for (; *text != '\0'; ++text) wide.push_back(static_cast<unsigned char>(*text));
  return wide;
}

}  // namespace

void CPrinterBase::SetInteractiveConfirmation(Confirmation confirm) {
  confirm_ = std::move(confirm);
}

long CPrinterBase::CheckHealth(int32_t level, int32_t* result) {
  std::u16string report = u"OPOS Printer CheckHealth ";
  std::u16string verdict;
  switch (level) {
    case kInternal:
      // Nothing reaches the printer, so there is nothing to report as a result.
      props_.checkHealthText = u"Internal HealthCheck: Successful.";
      return 0;
    case kExternal:
    case kInteractive:
      // The report must not overtake or interleave with queued receipts.
      if (!IsIdle()) {
        SetRC(OPOS_E_BUSY);
        if (result != nullptr) *result = OPOS_E_BUSY;
        return 0;
      }
      if (level == kInteractive) {
        if (confirm_) {
          confirm_(kInteractiveTitle, kInteractivePrompt);
        } else {
          platform::ShowConfirmation(kInteractiveTitle, kInteractivePrompt);
        }
        report += u"INTERACTIVE:\n";
        verdict = u"INTERACTIVE HealthCheck: ";
      } else {
        report += u"EXTERNAL:\n";
        verdict = u"External HealthCheck: ";
      }
      break;
    default:
      props_.checkHealthText = u"Illegal Health Check Level!\r\nOPOS_E_ILLEGAL";
      SetRC(OPOS_E_NOT_SUPPORTED);
      if (result != nullptr) *result = resultCode_;
      return 0;
  }

  report += u"Manufacturer: " + makerText_ + u"\n";
  report += u"Device Name: " + props_.deviceName + u"\n";
  // Only a printer that was asked at claim has a firmware text of its own.
  if (bidirectional_ && refreshInfoAtClaim_) {
    report += u"Firmware Version: " + firmwareText_ + u"\n";
  }

  PrinterBuffer job(2048, 32);
  InitOutBufferWithPMControl(job, 3);
  PrinterBuffer converted(256, 32);
  int32_t outcome = OPOS_E_FAILURE;
  if (cmdHelper_ != nullptr && ConvertPrintData(report, converted, nullptr)) {
    FormatStringToOutBuffer(job, converted.data(), converted.size(), false);
    outcome = Send(job, 0);
  }

  if (outcome != OPOS_SUCCESS) {
    verdict += u"No Responding.\r\n\r\n";
  } else {
    verdict += u"Complete.\r\n\r\n";
    // Leaves the printer in the state every job starts from.
    commandBuffer_.clear();
    InitOutBufferWithPMControl(commandBuffer_, 3);
    outcome = DirectSend(commandBuffer_, 0, 7);
    commandBuffer_.clear();
  }
  verdict += Widen(GetStatusString(outcome));
  props_.checkHealthText = verdict;
  SetRC(outcome);
  if (result != nullptr) *result = resultCode_;
  return 0;
}

}  // namespace Printer
}  // namespace QEL
