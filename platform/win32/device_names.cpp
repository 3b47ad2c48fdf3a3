#include "platform/device_names.h"

namespace platform {

std::u16string SystemDevicePath(const std::u16string& portName) { return portName; }

}  // namespace platform
