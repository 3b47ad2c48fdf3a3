#pragma once
// The printer's state as the status decoders read it. Any non-zero value means
// true; the decoders store the masked bits, not 0/1, so a field may hold 0x04.
#include <cstdint>

namespace QEL {
namespace Printer {

struct tagPrinterStatus {
  int32_t drawerBit = 0;   // the raw drawer-sensor bit
  int32_t drawerOpen = 0;  // the drawer state last reported
  int32_t offline = 0;
  int32_t coverOpen = 0;
  int32_t nearEnd = 0;
  int32_t paperOut = 0;
};

}  // namespace Printer
}  // namespace QEL
