#pragma once
// Command line of the zobelso-virtual-printer program.
#include <cstdint>
#include <string>
#include <vector>

#include "sim/printer_state.h"

namespace sim {

struct Options {
  uint16_t port = 9100;  // 0: a free port, printed at start
  PrinterState state;  // the drawer sensor's level from the drawer and its wiring
  bool drawerOpen = false;
  int drawerPin = 2;  // the kick-out connector pin the drawer hangs on
  bool drawerOpenLevelHigh = true;
  int drawerClosesAfterMs = 0;  // 0: stays open
  bool silent = false;
  int slowMs = 0;
  bool raw = false;         // hex dump of each connection besides its transcript
  std::string imageDirectory;  // where printed images go as PNG files; empty: nowhere
  int connections = 0;      // stop after this many connections closed; 0: no limit
  bool ignoreStdin = false;  // do not stop at the end of standard input
  bool pty = false;          // serve a pseudo-terminal instead of TCP
  // The roll: 80 or 58 mm. It names the model the printer reports
  // ("VIRTUAL-80", "VIRTUAL-58"), and the receipts are drawn at its width.
  int paperMm = 80;
  bool help = false;
};

// args without the program name. False with *error set on a bad command line.
bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error);

extern const char kUsage[];

// The hex dump of --raw: lines of 16 bytes, "RAW 1B 40 ...".
std::string HexDump(const std::vector<uint8_t>& bytes);

}  // namespace sim
