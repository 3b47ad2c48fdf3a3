// The properties: the common ones this class answers itself, the rest from
// the printer core.
#include "so/com/CQELOposPrinterSO.h"
#include "so/com/OposCodes.h"
#include "so/printer/PropertyIndex.h"

namespace QEL {
namespace COM {

namespace {

// The cash drawer's own number properties.
constexpr int32_t kDrawerOpened = 1001;
constexpr int32_t kCapDrawerStatus = 1501;

}  // namespace

HRESULT CQELOposPrinterSO::GetPropertyNumber(int32_t index, int32_t* value) {
  *value = 0;
  const CQELOposPrinterSO* target = Target();
  switch (index) {
    case 1: *value = claimed_ ? 1 : 0; return S_OK;
    case Printer::Pidx::DeviceEnabled: *value = enabled_ ? 1 : 0; return S_OK;
    case 4: *value = freezeEvents_ ? 1 : 0; return S_OK;
    case 6:
      if (!open_) {
        *value = kClosed;
      } else if (resultCode_ != -1) {
        *value = resultCode_;
      }
      return S_OK;
    case 7:
      if (!open_) {
        *value = kClosed;
      } else if (resultCode_ != -1) {
        *value = resultCodeExtended_;
        if (*value == 0 && owner_ != nullptr) *value = owner_->resultCodeExtended_;
      }
      return S_OK;
    case 8: *value = kServiceObjectVersion; return S_OK;
    case 9: {
      Printer::CPrinterBase* core = Core();
      if (!open_ || core == nullptr) {
        *value = 1;
      } else if (core->IsInErrorState()) {
        *value = 4;
      } else {
        *value = core->IsBusy() ? 3 : 2;
      }
      return S_OK;
    }
    case 501:
    case 502:
    case 1502:
      return S_OK;
    case kDrawerOpened: *value = DrawerOpened(); return S_OK;
    case kCapDrawerStatus: *value = isPrinter_ ? 0 : drawer_.capDrawStatus; return S_OK;
    case Printer::Pidx::ErrorStation: *value = kReceipt; return S_OK;
    case Printer::Pidx::FlagWhenIdle: *value = target->flagWhenIdle_; return S_OK;
    case Printer::Pidx::ErrorLevel: *value = target->errorLevel_; return S_OK;
    default: break;
  }
  Printer::CPrinterBase* core = Core();
  if (!open_ || core == nullptr) return S_OK;
  try {
    core->GetPropertyNumber(index, value);
  } catch (...) {
    *value = 0;
  }
  return S_OK;
}

HRESULT CQELOposPrinterSO::SetPropertyNumber(int32_t index, int32_t value, int32_t* pRC) {
  if (!open_) {
    Store(pRC, kClosed);
    return S_OK;
  }
  Printer::CPrinterBase* core = Core();
  if (core == nullptr) {
    Store(pRC, kNoService);
    return S_OK;
  }
  if (index == Printer::Pidx::DeviceEnabled) {
    if (!claimed_) {
      Store(pRC, kNotClaimed);
      return S_OK;
    }
    Store(pRC, Target()->EnableFor(this, value != 0));
    if (*pRC == kSuccess) enabled_ = value != 0;
    return S_OK;
  }
  if (index == 4) {
    COFreezeEvents(value, pRC);
    resultCode_ = *pRC;
    return S_OK;
  }
  if (index == Printer::Pidx::AsyncMode) asyncMode_ = value;
  if (index == Printer::Pidx::FlagWhenIdle) {
    // This layer raises the idle event, so the core has no such property.
    flagWhenIdle_ = value;
    Target()->flagWhenIdle_ = value;
    Store(pRC, kSuccess);
    return S_OK;
  }
  int32_t rc = kSuccess;
  try {
    core->SetPropertyNumber(index, value, &rc);
  } catch (...) {
    rc = kFailure;
  }
  Store(pRC, rc, rc == kExtended ? core->ResultCodeExtended() : 0);
  return S_OK;
}

HRESULT CQELOposPrinterSO::GetPropertyString(int32_t index, std::u16string* value) {
  if (index == 1000004) {
    *value = isPrinter_ ? u"POS Printer OPOS Service Object" : u"POS CashDrawer OPOS Service Object";
    return S_OK;
  }
  if (index == Printer::Pidx::DeviceDescription) {
    *value = isPrinter_ ? u"POS Printer" : u"POS CashDrawer";
    return S_OK;
  }
  if (open_ && index == Printer::Pidx::CheckHealthText && !isPrinter_) {
    *value = drawerHealthText_;
    return S_OK;
  }
  if (open_ && index == Printer::Pidx::ErrorString) {
    *value = Target()->errorString_;
    return S_OK;
  }
  Printer::CPrinterBase* core = Core();
  if (open_ && core != nullptr) {
    try {
      core->GetPropertyString(index, value);
      return S_OK;
    } catch (...) {
    }
  }
  *value = u"[Error]";
  return S_OK;
}

HRESULT CQELOposPrinterSO::SetPropertyString(int32_t index, const std::u16string& value,
                                             int32_t* pRC) {
  resultCode_ = -1;
  if (!open_) return S_OK;
  Printer::CPrinterBase* core = Core();
  if (core == nullptr) {
    Store(pRC, kNoService);
    return S_OK;
  }
  int32_t rc = kSuccess;
  try {
    core->SetPropertyString(index, value, &rc);
  } catch (...) {
    rc = kFailure;
  }
  Store(pRC, rc, rc == kExtended ? core->ResultCodeExtended() : 0);
  return S_OK;
}

}  // namespace COM
}  // namespace QEL
