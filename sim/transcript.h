#pragma once
// Human-readable transcript of what a printer received: one line per command,
// written from the meaning of the ESC/POS commands, so that it checks the
// service's command building independently.
//
//   ESC @                    command names with their parameter bytes in decimal
//   ESC c 3 0                selector bytes that are part of the name as characters
//   TEXT "AB\xE9"            runs of printable bytes, other bytes as \xNN
//   LF / CR / HT / FF / CAN  single-byte controls
//   GS k 73 5 "{Babc"        barcode and 2D-symbol data quoted
//   GS v 0 0 2 0 8 0 [16 bytes]   image data only counted
//   BYTES 1B 99              anything unknown, in hex
//   INCOMPLETE 1D 28 6B 05   a command the data ends in the middle of
//   FRAME { ... }            the payload of a checksummed frame, indented
//   BAD FRAME AA 01 41 00 BB a frame whose checksum does not match
//   INVALID GS h 0: n 0 outside 1..255
//                            a command a printer would ignore, misprint or
//                            misread: its usual line, then why
//   DRAWER OPENED            what the printer did besides reading (a note),
//                            after the line of what it had read by then
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// Whether more bytes may still follow the ones decoded. At the end of a job
// (a connection that closed) a command the data ends in is cut short, which
// a printer mishandles: it reads as INVALID, not INCOMPLETE.
enum class JobEnd {
  kMayContinue,
  kEnded,
};

// A line about something the printer did, placed where it had read `offset`
// of the bytes.
struct TranscriptNote {
  size_t offset = 0;
  std::string line;
};

// Every line ends with '\n'. Notes come in the order they were made, their
// offsets never going back.
std::string DecodeTranscript(const std::vector<uint8_t>& bytes, JobEnd end = JobEnd::kMayContinue,
                             const std::vector<TranscriptNote>& notes = {});

// The number of INVALID lines in a transcript, framed ones included.
int CountInvalidLines(const std::string& transcript);

// The line (without '\n') for one complete command as the scanner cut it.
std::string FormatCommand(const uint8_t* p, size_t n);

}  // namespace sim
