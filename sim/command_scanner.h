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

// The command set the bytes are read in. The QX1270 family's checksummed
// frames carry that family's commands, and the few it defines differently
// from ESC/POS (FS q, GS E) are read its way there. Outside frames nothing
// tells the family's bytes from ESC/POS, so they are read as ESC/POS.
enum class Dialect {
  kEscPos,
  kQx1270Frame,
};

class TokenSink {
 public:
  // dialect: the command set the token was read in.
  virtual void OnToken(TokenKind kind, const uint8_t* bytes, size_t n, Dialect dialect) = 0;

 protected:
  ~TokenSink() = default;
};

// How far a command reaches, judged from its first bytes.
struct Extent {
  enum Kind {
    kNeedMore,  // not enough bytes yet to tell
    kKnown,     // the command is `length` bytes long; it may end before the
                // last byte seen when only that byte showed where it ends
    kUntilNul,  // the command ends at the first NUL at or after `from`, at most `length` bytes
    kUnknown,   // not a command; the first `length` bytes (1 or 2) are unknown
  };
  Kind kind;
  size_t length;
  size_t from;
};

// Measures the command that starts at p[0], given the n bytes seen so far.
Extent MeasureCommand(const uint8_t* p, size_t n, Dialect dialect = Dialect::kEscPos);

class CommandScanner {
 public:
  // A command is read in the dialect of the byte that starts it.
  void Feed(uint8_t b, TokenSink& sink, Dialect dialect = Dialect::kEscPos);
  void Feed(const uint8_t* data, size_t n, TokenSink& sink, Dialect dialect = Dialect::kEscPos) {
    for (size_t i = 0; i < n; ++i) Feed(data[i], sink, dialect);
  }
  // True while a command has begun but is not complete.
  bool InCommand() const { return !pending_.empty(); }
  const std::vector<uint8_t>& Pending() const { return pending_; }
  // Drops an unfinished command (a new connection starts clean).
  void Reset() { pending_.clear(); }

 private:
  // Decides about pending_ after a byte was added; may emit tokens.
  void Settle(TokenSink& sink);
  // Emits the first n pending bytes as one token and scans what follows
  // them afresh.
  void EmitAndRescan(TokenKind kind, size_t n, TokenSink& sink);

  std::vector<uint8_t> pending_;
  Dialect pendingDialect_ = Dialect::kEscPos;
  Dialect feedDialect_ = Dialect::kEscPos;
};

}  // namespace sim
