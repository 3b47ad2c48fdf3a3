#include "sim/transcript.h"

#include <cstdio>

#include "sim/byte_text.h"
#include "sim/command_rules.h"
#include "sim/frame_reader.h"
#include "sim/printer_modes.h"
#include "sim/symbol_lines.h"

namespace sim {

namespace {

std::string Hex(const uint8_t* p, size_t n) {
  std::string out;
  char buf[4];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, "%02X", p[i]);
    if (i) out += ' ';
    out += buf;
  }
  return out;
}

// " 1 2 3" for p[from..to).
std::string Dec(const uint8_t* p, size_t from, size_t to) {
  std::string out;
  for (size_t i = from; i < to; ++i) {
    out += ' ';
    out += std::to_string(p[i]);
  }
  return out;
}

std::string Quoted(const uint8_t* p, size_t n) { return QuotedBytes(p, n); }

std::string Count(size_t n) { return " [" + std::to_string(n) + " bytes]"; }

// A byte that selects a function and reads best as the character it is ('3'
// in ESC c 3). Anything outside printable ASCII is shown in hex, so that it
// cannot be mistaken for the character ("ESC c 0x03 0" is not "ESC c 3 0").
std::string Selector(uint8_t b) {
  if (b > 0x20 && b < 0x7F) return std::string(1, static_cast<char>(b));
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", b);
  return buf;
}

size_t U16(const uint8_t* p) { return size_t{p[0]} | (size_t{p[1]} << 8); }

std::string SecondByteName(uint8_t b) {
  switch (b) {
    case 0x0C:
      return "FF";
    case 0x20:
      return "SP";
    default:
      return Selector(b);
  }
}

// Header bytes in decimal, then the rest of the data counted: for graphics
// blocks whose data nobody reads in a transcript.
std::string HeaderThenCount(const uint8_t* p, size_t from, size_t n, size_t header) {
  size_t headerEnd = from + header < n ? from + header : n;
  std::string out = Dec(p, from, headerEnd);
  if (headerEnd < n) out += Count(n - headerEnd);
  return out;
}

std::string FormatParenBlock(const uint8_t* p, size_t n) {
  // X ( f pL pH payload; the count is implied by the payload shown.
  std::string out = (p[0] == 0x1B ? "ESC ( " : p[0] == 0x1C ? "FS ( " : "GS ( ") + Selector(p[2]);
  const size_t from = 5;
  size_t payload = n - from;
  if (p[0] == 0x1D && p[2] == 'k' && payload >= 3 && p[from + 1] == 0x50) {
    // Symbol data store: cn fn m data.
    return out + Dec(p, from, from + 3) + " " + Quoted(p + from + 3, payload - 3);
  }
  if (p[0] == 0x1D && p[2] == 'L') return out + HeaderThenCount(p, from, n, 10);
  if (payload <= 32) return out + Dec(p, from, n);
  return out + HeaderThenCount(p, from, n, 2);
}

std::string FormatDle(const uint8_t* p, size_t n) {
  switch (p[1]) {
    case 0x04:
      return "DLE EOT" + Dec(p, 2, n);
    case 0x05:
      return "DLE ENQ" + Dec(p, 2, n);
    case 0x14:
      return "DLE DC4" + Dec(p, 2, n);
    default:
      return "BYTES " + Hex(p, n);
  }
}

std::string FormatEsc(const uint8_t* p, size_t n) {
  std::string name = "ESC " + SecondByteName(p[1]);
  switch (p[1]) {
    case '(':
      return FormatParenBlock(p, n);
    case '*':
      return name + HeaderThenCount(p, 2, n, 3);
    case '&':
      return name + HeaderThenCount(p, 2, n, 3);
    case 'c':
      return name + " " + Selector(p[2]) + Dec(p, 3, n);
    default:
      return name + Dec(p, 2, n);
  }
}

std::string FormatFs(const uint8_t* p, size_t n) {
  std::string name = "FS " + SecondByteName(p[1]);
  switch (p[1]) {
    case '(':
      return FormatParenBlock(p, n);
    case '2':
      return name + HeaderThenCount(p, 2, n, 2);
    case 'g':
      return name + " " + Selector(p[2]) + HeaderThenCount(p, 3, n, 7);
    case 'q': {
      std::string out = name + Dec(p, 2, 3);
      size_t pos = 3;
      // ESC/POS sizes each image as x * y * 8 bytes; the QX1270 family's
      // form, read inside its frames, has fewer. The count is what the
      // scanner took.
      for (int i = 0; i < p[2] && pos + 4 <= n; ++i) {
        const size_t declared = U16(p + pos) * U16(p + pos + 2) * 8;
        const size_t size = declared < n - pos - 4 ? declared : n - pos - 4;
        out += Dec(p, pos, pos + 4) + Count(size);
        pos += 4 + size;
      }
      return out;
    }
    default:
      return name + Dec(p, 2, n);
  }
}

std::string FormatGs(const uint8_t* p, size_t n) {
  std::string name = "GS " + SecondByteName(p[1]);
  switch (p[1]) {
    case '(':
      return FormatParenBlock(p, n);
    case '8':
      return name + " " + Selector(p[2]) + HeaderThenCount(p, 7, n, 10);
    case '*':
      return name + HeaderThenCount(p, 2, n, 2);
    case 'v':
      return name + " " + Selector(p[2]) + HeaderThenCount(p, 3, n, 5);
    case 'g':
      return name + " " + Selector(p[2]) + Dec(p, 3, n);
    case 'k':
      if (p[2] <= 6) {
        size_t end = n > 3 && p[n - 1] == 0x00 ? n - 1 : n;
        return name + Dec(p, 2, 3) + " " + Quoted(p + 3, end - 3);
      }
      if (p[2] < 65 || n < 4) return name + Dec(p, 2, n);
      return name + Dec(p, 2, 4) + " " + Quoted(p + 4, n - 4);
    case '"': {
      size_t end = p[n - 1] == 0x00 ? n - 1 : n;
      return name + Dec(p, 2, 5) + " " + Quoted(p + 5, end - 5);
    }
    default:
      return name + Dec(p, 2, n);
  }
}

// The name of the command that starts at p, from as many of its n bytes as
// name it: "DLE DC4", "GS ( k".
std::string CommandName(const uint8_t* p, size_t n) {
  std::string name;
  switch (p[0]) {
    case 0x10:
      name = "DLE";
      break;
    case 0x1B:
      name = "ESC";
      break;
    case 0x1C:
      name = "FS";
      break;
    case 0x1D:
      name = "GS";
      break;
    default:
      return Hex(p, 1);
  }
  if (n < 2) return name;
  if (p[0] == 0x10) {
    switch (p[1]) {
      case 0x04:
        return name + " EOT";
      case 0x05:
        return name + " ENQ";
      case 0x14:
        return name + " DC4";
      default:
        return name + " " + Hex(p + 1, 1);
    }
  }
  name += " " + SecondByteName(p[1]);
  if (p[1] == '(' && n >= 3) name += " " + Selector(p[2]);
  return name;
}

class TranscriptWriter : public FrameSink {
 public:
  explicit TranscriptWriter(const TranscriptOptions& options)
      : printer_(options.view == TranscriptView::kPrinter),
        imageDirectory_(options.imageDirectory),
        connection_(options.connection) {
    modes_.SetNvGraphics(options.nvGraphics);
  }

  void OnToken(TokenKind kind, const uint8_t* bytes, size_t n, Dialect dialect) override {
    if (kind == TokenKind::kText) {
      text_.append(reinterpret_cast<const char*>(bytes), n);
      modes_.Text();
      return;
    }
    FlushText();
    if (kind == TokenKind::kUnknown) {
      if (lastWasUnknown_) {
        lines_.back() += " " + Hex(bytes, n);
      } else {
        Line("BYTES " + Hex(bytes, n));
        lastWasUnknown_ = true;
      }
      return;
    }
    std::string fault = CommandFault(bytes, n, dialect);
    std::string line;
    Reading reading;
    if (printer_) {
      if (fault.empty()) {
        reading = modes_.Command(bytes, n, dialect);
        fault = reading.fault;
      }
      line = reading.line.empty() ? DescribeSymbolCommand(bytes, n) : reading.line;
    }
    if (line.empty()) line = FormatCommand(bytes, n);
    if (fault.empty() && !reading.printed.empty()) line += ImageFile();
    Line(fault.empty() ? line : "INVALID " + line + ": " + fault);
    if (fault.empty()) {
      for (const std::string& note : reading.notes) Line(note);
    }
  }
  void OnFrameBegin() override {
    FlushText();
    Line("FRAME {");
    indent_ = "  ";
  }
  void OnFrameEnd() override {
    FlushText();
    indent_.clear();
    Line("}");
  }
  void OnBadFrame(const uint8_t* bytes, size_t n) override {
    FlushText();
    Line("BAD FRAME " + Hex(bytes, n));
  }

  void Note(const std::string& line) {
    FlushText();
    Line(line);
  }

  // A new session begins: whatever the last one left is over.
  void NewSession(const CommandScanner& scanner, int connection) {
    // Text runs on across sessions, as it always did in this transcript.
    if (scanner.InCommand()) EndOfJob(scanner, JobEnd::kEnded);
    modes_.Reset();
    connection_ = connection;
    images_ = 0;
  }
  int Connection() const { return connection_; }

  std::string Finish(const CommandScanner& scanner, JobEnd end) {
    EndOfJob(scanner, end);
    std::string out;
    for (const std::string& l : lines_) out += l + "\n";
    return out;
  }

 private:
  void EndOfJob(const CommandScanner& scanner, JobEnd end) {
    FlushText();
    const std::vector<uint8_t>& pending = scanner.Pending();
    if (!pending.empty()) {
      const size_t shown = pending.size() < 32 ? pending.size() : 32;
      std::string bytes = Hex(pending.data(), shown);
      if (shown < pending.size()) bytes += " ..." + Count(pending.size());
      if (end == JobEnd::kEnded) {
        Line("INVALID " + CommandName(pending.data(), pending.size()) + ": cut short by the end of the job, " +
             bytes);
      } else {
        Line("INCOMPLETE " + bytes);
      }
    }
  }

  // " -> DIR/2-1.png" for the next image printed, when images go to files.
  std::string ImageFile() {
    ++images_;
    if (imageDirectory_.empty()) return "";
    return " -> " + imageDirectory_ + "/" + std::to_string(connection_) + "-" + std::to_string(images_) + ".png";
  }

  void Line(std::string text) {
    lines_.push_back(indent_ + std::move(text));
    lastWasUnknown_ = false;
  }
  void FlushText() {
    if (text_.empty()) return;
    Line("TEXT " + Quoted(reinterpret_cast<const uint8_t*>(text_.data()), text_.size()));
    text_.clear();
  }

  const bool printer_;
  const std::string imageDirectory_;
  int connection_;
  int images_ = 0;  // printed in this connection
  PrinterModes modes_;
  std::vector<std::string> lines_;
  std::string text_;
  std::string indent_;
  bool lastWasUnknown_ = false;
};

}  // namespace

std::string FormatCommand(const uint8_t* p, size_t n) {
  if (n == 0) return "";
  if (n == 1) {
    switch (p[0]) {
      case 0x09:
        return "HT";
      case 0x0A:
        return "LF";
      case 0x0C:
        return "FF";
      case 0x0D:
        return "CR";
      case 0x18:
        return "CAN";
      default:
        return "BYTES " + Hex(p, n);
    }
  }
  switch (p[0]) {
    case 0x10:
      return FormatDle(p, n);
    case 0x1B:
      return FormatEsc(p, n);
    case 0x1C:
      return FormatFs(p, n);
    case 0x1D:
      return FormatGs(p, n);
    default:
      return "BYTES " + Hex(p, n);
  }
}

std::string DecodeTranscript(const std::vector<uint8_t>& bytes, const TranscriptOptions& options) {
  FrameReader reader;
  TranscriptWriter writer(options);
  // Fed up to each note's offset, the reader has put out every command the
  // printer had read when it made the note, just as the printer cut them.
  size_t fed = 0;
  auto feedTo = [&](size_t offset) {
    const size_t to = offset < bytes.size() ? offset : bytes.size();
    if (to > fed) {
      reader.Feed(bytes.data() + fed, to - fed, writer);
      fed = to;
    }
  };
  // The command view reads everything as one stream.
  const std::vector<size_t> none;
  const std::vector<size_t>& starts = options.view == TranscriptView::kPrinter ? options.sessionStarts : none;
  auto session = starts.begin();
  auto startSessionsUpTo = [&](size_t offset) {
    for (; session != starts.end() && *session <= offset; ++session) {
      feedTo(*session);
      reader.FlushCandidate(writer);
      const size_t index = static_cast<size_t>(session - starts.begin());
      const int connection =
          index < options.sessionConnections.size() ? options.sessionConnections[index] : writer.Connection() + 1;
      writer.NewSession(reader.Scanner(), connection);
      reader.Reset();
    }
  };
  for (const TranscriptNote& note : options.notes) {
    startSessionsUpTo(note.offset);
    feedTo(note.offset);
    writer.Note(note.line);
  }
  startSessionsUpTo(bytes.size());
  feedTo(bytes.size());
  reader.FlushCandidate(writer);
  return writer.Finish(reader.Scanner(), options.end);
}

std::string DecodeTranscript(const std::vector<uint8_t>& bytes, JobEnd end, const std::vector<TranscriptNote>& notes) {
  TranscriptOptions options;
  options.end = end;
  options.notes = notes;
  return DecodeTranscript(bytes, options);
}

int CountInvalidLines(const std::string& transcript) {
  int count = 0;
  size_t start = 0;
  while (start < transcript.size()) {
    size_t end = transcript.find('\n', start);
    if (end == std::string::npos) end = transcript.size();
    const size_t text = transcript.find_first_not_of(' ', start);
    if (text < end && transcript.compare(text, 8, "INVALID ") == 0) ++count;
    start = end + 1;
  }
  return count;
}

}  // namespace sim
