#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {
// Release waits up to 5 s for a send or poll in flight to let go of the port.
constexpr int kReleaseLockRetries = 50;
constexpr uint32_t kLockPauseMs = 100;
// The printer needs a moment after ESC @ before it takes further commands.
constexpr uint32_t kInitializeSettleMs = 100;
constexpr uint32_t kWorkerStopWaitMs = 5000;
}  // namespace

CPrinterBase::CPrinterBase() = default;

CPrinterBase::~CPrinterBase() {
  // A core destroyed without CloseService must not leave a worker polling
  // through it.
  if (eventObject_) eventObject_->SetEventsOn(false);
  if (worker_) {
    // A worker that outlives the join must not report into a core that is gone.
    worker_->SetOutputFailureReporter(nullptr);
    worker_->StopAndJoin(kWorkerStopWaitMs);
  }
}

void CPrinterBase::AttachPort(std::shared_ptr<IO::IPort> port) {
  port_ = std::make_shared<CPrinterPort>(std::move(port), clock_);
}

void CPrinterBase::SetClock(std::shared_ptr<platform::Clock> clock) {
  if (!clock) return;
  clock_ = std::move(clock);
  if (port_) port_->SetClock(clock_);
}

long CPrinterBase::OpenServiceW(const std::u16string& /*deviceName*/, IPrinterEventHandle* handle,
                                int32_t* result) {
  if (!opened_) {
    if (!port_ || !port_->probe()) {
      if (result != nullptr) *result = kOpenPortUnusable;
      return 0;
    }
    if (result != nullptr) *result = 0;
    try {
      eventObject_ = std::make_shared<CPrinterEventObject>(handle);
      if (worker_) worker_->StopAndJoin(kWorkerStopWaitMs);
      worker_ = std::make_shared<CPrinterTaskThreadContext>(port_, eventObject_);
      worker_->SetClock(clock_);
      worker_->Init(worker_);
      worker_->SetOutputFailureReporter(
          [this](int32_t, CPrinterOutTask::Failure failure) { ReportOutputFailure(failure); });
      IO::IPortSettings* settings = port_->Port()->GetSettings();
      const std::u16string type = settings != nullptr ? settings->GetPortType() : std::u16string();
      isUsb_ = type == u"USB";
      isSerial_ = type == u"COM";
      isParallel_ = type == u"LPT";
      isNetwork_ = type == u"TCP/IP";
      portReadBack_ = port_->Port()->QueryReadBack();
      bidirectional_ = 1;
      useAsb_ = 0;
    } catch (...) {
      eventObject_.reset();
      worker_.reset();
      SetRC(OPOS_E_OPEN_FAILED);
      return 0;
    }
  }
  SetProperty_Open();
  claimed_ = 0;
  enabled_ = 0;
  opened_ = 1;
  return 0;
}

void CPrinterBase::SetProperty_Open() {
  resultCode_ = 0;
  resultCodeExtended_ = 0;
  openTick_ = clock_->NowMs();
  // Until the first evaluation the paper counts as out and near its end.
  {
    std::lock_guard<std::mutex> lock(statusMutex_);
    status_ = tagPrinterStatus();
    status_.paperOut = 1;
    status_.nearEnd = 1;
    statusEvaluated_ = false;
  }
  props_.binaryConversion = 0;
  props_.mapMode = 1;
  props_.errorStation = 2;
  props_.errorLevel = 1;
  errorCode_ = 0;
  errorInformation_.clear();
  props_.errorString.clear();
  props_.rotateSpecial = 1;
  props_.pageModeHorizontalPosition = 0;
  props_.pageModePrintDirection = 1;
  props_.pageModeStation = 0;
  props_.pageModeVerticalPosition = 0;
  props_.printAreaX = props_.printAreaY = props_.printAreaWidth = props_.printAreaHeight = 0;
  props_.pageModePrintArea = u"0,0,0,0";
  props_.recLineChars = 48;
  modes_ = OutputModes();
  pending_.Clear();
  props_.characterSet = 437;
  props_.recLetterQuality = 0;
  props_.recLineWidth = 576;
  props_.recSidewaysMaxChars = 138;
  props_.recSidewaysMaxLines = 17;
  currentFont_ = 0;
  charWidth_ = traits_.fonts[0].width;
  charHeight_ = traits_.fonts[0].height;
  props_.recLineHeight = charHeight_;
  props_.recLineSpacing = charHeight_ * 3 / 2;
  props_.recLinesToPaperCut = 5;
  ResetBitmapsAtOpen();
  // MapMode is back to dots: the area texts must say so too.
  RewriteAreaTexts();
}

long CPrinterBase::ClaimDevice(int32_t timeout, int32_t* result) {
  if (!opened_) {
    SetRC(OPOS_E_CLOSED);
    if (result != nullptr) *result = OPOS_E_CLOSED;
    return 0;
  }
  if ((result != nullptr && *result != 0) || claimed_) return 0;

  claimTimeout_ = timeout;
  SetRC(OPOS_E_ILLEGAL);
  if (result != nullptr) *result = OPOS_E_ILLEGAL;
  if (!port_ || !port_->openForClaim(result)) return 0;

  claimed_ = 1;
  ExecuteClaimDevice();  // a printer that does not answer is still claimed
  SetRC(OPOS_SUCCESS);
  if (result != nullptr) *result = OPOS_SUCCESS;
  return 0;
}

int32_t CPrinterBase::ExecuteClaimDevice() {
  CCmdHelperBase* helper = cmdHelper_;
  if (helper == nullptr) return OPOS_E_FAILURE;
  commandBuffer_.clear();
  helper->InitializePrinter(commandBuffer_);
  int32_t rc = DirectSend(commandBuffer_, 0, 7);
  if (rc != 0) return rc;

  clock_->SleepMs(kInitializeSettleMs);

  commandBuffer_.clear();
  helper->SelectPeripheral(commandBuffer_, true);
  helper->SelectStopSensors(commandBuffer_, 252);
  helper->SelectPaperEndSensors(commandBuffer_, 0);
  helper->SetKanjiMode(commandBuffer_, true);
  rc = DirectSend(commandBuffer_, 0, 7);
  if (rc != 0) return rc;

  bidirectional_ = IsSupportBidi();
  if (!bidirectional_ && (isParallel_ || portReadBack_ != 0)) {
    commandBuffer_.clear();
    helper->RequestStatus(commandBuffer_, 1);
    uint8_t answer = 0;
    int32_t received = 0;
    SendAndReadData(commandBuffer_, &answer, 0, 1, &received);
    bidirectional_ = received > 0 ? 1 : 0;
  }
  commandBuffer_.clear();

  useAsb_ = (asbConfigured_ && bidirectional_ && (isSerial_ || isNetwork_ || isParallel_)) ? 1 : 0;

  if (bidirectional_ && refreshInfoAtClaim_) return RefreshPrinterInfo();
  return 0;
}

int32_t CPrinterBase::DeviceEnable(int32_t enable) {
  const int32_t wanted = enable ? 1 : 0;
  if (!opened_ || !claimed_ || wanted == enabled_) return 0;
  enabled_ = wanted;
  if (!wanted) {
    Disable();
    return 1;
  }
  if (!port_ || cmdHelper_ == nullptr) return 0;

  CCmdHelperBase* helper = cmdHelper_;
  commandBuffer_.clear();
  helper->SelectPeripheral(commandBuffer_, true);
  int32_t spacing = props_.recLineSpacing;
  if (!modes_.Sideways()) spacing = H2V(props_.recLineSpacing);
  helper->SetLineSpacing(commandBuffer_, static_cast<uint8_t>(spacing));
  helper->ResetTextFormat(commandBuffer_);
  DirectSend(commandBuffer_, 0, 7);
  commandBuffer_.clear();
  if (eventObject_) eventObject_->SetEventsOn(true);

  if (useAsb_) {
    if (!isSerial_) {
      // Read the state once before the printer starts pushing it.
      useAsb_ = 0;
      GetPrinterState(true);
      useAsb_ = 1;
    }
    helper->SetAsbAll(commandBuffer_, true);
    DirectSend(commandBuffer_, 0, 7);
    commandBuffer_.clear();
    if (isSerial_) GetPrinterState(true);
  } else {
    GetPrinterState(true);
  }

  StartWorker();
  return 1;
}

void CPrinterBase::Disable() {
  SuspendWorker();
  if (eventObject_) eventObject_->SetEventsOn(false);
  int32_t ignored = 0;
  ClearOutput(&ignored);
}

long CPrinterBase::ReleaseDevice(int32_t* result) {
  if (result != nullptr) *result = 0;
  if (enabled_ && opened_) {
    if (!claimed_) return 0;
    enabled_ = 0;
    Disable();
  }
  if (!claimed_) return 0;
  claimed_ = 0;

  commandBuffer_.clear();
  if (cmdHelper_ != nullptr) cmdHelper_->SetAsbAll(commandBuffer_, false);
  if (port_) {
    if (!commandBuffer_.isEmpty()) {
      port_->write(commandBuffer_.data(), 0, static_cast<int32_t>(commandBuffer_.size()));
    }
    commandBuffer_.clear();
    PortLockHolder lock(*port_, kReleaseLockRetries, kLockPauseMs);
    if (lock.Held()) {
      port_->close();
      return 0;
    }
  }
  commandBuffer_.clear();
  if (result != nullptr) *result = OPOS_E_BUSY;
  errorInformation_ = u"Cann't close port!";
  return 0;
}

long CPrinterBase::CloseService(int32_t* result) {
  if (!opened_) return 0;
  if (enabled_ && claimed_) {
    enabled_ = 0;
    Disable();
  }
  if (claimed_) ReleaseDevice(result);
  if (worker_) worker_->SetOutputFailureReporter(nullptr);
  StopWorker();
  worker_.reset();
  port_.reset();
  opened_ = 0;
  return 0;
}

bool CPrinterBase::IsIdle() const { return !worker_ || worker_->Count() == 0; }

bool CPrinterBase::IsBusy() const {
  return !modes_.transaction && props_.asyncMode == 0 && !IsIdle();
}

void CPrinterBase::StartWorker() {
  if (worker_) worker_->Start();
}

void CPrinterBase::SuspendWorker() {
  if (worker_) worker_->Suspend();
}

void CPrinterBase::StopWorker() {
  // Bounded: a task in flight gives up on the port within its own limits,
  // and a worker that overruns keeps its own reference to the context.
  if (worker_) worker_->StopAndJoin(kWorkerStopWaitMs);
}

void CPrinterBase::PauseWorkerPolling() {
  if (worker_) worker_->PausePolling();
}

void CPrinterBase::ResumeWorkerPolling() {
  if (worker_) worker_->ResumePolling();
}

bool CPrinterBase::IsInErrorState() const {
  // A queued job that could not be written waits for Retry or ClearOutput.
  if (worker_ && worker_->Held()) return true;
  const tagPrinterStatus known = KnownStatus();
  return known.coverOpen != 0 || known.paperOut != 0;
}

tagPrinterStatus CPrinterBase::KnownStatus() const {
  std::lock_guard<std::mutex> lock(statusMutex_);
  return status_;
}

int32_t CPrinterBase::SetRC(int32_t rc) {
  if (rc <= 200) {
    resultCode_ = rc;
    resultCodeExtended_ = 0;
  } else {
    resultCode_ = OPOS_E_EXTENDED;
    resultCodeExtended_ = rc;
  }
  return resultCode_;
}

}  // namespace Printer
}  // namespace QEL
