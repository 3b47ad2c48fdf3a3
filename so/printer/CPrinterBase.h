#pragma once
// The OPOS device life cycle of one POS printer: port attached, service
// opened, device claimed, enabled, disabled, released, closed. The COM layer
// owns one model object derived from this class.
//
// Every OPOS-facing operation returns 0 and reports its OPOS result through
// its last argument and, where the operation says so, ResultCode and
// ResultCodeExtended.
#include <cstdint>
#include <memory>
#include <string>

#include "so/base/PrinterBuffer.h"
#include "so/format/CCmdHelperBase.h"
#include "so/io/IPort.h"
#include "so/io/IPortSettings.h"
#include "so/printer/CPrinterEventObject.h"
#include "so/printer/CPrinterPort.h"
#include "so/printer/IPrinterEventHandle.h"
#include "so/printer/OposResults.h"

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

  // --- text to bytes ---
  // Converts text to printer bytes in the code page that CharacterSet and
  // BinaryConversion select. With byteCapacity 0 returns the size needed.
  size_t BStr2Char(const std::u16string& text, char* bytes, size_t byteCapacity,
                   unsigned* codePageOut);
  // Converts text and appends it with the BinaryConversion decoding.
  bool DataBinaryConversion(const std::u16string& text, PrinterBuffer& out);

  // --- output to the port ---
  int32_t DirectSend(PrinterBuffer& buffer, int32_t expectReply, uint8_t replyLength);
  int32_t SendAndReadData(PrinterBuffer& buffer, uint8_t* destination, int32_t offset,
                          int32_t count, int32_t* received);
  long ClearOutput(int32_t* result);
  // Reads the printer's state and raises what changed: -1 when the printer
  // cannot be asked, else 0.
  virtual int32_t GetPrinterState(bool initial);

  // --- facts a test or the COM layer may inspect ---
  int32_t Bidirectional() const { return bidirectional_; }
  int32_t UseAsb() const { return useAsb_; }
  int32_t ClaimTimeout() const { return claimTimeout_; }
  bool IsUsb() const { return isUsb_; }
  bool IsSerial() const { return isSerial_; }
  bool IsParallel() const { return isParallel_; }
  bool IsNetwork() const { return isNetwork_; }
  int32_t CharacterSet() const { return characterSet_; }
  void SetCharacterSetValue(int32_t value) { characterSet_ = value; }
  int32_t BinaryConversion() const { return binaryConversion_; }
  void SetBinaryConversion(int32_t value) { binaryConversion_ = value; }
  const std::u16string& ModelName() const { return modelName_; }
  CPrinterEventObject* EventObject() const { return eventObject_.get(); }
  std::shared_ptr<CPrinterPort> PrinterPort() const { return port_; }

 protected:
  // --- what a printer model supplies ---
  virtual CCmdHelperBase* CmdHelper() = 0;
  virtual int32_t IsSupportBidi() = 0;
  // Resets the properties at every open; models call this first.
  virtual void SetProperty_Open();
  // Reads firmware, maker and model from the printer at claim.
  virtual int32_t RefreshPrinterInfo() { return 0; }

  // --- the worker thread of this core ---
  virtual void StartWorker() {}
  virtual void SuspendWorker() {}
  virtual void StopWorker() {}
  virtual void PauseWorkerPolling() {}
  virtual void ResumeWorkerPolling() {}

  // The disable half of DeviceEnable, shared with release and close.
  void Disable();
  // Pending setting changes that travel in front of the next job.
  virtual void PrependPendingSettings(PrinterBuffer& buffer) {}

  // Model configuration.
  std::u16string modelName_;
  std::u16string deviceName_;
  int32_t asbConfigured_ = 0;
  int32_t refreshInfoAtClaim_ = 0;
  int32_t horizontalDotPitch_ = 1;
  int32_t verticalDotPitch_ = 1;

  // Properties the life cycle reads.
  int32_t characterSet_ = 437;
  int32_t binaryConversion_ = 0;
  int32_t recLineSpacing_ = 30;
  int32_t rotate90Active_ = 0;
  int32_t coverOpen_ = 0;
  int32_t recEmpty_ = 1;
  int32_t recNearEnd_ = 1;

  PrinterBuffer commandBuffer_{2048, 32};
  uint8_t replyArea_[256] = {};
  uint8_t readBackArea_[255] = {};

 private:
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

  std::shared_ptr<CPrinterPort> port_;
  std::shared_ptr<CPrinterEventObject> eventObject_;
};

}  // namespace Printer
}  // namespace QEL
