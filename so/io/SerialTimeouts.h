#pragma once
// The time-outs a serial port asks of its line, by baud rate.
#include <cstdint>

#include "platform/serial_line.h"

namespace QEL {
namespace IO {

// Milliseconds per byte written: slow lines need longer per byte so that a
// full write still fits its total. A rate of 0 keeps `current`.
uint32_t WriteMultiplierForBaud(uint32_t baudRate, uint32_t current);

// What the serial port sets: the write total grows by the multiplier on top
// of the write timeout; reads give up 100 ms after the line went quiet.
platform::PortTimeouts SerialTimeoutsFor(uint32_t baudRate, int32_t writeTimeoutMs,
                                         const platform::PortTimeouts& current);

}  // namespace IO
}  // namespace QEL
