// zobelso-virtual-printer: an ESC/POS printer on 127.0.0.1 that prints what
// it receives as a transcript, for trying the service without a printer.
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/pseudo_terminal.h"
#include "sim/options.h"
#include "sim/transcript.h"
#include "sim/virtual_printer.h"
#ifdef ZOBELSO_RECEIPT_IMAGES
#include "sim/render/receipt_files.h"
#include "sim/render/receipt_renderer.h"
#endif

namespace {

std::mutex stopMutex;
std::condition_variable stopChanged;
bool stopNow = false;

void RequestStop() {
  std::lock_guard<std::mutex> lock(stopMutex);
  stopNow = true;
  stopChanged.notify_all();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  sim::Options options;
  std::string error;
  if (!sim::ParseOptions(args, &options, &error)) {
    std::cerr << error << "\n" << sim::kUsage;
    return 2;
  }
  if (options.help) {
    std::cout << sim::kUsage;
    return 0;
  }

  sim::VirtualPrinter printer;
  sim::PrinterIdentity identity;
  identity.model = "VIRTUAL-" + std::to_string(options.paperMm);
  printer.SetIdentity(identity);
  printer.SetDrawerWiring(options.drawerPin, options.drawerOpenLevelHigh);
  printer.SetDrawerClosesAfter(options.drawerClosesAfterMs);
  printer.SetState(options.state);
  printer.SetSilent(options.silent);
  printer.SetAcceptDelayPerChunk(options.slowMs);
  printer.SetImageDirectory(options.imageDirectory);
  printer.SetConnectionClosedHandler([&](int number, const std::vector<uint8_t>& bytes,
                                         const std::vector<sim::TranscriptNote>& notes) {
    {
      std::lock_guard<std::mutex> lock(stopMutex);
      sim::TranscriptOptions read;
      read.end = sim::JobEnd::kEnded;
      read.notes = notes;
      read.view = sim::TranscriptView::kPrinter;
      read.connection = number;
      read.imageDirectory = options.imageDirectory;
      read.nvGraphics = printer.NvGraphicsAtConnectionStart();
      const std::string transcript = sim::DecodeTranscript(bytes, read);
      std::cout << "connection " << number << " closed, " << bytes.size() << " bytes, "
                << sim::CountInvalidLines(transcript) << " invalid commands\n";
      if (options.raw) std::cout << sim::HexDump(bytes);
      std::cout << transcript << std::flush;
#ifdef ZOBELSO_RECEIPT_IMAGES
      // The paper the connection's job came out on, one file per receipt.
      if (!options.imageDirectory.empty()) {
        const std::vector<sim::PrintedImage> receipts = sim::render::RenderReceipts(
            bytes, read.nvGraphics, sim::render::PaperWidthForModel(identity.model));
        for (const std::string& file : sim::render::WriteReceiptFiles(
                 options.imageDirectory, "receipt-" + std::to_string(number), receipts)) {
          std::cout << "RECEIPT " << file << "\n";
        }
        std::cout << std::flush;
      }
#endif
    }
    if (options.connections > 0 && number >= options.connections) RequestStop();
  });
  printer.SetIdleNoteHandler([](const std::string& line) {
    std::lock_guard<std::mutex> lock(stopMutex);
    std::cout << line << std::endl;
  });
  if (options.pty) {
    if (!platform::PseudoTerminal::Available()) {
      std::cerr << "--pty is not available on this system\n";
      return 1;
    }
    const std::string path = printer.StartPty();
    if (path.empty()) {
      std::cerr << "cannot open a pseudo-terminal\n";
      return 1;
    }
    std::lock_guard<std::mutex> lock(stopMutex);
    std::cout << "listening on " << path << std::endl;
  } else {
    if (!printer.Start(options.port)) {
      std::cerr << "cannot listen on 127.0.0.1:" << options.port << "\n";
      return 1;
    }
    std::lock_guard<std::mutex> lock(stopMutex);
    std::cout << "listening on 127.0.0.1:" << printer.Port() << std::endl;
  }

  if (!options.ignoreStdin) {
    // Blocked in a read until standard input ends; when the program stops for
    // another reason first, the process exit ends this thread.
    std::thread([] {
      std::string line;
      while (std::getline(std::cin, line)) {
      }
      RequestStop();
    }).detach();
  }

  {
    std::unique_lock<std::mutex> lock(stopMutex);
    stopChanged.wait(lock, [] { return stopNow; });
  }
  printer.Stop();
  std::cout << "invalid commands in all connections: " << printer.InvalidCommands() << std::endl;
  return 0;
}
