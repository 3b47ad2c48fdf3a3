#include "sim/printer_logic.h"

#include <utility>

#include "sim/command_rules.h"

namespace sim {

class PrinterLogic::Sink : public FrameSink {
 public:
  // A command may change the state (a drawer kick), so the sink answers from
  // its own copy.
  Sink(PrinterLogic& logic, const PrinterState& state, std::vector<uint8_t>* replies)
      : logic_(logic), state_(state), replies_(replies) {}
  void OnToken(TokenKind kind, const uint8_t* bytes, size_t n, Dialect dialect) override {
    if (kind == TokenKind::kText) logic_.modes_.Text();
    if (kind == TokenKind::kCommand) logic_.OnCommand(bytes, n, dialect, &state_, replies_);
  }
  void OnFrameBegin() override {}
  void OnFrameEnd() override {}
  void OnBadFrame(const uint8_t*, size_t) override {}

 private:
  PrinterLogic& logic_;
  PrinterState state_;
  std::vector<uint8_t>* replies_;
};

void PrinterLogic::Receive(const uint8_t* data, size_t n, const PrinterState& state,
                           std::vector<uint8_t>* replies) {
  Sink sink(*this, state, replies);
  // One byte at a time, so that a command's position is known when the
  // reader puts it out.
  for (size_t i = 0; i < n; ++i) {
    ++position_;
    reader_.Feed(data + i, 1, sink);
  }
}

void PrinterLogic::Idle(const PrinterState& state, std::vector<uint8_t>* replies) {
  if (!reader_.HoldsCandidate()) return;
  Sink sink(*this, state, replies);
  reader_.FlushCandidate(sink);
}

void PrinterLogic::JobEnded() {
  const PrinterState unused;
  std::vector<uint8_t> unanswered;  // nobody is left to read answers
  Sink sink(*this, unused, &unanswered);
  reader_.FlushCandidate(sink);
  if (reader_.Scanner().InCommand()) ++invalid_;
  reader_.Reset();
  modes_.Reset();
}

std::vector<PrintedImage> PrinterLogic::TakePrintedImages() {
  std::vector<PrintedImage> images;
  images.swap(printed_);
  return images;
}

void PrinterLogic::StateChanged(const PrinterState& state, std::vector<uint8_t>* replies) const {
  if (!asb_) return;
  auto bytes = AutomaticStatusBytes(state);
  replies->insert(replies->end(), bytes.begin(), bytes.end());
}

void PrinterLogic::OnCommand(const uint8_t* p, size_t n, Dialect dialect, PrinterState* statePtr,
                             std::vector<uint8_t>* replies) {
  const PrinterState& state = *statePtr;
  if (!CommandFault(p, n, dialect).empty()) {
    ++invalid_;
    return;
  }
  Reading reading = modes_.Command(p, n, dialect);
  if (!reading.fault.empty()) {
    ++invalid_;
    return;
  }
  for (PrintedImage& image : reading.printed) printed_.push_back(std::move(image));
  if (auto pulse = DrawerPulseOf(p, n)) {
    if (!kick_) return;
    // Reported here, in turn with the answers, as a printer would.
    const std::vector<PrinterState> changes = kick_(*pulse, position_);
    for (const PrinterState& s : changes) StateChanged(s, replies);
    if (!changes.empty()) *statePtr = changes.back();
    return;
  }
  if (n == 3 && p[0] == 0x10 && p[1] == 0x04) {  // DLE EOT n
    if (auto b = RealTimeStatusByte(p[2], state)) replies->push_back(*b);
    return;
  }
  if (n == 2 && p[0] == 0x1B && p[1] == '@') {  // ESC @
    ++resets_;
    return;
  }
  if (n != 3 || p[0] != 0x1D) return;
  switch (p[1]) {
    case 'r':  // GS r n
      if (auto b = TransmitStatusByte(p[2], state)) replies->push_back(*b);
      return;
    case 'a':  // GS a n
      asb_ = p[2] != 0;
      StateChanged(state, replies);
      return;
    case 'I': {  // GS I n
      auto text = [&](const std::string& s) {
        replies->push_back('_');
        replies->insert(replies->end(), s.begin(), s.end());
        replies->push_back(0x00);
      };
      switch (p[2]) {
        case 1:
        case 49:
          replies->push_back(identity_.modelId);
          return;
        case 2:
        case 50:
          replies->push_back(identity_.typeId);
          return;
        case 3:
        case 51:
          replies->push_back(identity_.romVersionId);
          return;
        case 65:
          text(identity_.firmware);
          return;
        case 66:
          text(identity_.maker);
          return;
        case 67:
          text(identity_.model);
          return;
        case 68:
          text(identity_.serial);
          return;
        case 69:
          text(identity_.fontInfo);
          return;
        default:
          return;
      }
    }
    default:
      return;
  }
}

}  // namespace sim
