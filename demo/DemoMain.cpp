// The main job: a receipt printed the way a point-of-sale application prints
// it. A temporary registry file holds a TM-T88IV device key pointing at the
// built-in virtual printer; a stand-in for the OPOS control object creates the
// service object and calls it by name through IDispatch; the printer's
// transcript then shows what reached it, and receipt.png, written beside the
// program, the paper it came out on. Linux only: elsewhere the registry is
// the system's, and a demo has no business writing device keys there.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "config/DeviceStore.h"
#include "platform/registry.h"
#include "sim/png_file.h"
#include "sim/render/receipt_renderer.h"
#include "sim/transcript.h"
#include "sim/virtual_printer.h"
#include "so/com/CQELOposPrinterSO.h"
#include "so/printer/OposResults.h"
#include "testing/TestControlObject.h"

namespace {

using testing_support::TestControlObject;

constexpr const char16_t* kDevice = u"TM-T88IV_1";
constexpr int32_t kDeviceEnabled = 3;
constexpr int kEventWaitMs = 10000;
constexpr int32_t kMapMode = 8013;
constexpr int32_t kCode128 = 110;
// QR Code always as model 2, which every phone reads; plain 204 prints short
// data as model 1.
constexpr int32_t kQrCodeModel2 = 504;

std::u16string Widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// The registry file exists for the demo's run only; OPOS_REGISTRY names it to
// the service object as it would name a configured machine's.
class TemporaryRegistry {
 public:
  TemporaryRegistry() {
    std::random_device random;
    do {
      folder_ = std::filesystem::temp_directory_path() /
                ("zobelso-demo-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(folder_));
    ::setenv("OPOS_REGISTRY", (folder_ / "registry.reg").c_str(), 1);
  }
  ~TemporaryRegistry() {
    ::unsetenv("OPOS_REGISTRY");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);  // the store with its lock file
  }

 private:
  std::filesystem::path folder_;
};

// The key the setting tool writes for a TM-T88IV on TCP/IP.
bool WritePrinterKey(uint16_t port) {
  if (!platform::RegistryIsFileBacked()) {
    std::fprintf(stderr, "this system's registry is not a file: the demo does not write to it\n");
    return false;
  }
  std::unique_ptr<platform::Registry> registry =
      platform::OpenSystemRegistry(platform::RegistryRoot::kLocalMachine);
  QEL::Config::PrinterKeyValues printer;
  printer.progId = u"TarrowOposPrinterU1.13";
  printer.deviceDescription = u"Receipt printer (virtual)";
  printer.driverModel = u"TM-T88IV";
  printer.deviceName = kDevice;
  printer.portType = u"TCP/IP";
  printer.portSettings = Widen("127.0.0.1," + std::to_string(port));
  if (QEL::Config::DeviceStore(*registry).SavePrinter(printer, u"ReceiptPrinter")) return true;
  std::fprintf(stderr, "the device key could not be written: %s\n", registry->ErrorText().c_str());
  return false;
}

const char* StatusName(int32_t status) {
  switch (status) {
    case 11: return "cover open";
    case 12: return "cover closed";
    case 24: return "paper out";
    case 25: return "paper near end";
    case 26: return "paper ok";
    default: return "other";
  }
}

bool Report(const char* step, int32_t rc) {
  std::printf("%-28s %s (%d)\n", step, QEL::Printer::GetStatusString(rc), rc);
  return rc == 0;
}

// A receipt the way a POS application writes it: OPOS escape sequences for
// alignment, size and emphasis, one line per item with the price at the right.
// The barcodes follow it, then a feed that carries the last of it past the
// cutter (about 21 mm below the print head); CutPaper then cuts.
std::u16string Receipt() {
  const std::string esc = "\x1b|";
  std::string r;
  r += esc + "cA" + esc + "4C" + "ZOBELSO MARKET\n";
  r += esc + "N" + esc + "cA" + "12 Harbour Road\n\n";
  r += esc + "lA";
  const char* items[][2] = {{"Espresso", "2.40"},      {"Croissant", "1.90"},
                            {"Orange juice 0.3l", "3.20"}, {"Sparkling water", "1.50"}};
  for (const auto& item : items) r += std::string(item[0]) + esc + "rA" + item[1] + "\n";
  r += "------------------------------------------\n";
  r += esc + "bC" + "TOTAL" + esc + "rA" + "9.00\n" + esc + "!bC";
  r += "\n" + esc + "cA" + "Thank you!\n\n";
  return Widen(r);
}

// The application's side: open, claim, enable, print, cut, disable, release
// and close, each by name through IDispatch. True when every step succeeded.
bool PrintReceipt() {
  TestControlObject control([] { return new QEL::COM::CQELOposPrinterSO(); });
  bool ok = Report("OpenService", control.Open(u"POSPrinter", kDevice));
  if (!ok) {
    std::printf("%-28s %d\n", "GetOpenResult", control.Call(u"GetOpenResult"));
    return false;
  }
  ok &= Report("ClaimDevice", control.Call(u"ClaimDevice", {1000}));
  ok &= Report("DeviceEnabled = true", control.SetNumber(kDeviceEnabled, 1));
  // Enabling reports the printer's state as it finds it: paper and cover.
  const bool reported = control.Receiver().WaitForEvents(2, kEventWaitMs);
  std::printf("%-28s", "  status events");
  for (const auto& event : control.Receiver().Events()) {
    const int32_t value = event.args.empty() ? 0 : event.args[0];
    std::printf(" %s(%d: %s)", std::string(event.name.begin(), event.name.end()).c_str(), value,
                StatusName(value));
  }
  std::printf("%s\n", reported ? "" : " (fewer than two within 10 s)");
  ok &= reported;
  ok &= Report("PrintNormal (receipt)", control.Call(u"PrintNormal", {2, Receipt()}));
  // The receipt number as a Code 128 for returns, and the e-receipt link as
  // a QR code, both centred (-2) with the number printed below (-13); sizes
  // are in dots (MapMode 1).
  ok &= Report("MapMode = dots", control.SetNumber(kMapMode, 1));
  ok &= Report("PrintBarCode (Code 128)",
               control.Call(u"PrintBarCode", {2, u"20261208-0042", kCode128, 80, 400, -2, -13}));
  ok &= Report("PrintBarCode (QR Code)",
               control.Call(u"PrintBarCode", {2, u"https://receipts.example/r/20261208-0042",
                                              kQrCodeModel2, 200, 200, -2, -11}));
  ok &= Report("PrintNormal (feed)", control.Call(u"PrintNormal", {2, Widen("\x1b|5lF")}));
  ok &= Report("CutPaper (100 %)", control.Call(u"CutPaper", {100}));
  ok &= Report("DeviceEnabled = false", control.SetNumber(kDeviceEnabled, 0));
  ok &= Report("ReleaseDevice", control.Call(u"ReleaseDevice"));
  ok &= Report("CloseService", control.Call(u"CloseService"));
  return ok;
}

// Each connection's bytes with what NV memory held when it began: the
// paper is drawn from them once the printer has stopped.
struct Connections {
  std::mutex mutex;
  std::vector<std::vector<uint8_t>> bytes;
  std::vector<sim::NvGraphics> nv;
};

// receipt.png (then receipt-2.png...) in `folder`; the paths written.
std::vector<std::string> WriteReceipts(Connections& connections, const std::filesystem::path& folder) {
  std::lock_guard<std::mutex> lock(connections.mutex);
  std::vector<sim::PrintedImage> receipts;
  for (size_t i = 0; i < connections.bytes.size(); ++i) {
    for (sim::PrintedImage& r : sim::render::RenderReceipts(connections.bytes[i], connections.nv[i],
                                                             sim::render::kPaper80Dots)) {
      receipts.push_back(std::move(r));
    }
  }
  std::vector<std::string> written;
  for (size_t i = 0; i < receipts.size(); ++i) {
    const std::string name = i == 0 ? "receipt.png" : "receipt-" + std::to_string(i + 1) + ".png";
    const std::string path = (folder / name).string();
    if (sim::WritePngFile(path, receipts[i])) written.push_back(path);
  }
  return written;
}

}  // namespace

int main(int, char** argv) {
  sim::VirtualPrinter printer;
  Connections connections;
  printer.SetConnectionClosedHandler(
      [&](int, const std::vector<uint8_t>& bytes, const std::vector<sim::TranscriptNote>&) {
        std::lock_guard<std::mutex> lock(connections.mutex);
        connections.bytes.push_back(bytes);
        connections.nv.push_back(printer.NvGraphicsAtConnectionStart());
      });
  if (!printer.Start(0)) {
    std::fprintf(stderr, "the virtual printer could not listen on 127.0.0.1\n");
    return 1;
  }
  std::printf("virtual printer listening on 127.0.0.1:%u\n", printer.Port());

  bool ok = false;
  {
    TemporaryRegistry registry;
    if (!WritePrinterKey(printer.Port())) return 1;
    std::printf("device key POSPrinter\\TM-T88IV_1 written to $OPOS_REGISTRY (%s)\n\n",
                std::getenv("OPOS_REGISTRY"));
    try {
      ok = PrintReceipt();
    } catch (const std::exception& e) {
      std::printf("the call failed: %s\n", e.what());
    }
  }

  // The open's probe and the claim's session.
  printer.WaitForIdle(2, 2000);
  printer.Stop();
  std::printf("\nWhat the printer received (%zu bytes over %d connections):\n%s",
              printer.Received().size(), printer.ConnectionsAccepted(),
              printer.Transcript().c_str());
  const std::filesystem::path folder = std::filesystem::absolute(argv[0]).lexically_normal().parent_path();
  for (const std::string& path : WriteReceipts(connections, folder)) {
    std::printf("\nThe paper it came out on: %s\n", path.c_str());
  }
  // A printer ignores, misprints or misreads a malformed command: the demo
  // fails on any, whether the transcript shows it or the job ended in it.
  const int invalid = printer.InvalidCommands();
  if (invalid > 0 || sim::CountInvalidLines(printer.Transcript()) > 0) {
    std::printf("\nThe printer found %d invalid commands (the INVALID lines above).\n", invalid);
    return 1;
  }
  std::printf("\nThe printer found no invalid commands.\n");
  return ok ? 0 : 1;
}
