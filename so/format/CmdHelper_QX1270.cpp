#include "so/format/CmdHelper_QX1270.h"

#include <cstring>

#include "so/format/StatusUpdateValues.h"

namespace QEL {
namespace Printer {

namespace {
constexpr uint8_t DLE = 0x10;
constexpr uint8_t EOT = 0x04;
constexpr uint8_t FS = 0x1C;
constexpr uint8_t GS = 0x1D;
constexpr char kModelName[] = "QX1270";
}  // namespace

CmdHelper_QX1270::CmdHelper_QX1270() : modelIdentity_{} {
  std::memcpy(modelIdentity_, kModelName, sizeof kModelName);
}

void CmdHelper_QX1270::AppendFrames(PrinterBuffer& out, const uint8_t* data, size_t length) {
  std::vector<uint8_t> frames;
  frames.reserve(length + (length / kFrameChunk + 1) * 4);
  for (size_t offset = 0; offset < length; offset += kFrameChunk) {
    const size_t chunk = length - offset < kFrameChunk ? length - offset : kFrameChunk;
    uint8_t check = 0;
    frames.push_back(kFrameStart);
    frames.push_back(static_cast<uint8_t>(chunk));
    for (size_t i = 0; i < chunk; ++i) {
      frames.push_back(data[offset + i]);
      check ^= data[offset + i];
    }
    frames.push_back(check);
    frames.push_back(kFrameEnd);
  }
  PutVector(out, frames);
}

void CmdHelper_QX1270::PackOutput(PrinterBuffer& out, const PrinterBuffer& data) {
  // A copy, so that framing a buffer into itself reads the original bytes.
  const std::vector<uint8_t> copy(data.data(), data.data() + data.size());
  AppendFrames(out, copy.data(), copy.size());
}

int32_t CmdHelper_QX1270::CompareAsb(const uint8_t* new4, uint8_t* stored4) const {
  if (new4 == nullptr || stored4 == nullptr) return 0;
  if (std::memcmp(new4, stored4, 4) == 0) return 0;

  const uint8_t cover = 0x04;
  if (!(new4[1] & cover) && (stored4[1] & cover)) {
    stored4[1] &= static_cast<uint8_t>(~cover);
    return PTR_SUE_COVER_OK;
  }
  if ((new4[1] & cover) && !(stored4[1] & cover)) {
    stored4[1] |= cover;
    return PTR_SUE_COVER_OPEN;
  }
  const uint8_t end = 0x60;
  if ((new4[3] & end) == end && (stored4[3] & end) != end) {
    stored4[3] |= end;
    return PTR_SUE_REC_EMPTY;
  }
  if ((new4[3] & end) == 0 && (stored4[3] & end) != 0) {
    stored4[3] &= static_cast<uint8_t>(~end);
    return PTR_SUE_REC_PAPEROK;
  }
  const uint8_t nearEnd = 0x0C;
  if ((new4[3] & nearEnd) == nearEnd && (stored4[3] & nearEnd) != nearEnd) {
    stored4[3] |= nearEnd;
    return PTR_SUE_REC_NEAREMPTY;
  }
  return 0;
}

bool CmdHelper_QX1270::IsDrawerBitSet(uint8_t b, bool polarity) const { return false; }

void CmdHelper_QX1270::FormFeed(PrinterBuffer& out) {}

void CmdHelper_QX1270::EscapeTriplet(PrinterBuffer& out) {}

void CmdHelper_QX1270::RequestRealtimeStatus(PrinterBuffer& out, uint8_t n) {
  const uint8_t request[] = {DLE, EOT, n};
  AppendFrames(out, request, sizeof request);
}

bool CmdHelper_QX1270::DrawerStatusRequest(uint8_t (&record)[3]) const { return false; }

bool CmdHelper_QX1270::RealtimeRequest(PrinterBuffer& out, uint8_t n) { return false; }

void CmdHelper_QX1270::RealtimePrefix(PrinterBuffer& out) {}

bool CmdHelper_QX1270::RealtimeFunction1(PrinterBuffer& out, uint8_t m, uint8_t t) { return false; }

void CmdHelper_QX1270::ClearBuffers(PrinterBuffer& out) {}

void CmdHelper_QX1270::PageModeFormFeed(PrinterBuffer& out) {}

void CmdHelper_QX1270::SetRightSpacing(PrinterBuffer& out, uint8_t n) {}

bool CmdHelper_QX1270::BitImage(PrinterBuffer& out, uint8_t m, int32_t n, const uint8_t* data,
                                size_t length) {
  return false;
}

void CmdHelper_QX1270::DefaultTabs(PrinterBuffer& out) {
  if (defaultTabs_.empty()) {
    PrinterBuffer built(256, 32);
    CCmdHelperBase::DefaultTabs(built);
    defaultTabs_.assign(built.data(), built.data() + built.size());
  }
  PutVector(out, defaultTabs_);
}

bool CmdHelper_QX1270::SelectCharacterFont(PrinterBuffer& out, uint8_t n) { return false; }

void CmdHelper_QX1270::SelectInternational(PrinterBuffer& out, uint8_t n) {}

int32_t CmdHelper_QX1270::InternationalForCodePage(int32_t codePage) const { return 0; }

void CmdHelper_QX1270::EnterStandardMode(PrinterBuffer& out) {}

int32_t CmdHelper_QX1270::PageDirectionForRotation(int32_t rotation) const { return 0; }

bool CmdHelper_QX1270::SetPageDirection(PrinterBuffer& out, uint8_t n) { return false; }

void CmdHelper_QX1270::SetRotate90(PrinterBuffer& out, bool on) {}

void CmdHelper_QX1270::SetPageArea(PrinterBuffer& out, int32_t x, int32_t y, int32_t dx,
                                   int32_t dy) {}

bool CmdHelper_QX1270::SelectPaperEndSensors(PrinterBuffer& out, uint8_t n) { return false; }

bool CmdHelper_QX1270::SelectStopSensors(PrinterBuffer& out, uint8_t n) { return false; }

void CmdHelper_QX1270::EnablePanelButtons(PrinterBuffer& out, bool on) {}

bool CmdHelper_QX1270::DrawerPulse(PrinterBuffer& out, uint8_t m, uint8_t t1, uint8_t t2) {
  return false;
}

bool CmdHelper_QX1270::SelectCodeTable(PrinterBuffer& out, uint8_t n) { return false; }

void CmdHelper_QX1270::SetAbsoluteVertical(PrinterBuffer& out, int32_t dots) {}

bool CmdHelper_QX1270::TestPrint(PrinterBuffer& out, uint8_t n, uint8_t m) { return false; }

void CmdHelper_QX1270::EnterUserSetup(PrinterBuffer& out) {}

void CmdHelper_QX1270::EndUserSetup(PrinterBuffer& out) {}

bool CmdHelper_QX1270::SetCustomValues(PrinterBuffer& out, int32_t density, int32_t speed,
                                       int32_t key97, bool on116, bool on118) {
  return false;
}

bool CmdHelper_QX1270::SetDensitySetting(PrinterBuffer& out, int32_t density) {
  if (density < 0 || density > 9) return false;
  return Put(out, {GS, 'E', static_cast<uint8_t>(density)});
}

void CmdHelper_QX1270::QueryDensitySetting(PrinterBuffer& out) {}

bool CmdHelper_QX1270::SetSpeedSetting(PrinterBuffer& out, int32_t n) { return false; }

void CmdHelper_QX1270::QuerySpeedSetting(PrinterBuffer& out) {}

bool CmdHelper_QX1270::SetCustomValue97(PrinterBuffer& out, int32_t n) { return false; }

void CmdHelper_QX1270::QueryCustomValue97(PrinterBuffer& out) {}

void CmdHelper_QX1270::SetCustomValue116(PrinterBuffer& out, bool on) {}

void CmdHelper_QX1270::QueryCustomValue116(PrinterBuffer& out) {}

void CmdHelper_QX1270::SetCustomValue118(PrinterBuffer& out, bool on) {}

void CmdHelper_QX1270::QueryCustomValue118(PrinterBuffer& out) {}

void CmdHelper_QX1270::QueryCustomValue(PrinterBuffer& out, uint8_t key) {}

bool CmdHelper_QX1270::SetSerialBaud(PrinterBuffer& out, const char* digits) { return false; }

void CmdHelper_QX1270::QuerySerialBaud(PrinterBuffer& out) {}

void CmdHelper_QX1270::SetSerialParity(PrinterBuffer& out, uint8_t n) {}

void CmdHelper_QX1270::SetSerialHandshake(PrinterBuffer& out, uint8_t n) {}

void CmdHelper_QX1270::SetSerialDataBits(PrinterBuffer& out, uint8_t n) {}

void CmdHelper_QX1270::QuerySerialParity(PrinterBuffer& out) {}

void CmdHelper_QX1270::QuerySerialHandshake(PrinterBuffer& out) {}

void CmdHelper_QX1270::QuerySerialDataBits(PrinterBuffer& out) {}

bool CmdHelper_QX1270::PrintNvGraphics(PrinterBuffer& out, uint8_t kc1, uint8_t kc2,
                                       uint8_t scaleX, uint8_t scaleY) {
  if (scaleX < 1 || scaleX > 2 || scaleY < 1 || scaleY > 2) return false;
  const uint8_t m = static_cast<uint8_t>((scaleX == 2 ? 1 : 0) | (scaleY == 2 ? 2 : 0));
  return Put(out, {FS, 'p', 0x01, m});
}

bool CmdHelper_QX1270::DefineNvGraphics(PrinterBuffer& out, uint8_t kc1, uint8_t kc2, bool twoTone,
                                        int32_t width, int32_t height, const uint8_t* data,
                                        size_t length) {
  std::vector<uint8_t> bytes = {FS,          'q',         0x01,       Low(width),
                                High(width), Low(height), High(height)};
  if (!AppendPlanes(bytes, twoTone ? 2 : 1, false, width, height, data, length)) return false;
  return PutVector(out, bytes);
}

void CmdHelper_QX1270::FeedAndFullCut(PrinterBuffer& out) {}

void CmdHelper_QX1270::FeedAndPartialCut(PrinterBuffer& out) {}

void CmdHelper_QX1270::FeedAndCut(PrinterBuffer& out, uint8_t n) {}

void CmdHelper_QX1270::SetRelativeVertical(PrinterBuffer& out, int32_t dots) {}

void CmdHelper_QX1270::EnableAsb(PrinterBuffer& out, uint8_t n) {}

void CmdHelper_QX1270::SetAsbAll(PrinterBuffer& out, bool on) {}

bool CmdHelper_QX1270::SetHriFont(PrinterBuffer& out, uint8_t n) {
  if (n != 0 && n != 1 && n != 48 && n != 49) return false;
  return Put(out, {GS, 'f', n});
}

bool CmdHelper_QX1270::ResetMaintenanceCounter(PrinterBuffer& out, int32_t n) { return false; }

bool CmdHelper_QX1270::RequestMaintenanceCounter(PrinterBuffer& out, int32_t n) { return false; }

int32_t CmdHelper_QX1270::DrawLines(PrinterBuffer& out, const LineSegment* segments,
                                    int32_t count) {
  if (count < 0 || count > 8 || (count > 0 && segments == nullptr)) return 0;
  std::vector<uint8_t> bytes = {GS, '\'', static_cast<uint8_t>(count)};
  for (int32_t i = 0; i < count; ++i) {
    bytes.insert(bytes.end(), {Low(segments[i].start), High(segments[i].start),
                               Low(segments[i].end), High(segments[i].end)});
  }
  PutVector(out, bytes);
  return 0;
}

int32_t CmdHelper_QX1270::CurveTextCommand(PrinterBuffer& out, uint8_t m, uint16_t n,
                                           const uint8_t* text, size_t length) {
  if (m > 1 || (length > 0 && text == nullptr)) return 0;
  std::vector<uint8_t> bytes = {GS, '"', m, Low(n), High(n)};
  bytes.insert(bytes.end(), text, text + length);
  bytes.push_back(0);
  PutVector(out, bytes);
  return 0;
}

}  // namespace Printer
}  // namespace QEL
