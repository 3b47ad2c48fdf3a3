#pragma once
// How a strict ESC/POS printer judges one whole command: its parameters'
// ranges, its function numbers and its length fields, written from public
// ESC/POS command references (not from any command builder). A printer
// ignores, misprints or misreads a command these rules reject.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/command_scanner.h"

namespace sim {

// p[0..n) is one command as the scanner cut it. Empty when the printer takes
// it; otherwise a short phrase saying why not ("n 0 outside 1..255").
std::string CommandFault(const uint8_t* p, size_t n, Dialect dialect = Dialect::kEscPos);

}  // namespace sim
