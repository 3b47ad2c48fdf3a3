#pragma once
// Builds settings and ports from the PortType text of a device key: "COM",
// "USB", "LPT", "TCP/IP" or "FILE", compared exactly and case-sensitively.
// Any other type throws the int32_t kUnknownPortType.
#include <cstdint>
#include <memory>
#include <string>

#include "so/io/IPort.h"
#include "so/io/IPortSettings.h"

namespace QEL {
namespace IO {

constexpr int32_t kUnknownPortType = 2401;

std::unique_ptr<IPortSettings> CreatePortSettings(const std::u16string& portType);

// Every port but the USB port copies the settings; the USB port keeps the
// pointer, so those settings must outlive it. Also throws kUnknownPortType
// when `settings` is null or is not the settings class of its port type.
std::unique_ptr<IPort> CreatePort(IPortSettings* settings);

}  // namespace IO
}  // namespace QEL
