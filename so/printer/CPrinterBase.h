#pragma once
// The OPOS device life cycle of one POS printer: port attached, service
// opened, device claimed, enabled, disabled, released, closed. The COM layer
// owns one model object derived from this class.
//
// Every OPOS-facing operation returns 0 and reports its OPOS result through
// its last argument and, where the operation says so, ResultCode and
// ResultCodeExtended.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "so/base/PrinterBuffer.h"
#include "so/format/BitmapRaster.h"
#include "so/format/CCmdHelperBase.h"
#include "so/format/EscapeSequenceFormatter.h"
#include "so/format/PrinterStatus.h"
#include "so/format/StatusUpdateValues.h"
#include "so/io/IPort.h"
#include "so/io/IPortSettings.h"
#include "so/printer/CPrinterEventObject.h"
#include "so/printer/CPrinterPort.h"
#include "so/printer/CPrinterTaskThreadContext.h"
#include "so/printer/IPrinterEventHandle.h"
#include "so/printer/OposResults.h"
#include "so/printer/PrinterModelTraits.h"
#include "so/printer/PrinterProperties.h"

namespace platform {
struct RgbImage;
}  // namespace platform

namespace QEL {
namespace Printer {

class CPrinterBase {
 public:
  CPrinterBase();
  virtual ~CPrinterBase();
  CPrinterBase(const CPrinterBase&) = delete;
  CPrinterBase& operator=(const CPrinterBase&) = delete;

  // --- life cycle ---
  // Builds the port for these settings and replaces the current one.
  // Throws what the port factory throws (2401 for an unknown port type).
  long SetPortSettings(IO::IPortSettings* settings, int32_t* result);
  // Replaces the current port with an already built one.
  void AttachPort(std::shared_ptr<IO::IPort> port);
  // The clock of every pause, retry and reply time limit of this core, its
  // port and its worker (the system's unless set). Before OpenServiceW.
  void SetClock(std::shared_ptr<platform::Clock> clock);
  const std::shared_ptr<platform::Clock>& Clock() const { return clock_; }
  long OpenServiceW(const std::u16string& deviceName, IPrinterEventHandle* handle,
                    int32_t* result);
  long ClaimDevice(int32_t timeout, int32_t* result);
  int32_t ExecuteClaimDevice();
  int32_t DeviceEnable(int32_t enable);
  long ReleaseDevice(int32_t* result);
  long CloseService(int32_t* result);

  bool IsOpened() const { return opened_ != 0; }
  bool IsClaimed() const { return claimed_ != 0; }
  bool IsEnabled() const { return enabled_ != 0; }
  bool IsIdle() const;
  bool IsBusy() const;
  bool IsInErrorState() const;

  // --- results ---
  int32_t SetRC(int32_t rc);
  int32_t ResultCode() const { return resultCode_; }
  int32_t ResultCodeExtended() const { return resultCodeExtended_; }
  int32_t ErrorCode() const { return errorCode_; }
  std::u16string ErrorInformation() const { return errorInformation_; }
  static const char* GetStatusString(int32_t code) { return QEL::Printer::GetStatusString(code); }

  // --- properties ---
  long GetPropertyNumber(int32_t index, int32_t* value);
  long SetPropertyNumber(int32_t index, int32_t value, int32_t* result);
  long GetPropertyString(int32_t index, std::u16string* text);
  long SetPropertyString(int32_t index, const std::u16string& text, int32_t* result);
  const PrinterProperties& Properties() const { return props_; }
  const PrinterModelTraits& Traits() const { return traits_; }
  const PendingSettings& Pending() const { return pending_; }
  const OutputModes& Modes() const { return modes_; }

  // --- fonts and line metrics ---
  // Picks the font for n characters per line; 0 or 114 with 300 extended.
  int32_t SetRecLineChars(int32_t n);
  // The font for n characters per line, or -1 when none is narrow enough.
  int32_t SelectFont(int32_t n) const;
  int32_t SelectMinFont() const;
  void SetFont(int32_t font);
  int32_t CurrentFont() const { return currentFont_; }

  // --- barcodes and placed objects (CPrinterBaseBarcode.cpp, CPrinterBaseObject.cpp) ---
  long PrintBarCode(int32_t station, const std::u16string& data, int32_t symbology,
                    int32_t height, int32_t width, int32_t alignment, int32_t textPosition,
                    int32_t* result);
  // Appends the placed symbol commands for already converted data: 0, 106,
  // or 111 when the symbol encoder failed (its text in ErrorString).
  int32_t FormatBarcode(PrinterBuffer& out, const uint8_t* data, size_t length,
                        int32_t symbology, int32_t height, int32_t width, int32_t alignment,
                        int32_t textPosition);
  // Why the symbol encoder refused the last barcode; empty when it did not.
  const std::u16string& SymbolEncoderText() const { return symbolEncoderText_; }
  // ESC|#R inside print data: the sequence's parameters as the application
  // wrote them. With validateOnly nothing is appended.
  SequenceOutcome PrintBarcodeSequence(PrinterBuffer& out, const uint8_t* parameters,
                                       size_t length, bool validateOnly);
  // Before a barcode or bitmap is placed: the cover and the paper checked,
  // and in page mode the print area settled. False when nothing is to be
  // placed; *rc then says why (0 for a page without an area).
  bool ReadyToPlaceObject(int32_t* rc);
  // Appends a barcode's or bitmap's commands with their placement for the
  // current mode: justification 0 left, 1 centre, 2 right, 255 at xOffset.
  int32_t FormatObject(PrinterBuffer& out, const PrinterBuffer& object, int32_t width,
                       int32_t height, int32_t justification, int32_t xOffset,
                       bool rotateObject);
  // The page-mode and rotated form of placing a piece of `width` dots for
  // alignment 'l', 'c' or 'r' (implemented in CPrinterBaseObject.cpp): the
  // reference width is the widest line while rotated, else the print area's
  // width (its height in a turned page direction).
  void SelectHPos(PrinterBuffer& buffer, char alignment, int32_t width);

  // --- bitmaps and logos (CPrinterBaseBitmap.cpp, CPrinterBaseBitmapSlots.cpp,
  //     CPrinterBaseLogo.cpp) ---
  long PrintBitmap(int32_t station, const std::u16string& fileName, int32_t width,
                   int32_t alignment, int32_t* result);
  // Prepares bitmap 1..20 for ESC|#B. One image per open may go into the
  // printer's downloaded bit-image memory (sent at once); the rest are kept
  // here as raster commands.
  long SetBitmap(int32_t number, int32_t station, const std::u16string& fileName, int32_t width,
                 int32_t alignment, int32_t* result);
  // Location 1 top, 2 bottom: the data is formatted now and printed
  // unchanged by ESC|tL and ESC|bL.
  long SetLogo(int32_t location, const std::u16string& data, int32_t* result);
  long PrintMemoryBitmap(int32_t station, const std::u16string& data, int32_t type,
                         int32_t width, int32_t alignment, int32_t* result);
  // The size in dots the image in `file` prints at for requestedWidth dots
  // (-11: its own width), both rounded up to `rounding`: 0, 109 (no such
  // file) or 106 (not an image, or an unusable width).
  int32_t GetBitmapInfo(const std::u16string& file, int32_t* width, int32_t* height,
                        int32_t requestedWidth, int32_t rounding);
  // The image itself as the printer's raster: 0, 109 or 106 as above.
  int32_t GetBitmapData(const std::u16string& file, MonoRaster* raster, int32_t requestedWidth);
  // Whether an object of this size in dots fits where it would print now.
  bool VerifyObjectSize(int32_t width, int32_t height, int32_t xOffset, bool rotateObject) const;
  // Appends set bitmap `number` with its placement; false (nothing appended)
  // for a number outside 1..20, a slot never set, or no room for it.
  bool FormatSettedBitmap(PrinterBuffer& out, int32_t number);
  // ESC|#B and ESC|tL / ESC|bL inside print data.
  SequenceOutcome PrintStoredBitmap(PrinterBuffer& out, int32_t number, bool validateOnly);
  void AppendLogo(PrinterBuffer& out, LogoPosition position) const;
  // Why the last image could not be read; empty when it could.
  const std::u16string& ImageErrorText() const { return imageErrorText_; }
  // The slot whose image is in the printer's downloaded bit-image memory; 0: none.
  int32_t DownloadedImageSlot() const { return downloadedImageSlot_; }

  // --- page mode and rotation (CPrinterBasePageMode.cpp, CPrinterBaseRotation.cpp) ---
  long PageModePrint(int32_t control, int32_t* result);
  long ClearPrintArea(int32_t* result);
  long RotatePrint(int32_t station, int32_t rotation, int32_t* result);
  // Page mode, or rotated right or left.
  bool IsInPrinterPageMode() const { return modes_.pageMode || modes_.Sideways(); }
  bool IsInRotateMode() const { return modes_.AnyRotation(); }
  // Sideways, or page mode with a turned print direction.
  bool IsInRotate90Mode() const { return modes_.Sideways() || modes_.RotatedPageDirection(); }
  bool PageModePrintAreaIsEffective() const {
    return props_.printAreaWidth != 0 && props_.printAreaHeight != 0;
  }
  // A print area written since it was last sent goes in front of the next
  // output collected in `modeBuffer`.
  void PositionPageArea(PrinterBuffer& modeBuffer);
  int32_t SetRotation(int32_t rotation);
  int32_t SetPageModePrintDirection(int32_t direction);
  int32_t ValidatePageModePrintArea(int32_t x, int32_t y, int32_t width, int32_t height) const;

  // --- map-mode units for the current MapMode and dot pitches ---
  int32_t MapNumber2DOT_H(int32_t value) const;
  int32_t MapNumber2DOT_V(int32_t value) const;
  int32_t DOT2MapNumber_H(int32_t dots) const;
  int32_t DOT2MapNumber_V(int32_t units) const;
  int32_t H2V(int32_t dots) const;

  // --- text to bytes ---
  // Converts text to printer bytes in the code page that CharacterSet and
  // BinaryConversion select. With byteCapacity 0 returns the size needed.
  size_t BStr2Char(const std::u16string& text, char* bytes, size_t byteCapacity,
                   unsigned* codePageOut);
  // Converts text and appends it with the BinaryConversion decoding.
  bool DataBinaryConversion(const std::u16string& text, PrinterBuffer& out);
  // Converts text into converted_ (BStr2Char then the binary conversion),
  // reporting the code page used; false when the text does not convert.
  bool ConvertPrintData(const std::u16string& text, PrinterBuffer& out, unsigned* codePage);

  // --- printing (OPOS methods; each stores its result in ResultCode) ---
  long PrintNormal(int32_t station, const std::u16string& data, int32_t* result);
  long PrintImmediate(int32_t station, const std::u16string& data, int32_t* result);
  long PrintTwoNormal(int32_t stations, const std::u16string& data1, const std::u16string& data2,
                      int32_t* result);
  long ValidateData(int32_t station, const std::u16string& data, int32_t* result);
  long CutPaper(int32_t percentage, int32_t* result);
  long PrintLine(int32_t station, const std::u16string& positionList, int32_t* result);
  long PrintCurveText(int32_t station, int32_t m, int32_t n, const std::u16string& data,
                      int32_t* result);
  long DrawRuledLine(int32_t station, const std::u16string& positionList, int32_t direction,
                     int32_t lineWidth, int32_t lineStyle, int32_t lineColor, int32_t* result);
  long DirectIO(int32_t command, int32_t* number, std::u16string* text, int32_t* result);
  // Raw printer bytes the way direct I/O command 100 sends them: into an open
  // transaction, else straight to the printer.
  void DirectIOBytes(const uint8_t* bytes, size_t length);

  // --- health check (CPrinterBaseHealth.cpp) ---
  // Level 1 internal, 2 external (prints a report), 3 interactive (asks the
  // user first, then as 2). Leaves its verdict in CheckHealthText.
  long CheckHealth(int32_t level, int32_t* result);
  // What the interactive level shows and waits on: a modal box with an OK
  // button (platform::ShowConfirmation unless replaced, as tests do).
  using Confirmation = std::function<void(const std::u16string& title, const std::u16string& text)>;
  void SetInteractiveConfirmation(Confirmation confirm);
  // The maker and firmware texts the health report prints.
  const std::u16string& MakerText() const { return makerText_; }
  const std::u16string& FirmwareText() const { return firmwareText_; }

  // --- what a receipt printer does not do (CPrinterBaseUnsupported.cpp) ---
  // Each answers 114 with 300 extended, in ResultCode and in its result.
  long RetrieveStatistics(std::u16string* statistics, int32_t* result);
  long UpdateStatistics(const std::u16string& statistics, int32_t* result);
  long ResetStatistics(const std::u16string& statistics, int32_t* result);
  long CompareFirmwareVersion(const std::u16string& fileName, int32_t* comparison,
                              int32_t* result);
  long UpdateFirmware(const std::u16string& fileName, int32_t* result);
  long BeginInsertion(int32_t timeout, int32_t* result);
  long BeginRemoval(int32_t timeout, int32_t* result);
  long EndInsertion(int32_t* result);
  long EndRemoval(int32_t* result);
  long ChangePrintSide(int32_t side, int32_t* result);
  long MarkFeed(int32_t type, int32_t* result);
  int32_t CheckPrinter() { return 0; }

  // The formatter: walks converted print data, turning OPOS escape sequences
  // into printer commands appended to `out`. 0, 106 (a value was replaced) or
  // 111 (an unusable sequence).
  int32_t FormatStringToOutBuffer(PrinterBuffer& out, const uint8_t* in, size_t length,
                                  bool validateOnly);
  // ESC a 0, GS L 0 0, ESC ! 0.
  void ClearFormatInStd(PrinterBuffer& buffer);
  void SelectPrintMode(PrinterBuffer& buffer, bool bold, bool ignored, bool doubleWidth,
                       bool doubleHeight, bool underline, bool fontB);
  // Places a piece of `width` dots on the line for alignment 'c', 'r' or 'l'.
  void SelectHPosInStd(PrinterBuffer& buffer, char alignment, int32_t width);

  // --- output to the port ---
  // Hands a finished job to the printer: at once, or queued with the next
  // OutputID in asynchronous mode.
  int32_t Send(PrinterBuffer& buffer, int32_t toFront);
  int32_t DirectSend(PrinterBuffer& buffer, int32_t expectReply, uint8_t replyLength);
  long TransactionPrint(int32_t station, int32_t control, int32_t* result);
  // Sends a job held after a failed write once more (and resumes the worker).
  void Retry();
  // The codes an asynchronous job that could not be written is reported
  // with: 114 with 201 or 203 for a printer known to have its cover open or
  // no paper, else what a synchronous write would answer (107; 113 when the
  // port lock stayed taken).
  void OutputFailureCodes(CPrinterOutTask::Failure failure, int32_t* resultCode,
                          int32_t* resultCodeExtended) const;
  // The output admission rule of every print operation: 0, or the refusal
  // (113, or 114 with 201/203) already stored in ResultCode.
  int32_t CheckOutputAdmission(bool collecting);
  // The cover and paper half of the rule (synchronous mode only).
  int32_t CheckCoverAndPaper();
  bool IsDirectSend() const;
  // The buffer output is collected in for the current mode, or null.
  PrinterBuffer* CurrentPrinterBuffer();
  // Puts pending setting changes in front of a job.
  void set_printerSettings(PrinterBuffer& buffer);
  // The job prologue; mode 1 also enters page mode, mode 3 does not.
  void InitOutBufferWithPMControl(PrinterBuffer& buffer, int32_t mode);
  std::shared_ptr<CPrinterTaskThreadContext> Worker() const { return worker_; }
  const PrinterBuffer& TransactionBuffer() const { return transactionBuffer_; }
  int32_t SendAndReadData(PrinterBuffer& buffer, uint8_t* destination, int32_t offset,
                          int32_t count, int32_t* received);
  long ClearOutput(int32_t* result);

  // --- printer status ---
  // Reads the printer's state and raises what changed: -1 when the printer
  // cannot be asked, else 0.
  virtual int32_t GetPrinterState(bool initial);
  bool GetPrinterStateByASB(tagPrinterStatus* status);
  bool GetPrinterStateByRealTime(tagPrinterStatus* status);
  bool GetPrinterStateBySendCmd(tagPrinterStatus* status);
  void ClearUnReadDataInPrinter();
  void RaiseStateUpdateEvent(int32_t value);
  tagPrinterStatus KnownStatus() const;
  // The service modes are switched on the callers' thread while the worker
  // polls, hence the atomic updates.
  void SetPrinterMode(bool on) { SetServiceMode(1, on); }
  void SetCashDrawerMode(bool on) { SetServiceMode(2, on); }
  void SetDrawerOpenLevel(int32_t level) { drawerOpenLevel_ = level; }

  // --- cash drawer on the kick-out connector (CPrinterBaseDrawer.cpp) ---
  // What a drawer's device key says about it. Several drawers may share this
  // core, so each loads its own settings before every drawer operation.
  struct DrawerSettings {
    int32_t pinMask = 1;           // bit 0: kick-out output 0, bit 1: output 1
    int32_t openVoltage = 0;       // non-zero: a sensor reading of 1 means open
    int32_t statusCapability = 0;  // whether the sensor can be read back
    int32_t onTime = 25;           // pulse times; only the low byte is sent
    int32_t offTime = 255;
    int32_t closeWaitMs = 0;       // longest WaitForDrawerClose
  };
  // Stores the settings unchanged, makes the sensor level that means "open"
  // the one the status evaluation uses, and switches cash-drawer mode on.
  void SetupCashDrawer(int32_t pinMask, int32_t openVoltage, int32_t statusCapability,
                       int32_t onTime, int32_t offTime, int32_t closeWaitMs);
  DrawerSettings Drawer() const;
  // Pulses the drawer's outputs in one write; with the status capability,
  // then looks whether it opened (which does not change the result).
  long OpenDrawer(int32_t* result);
  // Polls the drawer every 300 ms until it is closed or the close-wait limit
  // passed (112), sounding the buzzer after beepTimeout and then every
  // 2 x (beepDelay + beepDuration) on models that have one.
  long WaitForDrawerClose(int32_t beepTimeout, int32_t beepFrequency, int32_t beepDuration,
                          int32_t beepDelay, int32_t* result);
  // Asks the printer for the drawer sensor. When it cannot be asked or does
  // not answer, the state the status monitoring knows, with replyReceived false.
  bool GetDrawerOpenState(bool clearFirst, bool* replyReceived = nullptr);

  // --- replies from the printer ---
  int32_t SendAndReadString(PrinterBuffer& buffer, uint8_t* destination, int32_t offset,
                            int32_t maximum, uint8_t endByte, int32_t* received);
  int32_t SendAndReadString(PrinterBuffer& buffer, uint8_t* destination, int32_t offset,
                            int32_t maximum, uint8_t startByte, uint8_t endByte,
                            int32_t* received);
  int32_t ReadData(uint8_t* destination, int32_t offset, int32_t maximum, uint8_t startByte,
                   uint8_t endByte, int32_t* received, uint32_t limitMs);
  int32_t ReadData(uint8_t* destination, int32_t offset, int32_t maximum, uint8_t endByte,
                   int32_t* received, uint32_t limitMs);
  int32_t ReadData(uint8_t* destination, int32_t offset, int32_t count, int32_t* received,
                   uint32_t limitMs);

  // --- facts a test or the COM layer may inspect ---
  int32_t Bidirectional() const { return bidirectional_; }
  int32_t UseAsb() const { return useAsb_; }
  int32_t ClaimTimeout() const { return claimTimeout_; }
  bool IsUsb() const { return isUsb_; }
  bool IsSerial() const { return isSerial_; }
  bool IsParallel() const { return isParallel_; }
  bool IsNetwork() const { return isNetwork_; }
  int32_t CharacterSet() const { return props_.characterSet; }
  void SetCharacterSetValue(int32_t value) { props_.characterSet = value; }
  int32_t BinaryConversion() const { return props_.binaryConversion; }
  void SetBinaryConversion(int32_t value) { props_.binaryConversion = value; }
  // The QX1270 family speaks its own framed protocol and has no queued output.
  bool IsQX1270Family() const { return modelName_.compare(0, 6, u"QX1270") == 0; }
  const std::u16string& ModelName() const { return modelName_; }
  CPrinterEventObject* EventObject() const { return eventObject_.get(); }
  std::shared_ptr<CPrinterPort> PrinterPort() const { return port_; }
  CCmdHelperBase* CmdHelper() const { return cmdHelper_; }
  int32_t PortReadBack() const { return portReadBack_; }

 protected:
  // --- what a printer model supplies ---
  // Points the core at the command helper the model embeds.
  virtual void InitCmdHelper() = 0;
  virtual int32_t IsSupportBidi() = 0;
  // Resets the properties at every open; models call this first.
  virtual void SetProperty_Open();
  // Reads firmware, maker, model name and cutter from the printer at claim
  // (CPrinterBasePrinterInfo.cpp); stops at the first exchange that fails.
  virtual int32_t RefreshPrinterInfo();

  // --- the worker thread of this core ---
  virtual void StartWorker();
  virtual void SuspendWorker();
  virtual void StopWorker();
  void PauseWorkerPolling();
  void ResumeWorkerPolling();
  // The worker's report of a queued job it could not write (worker thread).
  void ReportOutputFailure(CPrinterOutTask::Failure failure);

  // Sends a finished job; the result as PrintNormal reports it.
  int32_t FinishJob(PrinterBuffer& job);
  // Where a cut, ruled line or curved text goes: the transaction, the mode
  // buffer, or a fresh job; and the send that follows for a fresh job.
  PrinterBuffer& OutputTarget();
  int32_t SendIfDirect(PrinterBuffer& target);
  // The common checks of PrintLine and PrintCurveText; converts the data.
  int32_t CheckRuledLineCall(const std::u16string& data, size_t minimumBytes,
                             PrinterBuffer& converted);
  // Ends page mode and any rotation before a transaction starts or ends.
  void LeaveCollectingModes();
  // The disable half of DeviceEnable, shared with release and close.
  void Disable();

  // Name, description and firmware text a model starts with; the printer's
  // own answers replace maker and firmware when its information is read.
  void SetModelIdentity(const std::u16string& modelName, const char16_t* description,
                        const char16_t* firmware) {
    props_.deviceDescription = description;
    makerText_ = u"VORNA";
    firmwareText_ = firmware;
    modelName_ = modelName;
    props_.deviceName = modelName;
    deviceName_ = modelName;
  }
  void ClearUseAsb() { useAsb_ = 0; }
  void MarkBidirectional() { bidirectional_ = 1; }
  // Compares a reading with the known state (held under statusMutex_) and
  // lists the StatusUpdate values to raise.
  void Evaluate(const tagPrinterStatus& work, bool initial, std::vector<int32_t>* events);
  void SetServiceMode(int32_t bit, bool on) {
    if (on) {
      serviceModes_ |= bit;
    } else {
      serviceModes_ &= ~bit;
    }
  }
  // Turns a reading into the known state and raises what changed.
  void ApplyReading(tagPrinterStatus work, bool printerReading, bool initial);
  // Sorts bytes read from a printer that pushes its status: complete status
  // packets are applied; the last byte outside them is the answer to a
  // request, if any.
  bool TakeStatusPushes(const uint8_t* bytes, int32_t count, uint8_t* answer);
  // Selects the model's default font as every open does.
  void SelectDefaultFont();
  // Rewrites PageModeArea and PageModePrintArea in the current MapMode.
  void RewriteAreaTexts();
  int32_t SetPageModePrintAreaText(const std::u16string& text);
  int32_t SetCharacterSetProperty(int32_t value);

  CCmdHelperBase* cmdHelper_ = nullptr;  // embedded in the model object

  // Model configuration.
  std::u16string modelName_;
  std::u16string deviceName_;
  std::u16string makerText_;
  std::u16string firmwareText_;
  int32_t asbConfigured_ = 0;
  int32_t refreshInfoAtClaim_ = 0;
  PrinterModelTraits traits_;

  PrinterProperties props_;
  PendingSettings pending_;
  OutputModes modes_;
  // Written by whichever thread evaluates (the caller at enable, the worker
  // when polling), read by property reads and the admission rule.
  mutable std::mutex statusMutex_;
  tagPrinterStatus status_;
  bool statusEvaluated_ = false;
  int32_t smoothing_ = 0;

  PrinterBuffer transactionBuffer_{2048, 32};
  PrinterBuffer pageModeBuffer_{2048, 32};
  // The sideways buffer: text and objects printed rotated.
  PrinterBuffer rotationBuffer_{2048, 32};
  // Barcodes and bitmaps without their rotation flag inside a sideways job.
  PrinterBuffer unrotatedObjectBuffer_{512, 32};
  // Where text and objects stand while a page or a sideways job is composed.
  struct PageLayout {
    bool lineHasContent = false;
    bool firstLine = true;
    int32_t widestLine = 0;
    int32_t horizontalPosition = 0;
    int32_t heightUsed = 0;
    // Across the paper: what a sideways job has put down so far.
    int32_t sidewaysHeight = 0;
    void Reset() { *this = PageLayout(); }
  };
  PageLayout layout_;
  // One barcode's symbol commands, and the same placed for the current mode;
  // reused by every call.
  PrinterBuffer symbolCommands_{512, 32};
  PrinterBuffer symbolBuffer_{512, 32};
  PrinterBuffer objectPrefix_{32, 32};
  PrinterBuffer objectSuffix_{32, 32};
  // --- bitmaps and logos ---
  struct BitmapSlot {
    int32_t number = 0;
    std::u16string fileName;
    int32_t width = 0;   // dots
    int32_t height = 0;  // dots
    int32_t alignment = 0;  // as SetBitmap got it: converted when printed
    bool storedInPrinter = false;
    int32_t state = 0;  // kBitmapSet once set
    PrinterBuffer commands{64, 64};  // what prints the bitmap
  };
  static constexpr int32_t kBitmapSlotCount = 20;
  static constexpr int32_t kBitmapSet = 2;
  // Forgets every bitmap: whatever the printer held may be gone after a
  // reopen, and the downloaded-image memory is free to be used again.
  void ResetBitmapsAtOpen();
  // Reads an image file, leaving the reason for a failure in
  // imageErrorText_ and ErrorInformation: 0, 109 or 106.
  int32_t DecodeBitmapFile(const std::u16string& file, platform::RgbImage* image);
  std::array<BitmapSlot, kBitmapSlotCount> bitmapSlots_;  // bitmap n at n - 1
  int32_t downloadedImageSlot_ = 0;
  std::u16string imageErrorText_;
  PrinterBuffer bitmapObject_{512, 512};
  PrinterBuffer topLogo_{64, 64};
  PrinterBuffer bottomLogo_{64, 64};

  // Where the symbol encoder's last complaint is kept for ErrorString.
  std::u16string symbolEncoderText_;
  PrinterBuffer directIoBuffer_{512, 32};
  PrinterBuffer pendingSettings_{32, 32};
  // Reused by every print call, so formatting does not allocate per call.
  PrinterBuffer formatted_{2048, 32};
  PrinterBuffer jobBuffer_{2048, 32};
  EscapeSequenceFormatter formatter_;
  PrinterBuffer convertedBuffer_{2048, 32};
  std::vector<char> converted_;
  bool kanjiMode_ = false;
  uint8_t lastPrintMode_ = 0;
  uint8_t lastKanjiPrintMode_ = 0;
  std::atomic<int32_t> serviceModes_{0};
  std::atomic<int32_t> drawerOpenLevel_{1};
  int32_t currentFont_ = 0;
  int32_t charWidth_ = 12;
  int32_t charHeight_ = 24;
  uint32_t openTick_ = 0;

  PrinterBuffer commandBuffer_{2048, 32};
  uint8_t replyArea_[256] = {};
  uint8_t readBackArea_[255] = {};
  Confirmation confirm_;

  // The drawer's settings are read by the worker's poll as well.
  mutable std::mutex drawerMutex_;
  DrawerSettings drawer_;
  PrinterBuffer drawerBuffer_{32, 32};
  PrinterBuffer beepBuffer_{32, 32};
  // Built on first use, under the port lock.
  uint8_t drawerRequest_[3] = {};
  bool drawerRequestBuilt_ = false;

 private:
  // The formatter's view of this core (CPrinterBaseFormatter.cpp).
  class FormatterHost;
  // The core's half of page-mode text layout (CPrinterBasePageLayout.cpp):
  // how long lines may grow, and the feeds and placement in front of each
  // line as the formatter closes it; a sideways job only measures its lines.
  PageLineRoom PageModeLineRoom() const;
  bool PlacePageModeLine(PrinterBuffer& out, const PageModeLine& line);
  void NoteSidewaysLine(const PageModeLine& line);
  // Prints what a sideways job collected as a page of its own (SetRotation).
  void FlushSidewaysJob(int32_t rotation);
  // Prints the composed page, into the transaction or as a job of its own.
  void PrintPage(bool keep);

  int32_t opened_ = 0;
  int32_t claimed_ = 0;
  int32_t enabled_ = 0;
  int32_t claimTimeout_ = 0;

  bool isUsb_ = false;
  bool isSerial_ = false;
  bool isParallel_ = false;
  bool isNetwork_ = false;
  int32_t portReadBack_ = 0;
  int32_t bidirectional_ = 0;
  int32_t useAsb_ = 0;

  int32_t resultCode_ = 0;
  int32_t resultCodeExtended_ = 0;
  int32_t errorCode_ = 0;
  std::u16string errorInformation_;

  std::shared_ptr<platform::Clock> clock_ = platform::SystemClock();
  std::shared_ptr<CPrinterPort> port_;
  std::shared_ptr<CPrinterEventObject> eventObject_;
  std::shared_ptr<CPrinterTaskThreadContext> worker_;
};

}  // namespace Printer
}  // namespace QEL
