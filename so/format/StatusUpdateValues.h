#pragma once
// The StatusUpdate values the printer core raises, named once for the status
// decoders, the core, the COM layer and the tests. The printer values are the
// OPOS POSPrinter ones; the others are the core's own and are mapped before
// they reach an application.
#include <cstdint>

namespace QEL {
namespace Printer {

enum StatusUpdateValue : int32_t {
  // OPOS POSPrinter values.
  PTR_SUE_COVER_OPEN = 11,
  PTR_SUE_COVER_OK = 12,
  PTR_SUE_REC_EMPTY = 24,
  PTR_SUE_REC_NEAREMPTY = 25,
  PTR_SUE_REC_PAPEROK = 26,
  PTR_SUE_IDLE = 1001,

  // The core's drawer values; the cash-drawer layer turns them into the
  // CashDrawer ones.
  kStatusDrawerClosed = 1,
  kStatusDrawerOpened = 2,

  // What the status decoders report besides the printer values: the second
  // paper sensor of the standard set, and the drawer bit of a GS r 2 reply.
  kStatusSecondSensorCleared = 20,
  kStatusSecondSensorSet = 21,
  kStatusDrawerBitSet = 62,
  kStatusDrawerBitCleared = 63,
};

}  // namespace Printer
}  // namespace QEL
