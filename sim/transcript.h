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
//
// The printer view (TranscriptView::kPrinter) tells barcode and symbol
// commands by their meaning ("GS k EAN13 4901234567894", "QR print"; see
// sim/symbol_lines.h) and adds page mode after the command that changed it:
//
//   PAGE begin               ESC L entered page mode
//   PAGE print               ESC FF or FF printed the page
//   PAGE clear               CAN cleared the page's data
//   PAGE cancel              ESC S or ESC @ discarded the page
//   PAGE end                 back in standard mode (after FF, ESC S, ESC @)
//
// and images by what the printer does with them (sim/image_memory.h):
//
//   GRAPHICS store 200 x 104 dots
//   GRAPHICS print 200 x 104 dots -> images/1-1.png
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/image_memory.h"

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

// How the bytes are read.
enum class TranscriptView {
  // Each command on its own: its bytes, and the rules it breaks by itself.
  // What a command builder is checked against.
  kCommands,
  // As the printer reads a job from power-on (sim/printer_modes.h):
  // barcode and symbol commands told by their meaning (sim/symbol_lines.h),
  // page mode shown besides the commands ("PAGE begin", "PAGE print",
  // "PAGE clear", "PAGE cancel", "PAGE end"), and INVALID also for what the
  // printer will not do after what came before (a page-mode command in
  // standard mode, printing a symbol with nothing stored, a print area off
  // the page).
  kPrinter,
};

struct TranscriptOptions {
  JobEnd end = JobEnd::kMayContinue;
  // In the order they were made, their offsets never going back.
  std::vector<TranscriptNote> notes;
  TranscriptView view = TranscriptView::kCommands;
  // Offsets, rising, where a new session with the printer begins (a new
  // connection): the printer view starts afresh there, and a command the
  // session before ended in was cut short.
  std::vector<size_t> sessionStarts;

  // The printer view's images (sim/image_memory.h). A line that printed an
  // image names its file, DIR/<connection>-<n>.png with n counting the
  // connection's images from 1, when imageDirectory is set.
  std::string imageDirectory;
  // The connection the bytes belong to until the first session start.
  int connection = 1;
  // The connection of each session start; a start beyond them is the
  // connection after the one before it.
  std::vector<int> sessionConnections;
  // What the printer holds in NV memory when the bytes begin.
  NvGraphics nvGraphics;
};

// Every line ends with '\n'.
std::string DecodeTranscript(const std::vector<uint8_t>& bytes, const TranscriptOptions& options);
// The command view.
std::string DecodeTranscript(const std::vector<uint8_t>& bytes, JobEnd end = JobEnd::kMayContinue,
                             const std::vector<TranscriptNote>& notes = {});

// The number of INVALID lines in a transcript, framed ones included.
int CountInvalidLines(const std::string& transcript);

// The line (without '\n') for one complete command as the scanner cut it.
std::string FormatCommand(const uint8_t* p, size_t n);

}  // namespace sim
