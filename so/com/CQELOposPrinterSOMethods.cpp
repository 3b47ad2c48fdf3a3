// The printing methods: gates, the station check and the calls into the
// printer core, and the error event when the core fails.
#include "so/com/CQELOposPrinterSO.h"
#include "so/com/DispatchArguments.h"
#include "so/com/OposCodes.h"

namespace QEL {
namespace COM {

namespace {

constexpr size_t kErrorStringChars = 127;
constexpr int32_t kNoSuchFile = 109;

// A bitmap file that could not be read is explained in ErrorString by what
// the imaging library said of it.
const std::u16string* ImageError(const Printer::CPrinterBase& core, int32_t rc) {
  if ((rc != kIllegal && rc != kNoSuchFile) || core.ImageErrorText().empty()) return nullptr;
  return &core.ImageErrorText();
}

}  // namespace

Printer::CPrinterBase* CQELOposPrinterSO::Core() const { return Target()->core_.get(); }

void CQELOposPrinterSO::Store(int32_t* pRC, int32_t rc, int32_t extended) {
  *pRC = rc;
  resultCode_ = rc;
  resultCodeExtended_ = extended;
}

bool CQELOposPrinterSO::Gate(int32_t* pRC) {
  if (!open_) {
    Store(pRC, kClosed);
  } else if (!claimed_) {
    Store(pRC, kNotClaimed);
  } else if (!enabled_) {
    Store(pRC, kDisabled);
  } else {
    return true;
  }
  return false;
}

bool CQELOposPrinterSO::ReceiptStation(int32_t station, int32_t* pRC) {
  if (station == kReceipt) return true;
  Store(pRC, kIllegal, kBadStation);
  return false;
}

template <typename Call>
void CQELOposPrinterSO::CallCore(int32_t* pRC, Call call) {
  Printer::CPrinterBase* core = Core();
  if (core == nullptr) {
    Store(pRC, kClosed);
    return;
  }
  int32_t rc = kSuccess;
  try {
    const long hr = call(*core, &rc);
    if (hr < 0) {
      Store(pRC, rc != kSuccess ? rc : kFailure);
      RaiseError(resultCode_, resultCodeExtended_, core->ErrorInformation());
      return;
    }
  } catch (...) {
    Store(pRC, kFailure);
    RaiseError(kFailure, 0, core->ErrorInformation());
    return;
  }
  Store(pRC, rc, rc == kExtended ? core->ResultCodeExtended() : 0);
}

// An attached instance works through its owner's core, but its own OPOS state
// (open, claimed, enabled) gates it: a client that is not enabled does not
// print because another client of the same printer is.
#define ZOBELSO_PRINT_METHOD(call)                                             \
  if (!Gate(pRC)) return S_OK;                                                 \
  CallCore(pRC, [&](Printer::CPrinterBase& core, int32_t* rc) { return call; }); \
  return S_OK

HRESULT CQELOposPrinterSO::CheckHealth(int32_t level, int32_t* pRC) {
  if (!Gate(pRC)) return S_OK;
  if (!isPrinter_) {
    DrawerCheckHealth(level, pRC);
    return S_OK;
  }
  // The core's text for the level is what CheckHealthText reads afterwards.
  CallCore(pRC, [&](Printer::CPrinterBase& core, int32_t* rc) {
    return core.CheckHealth(level, rc);
  });
  return S_OK;
}

HRESULT CQELOposPrinterSO::DirectIO(int32_t command, LONG* data, BSTR* text, int32_t* pRC) {
  if (!Gate(pRC)) return S_OK;
  int32_t number = data != nullptr ? *data : 0;
  std::u16string value = text != nullptr ? platform::FromBstr(*text) : std::u16string();
  CallCore(pRC, [&](Printer::CPrinterBase& core, int32_t* rc) {
    return core.DirectIO(command, &number, &value, rc);
  });
  if (data != nullptr) *data = number;
  if (text != nullptr) StoreText(text, value);
  return S_OK;
}

HRESULT CQELOposPrinterSO::CutPaper(int32_t percentage, int32_t* pRC) {
  ZOBELSO_PRINT_METHOD(core.CutPaper(percentage, rc));
}

HRESULT CQELOposPrinterSO::PrintImmediate(int32_t station, const std::u16string& data,
                                          int32_t* pRC) {
  if (!ReceiptStation(station, pRC)) return S_OK;
  ZOBELSO_PRINT_METHOD(core.PrintImmediate(kReceipt, data, rc));
}

HRESULT CQELOposPrinterSO::PrintNormal(int32_t station, const std::u16string& data,
                                       int32_t* pRC) {
  if (!ReceiptStation(station, pRC)) return S_OK;
  ZOBELSO_PRINT_METHOD(core.PrintNormal(kReceipt, data, rc));
}

HRESULT CQELOposPrinterSO::TransactionPrint(int32_t station, int32_t control, int32_t* pRC) {
  if (!ReceiptStation(station, pRC)) return S_OK;
  ZOBELSO_PRINT_METHOD(core.TransactionPrint(kReceipt, control, rc));
}

HRESULT CQELOposPrinterSO::PrintLine(int32_t station, const std::u16string& positionList,
                                     int32_t* pRC) {
  if (!ReceiptStation(station, pRC)) return S_OK;
  ZOBELSO_PRINT_METHOD(core.PrintLine(kReceipt, positionList, rc));
}

HRESULT CQELOposPrinterSO::PrintCurveText(int32_t station, int32_t textNumber,
                                          int32_t horizontalPosition, const std::u16string& data,
                                          int32_t* pRC) {
  if (!ReceiptStation(station, pRC)) return S_OK;
  ZOBELSO_PRINT_METHOD(core.PrintCurveText(kReceipt, textNumber, horizontalPosition, data, rc));
}

// The printer core of this build has no bitmap or logo entry points yet: the
// bitmap and logo methods check what they check before the core and then
// answer "illegal".
HRESULT CQELOposPrinterSO::PrintBarCode(int32_t station, const std::u16string& data,
                                        int32_t symbology, int32_t height, int32_t width,
                                        int32_t alignment, int32_t textPosition, int32_t* pRC) {
  if (!ReceiptStation(station, pRC) || !Gate(pRC)) return S_OK;
  CallCore(pRC, [&](Printer::CPrinterBase& core, int32_t* rc) {
    const long hr = core.PrintBarCode(kReceipt, data, symbology, height, width, alignment,
                                      textPosition, rc);
    // The symbol encoder's complaint is what ErrorString explains a failed
    // barcode with.
    if (*rc == kFailure && !core.SymbolEncoderText().empty()) {
      Target()->errorString_ = core.SymbolEncoderText().substr(0, kErrorStringChars);
    }
    return hr;
  });
  return S_OK;
}

HRESULT CQELOposPrinterSO::PrintBitmap(int32_t station, const std::u16string& fileName,
                                       int32_t width, int32_t alignment, int32_t* pRC) {
  if (!ReceiptStation(station, pRC) || !Gate(pRC)) return S_OK;
  CallCore(pRC, [&](Printer::CPrinterBase& core, int32_t* rc) {
    const long hr = core.PrintBitmap(kReceipt, fileName, width, alignment, rc);
    if (const std::u16string* why = ImageError(core, *rc)) {
      Target()->errorString_ = why->substr(0, kErrorStringChars);
    }
    return hr;
  });
  return S_OK;
}

HRESULT CQELOposPrinterSO::RotatePrint(int32_t station, int32_t rotation, int32_t* pRC) {
  if (!ReceiptStation(station, pRC)) return S_OK;
  ZOBELSO_PRINT_METHOD(core.RotatePrint(kReceipt, rotation, rc));
}

HRESULT CQELOposPrinterSO::SetBitmap(int32_t number, int32_t station,
                                     const std::u16string& fileName, int32_t width,
                                     int32_t alignment, int32_t* pRC) {
  if (!ReceiptStation(station, pRC) || !Gate(pRC)) return S_OK;
  CallCore(pRC, [&](Printer::CPrinterBase& core, int32_t* rc) {
    const long hr = core.SetBitmap(number, kReceipt, fileName, width, alignment, rc);
    if (const std::u16string* why = ImageError(core, *rc)) {
      Target()->errorString_ = why->substr(0, kErrorStringChars);
    }
    return hr;
  });
  return S_OK;
}

HRESULT CQELOposPrinterSO::SetLogo(int32_t location, const std::u16string& data, int32_t* pRC) {
  ZOBELSO_PRINT_METHOD(core.SetLogo(location, data, rc));
}

HRESULT CQELOposPrinterSO::ClearPrintArea(int32_t* pRC) {
  ZOBELSO_PRINT_METHOD(core.ClearPrintArea(rc));
}

HRESULT CQELOposPrinterSO::PageModePrint(int32_t control, int32_t* pRC) {
  ZOBELSO_PRINT_METHOD(core.PageModePrint(control, rc));
}

HRESULT CQELOposPrinterSO::PrintMemoryBitmap(int32_t station, const std::u16string& data,
                                             int32_t type, int32_t width, int32_t alignment,
                                             int32_t* pRC) {
  if (!ReceiptStation(station, pRC)) return S_OK;
  ZOBELSO_PRINT_METHOD(core.PrintMemoryBitmap(kReceipt, data, type, width, alignment, rc));
}

HRESULT CQELOposPrinterSO::Unsupported(int32_t* pRC) {
  Store(pRC, kIllegal);
  return S_OK;
}

HRESULT CQELOposPrinterSO::GetOpenResult(int32_t* value) {
  *value = openResult_;
  return S_OK;
}

HRESULT CQELOposPrinterSO::ClearOutput(int32_t* pRC) {
  Printer::CPrinterBase* core = Core();
  if (core == nullptr) {
    *pRC = kClosed;
    return S_OK;
  }
  int32_t rc = kSuccess;
  try {
    core->ClearOutput(&rc);
  } catch (...) {
    rc = kFailure;
  }
  *pRC = rc;
  CQELOposPrinterSO* target = Target();
  if (target->flagWhenIdle_.exchange(0) != 0) target->OnStatusUpdate(kStatusIdle);
  return S_OK;
}

void CQELOposPrinterSO::RaiseError(int32_t resultCode, int32_t extended,
                                   const std::u16string& text) {
  CQELOposPrinterSO* target = Target();
  Printer::CPrinterBase* core = Core();
  target->errorLevel_ = core != nullptr && core->ErrorCode() >= 1000 ? 3 : 2;
  target->errorString_ = text.substr(0, kErrorStringChars);
  const int32_t values[4] = {resultCode, extended, kErrorLocusOutput, kErrorResponseRetry};
  target->QueueEvent(EventKind::kError, values, 4);
}

void CQELOposPrinterSO::OnError(const std::u16string& description) {
  RaiseError(resultCode_, resultCodeExtended_, description);
}

}  // namespace COM
}  // namespace QEL
