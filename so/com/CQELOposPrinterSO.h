#pragma once
// The COM class an OPOS control object creates for a POSPrinter or a
// CashDrawer device. It answers the 43 methods of the service-object dispatch
// interface, opens the device from its registry key, shares one printer core
// between every instance of the process that names the same printer, and
// carries the core's events back to the control objects.
//
// Every method returns S_OK and reports its OPOS result through its last
// argument (the [out, retval] a control object reads from pVarResult).
// Nothing thrown inside the printer core leaves a method.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/com.h"
#include "so/com/DeviceClientTable.h"
#include "so/com/ISOFireEvents.h"
#include "so/com/SOEventThread.h"
#include "so/com/ServiceEnvironment.h"
#include "so/io/IPortSettings.h"
#include "so/printer/CPrinterBase.h"
#include "so/printer/IPrinterEventHandle.h"

// <winsvc.h>, when something else brought it in, renames OpenService to
// OpenServiceA/W; the OPOS method of that name must keep it everywhere.
#ifdef OpenService
#undef OpenService
#endif

namespace QEL {
namespace COM {

class CQELOposPrinterSO : public IDispatch,
                          public Printer::IPrinterEventHandle,
                          public ISOFireEvents {
 public:
  static constexpr int32_t kServiceObjectVersion = 1013001;
  // StatusUpdate once the output queue ran empty (FlagWhenIdle).
  static constexpr int32_t kStatusIdle = Printer::PTR_SUE_IDLE;

  // Created with one reference, which the creator owns.
  explicit CQELOposPrinterSO(
      std::shared_ptr<const ServiceEnvironment> environment = SystemEnvironment());
  CQELOposPrinterSO(const CQELOposPrinterSO&) = delete;
  CQELOposPrinterSO& operator=(const CQELOposPrinterSO&) = delete;

  // --- IUnknown and IDispatch ---
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argError) override;

  // --- the OPOS service-object methods, in dispatch order ---
  HRESULT COFreezeEvents(int32_t freeze, int32_t* pRC);
  HRESULT GetPropertyNumber(int32_t index, int32_t* value);
  HRESULT SetPropertyNumber(int32_t index, int32_t value, int32_t* pRC);
  HRESULT GetPropertyString(int32_t index, std::u16string* value);
  HRESULT SetPropertyString(int32_t index, const std::u16string& value, int32_t* pRC);
  HRESULT OpenService(const std::u16string& classKey, const std::u16string& deviceName,
                      IDispatch* eventReceiver, int32_t* pRC);
  HRESULT CheckHealth(int32_t level, int32_t* pRC);
  HRESULT ClaimDevice(int32_t timeout, int32_t* pRC);
  HRESULT ClearOutput(int32_t* pRC);
  HRESULT CloseService(int32_t* pRC);
  HRESULT DirectIO(int32_t command, LONG* data, BSTR* text, int32_t* pRC);
  HRESULT ReleaseDevice(int32_t* pRC);
  HRESULT CutPaper(int32_t percentage, int32_t* pRC);
  HRESULT PrintBarCode(int32_t station, const std::u16string& data, int32_t symbology,
                       int32_t height, int32_t width, int32_t alignment, int32_t textPosition,
                       int32_t* pRC);
  HRESULT PrintBitmap(int32_t station, const std::u16string& fileName, int32_t width,
                      int32_t alignment, int32_t* pRC);
  HRESULT PrintImmediate(int32_t station, const std::u16string& data, int32_t* pRC);
  HRESULT PrintNormal(int32_t station, const std::u16string& data, int32_t* pRC);
  HRESULT RotatePrint(int32_t station, int32_t rotation, int32_t* pRC);
  HRESULT SetBitmap(int32_t number, int32_t station, const std::u16string& fileName,
                    int32_t width, int32_t alignment, int32_t* pRC);
  HRESULT SetLogo(int32_t location, const std::u16string& data, int32_t* pRC);
  HRESULT TransactionPrint(int32_t station, int32_t control, int32_t* pRC);
  HRESULT ClearPrintArea(int32_t* pRC);
  HRESULT PageModePrint(int32_t control, int32_t* pRC);
  HRESULT PrintMemoryBitmap(int32_t station, const std::u16string& data, int32_t type,
                            int32_t width, int32_t alignment, int32_t* pRC);
  HRESULT GetOpenResult(int32_t* value);
  HRESULT OpenDrawer(int32_t* pRC);
  HRESULT WaitForDrawerClose(int32_t beepTimeout, int32_t beepFrequency, int32_t beepDuration,
                             int32_t beepDelay, int32_t* pRC);
  HRESULT PrintLine(int32_t station, const std::u16string& positionList, int32_t* pRC);
  HRESULT PrintCurveText(int32_t station, int32_t textNumber, int32_t horizontalPosition,
                         const std::u16string& data, int32_t* pRC);
  // The methods this device does not support (PrintTwoNormal, ValidateData,
  // the statistics, firmware, insertion and removal methods, DrawRuledLine):
  // 106 in every state.
  HRESULT Unsupported(int32_t* pRC);

  // --- IPrinterEventHandle: the core's reports, queued for delivery ---
  void OnError(const std::u16string& description) override;
  void OnOutputComplete(int32_t outputId) override;
  // An error event for the job the worker holds; the control object's
  // answer (retry or clear) comes back through RequestRetry or
  // RequestClearOutput.
  void OnOutputError(int32_t resultCode, int32_t resultCodeExtended) override;
  void OnStatusUpdate(int32_t status) override;
  int32_t QueryPrinterState() override;

  // --- ISOFireEvents: delivery on the event thread ---
  int32_t FireEvent(EventKind kind, int32_t* values, size_t count) override;
  void RequestClearOutput() override;
  int32_t RequestRetry() override;

  // --- what tests may look at ---
  // The core this instance works through: its own or its owner's.
  Printer::CPrinterBase* Core() const;
  bool IsAttached() const { return owner_ != nullptr; }
  // Events queued and not yet delivered by the owner.
  size_t PendingEvents() const;

 private:
  ~CQELOposPrinterSO() override;

  // The instance that holds the core: the owner, or this one.
  CQELOposPrinterSO* Target() { return owner_ != nullptr ? owner_ : this; }
  const CQELOposPrinterSO* Target() const { return owner_ != nullptr ? owner_ : this; }

  // The open, claimed and enabled gate: false with 101, 103 or 105 stored.
  bool Gate(int32_t* pRC);
  // A station other than the receipt: false with 106/301 stored.
  bool ReceiptStation(int32_t station, int32_t* pRC);
  // Runs a core operation for a gated method: its result becomes pRC and
  // the cached result; a throw becomes 111 and an error event.
  template <typename Call>
  void CallCore(int32_t* pRC, Call call);
  void Store(int32_t* pRC, int32_t rc, int32_t extended = 0);

  // Open: the event methods of the receiver, the full open of a printer, and
  // attaching to the owner of an open printer.
  void ResolveEventDispids();
  bool FullOpen(const std::u16string& printerKey, const DrawerSettings* drawer);
  bool AttachTo(CQELOposPrinterSO* owner, const DrawerSettings& drawer);
  ClientSlot MakeSlot(const DrawerSettings& drawer) const;
  void DestroyCore();

  // Run on the target for the calling client.
  int32_t EnableFor(CQELOposPrinterSO* client, bool enable);
  int32_t ClaimFor(CQELOposPrinterSO* client, int32_t timeout);
  int32_t ReleaseFor(CQELOposPrinterSO* client);
  // Takes the client out of the table; shuts the core down with the last one.
  void DetachClient(CQELOposPrinterSO* client);
  void ApplyFreeze();
  void QueueEvent(EventKind kind, const int32_t* values, size_t count);
  void RaiseError(int32_t resultCode, int32_t extended, const std::u16string& text);

  // The cash drawer's side (CQELOposPrinterSODrawer.cpp).
  // The instance whose core and client table drawer operations use: the
  // owner, else this one when it holds a core; null when there is none.
  CQELOposPrinterSO* DrawerOwner();
  // Puts the calling client's drawer numbers into the owner's core; false
  // when the client has no slot there.
  bool LoadDrawer(CQELOposPrinterSO* owner, DrawerSettings* drawer);
  static void LoadDrawer(Printer::CPrinterBase& core, const DrawerSettings& drawer);
  void DrawerCheckHealth(int32_t level, int32_t* pRC);
  // Property 1001: the drawer's state as the printer reads it now.
  int32_t DrawerOpened();

  std::atomic<ULONG> references_{1};
  std::shared_ptr<const ServiceEnvironment> environment_;

  // This instance's OPOS state.
  bool isPrinter_ = false;
  bool open_ = false;
  bool claimed_ = false;
  bool enabled_ = false;
  int32_t openResult_ = 0;
  std::atomic<int32_t> resultCode_{0};
  std::atomic<int32_t> resultCodeExtended_{0};
  bool freezeEvents_ = false;
  int32_t asyncMode_ = 0;
  std::atomic<int32_t> flagWhenIdle_{0};
  std::atomic<int32_t> errorLevel_{0};
  std::u16string errorString_;
  std::atomic<int32_t> lastStatus_{0};
  DrawerSettings drawer_;
  std::u16string drawerHealthText_;  // a cash drawer's own; a printer's is the core's
  IDispatch* receiver_ = nullptr;  // the control object's; not counted
  DISPID dispids_[4] = {DISPID_UNKNOWN, DISPID_UNKNOWN, DISPID_UNKNOWN, DISPID_UNKNOWN};

  // Set when attached: the owner, holding one reference to it.
  CQELOposPrinterSO* owner_ = nullptr;

  // Held by an owner.
  std::unique_ptr<Printer::CPrinterBase> core_;
  std::unique_ptr<IO::IPortSettings> portSettings_;  // a USB port keeps a pointer to it
  std::unique_ptr<DeviceClientTable> clients_;
  std::unique_ptr<SOEventThread> events_;
  std::atomic<bool> suppressEvents_{true};
  bool deviceClaimed_ = false;  // the physical device, union of the clients
  bool deviceEnabled_ = false;
  size_t instanceSlot_ = 0;
  std::u16string deviceKey_;
};

}  // namespace COM
}  // namespace QEL
