#pragma once
// Splits an ESC/POS byte stream into whole commands, one byte at a time, so
// that a command cut across several TCP reads is still seen as one. Lengths
// come from the command set itself (fixed parameters, pL pH counts, NUL
// terminators, image sizes), which is what keeps bytes inside another
// command's parameters or data from being taken for commands of their own.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

enum class TokenKind {
  kText,     // one printable byte (0x20..0xFF except 0x7F is printable too)
  kCommand,  // a complete command, introducer included (HT, LF, CR, FF, CAN too)
  kUnknown,  // bytes that begin no command this scanner knows
};

class TokenSink {
 public:
  virtual void OnToken(TokenKind kind, const uint8_t* bytes, size_t n) = 0;

 protected:
  ~TokenSink() = default;
};

// How far a command reaches, judged from its first bytes.
struct Extent {
  enum Kind {
    kNeedMore,  // not enough bytes yet to tell
    kKnown,     // the command is `length` bytes long
    kUntilNul,  // the command ends at the first NUL at or after `from`, at most `length` bytes
    kUnknown,   // not a command; the first `length` bytes (1 or 2) are unknown
  };
  Kind kind;
  size_t length;
  size_t from;
};

// Measures the command that starts at p[0], given the n bytes seen so far.
Extent MeasureCommand(const uint8_t* p, size_t n);

class CommandScanner {
 public:
  void Feed(uint8_t b, TokenSink& sink);
  void Feed(const uint8_t* data, size_t n, TokenSink& sink) {
    for (size_t i = 0; i < n; ++i) Feed(data[i], sink);
  }
  // True while a command has begun but is not complete.
  bool InCommand() const { return !pending_.empty(); }
  const std::vector<uint8_t>& Pending() const { return pending_; }
  // Drops an unfinished command (a new connection starts clean).
  void Reset() { pending_.clear(); }

 private:
  // Decides about pending_ after a byte was added; may emit tokens.
  void Settle(TokenSink& sink);

  std::vector<uint8_t> pending_;
};

}  // namespace sim
