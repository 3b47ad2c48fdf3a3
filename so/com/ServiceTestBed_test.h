#pragma once
// What the service-object tests share: a private registry holding a printer
// key that points at a virtual printer on loopback, an environment handing
// both to the instances, and control objects that create instances of the
// class and call them through IDispatch.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "config/RegistryLayout.h"
#include "platform/manual_clock.h"
#include "platform/registry_test_sandbox.h"
#include "sim/virtual_printer.h"
#include "so/com/CQELOposPrinterSO.h"
#include "testing/TestControlObject.h"

namespace testing_support {
// Failure messages show an event as the call it was.
inline void PrintTo(const EventReceiver::Event& e, std::ostream* os) {
  *os << std::string(e.name.begin(), e.name.end()) << "(";
  for (size_t i = 0; i < e.args.size(); ++i) *os << (i ? "," : "") << e.args[i];
  *os << ")";
}
}  // namespace testing_support

namespace QEL {
namespace COM {

constexpr int kWaitMs = 20000;
constexpr int32_t kFreezeEvents = 4;
constexpr int32_t kResultCode = 6;
constexpr int32_t kResultCodeExtended = 7;
constexpr int32_t kState = 9;
constexpr int32_t kDeviceEnabled = 3;
constexpr int32_t kFlagWhenIdle = 8005;
constexpr int32_t kAsyncMode = 8001;
constexpr int32_t kServiceObjectVersion = 8;
constexpr int32_t kDeviceDescription = 1000002;
constexpr int32_t kErrorString = 1008005;

using Lines = std::vector<std::string>;

inline Lines SplitLines(const std::string& transcript) {
  Lines lines;
  std::istringstream in(transcript);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class ServiceTestBed : public ::testing::Test {
 protected:
  static constexpr const char16_t* kDevice = u"TM-T88IIM_1";

  void SetUp() override {
    ASSERT_TRUE(printer.Start(0));
    WritePrinterKey(kDevice, PrinterValues());
    clock->SetAutoAdvance(true);
    auto e = std::make_shared<ServiceEnvironment>();
    platform::RegistryTestSandbox* box = &box_;
    e->openRegistry = [box] { return box->OpenAgain(); };
    e->oposRoot = Root();
    e->registryPause = [](uint32_t) {};
    e->eventClock = clock;
    environment = e;
  }

  std::u16string Root() const { return box_.Path(u"ServiceOPOS"); }
  platform::Registry& Registry() { return box_.registry(); }
  // The file of a file-backed registry.
  std::string StoreFile() const { return box_.StoreFile(); }

  struct Value {
    const char16_t* name;
    std::u16string text;
  };

  std::vector<Value> PrinterValues() const {
    const std::string address = "127.0.0.1," + std::to_string(printer.Port());
    return {{Config::kPortType, u"TCP/IP"},
            {Config::kDriverModel, u"TM-T88IIM_1"},
            {Config::kDriverName, kDevice},
            {Config::kPortSettings, std::u16string(address.begin(), address.end())},
            {Config::kOutputBufSize, u"2048"},
            {Config::kBitMapMode, u"RasterBitImage"},
            {Config::kWriteTimeout, u"2000"},
            {Config::kReadTimeout, u"2000"},
            {Config::kCodepageID, u"437"},
            {Config::kDeviceDescription, u"Receipt printer"},
            {Config::kNotes, u""}};
  }

  void WritePrinterKey(const std::u16string& device, const std::vector<Value>& values) {
    std::unique_ptr<platform::RegistryKey> key = box_.registry().Create(
        Config::DeviceKeyPath(Root(), Config::DeviceClass::kPrinter, device));
    ASSERT_TRUE(key) << box_.registry().ErrorText();
    for (const Value& v : values) ASSERT_TRUE(key->WriteString(v.name, v.text));
  }

  platform::RegistryKey* PrinterKey(const std::u16string& device) {
    keys_.push_back(box_.registry().Open(
        Config::DeviceKeyPath(Root(), Config::DeviceClass::kPrinter, device),
        platform::RegistryAccess::kReadWrite));
    return keys_.back().get();
  }

  // A control object on a new instance of the class.
  std::unique_ptr<testing_support::TestControlObject> NewControl() {
    std::shared_ptr<const ServiceEnvironment> e = environment;
    return std::make_unique<testing_support::TestControlObject>(
        [e]() -> IDispatch* { return new CQELOposPrinterSO(e); });
  }

  // Open, claim and enable as a point-of-sale application does.
  void Ready(testing_support::TestControlObject& control) {
    ASSERT_EQ(control.Open(u"POSPrinter", kDevice), 0);
    ASSERT_EQ(control.Call(u"ClaimDevice", {1000}), 0);
    ASSERT_EQ(control.SetNumber(kDeviceEnabled, 1), 0);
  }

  // Waits until the event thread has nothing left but to wait for work.
  void SettleEvents() { ASSERT_TRUE(clock->WaitForSleepers(1, kWaitMs)); }

  CQELOposPrinterSO* Instance(testing_support::TestControlObject& control) {
    return static_cast<CQELOposPrinterSO*>(control.Service());
  }

  sim::VirtualPrinter printer;
  std::shared_ptr<platform::ManualClock> clock = std::make_shared<platform::ManualClock>();
  std::shared_ptr<const ServiceEnvironment> environment;

 private:
  platform::RegistryTestSandbox box_;
  std::vector<std::unique_ptr<platform::RegistryKey>> keys_;
};

}  // namespace COM
}  // namespace QEL
