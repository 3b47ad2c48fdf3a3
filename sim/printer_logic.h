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
// Like a strict printer it judges every command (command_rules.h): a
// malformed one is counted and not acted on.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "sim/frame_reader.h"
#include "sim/printer_state.h"

namespace sim {

class PrinterLogic {
 public:
  explicit PrinterLogic(PrinterIdentity identity = PrinterIdentity()) : identity_(std::move(identity)) {}

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

  bool AutomaticStatusOn() const { return asb_; }
  int ResetsSeen() const { return resets_; }
  int InvalidCommands() const { return invalid_; }

 private:
  class Sink;
  void OnCommand(const uint8_t* p, size_t n, Dialect dialect, const PrinterState& state,
                 std::vector<uint8_t>* replies);

  PrinterIdentity identity_;
  FrameReader reader_;
  bool asb_ = false;
  int resets_ = 0;
  int invalid_ = 0;
};

}  // namespace sim
