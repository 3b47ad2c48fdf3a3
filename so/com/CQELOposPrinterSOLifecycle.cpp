// Open, claim, enable, release and close, and the sharing of one printer
// core between the instances that name the same printer.
#include <cstdlib>
#include <string>
#include <utility>

#include "config/DeviceConfig.h"
#include "config/DeviceConfigReader.h"
#include "so/com/CQELOposPrinterSO.h"
#include "so/com/ModuleLocks.h"
#include "so/com/OpenInstanceTable.h"
#include "so/com/OposCodes.h"
#include "so/io/PortFactory.h"
#include "so/printer/CTM_T88IV.h"
#include "so/printer/PrinterModelFactory.h"

namespace QEL {
namespace COM {

namespace {

// OpenResult values.
constexpr int32_t kOpenNoPort = 401;
constexpr int32_t kOpenNotSupported = 402;
constexpr int32_t kOpenConfig = 403;
constexpr int32_t kOpenSpecific = 450;

constexpr LCID kEventNameLocale = 2048;  // LOCALE_SYSTEM_DEFAULT, as control objects resolve

int32_t Decimal(const std::u16string& text) {
  std::string ascii;
  for (char16_t c : text) ascii.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return static_cast<int32_t>(std::strtol(ascii.c_str(), nullptr, 10));
}

// DriverModel without its last "_" and what follows ("TM-T88IV_01" names TM-T88IV).
std::u16string ModelName(const std::u16string& driverModel) {
  const size_t cut = driverModel.rfind(u'_');
  return cut == std::u16string::npos ? driverModel : driverModel.substr(0, cut);
}

DrawerSettings ToSettings(const Config::DrawerConfig& config) {
  const Config::DrawerNumbers n = Config::ToNumbers(config);
  DrawerSettings s;
  s.drawerPin = n.pinMask;
  s.openVoltage = n.openVoltage;
  s.capDrawStatus = n.capDrawStatus;
  s.signalOnTime = n.onTime;
  s.signalOffTime = n.offTime;
  s.waitForCloseTimeout = n.closeWaitMs;
  return s;
}

DrawerSettings PrinterClientSettings() {
  DrawerSettings s;
  s.signalOnTime = 0;
  s.signalOffTime = 0;
  s.waitForCloseTimeout = 60000;
  return s;
}

}  // namespace

CQELOposPrinterSO::~CQELOposPrinterSO() {
  try {
    int32_t rc = 0;
    if (open_) CloseService(&rc);
    if (owner_ != nullptr) {
      owner_->DetachClient(this);
      owner_->Release();
      owner_ = nullptr;
    }
    DestroyCore();
  } catch (...) {
    // A destructor called by a final Release must not throw into COM.
  }
  ModuleLocks::Unlock();
}

void CQELOposPrinterSO::ResolveEventDispids() {
  static const char16_t* const kPrinterEvents[] = {u"SODirectIO", u"SOError",
                                                   u"SOOutputComplete", u"SOStatusUpdate"};
  static const char16_t* const kDrawerEvents[] = {u"SODirectIO", u"SOStatusUpdate"};
  const char16_t* const* names = isPrinter_ ? kPrinterEvents : kDrawerEvents;
  const size_t count = isPrinter_ ? 4 : 2;
  for (DISPID& id : dispids_) id = DISPID_UNKNOWN;
  if (receiver_ == nullptr) return;
  for (size_t i = 0; i < count; ++i) {
    std::u16string name = names[i];
    LPOLESTR text = const_cast<LPOLESTR>(platform::OleText(name.c_str()));
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(receiver_->GetIDsOfNames(IID_NULL, &text, 1, kEventNameLocale, &id))) {
      id = DISPID_UNKNOWN;
    }
    dispids_[i] = id;
  }
}

HRESULT CQELOposPrinterSO::OpenService(const std::u16string& classKey,
                                       const std::u16string& deviceName,
                                       IDispatch* eventReceiver, int32_t* pRC) {
  if (open_) {
    *pRC = kSuccess;
    openResult_ = 0;
    return S_OK;
  }
  *pRC = kIllegal;
  openResult_ = kOpenNotSupported;
  resultCode_ = kIllegal;
  isPrinter_ = classKey == u"POSPrinter";
  if (deviceName.empty()) return S_OK;
  receiver_ = eventReceiver;
  ResolveEventDispids();

  bool opened = false;
  std::u16string printerKey = deviceName;
  drawer_ = PrinterClientSettings();
  if (!isPrinter_) {
    openResult_ = kOpenConfig;
    std::unique_ptr<platform::Registry> registry = environment_->openRegistry();
    if (!registry) return S_OK;
    Config::DeviceConfigReader reader(*registry, environment_->registryPause,
                                      environment_->oposRoot);
    Config::DrawerConfig config;
    const Config::ConfigReadResult read = reader.ReadDrawer(deviceName, &config);
    if (read.fault == Config::ConfigFault::kKeyNotOpened) return S_OK;
    *pRC = kNoService;
    resultCode_ = kNoService;
    if (!read.Ok()) return S_OK;
    drawer_ = ToSettings(config);
    printerKey = config.printerName;
  }

  CQELOposPrinterSO* owner = OpenInstanceTable::Find(printerKey);
  if (owner != nullptr) {
    opened = AttachTo(owner, drawer_);
    if (!opened && !isPrinter_) openResult_ = kOpenConfig;
  } else {
    opened = FullOpen(printerKey, isPrinter_ ? nullptr : &drawer_);
  }
  if (!opened) return S_OK;
  open_ = true;
  resultCode_ = -1;
  *pRC = kSuccess;
  openResult_ = 0;
  return S_OK;
}

ClientSlot CQELOposPrinterSO::MakeSlot(const DrawerSettings& drawer) const {
  ClientSlot slot;
  slot.client = this;
  slot.open = true;
  slot.isPrinter = isPrinter_;
  slot.receiver = receiver_;
  for (size_t i = 0; i < 4; ++i) slot.dispids[i] = dispids_[i];
  slot.drawer = drawer;
  return slot;
}

bool CQELOposPrinterSO::AttachTo(CQELOposPrinterSO* owner, const DrawerSettings& drawer) {
  if (owner->clients_ == nullptr || !owner->clients_->Attach(MakeSlot(drawer))) return false;
  if (owner != this) {
    owner_ = owner;
    owner->AddRef();
  }
  freezeEvents_ = false;
  asyncMode_ = 0;
  return true;
}

bool CQELOposPrinterSO::FullOpen(const std::u16string& printerKey, const DrawerSettings* drawer) {
  openResult_ = kOpenConfig;
  std::unique_ptr<platform::Registry> registry = environment_->openRegistry();
  if (!registry) return false;
  Config::DeviceConfigReader reader(*registry, environment_->registryPause,
                                    environment_->oposRoot);
  Config::PrinterConfig config;
  const Config::ConfigReadResult read = reader.ReadPrinter(printerKey, &config);
  if (read.fault == Config::ConfigFault::kKeyNotOpened) return false;
  resultCode_ = kNoService;
  if (!read.Ok()) return false;

  openResult_ = kOpenNoPort;
  std::unique_ptr<IO::IPortSettings> settings;
  try {
    settings = IO::CreatePortSettings(config.portType);
    settings->Parse(config.portSettings);
  } catch (...) {
    openResult_ = kOpenConfig;
    return false;
  }

  openResult_ = kOpenNotSupported;
  // A core that other instances still use is theirs until they close.
  if (clients_ && clients_->AnyOpen()) return false;
  DestroyCore();
  core_ = Printer::CreatePrinterModel(ModelName(config.driverModel), nullptr);
  if (!core_) return false;
  if (auto* standard = dynamic_cast<Printer::CTM_T88IV*>(core_.get())) {
    standard->SetConfiguredCodePage(Decimal(config.codepageId));
  }
  if (environment_->coreClock) core_->SetClock(environment_->coreClock);

  int32_t rc = 0;
  try {
    core_->SetPortSettings(settings.get(), &rc);
    if (rc != 0 || core_->ResultCodeExtended() != 0) {
      openResult_ = core_->ResultCodeExtended() != 0 ? core_->ResultCodeExtended() : rc;
      DestroyCore();
      return false;
    }
    portSettings_ = std::move(settings);
    rc = 0;
    core_->OpenServiceW(printerKey, this, &rc);
    if (rc == 0 && drawer != nullptr) LoadDrawer(*core_, *drawer);
  } catch (...) {
    rc = kFailure;
  }
  if (rc != 0) {
    openResult_ = rc;
    DestroyCore();
    return false;
  }

  // The open itself succeeded; what follows can only fail for want of room.
  claimed_ = false;
  enabled_ = false;
  asyncMode_ = 0;
  flagWhenIdle_ = 0;
  errorLevel_ = 1;
  errorString_.clear();
  freezeEvents_ = false;
  lastStatus_ = 0;
  resultCode_ = kFailure;
  openResult_ = kOpenSpecific;
  clients_ = std::make_unique<DeviceClientTable>();
  clients_->Attach(MakeSlot(drawer != nullptr ? *drawer : PrinterClientSettings()));
  instanceSlot_ = OpenInstanceTable::Register(this, printerKey);
  if (instanceSlot_ == 0) {
    DestroyCore();
    return false;
  }
  deviceKey_ = printerKey;
  events_ = std::make_unique<SOEventThread>(environment_->eventClock);
  suppressEvents_ = true;
  deviceClaimed_ = false;
  deviceEnabled_ = false;
  return true;
}

void CQELOposPrinterSO::DestroyCore() {
  if (events_) events_->Stop();
  if (core_) {
    int32_t rc = 0;
    try {
      core_->CloseService(&rc);
    } catch (...) {
    }
    core_.reset();
  }
  events_.reset();
  clients_.reset();
  portSettings_.reset();
  if (instanceSlot_ != 0) OpenInstanceTable::Unregister(instanceSlot_);
  instanceSlot_ = 0;
  deviceKey_.clear();
  deviceClaimed_ = false;
  deviceEnabled_ = false;
}

HRESULT CQELOposPrinterSO::ClaimDevice(int32_t timeout, int32_t* pRC) {
  if (Core() == nullptr || !open_) {
    *pRC = kClosed;
    resultCode_ = kClosed;
    return S_OK;
  }
  if (*pRC != kSuccess) return S_OK;
  *pRC = Target()->ClaimFor(this, timeout);
  resultCode_ = *pRC;
  if (*pRC == kSuccess) claimed_ = true;
  return S_OK;
}

int32_t CQELOposPrinterSO::ClaimFor(CQELOposPrinterSO* client, int32_t timeout) {
  if (!clients_) return kFailure;
  clients_->Update(client, [](ClientSlot& s) { s.claimed = true; });
  if (deviceClaimed_) return kSuccess;
  int32_t rc = kSuccess;
  try {
    core_->ClaimDevice(timeout, &rc);
  } catch (...) {
    rc = kFailure;
  }
  if (rc == kSuccess) {
    deviceClaimed_ = true;
  } else {
    clients_->Update(client, [](ClientSlot& s) { s.claimed = false; });
  }
  return rc;
}

HRESULT CQELOposPrinterSO::ReleaseDevice(int32_t* pRC) {
  resultCode_ = -1;
  if (Core() == nullptr || !open_) {
    *pRC = kClosed;
    resultCode_ = kClosed;
    return S_OK;
  }
  if (enabled_) {
    *pRC = Target()->EnableFor(this, false);
    if (*pRC == kSuccess) enabled_ = false;
  }
  *pRC = Target()->ReleaseFor(this);
  claimed_ = false;
  resultCode_ = *pRC;
  return S_OK;
}

int32_t CQELOposPrinterSO::ReleaseFor(CQELOposPrinterSO* client) {
  if (!clients_) return kFailure;
  clients_->Update(client, [](ClientSlot& s) { s.claimed = false; });
  if (clients_->AnyClaimed() || !deviceClaimed_) return kSuccess;
  int32_t rc = kSuccess;
  try {
    core_->ReleaseDevice(&rc);
  } catch (...) {
    rc = kFailure;
  }
  deviceClaimed_ = false;
  if (events_) events_->Stop();
  return rc;
}

int32_t CQELOposPrinterSO::EnableFor(CQELOposPrinterSO* client, bool enable) {
  if (!clients_ || !core_) return kFailure;
  // Drawers alone have the core watch only the drawer: a printer joining
  // them needs the printer's own state read and reported, as at an enable.
  const bool printerJoinsDrawers =
      enable && client->isPrinter_ && deviceEnabled_ && !clients_->AnyEnabledOfKind(true);
  if (enable) {
    if (client->isPrinter_) {
      core_->SetPrinterMode(true);
    } else {
      // Its sensor level decides which reading the status watch calls open.
      LoadDrawer(*core_, client->drawer_);
    }
  }
  clients_->Update(client, [enable](ClientSlot& s) { s.enabled = enable; });
  if (!enable) {
    if (!clients_->AnyEnabledOfKind(true)) core_->SetPrinterMode(false);
    if (!clients_->AnyEnabledOfKind(false)) core_->SetCashDrawerMode(false);
  }
  const bool wanted = clients_->AnyEnabled();
  if (printerJoinsDrawers) {
    try {
      core_->DeviceEnable(0);
      core_->DeviceEnable(1);
    } catch (...) {
      clients_->Update(client, [](ClientSlot& s) { s.enabled = false; });
      core_->SetPrinterMode(false);
      return kFailure;
    }
  }
  if (wanted == deviceEnabled_) return kSuccess;
  if (!events_) return kFailure;
  try {
    core_->DeviceEnable(wanted ? 1 : 0);
    deviceEnabled_ = wanted;
    if (wanted) {
      suppressEvents_ = false;
      events_->Start();
      if (clients_->AllFrozen()) events_->Suspend();
    } else {
      events_->Clear();
      suppressEvents_ = true;
      events_->Stop();
      int32_t ignored = 0;
      core_->ClearOutput(&ignored);
    }
  } catch (...) {
    // The device stays as it was, and so does the client.
    clients_->Update(client, [enable](ClientSlot& s) { s.enabled = !enable; });
    errorString_ = u"ErrorCode:0";
    return kFailure;
  }
  return kSuccess;
}

HRESULT CQELOposPrinterSO::CloseService(int32_t* pRC) {
  *pRC = kSuccess;
  resultCode_ = kSuccess;
  if (!open_) {
    *pRC = kClosed;
    resultCode_ = kClosed;
    return S_OK;
  }
  if (Target()->clients_ == nullptr) {
    *pRC = kFailure;
    return S_OK;
  }
  if (enabled_) {
    *pRC = Target()->EnableFor(this, false);
    if (*pRC != kSuccess) return S_OK;
    enabled_ = false;
  }
  if (claimed_) {
    ReleaseDevice(pRC);
    if (*pRC != kSuccess) return S_OK;
  }
  CQELOposPrinterSO* owner = owner_;
  Target()->DetachClient(this);
  open_ = false;
  freezeEvents_ = false;
  if (owner != nullptr) {
    owner_ = nullptr;
    owner->Release();
  }
  resultCode_ = kSuccess;
  return S_OK;
}

void CQELOposPrinterSO::DetachClient(CQELOposPrinterSO* client) {
  if (!clients_) return;
  clients_->Detach(client);
  if (!clients_->AnyOpen()) {
    DestroyCore();
  } else {
    ApplyFreeze();  // the one who left may have been the last unfrozen client
  }
}

HRESULT CQELOposPrinterSO::COFreezeEvents(int32_t freeze, int32_t* pRC) {
  // Any non-zero value freezes: control objects pass VARIANT_TRUE, which is -1.
  freezeEvents_ = freeze != 0;
  CQELOposPrinterSO* target = Target();
  if (!open_ || !target->clients_) {
    *pRC = kFailure;
    return S_OK;
  }
  const bool frozen = freezeEvents_;
  target->clients_->Update(this, [frozen](ClientSlot& s) { s.frozen = frozen; });
  target->ApplyFreeze();
  *pRC = kSuccess;
  return S_OK;
}

void CQELOposPrinterSO::ApplyFreeze() {
  if (!clients_ || !events_) return;
  if (clients_->AllFrozen()) {
    events_->Suspend();
  } else {
    events_->Resume();
  }
}

}  // namespace COM
}  // namespace QEL
