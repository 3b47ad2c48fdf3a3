#pragma once
// Reads the byte stream of a printer that may wrap its data in checksummed
// frames (AA, length 0..46, payload, XOR of the payload, BB), as one printer
// family does. Frame payloads and unframed bytes go through the same command
// scanner, because the sender cuts its data into frames without regard to
// command boundaries: a command may start in one frame and end in the next.
//
// Commands that start inside a frame are read as the framing family's
// (Dialect::kQx1270Frame); the rest as ESC/POS.
//
// 0xAA is also a printable character. A frame is only recognised where a
// command may start (or where a framed command continues), and only when the
// length, the BB terminator and the checksum all fit; otherwise the bytes are
// read as ordinary data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/command_scanner.h"

namespace sim {

class FrameSink : public TokenSink {
 public:
  virtual void OnFrameBegin() = 0;
  virtual void OnFrameEnd() = 0;
  // A frame whose length and terminator fit but whose checksum does not; a
  // printer drops such a frame.
  virtual void OnBadFrame(const uint8_t* bytes, size_t n) = 0;

 protected:
  ~FrameSink() = default;
};

class FrameReader {
 public:
  static constexpr uint8_t kStart = 0xAA;
  static constexpr uint8_t kEnd = 0xBB;
  static constexpr size_t kMaxPayload = 46;

  void Feed(const uint8_t* data, size_t n, FrameSink& sink);
  // No more bytes are coming for now: a started frame candidate that cannot
  // complete is read as ordinary data.
  void FlushCandidate(FrameSink& sink);
  // True while bytes are held back because they may be a frame.
  bool HoldsCandidate() const { return !candidate_.empty(); }
  const CommandScanner& Scanner() const { return scanner_; }
  void Reset();

 private:
  void Process(uint8_t b, FrameSink& sink);
  void Reject(FrameSink& sink);

  CommandScanner scanner_;
  std::vector<uint8_t> candidate_;
  bool pendingIsFramed_ = false;  // the scanner's unfinished command came from a frame
};

}  // namespace sim
