#include "so/io/PortFactory.h"
#include "so/io/USBPortSettings.h"
#include "so/io/UsbDeviceSearch.h"
#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

long CPrinterBase::SetPortSettings(IO::IPortSettings* settings, int32_t* /*result*/) {
  if (settings == nullptr) return 0;
  if (settings->GetPortType() == u"USB") {
    // A USB printer is found by the identifier of its model, which DeviceName holds.
    if (auto* usb = dynamic_cast<IO::USBPortSettings*>(settings))
      usb->SetDeviceIdFilter(IO::DeviceIdFilterForModel(deviceName_));
  }
  std::unique_ptr<IO::IPort> port = IO::CreatePort(settings);
  AttachPort(std::shared_ptr<IO::IPort>(port.release()));
  return 0;
}

}  // namespace Printer
}  // namespace QEL
