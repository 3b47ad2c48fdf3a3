// What the COM layer adds to a print call: PrintNormal through
// IDispatch::Invoke as an OPOS control object makes it (the DISPID resolved
// once, the arguments in a DISPPARAMS built once, pRC taken from pVarResult),
// next to the same call made on the instance's printer core directly.
//
// Both calls go to the same enabled core inside a transaction, so the bytes
// they format are collected instead of written: a write to the printer would
// dwarf the layer and vary more from call to call than the layer costs. The
// device is a key in a private registry naming the virtual printer on
// loopback, which the open, claim and enable talk to.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "config/DeviceStore.h"
#include "platform/clock.h"
#include "platform/com.h"
#include "platform/registry_test_sandbox.h"
#include "sim/virtual_printer.h"
#include "so/com/CQELOposPrinterSO.h"
#include "testing/TestControlObject.h"

namespace {

using QEL::COM::CQELOposPrinterSO;
using QEL::COM::ServiceEnvironment;
using testing_support::TestControlObject;

constexpr const char16_t* kDevice = u"TM-T88IV_1";
constexpr int32_t kDeviceEnabled = 3;
constexpr int32_t kReceipt = 2;
constexpr int32_t kTransactionStart = 11;
constexpr int32_t kTransactionEnd = 12;

// One receipt line as an application prints it: an item with its price at
// the right.
const std::u16string kLine = u"Orange juice 0.3l\x1b|rA3.20\n";

// An instance opened, claimed and enabled by a control object, with a
// transaction begun.
class EnabledService {
 public:
  bool Ready() {
    if (!printer_.Start(0)) return false;
    const std::u16string root = box_.Path(u"ServiceOPOS");
    QEL::Config::PrinterKeyValues key;
    key.progId = u"TarrowOposPrinterU1.13";
    key.deviceDescription = u"Receipt printer";
    key.driverModel = u"TM-T88IV";
    key.deviceName = kDevice;
    key.portType = u"TCP/IP";
    const std::string address = "127.0.0.1," + std::to_string(printer_.Port());
    key.portSettings.assign(address.begin(), address.end());
    if (!QEL::Config::DeviceStore(box_.registry(), root).SavePrinter(key, u"")) return false;

    auto environment = std::make_shared<ServiceEnvironment>();
    const platform::RegistryTestSandbox* box = &box_;
    environment->openRegistry = [box] { return box->OpenAgain(); };
    environment->oposRoot = root;
    environment->registryPause = [](uint32_t) {};
    environment->eventClock = platform::SystemClock();
    std::shared_ptr<const ServiceEnvironment> shared = environment;
    control_ = std::make_unique<TestControlObject>(
        [shared]() -> IDispatch* { return new CQELOposPrinterSO(shared); });
    try {
      return control_->Open(u"POSPrinter", kDevice) == 0 &&
             control_->Call(u"ClaimDevice", {1000}) == 0 &&
             control_->SetNumber(kDeviceEnabled, 1) == 0 &&
             control_->Call(u"TransactionPrint", {kReceipt, kTransactionStart}) == 0;
    } catch (const std::exception&) {
      return false;  // Invoke itself failed
    }
  }

  ~EnabledService() {
    try {
      if (control_) control_->Call(u"CloseService");
    } catch (...) {
      // Closing is best effort here: the instance shuts down when released.
    }
  }

  IDispatch* Dispatch() const { return control_->Service(); }
  QEL::Printer::CPrinterBase* Core() const {
    return static_cast<CQELOposPrinterSO*>(control_->Service())->Core();
  }
  // True when the line of one more call (returning pRC), once the
  // transaction ends, reaches the printer: the calls measured did format and
  // collect the text.
  template <typename PrintCall>
  bool CallsPrinted(PrintCall print) {
    DropCollected();
    if (print() != 0 || control_->Call(u"TransactionPrint", {kReceipt, kTransactionEnd}) != 0) {
      return false;
    }
    const std::string text = "Orange juice 0.3l";
    return printer_.WaitForBytes(std::vector<uint8_t>(text.begin(), text.end()), 5000);
  }
  // Drops what the transaction collected so far, keeping memory flat; the
  // transaction stays open.
  void DropCollected() const {
    int32_t rc = 0;
    Core()->ClearOutput(&rc);
  }

 private:
  sim::VirtualPrinter printer_;
  platform::RegistryTestSandbox box_;
  std::unique_ptr<TestControlObject> control_;
};

// PrintNormal(station, data) as a control object invokes it.
class PrintNormalInvocation {
 public:
  explicit PrintNormalInvocation(IDispatch* service) : service_(service) {
    LPOLESTR name = const_cast<LPOLESTR>(platform::OleText(u"PrintNormal"));
    resolved_ = SUCCEEDED(
        service_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_SYSTEM_DEFAULT, &dispid_));
    // Declared order reversed: the data first, the station last.
    VariantInit(&args_[0]);
    args_[0].vt = VT_BSTR;
    args_[0].bstrVal = platform::ToBstr(kLine);
    VariantInit(&args_[1]);
    args_[1].vt = VT_I4;
    args_[1].lVal = kReceipt;
    params_ = {args_, nullptr, 2, 0};
  }
  ~PrintNormalInvocation() { VariantClear(&args_[0]); }

  bool Resolved() const { return resolved_; }
  // pRC, or -1 when Invoke itself failed.
  int32_t Call() {
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = service_->Invoke(dispid_, IID_NULL, LOCALE_SYSTEM_DEFAULT,
                                        DISPATCH_METHOD, &params_, &result, nullptr, nullptr);
    return SUCCEEDED(hr) && result.vt == VT_I4 ? result.lVal : -1;
  }

 private:
  IDispatch* service_;
  DISPID dispid_ = DISPID_UNKNOWN;
  bool resolved_ = false;
  VARIANT args_[2];
  DISPPARAMS params_;
};

// Marks the run failed; callers return from inside the loop right after, as
// the library allows once an error is reported.
void Failed(benchmark::State& state) { state.SkipWithError("PrintNormal failed"); }

void PrintNormal_Core(benchmark::State& state) {
  EnabledService service;
  if (!service.Ready()) return state.SkipWithError("the device did not open, claim and enable");
  QEL::Printer::CPrinterBase* core = service.Core();
  int32_t rc = 0;
  uint64_t calls = 0;
  for (auto _ : state) {
    core->PrintNormal(kReceipt, kLine, &rc);
    if (rc != 0) return Failed(state);
    if ((++calls & 255) == 0) service.DropCollected();
  }
  const auto direct = [&] {
    core->PrintNormal(kReceipt, kLine, &rc);
    return rc;
  };
  if (!service.CallsPrinted(direct)) state.SkipWithError("the calls printed nothing");
}
BENCHMARK(PrintNormal_Core)->Unit(benchmark::kMicrosecond);

void PrintNormal_Invoke(benchmark::State& state) {
  EnabledService service;
  if (!service.Ready()) return state.SkipWithError("the device did not open, claim and enable");
  PrintNormalInvocation invocation(service.Dispatch());
  if (!invocation.Resolved()) return state.SkipWithError("PrintNormal has no DISPID");
  uint64_t calls = 0;
  for (auto _ : state) {
    if (invocation.Call() != 0) return Failed(state);
    if ((++calls & 255) == 0) service.DropCollected();
  }
  if (!service.CallsPrinted([&] { return invocation.Call(); })) {
    state.SkipWithError("the calls printed nothing");
  }
}
BENCHMARK(PrintNormal_Invoke)->Unit(benchmark::kMicrosecond);

// Both calls in turn on one core, each timed on its own: what this machine's
// load does to one affects the other alike, and com_layer_us is the
// difference per call.
void PrintNormal_InvokeNextToCore(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  EnabledService service;
  if (!service.Ready()) return state.SkipWithError("the device did not open, claim and enable");
  PrintNormalInvocation invocation(service.Dispatch());
  if (!invocation.Resolved()) return state.SkipWithError("PrintNormal has no DISPID");
  QEL::Printer::CPrinterBase* core = service.Core();
  Clock::duration throughInvoke{}, direct{};
  int32_t rc = 0;
  uint64_t calls = 0;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    const int32_t invoked = invocation.Call();
    const Clock::time_point middle = Clock::now();
    core->PrintNormal(kReceipt, kLine, &rc);
    const Clock::time_point end = Clock::now();
    if (invoked != 0 || rc != 0) return Failed(state);
    throughInvoke += middle - start;
    direct += end - middle;
    if ((++calls & 127) == 0) service.DropCollected();
  }
  if (!service.CallsPrinted([&] { return invocation.Call(); })) {
    return state.SkipWithError("the calls printed nothing");
  }
  const double n = static_cast<double>(state.iterations());
  const double invokeUs = std::chrono::duration<double, std::micro>(throughInvoke).count() / n;
  const double coreUs = std::chrono::duration<double, std::micro>(direct).count() / n;
  state.counters["invoke_us"] = invokeUs;
  state.counters["core_us"] = coreUs;
  state.counters["com_layer_us"] = invokeUs - coreUs;
}
BENCHMARK(PrintNormal_InvokeNextToCore)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
