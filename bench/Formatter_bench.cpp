// How fast print data with OPOS escape sequences becomes printer bytes: a
// typical receipt through the formatter unit on its own, through a core's
// formatter and through the whole PrintNormal path, and bulk plain text.
//
// Everything runs against a FakePort, so the figures are the service's own
// work; what the fake does to record a write is part of the PrintNormal case.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "so/format/CCmdHelperBase.h"
#include "so/format/EscapeSequenceFormatter.h"
#include "so/format/FakeFormatterHost.h"
#include "so/printer/CTM_T88IV.h"
#include "testing/FakePort.h"

using namespace QEL::Printer;
using testing_support::FakePort;

namespace {

const std::u16string kEsc = u"\x1b|";

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// 40 lines: a centred double-size header, 32 items each with a right-aligned
// price, a bold total, the lines a shop prints around them, and a cut.
std::u16string Receipt() {
  std::u16string r;
  r += kEsc + u"cA" + kEsc + u"4C" + u"ZOBEL MARKT\n";
  r += kEsc + u"1C" + u"Hauptstrasse 12, 10115 Berlin\n";
  r += kEsc + u"lA" + u"2024-05-17 18:42  Kasse 3  Bon 004711\n";
  r += u"------------------------------------------\n";
  long cents = 0;
  for (int i = 0; i < 32; ++i) {
    const long price = 99 + (i * 137) % 2400;
    cents += price;
    char item[64];
    std::snprintf(item, sizeof item, "Article %02d  1 x", i + 1);
    char amount[32];
    std::snprintf(amount, sizeof amount, "%ld.%02ld", price / 100, price % 100);
    r += Wide(item) + kEsc + u"rA" + Wide(amount) + u"\n";
  }
  r += u"------------------------------------------\n";
  char total[32];
  std::snprintf(total, sizeof total, "%ld.%02ld", cents / 100, cents % 100);
  r += kEsc + u"bC" + u"TOTAL EUR" + kEsc + u"rA" + Wide(total) + u"\n";
  r += u"\n";
  r += kEsc + u"cA" + u"Thank you for shopping with us\n";
  r += kEsc + u"100fP";
  return r;
}

// About 64 KB of text in 41-character lines.
std::u16string PlainText(size_t bytes) {
  const std::u16string line = u"The quick brown fox jumps over the lazy do\n";
  std::u16string text;
  while (text.size() + line.size() <= bytes) text += line;
  text.append(bytes - text.size(), u'x');
  return text;
}

// An opened core over a FakePort; claimed when the case sends.
struct Device {
  std::shared_ptr<FakePort> port = std::make_shared<FakePort>();
  CTM_T88IV core{u"TM-T88IV"};
  bool Open(bool claim) {
    core.AttachPort(port);
    int32_t rc = -1;
    core.OpenServiceW(u"bench", nullptr, &rc);
    if (rc != 0) return false;
    if (claim) {
      core.ClaimDevice(0, &rc);
      if (rc != 0) return false;
    }
    port->ClearWritten();
    return true;
  }
  ~Device() {
    int32_t rc = 0;
    core.CloseService(&rc);
  }
};

// A core's formatter (the unit behind the core's host), from bytes already
// converted to the code page.
void FormatBytes(benchmark::State& state, const std::u16string& text) {
  Device device;
  if (!device.Open(false)) {
    state.SkipWithError("device did not open");
    return;
  }
  PrinterBuffer input(static_cast<int32_t>(text.size()) + 64, 32);
  if (!device.core.DataBinaryConversion(text, input)) {
    state.SkipWithError("text did not convert");
    return;
  }
  PrinterBuffer out(static_cast<int32_t>(text.size()) * 2 + 256, 32);
  int32_t result = 0;
  for (auto _ : state) {
    out.clear();
    result = device.core.FormatStringToOutBuffer(out, input.data(), input.size(), false);
    benchmark::DoNotOptimize(out.data());
  }
  if (result != 0) state.SkipWithError("the formatter refused the text");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(input.size()));
  state.counters["input_bytes"] = static_cast<double>(input.size());
  state.counters["output_bytes"] = static_cast<double>(out.size());
}

// The formatter unit with a host that answers from plain fields: the walk
// alone, without a core's settings behind it. The texts are ASCII, so their
// bytes are their characters.
void FormatUnit(benchmark::State& state, const std::u16string& text) {
  CCmdHelperBase helper;
  FakeFormatterHost host{helper};
  // A TM-T88IV's line, pitches and cutter, as its core reports them.
  host.settings.lineWidth = 512;
  host.settings.units.horizontalDotPitch = 0.141f;
  host.settings.units.verticalDotPitch = 0.0705f;
  host.settings.hasCutter = true;
  host.settings.cutterDistance = 2100;
  EscapeSequenceFormatter formatter;
  const std::string input(text.begin(), text.end());
  const auto* bytes = reinterpret_cast<const uint8_t*>(input.data());
  PrinterBuffer out(static_cast<int32_t>(text.size()) * 2 + 256, 32);
  int32_t result = 0;
  for (auto _ : state) {
    out.clear();
    result = formatter.Format(host, out, bytes, input.size(), false);
    benchmark::DoNotOptimize(out.data());
  }
  if (result != 0) state.SkipWithError("the formatter refused the text");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(input.size()));
  state.counters["output_bytes"] = static_cast<double>(out.size());
}

void Receipt40Lines_FormatUnit(benchmark::State& state) { FormatUnit(state, Receipt()); }
BENCHMARK(Receipt40Lines_FormatUnit)->Unit(benchmark::kMicrosecond);

void PlainText64K_FormatUnit(benchmark::State& state) { FormatUnit(state, PlainText(65536)); }
BENCHMARK(PlainText64K_FormatUnit)->Unit(benchmark::kMicrosecond);

void Receipt40Lines_Format(benchmark::State& state) { FormatBytes(state, Receipt()); }
BENCHMARK(Receipt40Lines_Format)->Unit(benchmark::kMicrosecond);

void PlainText64K_Format(benchmark::State& state) { FormatBytes(state, PlainText(65536)); }
BENCHMARK(PlainText64K_Format)->Unit(benchmark::kMicrosecond);

// 64 KB without a line end: one line of the whole size.
void OneLine64K_Format(benchmark::State& state) {
  FormatBytes(state, std::u16string(65536, u'x'));
}
BENCHMARK(OneLine64K_Format)->Unit(benchmark::kMicrosecond);

// The receipt on a core that once formatted a 64 KB line: the working
// buffers keep the size they grew to.
void Receipt40Lines_AfterALongLine_Format(benchmark::State& state) {
  Device device;
  if (!device.Open(false)) {
    state.SkipWithError("device did not open");
    return;
  }
  const std::u16string longLine(65536, u'x');
  PrinterBuffer input(70000, 32);
  PrinterBuffer out(140000, 32);
  device.core.DataBinaryConversion(longLine, input);
  device.core.FormatStringToOutBuffer(out, input.data(), input.size(), false);
  input.clear();
  device.core.DataBinaryConversion(Receipt(), input);
  for (auto _ : state) {
    out.clear();
    device.core.FormatStringToOutBuffer(out, input.data(), input.size(), false);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(input.size()));
}
BENCHMARK(Receipt40Lines_AfterALongLine_Format)->Unit(benchmark::kMicrosecond);

// The whole synchronous PrintNormal: admission, conversion, formatting, the
// job prologue, the pending settings and the write to the port.
void PrintNormalPath(benchmark::State& state, const std::u16string& text) {
  Device device;
  if (!device.Open(true)) {
    state.SkipWithError("device did not open and claim");
    return;
  }
  int32_t rc = 0;
  int64_t sent = 0;
  for (auto _ : state) {
    device.core.PrintNormal(2, text, &rc);
    if (rc != 0) {
      state.SkipWithError("PrintNormal failed");
      break;
    }
    // The fake keeps every write; dropping its record now and then keeps
    // memory flat without timing a clear on each call.
    if ((++sent & 63) == 0) device.port->ClearWritten();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
  device.port->ClearWritten();
  device.core.PrintNormal(2, text, &rc);
  state.counters["job_bytes"] = static_cast<double>(device.port->Written().size());
}

void Receipt40Lines_PrintNormal(benchmark::State& state) { PrintNormalPath(state, Receipt()); }
BENCHMARK(Receipt40Lines_PrintNormal)->Unit(benchmark::kMicrosecond);

void PlainText64K_PrintNormal(benchmark::State& state) {
  PrintNormalPath(state, PlainText(65536));
}
BENCHMARK(PlainText64K_PrintNormal)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
