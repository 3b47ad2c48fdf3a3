#include "so/io/PortFactory.h"
#include "so/io/USBPortSettings.h"
#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

long CPrinterBase::SetPortSettings(IO::IPortSettings* settings, int32_t* /*result*/) {
  if (settings == nullptr) return 0;
  if (settings->GetPortType() == u"USB" && !deviceName_.empty()) {
    // A USB printer is found by the model it reports, which DeviceName holds.
    if (auto* usb = dynamic_cast<IO::USBPortSettings*>(settings)) usb->SetDeviceIdFilter(deviceName_);
  }
  std::unique_ptr<IO::IPort> port = IO::CreatePort(settings);
  AttachPort(std::shared_ptr<IO::IPort>(port.release()));
  return 0;
}

}  // namespace Printer
}  // namespace QEL
