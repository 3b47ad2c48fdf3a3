#include "so/io/PortFactory.h"

#include "so/io/FilePort.h"
#include "so/io/FilePortSettings.h"
#include "so/io/LPTPort.h"
#include "so/io/LPTPortSettings.h"
#include "so/io/SerialPort.h"
#include "so/io/SerialPortSettings.h"
#include "so/io/TCPIPPort.h"
#include "so/io/TCPIPPortSettings.h"
#include "so/io/USBPort.h"
#include "so/io/USBPortSettings.h"

namespace QEL {
namespace IO {

namespace {

// The port needs the fields of its own settings class; a foreign object that
// merely claims the type cannot be turned into a port.
template <typename Settings>
Settings& As(IPortSettings* settings) {
  auto* typed = dynamic_cast<Settings*>(settings);
  if (typed == nullptr) throw kUnknownPortType;
  return *typed;
}

}  // namespace

std::unique_ptr<IPortSettings> CreatePortSettings(const std::u16string& portType) {
  if (portType == u"COM") return std::make_unique<SerialPortSettings>();
  if (portType == u"USB") return std::make_unique<USBPortSettings>();
  if (portType == u"LPT") return std::make_unique<LPTPortSettings>();
  if (portType == u"TCP/IP") return std::make_unique<TCPIPPortSettings>();
  if (portType == u"FILE") return std::make_unique<FilePortSettings>();
  throw kUnknownPortType;
}

std::unique_ptr<IPort> CreatePort(IPortSettings* settings) {
  if (settings == nullptr) throw kUnknownPortType;
  const std::u16string portType = settings->GetPortType();
  if (portType == u"COM") return std::make_unique<SerialPort>(As<SerialPortSettings>(settings));
  if (portType == u"LPT") return std::make_unique<LPTPort>(As<LPTPortSettings>(settings));
  if (portType == u"USB") return std::make_unique<USBPort>(&As<USBPortSettings>(settings));
  if (portType == u"TCP/IP") return std::make_unique<TCPIPPort>(As<TCPIPPortSettings>(settings));
  if (portType == u"FILE") return std::make_unique<FilePort>(As<FilePortSettings>(settings));
  throw kUnknownPortType;
}

}  // namespace IO
}  // namespace QEL
