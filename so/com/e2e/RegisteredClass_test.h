#pragma once
// What the end-to-end tests share. They reach the service object only the way
// an OPOS control object does on a configured machine: the library is
// registered with regsvr32 beforehand, the device key sits in
// HKEY_LOCAL_MACHINE, and the class is created from its ProgID. Nothing of the
// service object is linked in; the library is loaded by COM and found again
// by its module name.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "config/DeviceStore.h"
#include "platform/com.h"
#include "platform/registry.h"
#include "sim/virtual_printer.h"
#include "testing/TestControlObject.h"

namespace e2e {

// What the setting tool writes as the device key's default value.
constexpr wchar_t kProgId[] = L"TarrowOposPrinterU1.13";
constexpr wchar_t kModuleName[] = L"ZOBELSO.dll";
constexpr int32_t kDeviceEnabled = 3;  // the property index
// Generous: the open alone reads eleven values with a pause after each.
constexpr int kWaitMs = 20000;

// Polls `condition` until it holds or timeoutMs passed; the result is the
// condition's last answer.
template <typename Condition>
bool WaitUntil(Condition condition, int timeoutMs = kWaitMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return condition();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// A new instance of the registered class, as the control object creates it;
// null when COM cannot create one.
inline IDispatch* CreateRegistered() {
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(kProgId, &clsid))) return nullptr;
  IDispatch* service = nullptr;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(&service)))) {
    return nullptr;
  }
  return service;
}

// The library as COM loaded it into this process, or null.
inline HMODULE LoadedLibrary() { return GetModuleHandleW(kModuleName); }

// A single-threaded apartment on the test's thread, with a virtual printer
// and a printer device key naming it. The key's name is unique to this
// process, so runs that overlap never share a device; it is deleted again,
// logical name included, when the test ends.
class RegisteredClassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(printer.Start(0));
    device = u"E2E-" + ToText(GetCurrentProcessId()) + u"_01";
    registry = platform::OpenSystemRegistry(platform::RegistryRoot::kLocalMachine);
    ASSERT_TRUE(registry);
    QEL::Config::PrinterKeyValues values;
    values.progId = u"TarrowOposPrinterU1.13";
    values.deviceDescription = u"Tarrow POS Printer";
    values.driverModel = u"TM-T88IV";
    values.deviceName = device;
    values.portType = u"TCP/IP";
    values.portSettings = u"127.0.0.1," + ToText(printer.Port());
    ASSERT_TRUE(QEL::Config::DeviceStore(*registry).SavePrinter(values, device + u"_receipt"))
        << registry->ErrorText();
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    apartment_ = true;
  }

  void TearDown() override {
    if (apartment_) CoUninitialize();
    if (registry) {
      QEL::Config::DeviceStore store(*registry);
      EXPECT_TRUE(store.DeleteDevice(QEL::Config::DeviceClass::kPrinter, device));
      EXPECT_FALSE(registry->Open(QEL::Config::DeviceKeyPath(QEL::Config::kOposRoot,
                                                             QEL::Config::DeviceClass::kPrinter,
                                                             device),
                                  platform::RegistryAccess::kRead));
    }
  }

  static std::u16string ToText(uint32_t number) {
    const std::string text = std::to_string(number);
    return std::u16string(text.begin(), text.end());
  }

  sim::VirtualPrinter printer;
  std::u16string device;
  std::unique_ptr<platform::Registry> registry;

 private:
  bool apartment_ = false;
};

}  // namespace e2e
