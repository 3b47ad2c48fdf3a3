// The main job for now: a printer core talks over TCP/IP to the built-in
// virtual printer through open, claim, enable, disable, release and close,
// and the printer's transcript shows what reached it.
#include <cstdio>
#include <string>

#include "sim/virtual_printer.h"
#include "so/io/TCPIPPortSettings.h"
#include "so/printer/CTM_T88IV.h"

namespace {

bool Check(const char* step, int32_t rc) {
  std::printf("%-28s %s (%d)\n", step, QEL::Printer::GetStatusString(rc), rc);
  return rc == 0;
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
  const std::string text = "127.0.0.1," + std::to_string(printer.Port());
  settings.Parse(std::u16string(text.begin(), text.end()));

  QEL::Printer::CTM_T88IV core(u"TM-T88IV");
  int32_t rc = 0;
  core.SetPortSettings(&settings, &rc);

  bool ok = true;
  rc = 0;
  core.OpenServiceW(u"DemoPrinter", nullptr, &rc);
  ok &= Check("OpenService", rc);
  rc = 0;
  core.ClaimDevice(1000, &rc);
  ok &= Check("ClaimDevice", rc);
  ok &= Check("DeviceEnabled = true", core.DeviceEnable(1) == 1 ? 0 : core.ResultCode());
  ok &= Check("DeviceEnabled = false", core.DeviceEnable(0) == 1 ? 0 : core.ResultCode());
  rc = 0;
  core.ReleaseDevice(&rc);
  ok &= Check("ReleaseDevice", rc);
  rc = 0;
  core.CloseService(&rc);
  ok &= Check("CloseService", rc);

  printer.WaitForReceived(1, 1000);
  printer.Stop();
  std::printf("\nWhat the printer received (%zu bytes over %d connections):\n%s",
              printer.Received().size(), printer.ConnectionsAccepted(), printer.Transcript().c_str());
  return ok ? 0 : 1;
}
