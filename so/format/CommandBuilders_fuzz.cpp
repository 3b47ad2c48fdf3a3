// libFuzzer target: arbitrary parameters for the command builders that take
// outside data (barcode and symbol data, tab lists, images, framing). A
// builder that rejects its parameters must leave the buffer as it was, one
// that accepts must append whole commands, and framed output must unframe to
// exactly the data given. Whatever the range-checking builders accept, a
// strict printer (the virtual printer's rules) must take.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/transcript.h"
#include "so/format/BarcodeModuleWidth.h"
#include "so/format/CCmdHelperBase.h"
#include "so/format/CmdHelper_QX1270.h"

namespace {

using QEL::Printer::BarcodeModuleFit;
using QEL::Printer::CCmdHelperBase;
using QEL::Printer::CmdHelper_QX1270;
using QEL::Printer::LineSegment;
using QEL::Printer::PrinterBuffer;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// A rejected call appends nothing.
void CheckValidating(PrinterBuffer& out, size_t before, bool accepted) {
  if (!accepted) Check(out.size() == before);
  if (accepted) Check(out.size() > before);
}

void CheckFraming(CmdHelper_QX1270& helper, const std::vector<uint8_t>& data) {
  PrinterBuffer in, out;
  in.append(data.data(), data.size());
  helper.PackOutput(out, in);
  std::vector<uint8_t> payload;
  size_t i = 0;
  while (i < out.size()) {
    Check(out.at(i) == CmdHelper_QX1270::kFrameStart);
    Check(i + 1 < out.size());
    const size_t n = out.at(i + 1);
    Check(n >= 1 && n <= CmdHelper_QX1270::kFrameChunk);
    Check(i + n + 4 <= out.size());
    uint8_t check = 0;
    for (size_t k = 0; k < n; ++k) {
      payload.push_back(out.at(i + 2 + k));
      check ^= out.at(i + 2 + k);
    }
    Check(out.at(i + 2 + n) == check);
    Check(out.at(i + 3 + n) == CmdHelper_QX1270::kFrameEnd);
    i += n + 4;
  }
  Check(payload == data);
}

void CheckFit(FuzzedDataProvider& in, const std::vector<uint8_t>& data) {
  const int32_t symbology = in.ConsumeIntegralInRange<int32_t>(100, 135);
  const int32_t width = in.ConsumeIntegralInRange<int32_t>(-10, 5000);
  const BarcodeModuleFit fit =
      QEL::Printer::FitBarcodeModuleWidth(symbology, width, data.data(), data.size());
  const bool known = QEL::Printer::BarcodeWidthForModule(symbology, 2, data.data(), data.size()) >= 0;
  if (width >= 7) {
    Check(fit.moduleWidth >= 2 && fit.moduleWidth <= 6);
    Check(fit.totalWidth <= width);
    if (!known) Check(fit.totalWidth == width);
  } else {
    Check(fit.moduleWidth == width);
  }
}

void RunBuilders(CCmdHelperBase& helper, FuzzedDataProvider& in, const std::vector<uint8_t>& data) {
  PrinterBuffer out;
  size_t before = out.size();
  const int32_t symbology = in.ConsumeIntegralInRange<int32_t>(100, 135);
  CheckValidating(out, before, helper.AppendBarcode(out, symbology, data.data(), data.size()));

  before = out.size();
  helper.SetupAndPrintBarcode(out, symbology, in.ConsumeIntegral<uint8_t>(),
                              in.ConsumeIntegral<uint8_t>(), in.ConsumeIntegralInRange(-14, -10),
                              in.ConsumeIntegral<uint8_t>(), data.data(), data.size());
  Check(out.size() >= before);

  before = out.size();
  CheckValidating(out, before, helper.Pdf417Store(out, data.data(), data.size()));
  before = out.size();
  CheckValidating(out, before, helper.QrStore(out, data.data(), data.size()));
  before = out.size();
  CheckValidating(out, before, helper.QrModuleSize(out, in.ConsumeIntegral<int32_t>()));
  before = out.size();
  CheckValidating(out, before,
                  helper.Pdf417ErrorLevel(out, in.ConsumeIntegral<uint8_t>(),
                                          in.ConsumeIntegral<uint8_t>()));
  before = out.size();
  CheckValidating(out, before,
                  helper.SetCharacterSize(out, in.ConsumeIntegral<int32_t>(),
                                          in.ConsumeIntegral<int32_t>()));

  helper.SetTabs(out, data.data(), data.size());

  const int32_t dots = in.ConsumeIntegralInRange<int32_t>(-1000, 20000);
  PrinterBuffer feed;
  helper.FeedDots(feed, dots);
  int32_t fed = 0;
  Check(feed.size() % 3 == 0);
  for (size_t i = 0; i + 2 < feed.size(); i += 3) fed += feed.at(i + 2);
  Check(fed == (dots < 0 ? 0 : dots));

  const int32_t width = in.ConsumeIntegralInRange<int32_t>(-2, 64);
  const int32_t height = in.ConsumeIntegralInRange<int32_t>(-2, 64);
  before = out.size();
  CheckValidating(out, before,
                  helper.DefineNvGraphics(out, 'A', 'B', in.ConsumeBool(), width, height,
                                          data.data(), data.size()));

  const uint8_t x = in.ConsumeIntegralInRange<uint8_t>(0, 4);
  const uint8_t y = in.ConsumeIntegralInRange<uint8_t>(0, 4);
  before = out.size();
  CheckValidating(out, before, helper.DefineDownloadedImage(out, x, y, data.data(), data.size()));
  before = out.size();
  const int32_t columns = in.ConsumeIntegralInRange<int32_t>(-1, 2100);
  CheckValidating(out, before,
                  helper.BitImage(out, in.ConsumeIntegral<uint8_t>(), columns, data.data(),
                                  data.size()));

  std::vector<LineSegment> segments(data.size() / 4 + 1);
  for (size_t i = 0; i + 3 < data.size(); i += 4) {
    segments[i / 4] = {static_cast<uint16_t>(data[i] | data[i + 1] << 8),
                       static_cast<uint16_t>(data[i + 2] | data[i + 3] << 8)};
  }
  helper.DrawLines(out, segments.data(),
                   in.ConsumeIntegralInRange<int32_t>(-1, static_cast<int32_t>(segments.size())));
  helper.CurveTextCommand(out, in.ConsumeIntegral<uint8_t>(), in.ConsumeIntegral<uint16_t>(),
                          data.data(), data.size());

  int32_t duration = in.ConsumeIntegral<int32_t>();
  helper.SetBuzzerPattern(out, duration, in.ConsumeIntegral<int32_t>(),
                          in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<uint8_t>());
  helper.Beep(out, in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
              in.ConsumeIntegral<uint8_t>());
  helper.SelectCodePage(out, in.ConsumeIntegral<int32_t>());
}

// Builders that check every range a printer checks: their output, whatever
// the parameters, holds no command a printer would refuse. (Barcode data is
// the caller's to choose, so GS k is not among them.)
void CheckPrinterTakesWhatIsAccepted(FuzzedDataProvider& in, const std::vector<uint8_t>& data) {
  CCmdHelperBase helper;
  PrinterBuffer out;
  helper.SetTabs(out, data.data(), data.size());
  helper.SetBarcodeWidth(out, in.ConsumeIntegral<uint8_t>());
  helper.SetBarcodeHeight(out, in.ConsumeIntegral<uint8_t>());
  helper.SetupAndPrintBarcode(out, 105, in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
                              -11, 0, data.data(), data.size());
  helper.RealtimeFunction1(out, in.ConsumeIntegral<uint8_t>(), in.ConsumeIntegral<uint8_t>());
  helper.RealtimeRequest(out, in.ConsumeIntegral<uint8_t>());
  helper.DefineNvGraphics(out, in.ConsumeIntegralInRange<uint8_t>(32, 126),
                          in.ConsumeIntegralInRange<uint8_t>(32, 126), in.ConsumeBool(),
                          in.ConsumeIntegralInRange<int32_t>(-2, 300),
                          in.ConsumeIntegralInRange<int32_t>(-2, 40), data.data(), data.size());
  const size_t before = out.size();
  if (helper.DefineNvGraphicsHeader(out, in.ConsumeBool(), in.ConsumeIntegralInRange<int32_t>(-2, 300),
                                    in.ConsumeIntegralInRange<int32_t>(-2, 40), 'A', 'B')) {
    // The caller appends the raster the header announces: p counts the 11
    // header bytes after pL pH and the raster.
    const size_t p = out.at(before + 3) | (out.at(before + 4) << 8);
    const std::vector<uint8_t> raster(p - 11, 0x00);
    out.append(raster.data(), raster.size());
  }
  const uint8_t x = in.ConsumeIntegralInRange<uint8_t>(0, 40);
  const uint8_t y = in.ConsumeIntegralInRange<uint8_t>(0, 64);
  const std::vector<uint8_t> image(static_cast<size_t>(x) * y * 8, 0x0F);
  helper.DefineDownloadedImage(out, x, y, image.data(), image.size());
  const int32_t columns = in.ConsumeIntegralInRange<int32_t>(-1, 1100);
  const uint8_t mode = in.ConsumeIntegral<uint8_t>();
  const std::vector<uint8_t> bits(static_cast<size_t>(columns < 0 ? 0 : columns) * 3, 0x0F);
  helper.BitImage(out, mode, columns, bits.data(), mode >= 32 ? bits.size() : bits.size() / 3);
  helper.Pdf417Store(out, data.data(), data.size());
  helper.QrStore(out, data.data(), data.size());
  helper.QrModuleSize(out, in.ConsumeIntegral<int32_t>());
  helper.Pdf417ErrorLevel(out, in.ConsumeIntegral<uint8_t>(), in.ConsumeIntegral<uint8_t>());
  helper.SetCharacterSizeClamped(out, in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>());
  helper.SetPageArea(out, in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
                     in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>());
  helper.SelectCharacterColor(out, in.ConsumeIntegral<uint8_t>());
  helper.Beep(out, in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
              in.ConsumeIntegral<uint8_t>());
  helper.SelectCodePage(out, in.ConsumeIntegral<int32_t>());
  helper.FeedDots(out, in.ConsumeIntegralInRange<int32_t>(-1000, 20000));

  const std::vector<uint8_t> bytes(out.data(), out.data() + out.size());
  Check(sim::CountInvalidLines(sim::DecodeTranscript(bytes, sim::JobEnd::kEnded)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider in(bytes, size);
  const std::vector<uint8_t> data =
      in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, 300));
  static CCmdHelperBase standard;
  static CmdHelper_QX1270 qx1270;
  CheckFraming(qx1270, data);
  CheckFit(in, data);
  RunBuilders(standard, in, data);
  RunBuilders(qx1270, in, data);
  CheckPrinterTakesWhatIsAccepted(in, data);
  return 0;
}
