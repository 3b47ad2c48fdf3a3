// What an enabled printer core costs: CPU spent on idle status polling, the
// memory an open device adds, and how fast synchronous 4 KB jobs go out.
//
// The idle measurement runs the virtual printer as a separate process so that
// only the service's own CPU time is counted.
#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/tcp_listener.h"
#include "platform/tcp_socket.h"
#include "sim/virtual_printer.h"
#include "so/io/TCPIPPortSettings.h"
#include "so/printer/CTM_T88IV.h"
#include "testing/RecordingEventSink.h"

using namespace QEL::Printer;

namespace {

uint16_t FreePort() {
  platform::TcpListener listener;
  listener.Listen("127.0.0.1", 0);
  return listener.Port();
}

bool WaitUntilListening(uint16_t port) {
  for (int i = 0; i < 200; ++i) {
    platform::TcpSocket probe;
    if (probe.Create() && probe.Connect(platform::ParseIPv4("127.0.0.1"), port, 100)) return true;
    platform::SleepMs(20);
  }
  return false;
}

// Resident set size in kilobytes (Linux).
long ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * 4;
}

struct Device {
  testing_support::RecordingEventSink sink;
  std::unique_ptr<CTM_T88IV> core;
  bool Open(const char16_t* model, uint16_t port) {
    core = std::make_unique<CTM_T88IV>(model);
    sink.Attach(core.get());
    const std::string text = "127.0.0.1," + std::to_string(port);
    QEL::IO::TCPIPPortSettings settings;
    settings.Parse(std::u16string(text.begin(), text.end()));
    int32_t rc = 0;
    core->SetPortSettings(&settings, &rc);
    core->OpenServiceW(u"bench", &sink, &rc);
    if (rc != 0) return false;
    core->ClaimDevice(100, &rc);
    return rc == 0 && core->DeviceEnable(1) == 1;
  }
  ~Device() {
    int32_t rc = 0;
    if (core) core->CloseService(&rc);
    sink.Detach();
  }
};

void IdlePolling(benchmark::State& state, const char16_t* model) {
  const uint16_t port = FreePort();
  // The printer's process ends by itself after three connections: the
  // readiness probe below, the open's probe and the claim.
  const std::string command = std::string(VIRTUAL_PRINTER_PROGRAM) + " --port " +
                              std::to_string(port) + " --connections 3 --ignore-stdin >/dev/null 2>&1 &";
  if (std::system(command.c_str()) != 0 || !WaitUntilListening(port)) {
    state.SkipWithError("virtual printer did not start");
    return;
  }
  Device device;
  if (!device.Open(model, port)) {
    state.SkipWithError("device did not open");
    return;
  }
  const int seconds = static_cast<int>(state.range(0));
  for (auto _ : state) {
    const int pollsBefore = device.sink.Polls();
    const std::clock_t before = std::clock();
    platform::SleepMs(static_cast<uint32_t>(seconds) * 1000);
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC;
    state.counters["cpu_ms_per_minute"] = cpuMs * 60.0 / seconds;
    state.counters["cpu_percent_of_core"] = cpuMs / (seconds * 10.0);
    state.counters["polls_per_minute"] = (device.sink.Polls() - pollsBefore) * 60.0 / seconds;
  }
}
BENCHMARK_CAPTURE(IdlePolling, real_time_requests, u"TM-T88IIM")
    ->Arg(10)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(IdlePolling, automatic_status_back, u"TM-T88IV")
    ->Arg(10)->Iterations(1)->Unit(benchmark::kSecond);

void OpenDeviceMemory(benchmark::State& state) {
  sim::VirtualPrinter printer;
  printer.Start(0);
  for (auto _ : state) {
    const long before = ResidentKb();
    auto device = std::make_unique<Device>();
    device->Open(u"TM-T88IV", printer.Port());
    platform::SleepMs(500);  // let the worker settle into polling
    state.counters["added_resident_kb"] = static_cast<double>(ResidentKb() - before);
    device.reset();
  }
}
BENCHMARK(OpenDeviceMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void SynchronousSends4K(benchmark::State& state) {
  sim::VirtualPrinter printer;
  printer.Start(0);
  Device device;
  if (!device.Open(u"TM-T88IIM", printer.Port())) {
    state.SkipWithError("device did not open");
    return;
  }
  std::vector<uint8_t> text(4096, 'x');
  PrinterBuffer job(8192, 32);
  for (auto _ : state) {
    job.clear();
    job.append(text.data(), text.size());
    if (device.core->Send(job, 0) != 0) {
      state.SkipWithError("send failed");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 4096);
}
// Wall time: the send waits on the socket, not on the CPU.
BENCHMARK(SynchronousSends4K)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
