// The main job for now: a printer core prints a receipt over TCP/IP to the
// built-in virtual printer, through open, claim, enable, print, cut, disable,
// release and close; the printer's transcript then shows what reached it.
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "sim/transcript.h"
#include "sim/virtual_printer.h"
#include "so/io/TCPIPPortSettings.h"
#include "so/printer/CTM_T88IV.h"
#include "so/printer/IPrinterEventHandle.h"

namespace {

using QEL::Printer::CPrinterBase;

// Stands where the COM layer will stand: answers the worker's status poll
// and collects the status events.
class DemoEvents : public QEL::Printer::IPrinterEventHandle {
 public:
  explicit DemoEvents(CPrinterBase* core) : core_(core) {}
  void OnError(const std::u16string&) override {}
  void OnOutputComplete(int32_t) override {}
  void OnStatusUpdate(int32_t status) override {
    std::lock_guard<std::mutex> lock(mutex_);
    statuses_.push_back(status);
  }
  int32_t QueryPrinterState() override { return core_->GetPrinterState(false); }
  std::vector<int32_t> Statuses() {
    std::lock_guard<std::mutex> lock(mutex_);
    return statuses_;
  }

 private:
  CPrinterBase* core_;
  std::mutex mutex_;
  std::vector<int32_t> statuses_;
};

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

std::u16string Widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// A receipt the way a POS application writes it: OPOS escape sequences for
// alignment, size and emphasis, one line per item with the price at the right.
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
  r += "\n" + esc + "cA" + "Thank you!\n";
  // Feed the last line past the cutter, then cut.
  r += esc + "100fP";
  return Widen(r);
}

}  // namespace

int main() {
  sim::VirtualPrinter printer;
  if (!printer.Start(0)) {
    std::fprintf(stderr, "the virtual printer could not listen on 127.0.0.1\n");
    return 1;
  }
  std::printf("virtual printer listening on 127.0.0.1:%u\n\n", printer.Port());

  QEL::IO::TCPIPPortSettings settings;
  settings.Parse(Widen("127.0.0.1," + std::to_string(printer.Port())));

  QEL::Printer::CTM_T88IV core(u"TM-T88IV");
  DemoEvents events(&core);
  int32_t rc = 0;
  core.SetPortSettings(&settings, &rc);

  bool ok = true;
  rc = 0;
  core.OpenServiceW(u"DemoPrinter", &events, &rc);
  ok &= Report("OpenService", rc);
  rc = 0;
  core.ClaimDevice(1000, &rc);
  ok &= Report("ClaimDevice", rc);
  ok &= Report("DeviceEnabled = true", core.DeviceEnable(1) == 1 ? 0 : core.ResultCode());
  core.PrintNormal(2, Receipt(), &rc);
  ok &= Report("PrintNormal (receipt)", rc);
  ok &= Report("DeviceEnabled = false", core.DeviceEnable(0) == 1 ? 0 : core.ResultCode());
  rc = 0;
  core.ReleaseDevice(&rc);
  ok &= Report("ReleaseDevice", rc);
  rc = 0;
  core.CloseService(&rc);
  ok &= Report("CloseService", rc);

  std::printf("\nStatus events:");
  for (int32_t status : events.Statuses()) std::printf(" %d (%s)", status, StatusName(status));
  // The open's probe and the claim's session.
  printer.WaitForIdle(2, 2000);
  printer.Stop();
  std::printf("\n\nWhat the printer received (%zu bytes over %d connections):\n%s",
              printer.Received().size(), printer.ConnectionsAccepted(),
              printer.Transcript().c_str());
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
