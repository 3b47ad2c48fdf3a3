// Feeds arbitrary bytes to the printer side and the transcript: nothing may
// crash, cutting the stream at any point must not change what the printer
// answers, and the printer side counts as many malformed commands as the
// transcript of the whole job shows INVALID lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/printer_logic.h"
#include "sim/transcript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  sim::DecodeTranscript(std::vector<uint8_t>(data + 1, data + size));
  const std::string job = sim::DecodeTranscript(std::vector<uint8_t>(data + 1, data + size), sim::JobEnd::kEnded);

  sim::PrinterState state;
  state.paperOut = data[0] & 1;
  state.coverOpen = data[0] & 2;
  std::vector<uint8_t> whole;
  sim::PrinterLogic one;
  one.Receive(data + 1, size - 1, state, &whole);
  one.Idle(state, &whole);

  size_t cut = 1 + data[0] % size;
  std::vector<uint8_t> pieces;
  sim::PrinterLogic two;
  two.Receive(data + 1, cut - 1, state, &pieces);
  two.Receive(data + cut, size - cut, state, &pieces);
  two.Idle(state, &pieces);
  if (whole != pieces) std::abort();
  one.JobEnded();
  two.JobEnded();
  if (one.InvalidCommands() != two.InvalidCommands()) std::abort();
  if (one.InvalidCommands() != sim::CountInvalidLines(job)) std::abort();
  return 0;
}
