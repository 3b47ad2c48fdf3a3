// The OPOS print methods around the formatter: admission, the mode buffers,
// the job prologue and the send.
#include <vector>

#include "so/format/TextConversion.h"
#include "so/printer/CPrinterBase.h"
#include "so/printer/PropertyIndex.h"

namespace QEL {
namespace Printer {

namespace {
constexpr int32_t kStationReceipt = 2;
constexpr int32_t kDirectIoRawToPrinter = 101;
constexpr int32_t kDirectIoRawWithTransaction = 100;
constexpr int kMaxRuledLinePairs = 8;
constexpr size_t kMaxPositionValues = 254;
}  // namespace

int32_t CPrinterBase::FinishJob(PrinterBuffer& job) {
  const int32_t sent = Send(job, 0);
  return SetRC(sent);
}

PrinterBuffer& CPrinterBase::OutputTarget() {
  if (modes_.transaction) return transactionBuffer_;
  if (PrinterBuffer* mode = CurrentPrinterBuffer()) return *mode;
  jobBuffer_.clear();
  return jobBuffer_;
}

int32_t CPrinterBase::SendIfDirect(PrinterBuffer& target) {
  if (!IsDirectSend() || target.isEmpty()) return SetRC(OPOS_SUCCESS);
  return FinishJob(target);
}

long CPrinterBase::PrintNormal(int32_t /*station*/, const std::u16string& data, int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  const bool collecting = modes_.pageMode || modes_.Sideways();
  rc = CheckOutputAdmission(collecting);
  if (rc != OPOS_SUCCESS) return 0;
  if (cmdHelper_ == nullptr) {
    rc = SetRC(OPOS_E_FAILURE);
    return 0;
  }
  if (modes_.pageMode) {
    if (!PageModePrintAreaIsEffective()) {
      rc = SetRC(OPOS_SUCCESS);
      return 0;
    }
    PositionPageArea(*CurrentPrinterBuffer());
  }
  formatted_.discard();
  PrinterBuffer& converted = convertedBuffer_;
  converted.discard();
  if (!ConvertPrintData(data, converted, nullptr)) {
    rc = SetRC(OPOS_E_FAILURE);
    return 0;
  }
  FormatStringToOutBuffer(formatted_, converted.data(), converted.size(), false);

  if (PrinterBuffer* mode = CurrentPrinterBuffer()) {
    // A sideways job takes the text as it is (it is collected for a page of
    // its own even in page mode or a transaction); a page needs it at the
    // vertical position; a transaction in a known state.
    if (modes_.Sideways()) {
      // nothing in front
    } else if (modes_.pageMode) {
      const int32_t position = props_.recLineSpacing + props_.pageModeVerticalPosition;
      cmdHelper_->SetAbsoluteVertical(
          *mode, modes_.RotatedPageDirection() ? position : H2V(position));
    } else if (modes_.transaction) {
      ClearFormatInStd(*mode);
    }
    mode->append(formatted_);
    rc = SetRC(OPOS_SUCCESS);
    return 0;
  }
  jobBuffer_.discard();
  InitOutBufferWithPMControl(jobBuffer_, 3);
  jobBuffer_.append(formatted_);
  rc = FinishJob(jobBuffer_);
  return 0;
}

long CPrinterBase::PrintImmediate(int32_t /*station*/, const std::u16string& data,
                                  int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  rc = CheckCoverAndPaper();
  if (rc != OPOS_SUCCESS) return 0;
  if (cmdHelper_ == nullptr) {
    rc = SetRC(OPOS_E_FAILURE);
    return 0;
  }
  unsigned codePage = CodePageForCharacterSet(props_.characterSet);
  PrinterBuffer& converted = convertedBuffer_;
  converted.discard();
  if (!ConvertPrintData(data, converted, &codePage)) {
    rc = SetRC(OPOS_E_FAILURE);
    return 0;
  }
  formatted_.discard();
  FormatStringToOutBuffer(formatted_, converted.data(), converted.size(), false);
  jobBuffer_.discard();
  InitOutBufferWithPMControl(jobBuffer_, 3);
  cmdHelper_->SelectCodePage(jobBuffer_, static_cast<int32_t>(codePage));
  jobBuffer_.append(formatted_);
  rc = FinishJob(jobBuffer_);
  return 0;
}

long CPrinterBase::PrintTwoNormal(int32_t, const std::u16string&, const std::u16string&,
                                  int32_t* result) {
  const int32_t rc = SetRC(OPOS_E_NOT_SUPPORTED);
  if (result != nullptr) *result = rc;
  return 0;
}

long CPrinterBase::DrawRuledLine(int32_t, const std::u16string&, int32_t, int32_t, int32_t, int32_t,
                                 int32_t* result) {
  const int32_t rc = SetRC(OPOS_E_NOT_SUPPORTED);
  if (result != nullptr) *result = rc;
  return 0;
}

long CPrinterBase::ValidateData(int32_t station, const std::u16string& data, int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  if (station != kStationReceipt) {
    rc = SetRC(OPOS_E_NOT_SUPPORTED);
    return 0;
  }
  PrinterBuffer converted(static_cast<int32_t>(data.size()) + 32, 32);
  if (!ConvertPrintData(data, converted, nullptr)) {
    rc = SetRC(OPOS_E_FAILURE);
    return 0;
  }
  PrinterBuffer discard(256, 32);
  rc = SetRC(FormatStringToOutBuffer(discard, converted.data(), converted.size(), true));
  return 0;
}

long CPrinterBase::CutPaper(int32_t percentage, int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  if (!modes_.transaction && !modes_.pageMode && !modes_.Sideways() && props_.asyncMode == 0 &&
      !IsIdle()) {
    rc = SetRC(OPOS_E_BUSY);
    return 0;
  }
  if (modes_.pageMode || percentage < 1 || percentage > 100 ||
      props_.Cap(Pidx::CapRecPapercut) == 0 || cmdHelper_ == nullptr) {
    rc = SetRC(OPOS_E_ILLEGAL);
    return 0;
  }
  if (modes_.Sideways()) {
    rc = SetRC(OPOS_SUCCESS);
    return 0;
  }
  rc = CheckOutputAdmission(true);
  if (rc != OPOS_SUCCESS) return 0;

  PrinterBuffer& target = OutputTarget();
  if (percentage == 100) {
    cmdHelper_->FeedAndFullCut(target);
  } else {
    cmdHelper_->FeedAndPartialCut(target);
  }
  rc = SendIfDirect(target);
  return 0;
}

int32_t CPrinterBase::CheckRuledLineCall(const std::u16string& data, size_t minimumBytes,
                                         PrinterBuffer& converted) {
  const bool collecting = modes_.pageMode || modes_.Sideways();
  if (!collecting && !modes_.transaction && props_.asyncMode == 0 && !IsIdle()) {
    return SetRC(OPOS_E_BUSY);
  }
  if (!ConvertPrintData(data, converted, nullptr)) return SetRC(OPOS_E_FAILURE);
  if (modes_.pageMode || converted.size() < minimumBytes || !IsQX1270Family() ||
      cmdHelper_ == nullptr) {
    return SetRC(OPOS_E_ILLEGAL);
  }
  return OPOS_SUCCESS;
}

long CPrinterBase::PrintLine(int32_t /*station*/, const std::u16string& positionList,
                             int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  PrinterBuffer converted(64, 32);
  rc = CheckRuledLineCall(positionList, 3, converted);
  if (rc != OPOS_SUCCESS) return 0;
  if (modes_.Sideways()) {
    rc = SetRC(OPOS_SUCCESS);
    return 0;
  }
  rc = CheckOutputAdmission(true);
  if (rc != OPOS_SUCCESS) return 0;

  std::vector<uint16_t> values;
  int32_t current = 0;
  bool inNumber = false;
  for (size_t i = 0; i <= converted.size() && values.size() < kMaxPositionValues; ++i) {
    const uint8_t c = i < converted.size() ? converted.at(i) : ',';
    if (c >= '0' && c <= '9') {
      current = (current * 10 + (c - '0')) & 0xFFFFF;
      inNumber = true;
    } else if (c == ',') {
      if (inNumber) values.push_back(static_cast<uint16_t>(current));
      current = 0;
      inNumber = false;
    }
  }
  std::vector<LineSegment> segments((values.size() + 1) / 2);
  for (size_t k = 0; k < segments.size(); ++k) {
    segments[k].start = values[2 * k];
    segments[k].end = 2 * k + 1 < values.size() ? values[2 * k + 1] : 0;
  }
  PrinterBuffer& target = OutputTarget();
  if (segments.size() <= static_cast<size_t>(kMaxRuledLinePairs)) {
    cmdHelper_->DrawLines(target, segments.data(), static_cast<int32_t>(segments.size()));
  }
  rc = SendIfDirect(target);
  return 0;
}

long CPrinterBase::PrintCurveText(int32_t /*station*/, int32_t m, int32_t n,
                                  const std::u16string& data, int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  PrinterBuffer converted(64, 32);
  rc = CheckRuledLineCall(data, 1, converted);
  if (rc != OPOS_SUCCESS) return 0;
  if (modes_.Sideways()) {
    rc = SetRC(OPOS_SUCCESS);
    return 0;
  }
  rc = CheckOutputAdmission(true);
  if (rc != OPOS_SUCCESS) return 0;
  PrinterBuffer& target = OutputTarget();
  cmdHelper_->CurveTextCommand(target, static_cast<uint8_t>(m), static_cast<uint16_t>(n),
                               converted.data(), converted.size());
  rc = SendIfDirect(target);
  return 0;
}

long CPrinterBase::DirectIO(int32_t command, int32_t* /*number*/, std::u16string* text,
                            int32_t* result) {
  SetRC(OPOS_E_ILLEGAL);
  if (result != nullptr) *result = OPOS_E_ILLEGAL;
  if ((command == kDirectIoRawToPrinter || command == kDirectIoRawWithTransaction) &&
      text != nullptr) {
    PrinterBuffer bytes(static_cast<int32_t>(text->size()) + 32, 32);
    if (ConvertPrintData(*text, bytes, nullptr)) {
      if (command == kDirectIoRawWithTransaction) {
        DirectIOBytes(bytes.data(), bytes.size());
      } else {
        directIoBuffer_.clear();
        directIoBuffer_.append(bytes);
        DirectSend(directIoBuffer_, 0, 7);
      }
    }
  }
  SetRC(OPOS_SUCCESS);
  if (result != nullptr) *result = OPOS_SUCCESS;
  return 0;
}

void CPrinterBase::DirectIOBytes(const uint8_t* bytes, size_t length) {
  if (length == 0) return;
  if (modes_.transaction) {
    transactionBuffer_.append(bytes, length);
    return;
  }
  directIoBuffer_.clear();
  directIoBuffer_.append(bytes, length);
  DirectSend(directIoBuffer_, 0, 7);
}

}  // namespace Printer
}  // namespace QEL
