// Windows has no pseudo-terminals a serial client could open.
#include "platform/pseudo_terminal.h"

namespace platform {

PseudoTerminal::PseudoTerminal() : master_(-1) {}
PseudoTerminal::~PseudoTerminal() = default;
bool PseudoTerminal::Available() { return false; }
bool PseudoTerminal::Open() { return false; }
bool PseudoTerminal::IsOpen() const { return false; }
bool PseudoTerminal::WaitForClient(int) { return false; }
bool PseudoTerminal::Receive(uint8_t*, size_t, int, size_t* received) {
  if (received) *received = 0;
  timedOut_ = false;
  return false;
}
bool PseudoTerminal::Send(const uint8_t*, size_t, int, size_t* sent) {
  if (sent) *sent = 0;
  return false;
}
void PseudoTerminal::Close() {}

}  // namespace platform
