#pragma once
// Cross-check of the command builders against the virtual printer's decoder.
// The decoder was written from the meaning of the ESC/POS commands, not from
// the builders, so a builder whose bytes do not say what its name promises,
// or whose command is longer or shorter than the printer reads it, shows up
// as a transcript that differs from the expected lines.
//
// One row per builder call, with the transcript lines it must decode to on
// CCmdHelperBase and on CmdHelper_QX1270 (kSame when both helpers append the
// same command, kNothing when a helper appends nothing).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "sim/transcript.h"
#include "so/base/PrinterBuffer.h"
#include "so/format/CCmdHelperBase.h"
#include "so/format/CmdHelper_QX1270.h"

namespace QEL {
namespace Printer {
namespace test {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

template <typename... T>
Lines L(const T&... lines) {
  return Lines{std::string(lines)...};
}

inline const std::optional<Lines> kSame = std::nullopt;
inline const Lines kNothing{};

// The lines of a command sent in one checksummed frame.
inline Lines InFrame(const Lines& lines) {
  Lines framed = {"FRAME {"};
  for (const std::string& l : lines) framed.push_back("  " + l);
  framed.push_back("}");
  return framed;
}

struct TranscriptRow {
  std::string call;
  std::function<void(CCmdHelperBase&, PrinterBuffer&)> run;
  Lines base;
  std::optional<Lines> qx;

  const Lines& Expected(bool qx1270) const { return qx1270 && qx ? *qx : base; }
};

// Data full of bytes that begin commands, end strings or start frames: only
// the declared lengths keep them inside their command.
inline Bytes Tricky(size_t n) {
  static const uint8_t cycle[] = {0x10, 0x04, 0x01, 0x1B, 0x40, 0x00, 0xAA, 0x0A, 0x1D, 0xBB, 0x0C};
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = cycle[i % sizeof cycle];
  return b;
}

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline Bytes Build(CCmdHelperBase& helper, const TranscriptRow& row) {
  PrinterBuffer out(32, 32);
  row.run(helper, out);
  return Bytes(out.data(), out.data() + out.size());
}

inline Lines Split(const std::string& transcript) {
  Lines lines;
  std::istringstream in(transcript);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

inline std::string Joined(const Lines& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

inline std::string Decode(const Bytes& bytes) { return sim::DecodeTranscript(bytes); }

inline Lines Concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

inline bool HasFrame(const Lines& lines) {
  for (const std::string& l : lines) {
    if (l == "FRAME {") return true;
  }
  return false;
}

// The transcript of framed data with the frames taken away: the payload
// lines unindented, and text that a frame boundary cut in two joined again.
// *frames receives the number of good frames.
inline Lines Unframed(const std::string& transcript, size_t* frames) {
  Lines out;
  *frames = 0;
  for (const std::string& raw : Split(transcript)) {
    if (raw == "FRAME {") {
      ++*frames;
      continue;
    }
    if (raw == "}") continue;
    std::string line = raw.compare(0, 2, "  ") == 0 ? raw.substr(2) : raw;
    const std::string text = "TEXT \"";
    if (!out.empty() && line.compare(0, text.size(), text) == 0 &&
        out.back().compare(0, text.size(), text) == 0) {
      out.back().pop_back();  // closing quote
      out.back() += line.substr(text.size());
      continue;
    }
    out.push_back(line);
  }
  return out;
}

// Long transcripts are compared line by line, and a failure names the first
// line that differs with a few lines around it rather than both transcripts.
inline void ExpectSameLines(const Lines& actual, const Lines& expected, const std::string& what) {
  size_t i = 0;
  while (i < actual.size() && i < expected.size() && actual[i] == expected[i]) ++i;
  if (i == actual.size() && i == expected.size()) return;
  auto around = [i](const Lines& lines) {
    std::string s;
    const size_t from = i < 3 ? 0 : i - 3;
    for (size_t k = from; k < lines.size() && k < i + 3; ++k) {
      s += (k == i ? "  > " : "    ") + lines[k] + "\n";
    }
    return s;
  };
  ADD_FAILURE() << what << ": line " << i << " of " << actual.size() << " decoded / "
                << expected.size() << " expected differs\ndecoded:\n"
                << around(actual) << "expected:\n"
                << around(expected);
}

// What QX1270 output looks like once framed: frames of at most 46 bytes
// whose payloads read as the unframed commands did.
inline void ExpectFramedReadsAs(const Bytes& payload, const Lines& expected,
                                const std::string& what) {
  CmdHelper_QX1270 qx;
  PrinterBuffer data(32, 32);
  data.append(payload.data(), payload.size());
  PrinterBuffer framed(32, 32);
  qx.PackOutput(framed, data);
  size_t frames = 0;
  const Bytes wire(framed.data(), framed.data() + framed.size());
  const Lines lines = Unframed(Decode(wire), &frames);
  ExpectSameLines(lines, expected, what + " (framed)");
  EXPECT_EQ(frames, (payload.size() + 45) / 46) << what;
  EXPECT_EQ(framed.size(), payload.size() + 4 * frames) << what;
}

// Every row on both helpers: the decoded transcript, and for the QX1270
// helper the same lines again once its output is framed.
inline void ExpectRows(const std::vector<TranscriptRow>& rows) {
  for (const TranscriptRow& row : rows) {
    CCmdHelperBase base;
    EXPECT_EQ(Decode(Build(base, row)), Joined(row.base)) << "CCmdHelperBase: " << row.call;
    CmdHelper_QX1270 qx;
    const Bytes qxBytes = Build(qx, row);
    EXPECT_EQ(Decode(qxBytes), Joined(row.Expected(true))) << "CmdHelper_QX1270: " << row.call;
    if (!qxBytes.empty() && !HasFrame(row.Expected(true))) {
      ExpectFramedReadsAs(qxBytes, row.Expected(true), "CmdHelper_QX1270: " + row.call);
    }
  }
}

// All rows' bytes in one buffer, in the given order, against all rows' lines:
// a command that is longer or shorter than the decoder reads it takes its
// neighbour's bytes or leaves some behind, and the lines no longer match.
inline void ExpectSequence(CCmdHelperBase& helper, bool qx1270,
                           const std::vector<TranscriptRow>& rows, const std::string& what) {
  Bytes all;
  Lines expected;
  for (const TranscriptRow& row : rows) {
    const Bytes b = Build(helper, row);
    all.insert(all.end(), b.begin(), b.end());
    const Lines& l = row.Expected(qx1270);
    expected.insert(expected.end(), l.begin(), l.end());
  }
  ExpectSameLines(Split(Decode(all)), expected, what);
}

inline void ExpectSequences(const std::vector<TranscriptRow>& rows, const std::string& what) {
  std::vector<TranscriptRow> reversed(rows.rbegin(), rows.rend());
  CCmdHelperBase base;
  ExpectSequence(base, false, rows, "CCmdHelperBase, " + what);
  ExpectSequence(base, false, reversed, "CCmdHelperBase, reversed " + what);
  CmdHelper_QX1270 qx;
  ExpectSequence(qx, true, rows, "CmdHelper_QX1270, " + what);
  ExpectSequence(qx, true, reversed, "CmdHelper_QX1270, reversed " + what);
}

// The cut commands feed the process-wide cut-feed distance first; the tables
// are written for 3450 (272 dots: ESC J 255, ESC J 17).
class BuilderDecoder : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CCmdHelperBase::CutFeedDistance();
    CCmdHelperBase::SetCutFeedDistance(3450);
  }
  void TearDown() override { CCmdHelperBase::SetCutFeedDistance(saved_); }

 private:
  int32_t saved_ = 0;
};

// The tables, one per group of commands (defined beside their tests).
std::vector<TranscriptRow> PrintControlRows();
std::vector<TranscriptRow> CharacterRows();
std::vector<TranscriptRow> PageModeRows();
std::vector<TranscriptRow> SetupRows();
std::vector<TranscriptRow> GraphicsRows();
std::vector<TranscriptRow> SymbolRows();
std::vector<TranscriptRow> BarcodeAndCutRows();
std::vector<TranscriptRow> FamilyCommandRows();

}  // namespace test
}  // namespace Printer
}  // namespace QEL

// ROW(base lines, QX1270 lines or kSame, the call on helper h into buffer out)
#define ROW(base, qx, ...)                                                               \
  ::QEL::Printer::test::TranscriptRow {                                                  \
    #__VA_ARGS__,                                                                        \
        [](::QEL::Printer::CCmdHelperBase& h, ::QEL::Printer::PrinterBuffer& out) {      \
          __VA_ARGS__;                                                                   \
        },                                                                               \
        base, qx                                                                         \
  }
