#pragma once
// What a printer checks in barcode and two-dimensional symbol commands: the
// barcode system, the data length and the characters each symbology takes,
// and the functions, lengths and ranges of GS ( k.
#include <cstddef>
#include <cstdint>

#include "sim/rule_helpers.h"

namespace sim {
namespace rules {

// GS k, either form, as the scanner cut it.
Fault BarcodeFault(const uint8_t* p, size_t n);
// GS ( k pL pH cn fn ...
Fault SymbolFault(const uint8_t* p, size_t n);

}  // namespace rules
}  // namespace sim
