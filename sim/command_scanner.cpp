#include "sim/command_scanner.h"

namespace sim {

namespace {

constexpr uint8_t kDle = 0x10;
constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kFs = 0x1C;
constexpr uint8_t kGs = 0x1D;

constexpr Extent NeedMore() { return {Extent::kNeedMore, 0, 0}; }
constexpr Extent Known(size_t length) { return {Extent::kKnown, length, 0}; }
constexpr Extent UntilNul(size_t from, size_t maxLength) { return {Extent::kUntilNul, maxLength, from}; }

// An introducer followed by a byte that starts no command: a printable second
// byte belongs to the unknown sequence (the printer swallows it), a control
// byte does not (it may start the next command).
Extent Unknown(const uint8_t* p) { return {Extent::kUnknown, p[1] < 0x20 ? size_t{1} : size_t{2}, 0}; }

size_t U16(const uint8_t* p) { return size_t{p[0]} | (size_t{p[1]} << 8); }
size_t U32(const uint8_t* p) {
  return size_t{p[0]} | (size_t{p[1]} << 8) | (size_t{p[2]} << 16) | (size_t{p[3]} << 24);
}

// Commands of the form X ( f pL pH data: the count says it all.
Extent ParenBlock(size_t n, const uint8_t* p) {
  if (n < 5) return NeedMore();
  return Known(5 + U16(p + 3));
}

Extent MeasureDle(const uint8_t* p, size_t n) {
  switch (p[1]) {
    case 0x04:  // DLE EOT n [a]
      if (n < 3) return NeedMore();
      return Known(p[2] == 7 || p[2] == 8 ? 4 : 3);
    case 0x05:  // DLE ENQ n
      return Known(3);
    case 0x14:  // DLE DC4 fn ...
      if (n < 3) return NeedMore();
      switch (p[2]) {
        case 1:  // pulse: m t
        case 2:  // power off: a b
          return Known(5);
        case 3:  // buzzer: a n r t1 t2
          return Known(8);
        case 7:  // status: m
          return Known(4);
        case 8:  // clear buffers: seven fixed bytes
          return Known(10);
        default:
          // No such function: nothing tells how many bytes it would take.
          return Known(3);
      }
    default:
      // DLE on its own is no command; whatever follows is read afresh.
      return {Extent::kUnknown, 1, 0};
  }
}

// ESC D n1 .. nk NUL. The stops rise; a NUL, or a value not above the stop
// before it, ends the list and belongs to it. A printer takes at most 32
// stops: after them only a NUL still belongs to the command, anything else
// is ordinary data again, which only the byte after the 32nd stop shows.
Extent TabStops(const uint8_t* p, size_t n) {
  constexpr size_t kMaxStops = 32;
  for (size_t i = 2; i < n; ++i) {
    const size_t stops = i - 2;
    if (stops == kMaxStops) return Known(p[i] == 0x00 ? i + 1 : i);
    if (p[i] == 0x00 || (stops > 0 && p[i] <= p[i - 1])) return Known(i + 1);
  }
  return NeedMore();
}

Extent MeasureEsc(const uint8_t* p, size_t n) {
  switch (p[1]) {
    case 0x0C:  // ESC FF
    case '2':
    case '<':
    case '@':
    case 'L':
    case 'S':
    case 'i':
    case 'm':
    case 'v':
      return Known(2);
    case ' ':
    case '!':
    case '%':
    case '-':
    case '3':
    case '=':
    case '?':
    case 'E':
    case 'G':
    case 'J':
    case 'K':
    case 'M':
    case 'R':
    case 'T':
    case 'U':
    case 'V':
    case 'a':
    case 'd':
    case 'e':
    case 'r':
    case 't':
    case 'u':
    case '{':
      return Known(3);
    case '$':
    case '\\':
    case 'c':
    case 'f':
      return Known(4);
    case 'p':
      return Known(5);
    case 'W':
      return Known(10);
    case '(':
      return ParenBlock(n, p);
    case '*': {  // ESC * m nL nH d1..dk, k = n (8-dot) or 3n (24-dot)
      if (n < 5) return NeedMore();
      size_t columns = U16(p + 3);
      return Known(5 + (p[2] >= 32 ? 3 * columns : columns));
    }
    case 'D':
      return TabStops(p, n);
    case '&': {  // ESC & y c1 c2 [x d1..d(y*x)] for each character c1..c2
      if (n < 5) return NeedMore();
      size_t y = p[2];
      size_t pos = 5;
      for (int c = p[3]; c <= p[4]; ++c) {
        if (n < pos + 1) return NeedMore();
        pos += 1 + y * p[pos];
      }
      return Known(pos);
    }
    default:
      return Unknown(p);
  }
}

Extent MeasureFs(const uint8_t* p, size_t n, Dialect dialect) {
  switch (p[1]) {
    case '&':
    case '.':
      return Known(2);
    case '!':
    case '-':
    case 'C':
    case 'W':
      return Known(3);
    case '?':
    case 'S':
    case 'p':
      return Known(4);
    case '2':  // FS 2 c1 c2 and a 24 x 24 dot character
      return Known(4 + 72);
    case '(':
      return ParenBlock(n, p);
    case 'g':  // FS g 1 m a1..a4 nL nH d1..dk / FS g 2 m a1..a4 nL nH
      if (n < 3) return NeedMore();
      if (p[2] == '2') return Known(10);
      if (p[2] != '1') return Unknown(p);
      if (n < 10) return NeedMore();
      return Known(10 + U16(p + 8));
    case 'q': {  // FS q n [xL xH yL yH d1..d(x*y*8)] n times
      if (n < 3) return NeedMore();
      if (dialect == Dialect::kQx1270Frame && p[2] == 1) {
        // The family's one image: width and height in dots, rows of whole
        // bytes. Its two-tone form sends a second plane the command does
        // not announce; that plane reads as data.
        if (n < 7) return NeedMore();
        return Known(7 + (U16(p + 3) + 7) / 8 * U16(p + 5));
      }
      size_t pos = 3;
      for (int i = 0; i < p[2]; ++i) {
        if (n < pos + 4) return NeedMore();
        pos += 4 + U16(p + pos) * U16(p + pos + 2) * 8;
      }
      return Known(pos);
    }
    default:
      return Unknown(p);
  }
}

Extent MeasureGs(const uint8_t* p, size_t n) {
  switch (p[1]) {
    case ':':
    case 'c':
      return Known(2);
    case '!':
    case '/':
    case 'B':
    case 'E':
    case 'H':
    case 'I':
    case 'T':
    case 'a':
    case 'b':
    case 'f':
    case 'h':
    case 'j':
    case 'r':
    case 'w':
      return Known(3);
    case '$':
    case 'L':
    case 'P':
    case 'W':
    case '\\':
      return Known(4);
    case '^':
      return Known(5);
    case '(':
      return ParenBlock(n, p);
    case '8':  // GS 8 x p1 p2 p3 p4 data
      if (n < 7) return NeedMore();
      return Known(7 + U32(p + 3));
    case '*':  // GS * x y d1..d(x*y*8)
      if (n < 4) return NeedMore();
      return Known(4 + size_t{p[2]} * p[3] * 8);
    case 'v':  // GS v 0 m xL xH yL yH d1..d(x*y)
      if (n < 3) return NeedMore();
      if (p[2] != '0') return Unknown(p);
      if (n < 8) return NeedMore();
      return Known(8 + U16(p + 4) * U16(p + 6));
    case 'V':  // GS V m [n]
      if (n < 3) return NeedMore();
      switch (p[2]) {
        case 65:
        case 66:
        case 97:
        case 98:
        case 103:
        case 104:
          return Known(4);
        default:
          return Known(3);
      }
    case 'g':  // GS g 0 m nL nH / GS g 2 m nL nH
      if (n < 3) return NeedMore();
      if (p[2] != '0' && p[2] != '2') return Unknown(p);
      return Known(6);
    case 'k':  // GS k m d1..dk NUL (m 0..6) or GS k m n d1..dn (m 65..)
      if (n < 3) return NeedMore();
      if (p[2] <= 6) return UntilNul(3, 3 + 255 + 1);
      if (p[2] < 65) return Known(3);
      if (n < 4) return NeedMore();
      return Known(4 + size_t{p[3]});
    case '\'':  // GS ' n and n segments of four bytes
      if (n < 3) return NeedMore();
      return Known(3 + 4 * size_t{p[2]});
    case '"':  // GS " m nL nH text NUL
      if (n < 5) return NeedMore();
      return UntilNul(5, 5 + 65536 + 1);
    default:
      return Unknown(p);
  }
}

bool IsPrintable(uint8_t b) { return b >= 0x20 && b != 0x7F; }

}  // namespace

Extent MeasureCommand(const uint8_t* p, size_t n, Dialect dialect) {
  if (n == 0) return NeedMore();
  switch (p[0]) {
    case 0x09:  // HT
    case 0x0A:  // LF
    case 0x0C:  // FF
    case 0x0D:  // CR
    case 0x18:  // CAN
      return Known(1);
    case kDle:
    case kEsc:
    case kFs:
    case kGs:
      if (n < 2) return NeedMore();
      if (p[0] == kDle) return MeasureDle(p, n);
      if (p[0] == kEsc) return MeasureEsc(p, n);
      if (p[0] == kFs) return MeasureFs(p, n, dialect);
      return MeasureGs(p, n);
    default:
      return {Extent::kUnknown, 1, 0};
  }
}

void CommandScanner::Feed(uint8_t b, TokenSink& sink, Dialect dialect) {
  feedDialect_ = dialect;
  if (pending_.empty() && IsPrintable(b)) {
    sink.OnToken(TokenKind::kText, &b, 1, dialect);
    return;
  }
  if (pending_.empty()) pendingDialect_ = dialect;
  pending_.push_back(b);
  Settle(sink);
}

void CommandScanner::Settle(TokenSink& sink) {
  while (!pending_.empty()) {
    Extent e = MeasureCommand(pending_.data(), pending_.size(), pendingDialect_);
    switch (e.kind) {
      case Extent::kNeedMore:
        return;
      case Extent::kKnown:
        if (pending_.size() < e.length) return;
        EmitAndRescan(TokenKind::kCommand, e.length, sink);
        continue;
      case Extent::kUntilNul:
        if (pending_.size() <= e.from) return;
        if (pending_.back() != 0x00 && pending_.size() < e.length) return;
        EmitAndRescan(TokenKind::kCommand, pending_.size(), sink);
        continue;
      case Extent::kUnknown:
        EmitAndRescan(TokenKind::kUnknown, e.length, sink);
        continue;
    }
  }
}

void CommandScanner::EmitAndRescan(TokenKind kind, size_t n, TokenSink& sink) {
  sink.OnToken(kind, pending_.data(), n, pendingDialect_);
  // At most the byte just added is left over; it arrived in the current
  // feed's dialect.
  std::vector<uint8_t> rest(pending_.begin() + static_cast<std::ptrdiff_t>(n), pending_.end());
  pending_.clear();
  for (uint8_t r : rest) {
    if (pending_.empty() && IsPrintable(r)) {
      sink.OnToken(TokenKind::kText, &r, 1, feedDialect_);
    } else {
      if (pending_.empty()) pendingDialect_ = feedDialect_;
      pending_.push_back(r);
    }
  }
}

}  // namespace sim
