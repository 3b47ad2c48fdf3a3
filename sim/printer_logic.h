#pragma once
// The printer side of the conversation, without any socket: feed it what
// arrived and it tells what the printer answers. One instance per connection
// (a new connection starts with automatic status back off and no half-read
// command).
//
// It answers DLE EOT 1..4, GS r 1/2 (and 49/50), GS I n, and GS a n (n != 0
// switches automatic status back on and pushes the status at once, 0 switches
// it off). ESC @ resets printer-side modes but, as on a real printer, does not
// change automatic status back. Commands inside checksummed frames are
// answered the same way, unframed.
//
// Like a strict printer it judges every command (command_rules.h), and
// keeps the modes that decide how it takes the next (printer_modes.h: page
// mode, stored symbol data): a malformed command, or one it will not act on
// after what came before, is counted and not acted on. A new connection
// starts in standard mode with nothing stored but NV graphics, which
// outlive connections as they outlive the power (SetNvGraphics).
//
// Drawer kick pulses (ESC p, DLE DC4 1) go to the drawer kick handler, since
// the drawer outlives the connection.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "sim/cash_drawer.h"
#include "sim/frame_reader.h"
#include "sim/printer_modes.h"
#include "sim/printer_state.h"

namespace sim {

class PrinterLogic {
 public:
  // Puts a pulse out for a command that was complete once `position` bytes of
  // the connection had been read. Returns the printer's state changes since
  // the last look, in order, the last one holding from then on; none when
  // nothing changed.
  using DrawerKick = std::function<std::vector<PrinterState>(const DrawerPulse& pulse, size_t position)>;

  explicit PrinterLogic(PrinterIdentity identity = PrinterIdentity()) : identity_(std::move(identity)) {}

  // Without one, pulses are read and go nowhere.
  void SetDrawerKick(DrawerKick kick) { kick_ = std::move(kick); }

  // Reads received bytes with `state` as the printer's state; appends what
  // the printer answers to *replies.
  void Receive(const uint8_t* data, size_t n, const PrinterState& state, std::vector<uint8_t>* replies);
  // Nothing more arrived for a while: bytes held back as a possible frame are
  // read as ordinary data.
  void Idle(const PrinterState& state, std::vector<uint8_t>* replies);
  // The status changed: appends the automatic status if it is on.
  void StateChanged(const PrinterState& state, std::vector<uint8_t>* replies) const;

  // The connection closed: bytes held back as a possible frame are read as
  // data, and a command the job ends in counts as malformed.
  void JobEnded();

  // What the last connection left in NV memory.
  void SetNvGraphics(const NvGraphics& nv) { modes_.SetNvGraphics(nv); }
  // The images put on paper since the last call, in order.
  std::vector<PrintedImage> TakePrintedImages();

  bool AutomaticStatusOn() const { return asb_; }
  const PrinterModes& Modes() const { return modes_; }
  int ResetsSeen() const { return resets_; }
  int InvalidCommands() const { return invalid_; }
  // Bytes of this connection read so far.
  size_t Position() const { return position_; }

 private:
  class Sink;
  void OnCommand(const uint8_t* p, size_t n, Dialect dialect, PrinterState* state, std::vector<uint8_t>* replies);

  PrinterIdentity identity_;
  DrawerKick kick_;
  FrameReader reader_;
  PrinterModes modes_;
  size_t position_ = 0;
  bool asb_ = false;
  int resets_ = 0;
  int invalid_ = 0;
  std::vector<PrintedImage> printed_;
};

}  // namespace sim
