// zobelso-print-through-logical-name <logical name> <text>
//
// Prints a line on the printer a logical name stands for, the way a POS
// application does through an OPOS control object on a machine set up with
// the setting tool: the logical name is resolved in the POSPrinter class key,
// the service object is created from the ProgID in the device key, and it is
// opened, claimed, enabled, printed on, cut, disabled, released and closed.
// Each step is printed with its result; exit status 0 when all returned 0.
#include <cstdio>
#include <string>

#include "config/RegistryLayout.h"
#include "platform/com.h"
#include "platform/registry.h"
#include "testing/TestControlObject.h"

namespace {

constexpr int32_t kDeviceEnabled = 3;  // the property index
constexpr int32_t kReceiptStation = 2;

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

std::u16string ReadString(platform::Registry& registry, const std::u16string& path,
                          const std::u16string& name) {
  std::u16string text;
  auto key = registry.Open(path, platform::RegistryAccess::kRead);
  if (key) key->ReadString(name, 0, &text);
  return text;
}

int steps_failed = 0;

void Step(const char* name, int32_t result) {
  std::printf("%s %d\n", name, static_cast<int>(result));
  if (result != 0) ++steps_failed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: zobelso-print-through-logical-name <logical name> <text>\n", stderr);
    return 2;
  }
  const std::u16string logicalName(reinterpret_cast<const char16_t*>(argv[1]));
  const std::u16string text(reinterpret_cast<const char16_t*>(argv[2]));
  using QEL::Config::DeviceClass;
  auto registry = platform::OpenSystemRegistry(platform::RegistryRoot::kLocalMachine);
  const std::u16string device = ReadString(
      *registry, QEL::Config::ClassKeyPath(QEL::Config::kOposRoot, DeviceClass::kPrinter),
      logicalName);
  const std::u16string progId = ReadString(
      *registry, QEL::Config::DeviceKeyPath(QEL::Config::kOposRoot, DeviceClass::kPrinter, device),
      QEL::Config::kProgIdValue);
  std::printf("logical name %s: device %s, ProgID %s\n", Narrow(logicalName).c_str(),
              Narrow(device).c_str(), Narrow(progId).c_str());
  if (device.empty() || progId.empty()) return 1;

  if (FAILED(CoInitialize(nullptr))) return 1;
  {
    CLSID clsid;
    IDispatch* service = nullptr;
    if (FAILED(CLSIDFromProgID(reinterpret_cast<const wchar_t*>(progId.c_str()), &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&service)))) {
      std::puts("the service object could not be created (is the library registered?)");
      CoUninitialize();
      return 1;
    }
    testing_support::TestControlObject control([service] { return service; });
    const int32_t opened = control.Open(u"POSPrinter", device);
    Step("OpenService", opened);
    if (opened != 0) {
      std::printf("OpenResult %d\n", static_cast<int>(control.Call(u"GetOpenResult")));
    } else {
      Step("ClaimDevice", control.Call(u"ClaimDevice", {1000}));
      Step("DeviceEnabled", control.SetNumber(kDeviceEnabled, 1));
      Step("PrintNormal", control.Call(u"PrintNormal", {kReceiptStation, text + u"\n"}));
      Step("CutPaper", control.Call(u"CutPaper", {100}));
      Step("DeviceDisabled", control.SetNumber(kDeviceEnabled, 0));
      Step("ReleaseDevice", control.Call(u"ReleaseDevice"));
      Step("CloseService", control.Call(u"CloseService"));
    }
  }
  CoUninitialize();
  return steps_failed == 0 ? 0 : 1;
}
