// libFuzzer target: arbitrary bytes as printer status replies. Every decoder
// and both change detectors of both command sets must accept anything without
// reading past the bytes they are given, and the change detectors must settle:
// fed the same reading again and again they report each change once and then
// nothing.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "so/format/CCmdHelperBase.h"
#include "so/format/CmdHelper_QX1270.h"
#include "so/format/PrinterStatus.h"

namespace {

using QEL::Printer::CCmdHelperBase;
using QEL::Printer::CmdHelper_QX1270;
using QEL::Printer::tagPrinterStatus;

// No change detector has more than four rules that can fire for one reading.
constexpr int kMostChangesPerReading = 4;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool IsFlag(int32_t v) { return v == 0 || v == 1; }

void DecodeSingleBytes(const CCmdHelperBase& helper, const uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    const uint8_t b = data[i];
    tagPrinterStatus s;
    helper.DecodePrinterStatus(b, &s);
    helper.DecodePrinterStatus(b, nullptr);
    helper.DecodeOfflineStatus(b, &s);
    helper.DecodeOfflineStatus(b, nullptr);
    helper.DecodeRollPaperStatus(b, &s);
    helper.DecodeRollPaperStatus(b, nullptr);
    Check(helper.DecodePaperSensorStatus(b, &s));
    Check(helper.DecodePaperSensorStatus(b, nullptr));
    int32_t drawer = -1;
    Check(helper.DecodeDrawerStatus(b, &drawer));
    Check(IsFlag(drawer));
    Check(helper.DecodeDrawerStatus(b, nullptr));
    const uint8_t next = data[(i + 1) % size];
    helper.DrawerStateDiffers(b, next, (b & 1) != 0);
    helper.IsDrawerBitSet(b, (next & 1) != 0);
  }
}

void DecodeAsbWindows(const CCmdHelperBase& helper, const uint8_t* data, size_t size) {
  for (size_t i = 0; i + 4 <= size; ++i) {
    tagPrinterStatus s;
    const bool valid = helper.DecodeAsb(data + i, &s);
    Check(valid == helper.DecodeAsb(data + i, nullptr));
    if (valid) {
      Check(IsFlag(s.nearEnd));
      Check(IsFlag(s.paperOut));
    }
  }
}

void CompareAsbReadings(const CCmdHelperBase& helper, const uint8_t* data, size_t size) {
  uint8_t stored[4] = {0, 0, 0, 0};
  std::memcpy(stored, data, size < 4 ? size : 4);
  for (size_t i = 0; i + 4 <= size; i += 4) {
    int changes = 0;
    while (helper.CompareAsb(data + i, stored) != 0) {
      ++changes;
      Check(changes <= kMostChangesPerReading);
    }
  }
  Check(helper.CompareAsb(nullptr, stored) == 0);
}

void CompareStatusBytes(const CCmdHelperBase& helper, const uint8_t* data, size_t size) {
  uint8_t stored = size > 0 ? data[0] : 0;
  for (size_t i = 1; i + 1 < size; i += 2) {
    const int32_t kind = data[i + 1] & 0x07;
    int changes = 0;
    while (helper.CompareStatusByte(data[i], &stored, kind) != 0) {
      ++changes;
      Check(changes <= kMostChangesPerReading);
    }
  }
}

void Run(const CCmdHelperBase& helper, const uint8_t* data, size_t size) {
  DecodeSingleBytes(helper, data, size);
  DecodeAsbWindows(helper, data, size);
  CompareAsbReadings(helper, data, size);
  CompareStatusBytes(helper, data, size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const CCmdHelperBase standard;
  static const CmdHelper_QX1270 qx1270;
  Run(standard, data, size);
  Run(qx1270, data, size);
  return 0;
}
