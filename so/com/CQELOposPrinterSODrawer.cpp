// What a cash-drawer instance does: pulse the drawer, wait for it to be
// closed, read its state and check its health, all through the printer core
// of the printer its key names. Drawers sharing one core each load their own
// numbers into it before every operation, within the same call.
#include "platform/message_box.h"
#include "so/com/CQELOposPrinterSO.h"
#include "so/com/OposCodes.h"
#include "so/format/StatusUpdateValues.h"

namespace QEL {
namespace COM {

namespace {

constexpr int32_t kInternal = 1;
constexpr int32_t kExternal = 2;
constexpr int32_t kInteractive = 3;

constexpr const char16_t* kConfirmTitle = u"Opos";
constexpr const char16_t* kConfirmText =
    u"OPOS CashDrawer Check Health:INTERACTIVE!\nPlease click the 'OK' button to continue...";

}  // namespace

CQELOposPrinterSO* CQELOposPrinterSO::DrawerOwner() {
  CQELOposPrinterSO* target = Target();
  return target->core_ && target->clients_ ? target : nullptr;
}

void CQELOposPrinterSO::LoadDrawer(Printer::CPrinterBase& core, const DrawerSettings& drawer) {
  core.SetupCashDrawer(drawer.drawerPin, drawer.openVoltage, drawer.capDrawStatus,
                       drawer.signalOnTime, drawer.signalOffTime, drawer.waitForCloseTimeout);
}

bool CQELOposPrinterSO::LoadDrawer(CQELOposPrinterSO* owner, DrawerSettings* drawer) {
  if (!owner->clients_->DrawerOf(this, drawer)) return false;
  LoadDrawer(*owner->core_, *drawer);
  return true;
}

HRESULT CQELOposPrinterSO::OpenDrawer(int32_t* pRC) {
  if (!Gate(pRC)) return S_OK;
  CQELOposPrinterSO* owner = DrawerOwner();
  if (owner == nullptr) {
    Store(pRC, kFailure);
    return S_OK;
  }
  Printer::CPrinterBase& core = *owner->core_;
  try {
    if (!core.IsIdle()) {
      Store(pRC, kBusy);
      return S_OK;
    }
    // A drawer is not opened on a printer known to be in trouble: the
    // state the printer reported last decides.
    core.GetPrinterState(false);
    const int32_t last = owner->lastStatus_;
    if (last == Printer::PTR_SUE_REC_EMPTY) {
      Store(pRC, kFailure, kExtRecEmpty);
      return S_OK;
    }
    if (last == Printer::PTR_SUE_COVER_OPEN) {
      Store(pRC, kFailure, kExtCoverOpen);
      return S_OK;
    }
    DrawerSettings drawer;
    if (!LoadDrawer(owner, &drawer)) {
      Store(pRC, kFailure);
      return S_OK;
    }
    int32_t rc = kSuccess;
    core.OpenDrawer(&rc);
    Store(pRC, rc, rc == kExtended ? core.ResultCodeExtended() : 0);
  } catch (...) {
    Store(pRC, kFailure);
  }
  return S_OK;
}

HRESULT CQELOposPrinterSO::WaitForDrawerClose(int32_t beepTimeout, int32_t beepFrequency,
                                              int32_t beepDuration, int32_t beepDelay,
                                              int32_t* pRC) {
  if (!Gate(pRC)) return S_OK;
  CQELOposPrinterSO* owner = DrawerOwner();
  if (owner == nullptr) {
    Store(pRC, kFailure);
    return S_OK;
  }
  // Without a sensor reading there is nothing to wait for.
  DrawerSettings drawer;
  if (!owner->clients_->DrawerOf(this, &drawer) || drawer.capDrawStatus == 0) {
    Store(pRC, kExtended, kExtNotSupported);
    return S_OK;
  }
  try {
    Printer::CPrinterBase& core = *owner->core_;
    LoadDrawer(core, drawer);
    int32_t rc = kSuccess;
    core.WaitForDrawerClose(beepTimeout, beepFrequency, beepDuration, beepDelay, &rc);
    Store(pRC, rc);
  } catch (...) {
    Store(pRC, kFailure);
  }
  return S_OK;
}

int32_t CQELOposPrinterSO::DrawerOpened() {
  int32_t rc = kSuccess;
  if (!enabled_) {
    Store(&rc, kDisabled);
    return 0;
  }
  if (!claimed_) {
    Store(&rc, kNotClaimed);
    return 0;
  }
  if (!open_) {
    Store(&rc, kClosed);
    return 0;
  }
  CQELOposPrinterSO* owner = DrawerOwner();
  try {
    if (owner == nullptr || !owner->core_->IsIdle()) {
      Store(&rc, kBusy);
      return 0;
    }
    DrawerSettings drawer;
    if (!owner->clients_->DrawerOf(this, &drawer) || drawer.capDrawStatus == 0) return 0;
    LoadDrawer(*owner->core_, drawer);
    const bool open = owner->core_->GetDrawerOpenState(true);
    Store(&rc, kSuccess);
    return open ? 1 : 0;
  } catch (...) {
    Store(&rc, kFailure);
    return 0;
  }
}

void CQELOposPrinterSO::DrawerCheckHealth(int32_t level, int32_t* pRC) {
  const Printer::CPrinterBase* core = Core();
  const bool busy = core != nullptr && !core->IsIdle();
  switch (level) {
    case kInternal:
      drawerHealthText_ = u"Internal HealthCheck: Successful.";
      Store(pRC, kSuccess);
      return;
    case kExternal:
      if (busy) break;
      drawerHealthText_ = u"External HealthCheck: Success!";
      Store(pRC, kSuccess);
      return;
    case kInteractive:
      if (busy) break;
      if (environment_->confirm) {
        environment_->confirm(kConfirmTitle, kConfirmText);
      } else {
        platform::ShowConfirmation(kConfirmTitle, kConfirmText);
      }
      drawerHealthText_ = u"INTERACTIVE HealthCheck: Success!";
      Store(pRC, kSuccess);
      return;
    default:
      drawerHealthText_ = u"Illegal Health Check Level!\r\nOPOS_E_ILLEGAL";
      Store(pRC, kExtended, kExtNotSupported);
      return;
  }
  Store(pRC, kBusy);
}

}  // namespace COM
}  // namespace QEL
