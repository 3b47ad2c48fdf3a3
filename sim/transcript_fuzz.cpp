// Feeds arbitrary bytes to the printer side and the transcript, in both of
// its views: nothing may crash, cutting the stream at any point must not
// change what the printer answers, and the printer side counts as many
// malformed commands as the printer's transcript of the whole job shows
// INVALID lines (page mode, stored symbols and images included), prints the
// same images however the stream was cut, and transcripts hold plain lines
// only.
//
// The first byte chooses the printer's state and a cut, and may put the
// printer in page mode with symbol data and images stored before the rest
// arrives, so that random bytes reach the commands that only mean something
// there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/printer_logic.h"
#include "sim/transcript.h"

namespace {

const uint8_t kEnterPageMode[] = {0x1B, 0x4C};
const uint8_t kStoreSymbols[] = {0x1D, 0x28, 0x6B, 0x04, 0x00, 0x31, 0x50, 0x30, 'Q',
                                 0x1D, 0x28, 0x6B, 0x04, 0x00, 0x30, 0x50, 0x30, 'P'};
// An 8 x 1 image in the print buffer, as NV graphics "A1" and as the
// downloaded image (8 x 8).
const uint8_t kStoreImages[] = {0x1D, 0x28, 0x4C, 0x0B, 0x00, 0x30, 0x70, 0x30, 0x01, 0x01, 0x31, 0x08, 0x00,
                                0x01, 0x00, 0x5A, 0x1D, 0x28, 0x4C, 0x0C, 0x00, 0x30, 0x43, 0x30, 0x41, 0x31,
                                0x01, 0x08, 0x00, 0x01, 0x00, 0x31, 0xA5, 0x1D, 0x2A, 0x01, 0x01, 0x01, 0x02,
                                0x04, 0x08, 0x10, 0x20, 0x40, 0x80};

// Whatever was received, a transcript is lines of printable ASCII: received
// bytes are always escaped, so none can end a line or fake one.
void CheckPlainLines(const std::string& transcript) {
  for (char c : transcript) {
    const auto b = static_cast<unsigned char>(c);
    if ((b < 0x20 && b != '\n') || b >= 0x7F) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<uint8_t> bytes;
  if (data[0] & 4) bytes.insert(bytes.end(), kEnterPageMode, kEnterPageMode + sizeof kEnterPageMode);
  if (data[0] & 8) bytes.insert(bytes.end(), kStoreSymbols, kStoreSymbols + sizeof kStoreSymbols);
  if (data[0] & 16) bytes.insert(bytes.end(), kStoreImages, kStoreImages + sizeof kStoreImages);
  bytes.insert(bytes.end(), data + 1, data + size);

  CheckPlainLines(sim::DecodeTranscript(bytes));
  sim::TranscriptOptions read;
  read.end = sim::JobEnd::kEnded;
  read.view = sim::TranscriptView::kPrinter;
  const std::string job = sim::DecodeTranscript(bytes, read);
  CheckPlainLines(job);
  // The same bytes as two sessions: the printer starts afresh in the second
  // (NV graphics aside), and lines name the files of printed images.
  read.sessionStarts = {bytes.empty() ? 0 : data[0] % bytes.size()};
  read.imageDirectory = "images";
  CheckPlainLines(sim::DecodeTranscript(bytes, read));

  sim::PrinterState state;
  state.paperOut = data[0] & 1;
  state.coverOpen = data[0] & 2;
  std::vector<uint8_t> whole;
  sim::PrinterLogic one;
  one.Receive(bytes.data(), bytes.size(), state, &whole);
  one.Idle(state, &whole);

  const size_t cut = data[0] % (bytes.size() + 1);
  std::vector<uint8_t> pieces;
  sim::PrinterLogic two;
  two.Receive(bytes.data(), cut, state, &pieces);
  two.Receive(bytes.data() + cut, bytes.size() - cut, state, &pieces);
  two.Idle(state, &pieces);
  if (whole != pieces) std::abort();
  one.JobEnded();
  two.JobEnded();
  if (one.InvalidCommands() != two.InvalidCommands()) std::abort();
  if (one.InvalidCommands() != sim::CountInvalidLines(job)) std::abort();
  if (one.TakePrintedImages() != two.TakePrintedImages()) std::abort();
  return 0;
}
