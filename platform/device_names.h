#pragma once
// From the port names the registry holds ("\\.\COM3", "LPT1") to the path the
// system opens.
#include <string>

namespace platform {

// The POSIX rule, here for every build so that it can be tested everywhere:
// a leading "\\.\" is dropped; a name starting with '/' is a path and stays;
// COMn (any case) becomes /dev/ttyS(n-1) and LPTn /dev/lp(n-1); any other
// name is looked for under /dev ("ttyUSB0" -> /dev/ttyUSB0).
std::u16string PosixDevicePath(const std::u16string& portName);

// What this system opens for the port name: unchanged on Windows, the rule
// above on POSIX.
std::u16string SystemDevicePath(const std::u16string& portName);

}  // namespace platform
