#include "so/io/SerialTimeouts.h"

namespace QEL {
namespace IO {

uint32_t WriteMultiplierForBaud(uint32_t baudRate, uint32_t current) {
  if (baudRate == 0) return current;
  if (baudRate >= 19200) return 1;
  if (baudRate > 4800) return 2;
  if (baudRate > 2400) return 3;
  return 5;
}

platform::PortTimeouts SerialTimeoutsFor(uint32_t baudRate, int32_t writeTimeoutMs,
                                         const platform::PortTimeouts& current) {
  platform::PortTimeouts t = current;
  t.writeTotalMultiplier = WriteMultiplierForBaud(baudRate, current.writeTotalMultiplier);
  t.writeTotalConstant = static_cast<uint32_t>(writeTimeoutMs);
  t.readInterval = 100;
  t.readTotalConstant = 100;
  t.readTotalMultiplier = 0;
  return t;
}

}  // namespace IO
}  // namespace QEL
