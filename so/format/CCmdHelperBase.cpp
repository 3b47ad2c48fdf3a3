#include "so/format/CCmdHelperBase.h"

#include <cstring>

#include "so/format/StatusUpdateValues.h"

namespace QEL {
namespace Printer {

namespace {

constexpr uint8_t HT = 0x09;
constexpr uint8_t LF = 0x0A;
constexpr uint8_t FF = 0x0C;
constexpr uint8_t DLE = 0x10;
constexpr uint8_t EOT = 0x04;
constexpr uint8_t ENQ = 0x05;
constexpr uint8_t DC4 = 0x14;
constexpr uint8_t CAN = 0x18;
constexpr uint8_t ESC = 0x1B;
constexpr uint8_t FS = 0x1C;
constexpr uint8_t GS = 0x1D;

// Largest payload of a one-dimensional barcode (GS k m n: n is one byte).
constexpr size_t kMaxBarcodeData = 255;
// Largest symbol stores: the two-byte length (data + 3) for PDF417, the most
// a QR Code holds for QR. An e-receipt or payment QR easily passes 255 bytes.
constexpr size_t kMaxPdf417Data = 0xFFFF - 3;
constexpr size_t kMaxQrData = 7089;

// The largest NV graphics a printer defines (GS ( L / GS 8 L fn 67).
constexpr int32_t kMaxNvWidth = 8192;
constexpr int32_t kMaxNvHeight = 2304;

// Module widths GS w takes; the printers start at the narrowest.
constexpr int32_t kMinModuleWidth = 2;
constexpr int32_t kMaxModuleWidth = 6;

bool OneOf(int32_t v, std::initializer_list<int32_t> allowed) {
  for (int32_t a : allowed) {
    if (v == a) return true;
  }
  return false;
}

bool InRange(int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; }

// Accepts the numeric form 0..count-1 and the character form '0'.. of a
// selector byte.
bool DigitSelector(int32_t v, int32_t count) {
  return InRange(v, 0, count - 1) || InRange(v, '0', '0' + count - 1);
}

struct CodePageEntry {
  int32_t codePage;
  bool kanji;
  uint8_t table;
  uint8_t international;
};

constexpr CodePageEntry kCodePages[] = {
    {242, false, 255, 0},  {255, false, 255, 0},  {437, false, 0, 0},   {998, false, 0, 0},
    {720, false, 32, 0},   {851, false, 11, 0},   {852, false, 18, 0},  {853, false, 18, 0},
    {857, false, 18, 0},   {858, false, 19, 0},   {860, false, 3, 0},   {862, false, 36, 0},
    {863, false, 4, 0},    {864, false, 37, 0},   {865, false, 5, 0},   {866, false, 17, 0},
    {874, false, 21, 0},   {932, true, 1, 8},     {936, true, 2, 15},   {950, true, 2, 15},
    {997, true, 0, 0},     {999, false, 16, 0},   {1250, false, 16, 0}, {1252, false, 16, 0},
    {1255, false, 49, 0},  {1256, false, 50, 0},
};
// Code pages the table does not know are printed as the double-byte default.
constexpr CodePageEntry kOtherCodePage = {0, true, 2, 0};

}  // namespace

std::atomic<int32_t> CCmdHelperBase::cutFeedDistance_{0};

// ---- Low-level composition -------------------------------------------------

bool CCmdHelperBase::Put(PrinterBuffer& out, std::initializer_list<uint8_t> bytes) {
  return out.append(bytes.begin(), bytes.size());
}

bool CCmdHelperBase::PutVector(PrinterBuffer& out, const std::vector<uint8_t>& bytes) {
  return out.append(bytes.data(), bytes.size());
}

bool CCmdHelperBase::PutUserSetup(PrinterBuffer& out, uint8_t fn, const uint8_t* data,
                                  size_t length) {
  const size_t p = length + 1;
  if (p > 0xFFFF || (length > 0 && data == nullptr)) return false;
  std::vector<uint8_t> bytes = {GS, '(', 'E', Low(static_cast<int32_t>(p)),
                                High(static_cast<int32_t>(p)), fn};
  bytes.insert(bytes.end(), data, data + length);
  return PutVector(out, bytes);
}

bool CCmdHelperBase::PutUserSetup(PrinterBuffer& out, uint8_t fn,
                                  std::initializer_list<uint8_t> data) {
  return PutUserSetup(out, fn, data.begin(), data.size());
}

bool CCmdHelperBase::PutGraphicsBlock(PrinterBuffer& out, uint8_t fn, const uint8_t* data,
                                      size_t length) {
  const uint64_t p = static_cast<uint64_t>(length) + 2;
  if (p > 0xFFFFFFFFu || (length > 0 && data == nullptr)) return false;
  std::vector<uint8_t> bytes = {GS,
                                '8',
                                'L',
                                static_cast<uint8_t>(p),
                                static_cast<uint8_t>(p >> 8),
                                static_cast<uint8_t>(p >> 16),
                                static_cast<uint8_t>(p >> 24),
                                0x30,
                                fn};
  bytes.insert(bytes.end(), data, data + length);
  return PutVector(out, bytes);
}

bool CCmdHelperBase::PutGraphicsBlock(PrinterBuffer& out, uint8_t fn,
                                      std::initializer_list<uint8_t> data) {
  return PutGraphicsBlock(out, fn, data.begin(), data.size());
}

bool CCmdHelperBase::PutSymbol(PrinterBuffer& out, uint8_t cn, uint8_t fn, const uint8_t* data,
                               size_t length) {
  const size_t p = length + 2;
  if (p > 0xFFFF || (length > 0 && data == nullptr)) return false;
  std::vector<uint8_t> bytes = {GS, '(', 'k', Low(static_cast<int32_t>(p)),
                                High(static_cast<int32_t>(p)), cn, fn};
  bytes.insert(bytes.end(), data, data + length);
  return PutVector(out, bytes);
}

bool CCmdHelperBase::PutSymbol(PrinterBuffer& out, uint8_t cn, uint8_t fn,
                               std::initializer_list<uint8_t> data) {
  return PutSymbol(out, cn, fn, data.begin(), data.size());
}

bool CCmdHelperBase::AppendPlanes(std::vector<uint8_t>& body, int32_t planes, bool withColour,
                                  int32_t width, int32_t height, const uint8_t* data,
                                  size_t length) {
  if (!InRange(width, 1, 0xFFFF) || !InRange(height, 1, 0xFFFF)) return false;
  const size_t planeBytes = static_cast<size_t>(height) * ((static_cast<size_t>(width) + 7) / 8);
  if (data == nullptr) length = 0;
  size_t used = 0;
  for (int32_t plane = 0; plane < planes; ++plane) {
    if (withColour) body.push_back(static_cast<uint8_t>(49 + plane));
    const size_t available = used < length ? length - used : 0;
    const size_t copied = available < planeBytes ? available : planeBytes;
    body.insert(body.end(), data + used, data + used + copied);
    body.insert(body.end(), planeBytes - copied, 0);
    used += copied;
  }
  return true;
}

// ---- Output framing and status decoding --------------------------------------

void CCmdHelperBase::PackOutput(PrinterBuffer& out, const PrinterBuffer& data) {
  // Appending a buffer to itself may move the block under the source.
  const std::vector<uint8_t> copy(data.data(), data.data() + data.size());
  PutVector(out, copy);
}

bool CCmdHelperBase::DecodeAsb(const uint8_t* bytes4, tagPrinterStatus* status) const {
  if (bytes4 == nullptr) return false;
  if ((bytes4[0] & 0x93) != 0x10) return false;
  for (int i = 1; i < 4; ++i) {
    if ((bytes4[i] & 0x90) != 0) return false;
  }
  if (status != nullptr) {
    status->drawerBit = bytes4[0] & 0x04;
    status->offline = bytes4[0] & 0x08;
    status->coverOpen = bytes4[0] & 0x20;
    status->nearEnd = (bytes4[2] & 0x03) == 0x03 ? 1 : 0;
    status->paperOut = (bytes4[2] & 0x0C) == 0x0C ? 1 : 0;
  }
  return true;
}

bool CCmdHelperBase::DecodePrinterStatus(uint8_t b, tagPrinterStatus* status) const {
  if ((b & 0x13) != 0x12) return false;
  if (status != nullptr) {
    status->drawerBit = b & 0x04;
    status->offline = b & 0x08;
  }
  return true;
}

bool CCmdHelperBase::DecodeOfflineStatus(uint8_t b, tagPrinterStatus* status) const {
  if ((b & 0x93) != 0x12) return false;
  if (status != nullptr) status->coverOpen = b & 0x04;
  return true;
}

bool CCmdHelperBase::DecodeRollPaperStatus(uint8_t b, tagPrinterStatus* status) const {
  if ((b & 0x93) != 0x12) return false;
  if (status != nullptr) {
    status->nearEnd = b & 0x0C;
    status->paperOut = b & 0x60;
  }
  return true;
}

bool CCmdHelperBase::DecodePaperSensorStatus(uint8_t b, tagPrinterStatus* status) const {
  if (status != nullptr) {
    status->paperOut = b & 0x0C;
    status->nearEnd = b & 0x03;
  }
  return true;
}

bool CCmdHelperBase::DecodeDrawerStatus(uint8_t b, int32_t* state) const {
  if (state != nullptr) *state = b & 0x01;
  return true;
}

int32_t CCmdHelperBase::CompareAsb(const uint8_t* new4, uint8_t* stored4) const {
  if (new4 == nullptr || stored4 == nullptr) return 0;
  if (std::memcmp(new4, stored4, 4) == 0) return 0;

  const uint8_t cover = 0x20;
  if (!(new4[0] & cover) && (stored4[0] & cover)) {
    stored4[0] &= static_cast<uint8_t>(~cover);
    return PTR_SUE_COVER_OK;
  }
  if ((new4[0] & cover) && !(stored4[0] & cover)) {
    stored4[0] |= cover;
    return PTR_SUE_COVER_OPEN;
  }
  const uint8_t second = 0x08;
  if (!(new4[1] & second) && (stored4[1] & second)) {
    stored4[1] &= static_cast<uint8_t>(~second);
    return kStatusSecondSensorCleared;
  }
  if ((new4[1] & second) && !(stored4[1] & second)) {
    stored4[1] |= second;
    return kStatusSecondSensorSet;
  }
  // Both end bits are recorded, not just one: with one of them the same
  // reading would be reported as a change again on every later comparison.
  const uint8_t end = 0x0C;
  if ((new4[2] & end) == end && (stored4[2] & end) != end) {
    stored4[2] |= end;
    return PTR_SUE_REC_EMPTY;
  }
  if ((new4[2] & end) == 0 && (stored4[2] & end) != 0) {
    stored4[2] &= static_cast<uint8_t>(~end);
    return PTR_SUE_REC_PAPEROK;
  }
  const uint8_t nearEnd = 0x03;
  if ((new4[2] & nearEnd) == nearEnd && (stored4[2] & nearEnd) != nearEnd) {
    stored4[2] |= nearEnd;
    return PTR_SUE_REC_NEAREMPTY;
  }
  return 0;
}

bool CCmdHelperBase::DrawerStateDiffers(uint8_t first, uint8_t second, bool ignoreClear) const {
  if (((first ^ second) & 0x04) == 0) return false;
  if (!(first & 0x04) && ignoreClear) return false;
  return true;
}

bool CCmdHelperBase::IsDrawerBitSet(uint8_t b, bool polarity) const {
  const bool set = (b & 0x04) != 0;
  return polarity ? set : !set;
}

// ---- Basic print control -----------------------------------------------------

void CCmdHelperBase::ResetTextFormat(PrinterBuffer& out) {
  SetPrintMode(out, false, false, false, false, false);
  SetJustification(out, 0);
  SetUnderline(out, 0);
}

void CCmdHelperBase::HorizontalTab(PrinterBuffer& out) { out.pushByte(HT); }

void CCmdHelperBase::LineFeed(PrinterBuffer& out) { out.pushByte(LF); }

void CCmdHelperBase::FormFeed(PrinterBuffer& out) { out.pushByte(FF); }

void CCmdHelperBase::PrintAndFeedNone(PrinterBuffer& out) { Put(out, {ESC, 'd', 0}); }

void CCmdHelperBase::CancelPageData(PrinterBuffer& out) { out.pushByte(CAN); }

void CCmdHelperBase::EscapeTriplet(PrinterBuffer& out) { Put(out, {ESC, ESC, ESC}); }

void CCmdHelperBase::RequestRealtimeStatus(PrinterBuffer& out, uint8_t n) {
  Put(out, {DLE, EOT, n});
}

int32_t CCmdHelperBase::CompareStatusByte(uint8_t newByte, uint8_t* stored, int32_t kind) const {
  if (stored == nullptr || newByte == *stored) return 0;
  if (kind == 2) {
    if (((newByte ^ *stored) & 0x04) == 0) return 0;
    *stored = static_cast<uint8_t>((*stored & ~0x04) | (newByte & 0x04));
    return (newByte & 0x04) ? kStatusDrawerBitSet : kStatusDrawerBitCleared;
  }
  if (kind == 4) {
    const uint8_t all = 0x6C;
    if ((newByte & all) == all && (*stored & all) != all) {
      *stored |= all;
      return PTR_SUE_REC_PAPEROK;
    }
    for (uint8_t pair : {uint8_t{0x0C}, uint8_t{0x60}}) {
      if ((newByte & pair) == pair) {
        if ((*stored & pair) == pair) return 0;
        *stored |= pair;
        return PTR_SUE_REC_NEAREMPTY;
      }
    }
  }
  return 0;
}

bool CCmdHelperBase::DrawerStatusRequest(uint8_t (&record)[3]) const {
  record[0] = GS;
  record[1] = 'r';
  record[2] = 2;
  return true;
}

void CCmdHelperBase::RequestStatus(PrinterBuffer& out, uint8_t n) { Put(out, {GS, 'r', n}); }

bool CCmdHelperBase::RealtimeRequest(PrinterBuffer& out, uint8_t n) {
  if (!InRange(n, 1, 2)) return false;
  return Put(out, {DLE, ENQ, n});
}

void CCmdHelperBase::RealtimePrefix(PrinterBuffer& out) { Put(out, {DLE, DC4}); }

bool CCmdHelperBase::RealtimeFunction1(PrinterBuffer& out, uint8_t m, uint8_t t) {
  if (!InRange(m, 0, 1) || !InRange(t, 1, 8)) return false;
  return Put(out, {DLE, DC4, 0x01, m, t});
}

void CCmdHelperBase::ClearBuffers(PrinterBuffer& out) {
  // The fixed parameters are 1 3 20 1 6 2 8 in decimal: with 0x20 instead of
  // 20 the printer would not clear anything.
  Put(out, {DLE, DC4, 0x08, 0x01, 0x03, 0x14, 0x01, 0x06, 0x02, 0x08});
}

void CCmdHelperBase::PageModeFormFeed(PrinterBuffer& out) { out.pushByte(FF); }

void CCmdHelperBase::SetRightSpacing(PrinterBuffer& out, uint8_t n) { Put(out, {ESC, ' ', n}); }

int32_t CCmdHelperBase::SetPrintMode(PrinterBuffer& out, bool fontB, bool bold, bool doubleWidth,
                                     bool doubleHeight, bool underline) {
  uint8_t n = 0;
  if (fontB) n |= 0x01;
  if (bold) n |= 0x08;
  if (doubleHeight) n |= 0x10;
  if (doubleWidth) n |= 0x20;
  if (underline) n |= 0x80;
  Put(out, {ESC, '!', n});
  return n;
}

void CCmdHelperBase::SetAbsolutePosition(PrinterBuffer& out, int32_t dots) {
  Put(out, {ESC, '$', Low(dots), High(dots)});
}

void CCmdHelperBase::SelectUserCharset(PrinterBuffer& out, bool on) {
  Put(out, {ESC, '%', static_cast<uint8_t>(on ? 1 : 0)});
}

void CCmdHelperBase::NoOperation(PrinterBuffer& out) {}

bool CCmdHelperBase::BitImage(PrinterBuffer& out, uint8_t m, int32_t n, const uint8_t* data,
                              size_t length) {
  if (!OneOf(m, {0, 1, 32, 33}) || !InRange(n, 1, 1023)) return false;
  const size_t expected = static_cast<size_t>(n) * (m >= 32 ? 3 : 1);
  if (length != expected || data == nullptr) return false;
  std::vector<uint8_t> bytes = {ESC, '*', m, Low(n), High(n)};
  bytes.insert(bytes.end(), data, data + length);
  return PutVector(out, bytes);
}

bool CCmdHelperBase::SetUnderline(PrinterBuffer& out, uint8_t n) {
  if (n > 2) return false;
  return Put(out, {ESC, '-', n});
}

void CCmdHelperBase::DefaultLineSpacing(PrinterBuffer& out) { Put(out, {ESC, '2'}); }

void CCmdHelperBase::SetLineSpacing(PrinterBuffer& out, uint8_t n) { Put(out, {ESC, '3', n}); }

void CCmdHelperBase::SelectPeripheral(PrinterBuffer& out, bool printer) {
  Put(out, {ESC, '=', static_cast<uint8_t>(printer ? 1 : 2)});
}

bool CCmdHelperBase::CancelUserChar(PrinterBuffer& out, uint8_t n) {
  if (!InRange(n, 32, 126)) return false;
  return Put(out, {ESC, '?', n});
}

void CCmdHelperBase::InitializePrinter(PrinterBuffer& out) { Put(out, {ESC, '@'}); }

void CCmdHelperBase::DefaultTabs(PrinterBuffer& out) {
  std::vector<uint8_t> bytes = {ESC, 'D'};
  for (int stop = 8; stop <= 248; stop += 8) bytes.push_back(static_cast<uint8_t>(stop));
  bytes.push_back(0);
  PutVector(out, bytes);
}

void CCmdHelperBase::SetTabs(PrinterBuffer& out, const uint8_t* list, size_t length) {
  if (list == nullptr || length == 0) {
    DefaultTabs(out);
    return;
  }
  // A printer takes at most 32 rising stops and prints whatever follows
  // them, so the rest of the list is not sent at all.
  constexpr size_t kMaxStops = 32;
  std::vector<uint8_t> bytes = {ESC, 'D'};
  uint8_t previous = 0;
  for (size_t i = 0; i < length && i < kMaxStops; ++i) {
    if (list[i] <= previous) break;  // 00 ends the list too
    bytes.push_back(list[i]);
    previous = list[i];
  }
  bytes.push_back(0);
  PutVector(out, bytes);
}

void CCmdHelperBase::SetEmphasized(PrinterBuffer& out, bool on) {
  Put(out, {ESC, 'E', static_cast<uint8_t>(on ? 1 : 0)});
}

void CCmdHelperBase::SetDoubleStrike(PrinterBuffer& out, bool on) {
  Put(out, {ESC, 'G', static_cast<uint8_t>(on ? 1 : 0)});
}

void CCmdHelperBase::FeedNone(PrinterBuffer& out) { Put(out, {ESC, 'J', 0}); }

void CCmdHelperBase::FeedDots(PrinterBuffer& out, int32_t dots) {
  if (dots < 0) dots = 0;  // ESC J cannot feed backwards
  if (dots <= 255) {
    Put(out, {ESC, 'J', static_cast<uint8_t>(dots)});
    return;
  }
  const int32_t full = (dots - 256) / 255 + 1;
  const int32_t rest = (dots - 256) % 255 + 1;
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(full + 1) * 3);
  for (int32_t i = 0; i < full; ++i) bytes.insert(bytes.end(), {ESC, 'J', 255});
  bytes.insert(bytes.end(), {ESC, 'J', static_cast<uint8_t>(rest)});
  PutVector(out, bytes);
}

void CCmdHelperBase::FeedDotsOnce(PrinterBuffer& out, uint8_t n) { Put(out, {ESC, 'J', n}); }

void CCmdHelperBase::EnterPageMode(PrinterBuffer& out) { Put(out, {ESC, 'L'}); }

bool CCmdHelperBase::SelectCharacterFont(PrinterBuffer& out, uint8_t n) {
  if (!DigitSelector(n, 2)) return false;
  return Put(out, {ESC, 'M', n});
}

void CCmdHelperBase::SelectInternational(PrinterBuffer& out, uint8_t n) { Put(out, {ESC, 'R', n}); }

int32_t CCmdHelperBase::InternationalForCodePage(int32_t codePage) const {
  if (OneOf(codePage, {850, 936, 950})) return 15;
  if (codePage == 932) return 8;
  return 0;
}

void CCmdHelperBase::EnterStandardMode(PrinterBuffer& out) { Put(out, {ESC, 'S'}); }

int32_t CCmdHelperBase::PageDirectionForRotation(int32_t rotation) const {
  switch (rotation) {
    case 257: return '3';  // right 90
    case 258: return '1';  // left 90
    case 259: return '2';  // 180
    default: return '0';
  }
}

bool CCmdHelperBase::SetPageDirection(PrinterBuffer& out, uint8_t n) {
  if (!DigitSelector(n, 4)) return false;
  return Put(out, {ESC, 'T', n});
}

void CCmdHelperBase::SetRotate90(PrinterBuffer& out, bool on) {
  Put(out, {ESC, 'V', static_cast<uint8_t>(on ? 1 : 0)});
}

void CCmdHelperBase::SetPageArea(PrinterBuffer& out, int32_t x, int32_t y, int32_t dx,
                                 int32_t dy) {
  if (!InRange(dx, 1, 0xFFFF) || !InRange(dy, 1, 0xFFFF)) return;
  Put(out, {ESC, 'W', Low(x), High(x), Low(y), High(y), Low(dx), High(dx), Low(dy), High(dy)});
}

void CCmdHelperBase::SetRelativePosition(PrinterBuffer& out, int32_t dots) {
  Put(out, {ESC, '\\', Low(dots), High(dots)});
}

bool CCmdHelperBase::SetJustification(PrinterBuffer& out, uint8_t n) {
  if (!DigitSelector(n, 3)) return false;
  return Put(out, {ESC, 'a', n});
}

bool CCmdHelperBase::SelectPaperEndSensors(PrinterBuffer& out, uint8_t n) {
  return Put(out, {ESC, 'c', '3', n});
}

bool CCmdHelperBase::SelectStopSensors(PrinterBuffer& out, uint8_t n) {
  return Put(out, {ESC, 'c', '4', n});
}

void CCmdHelperBase::EnablePanelButtons(PrinterBuffer& out, bool on) {
  Put(out, {ESC, 'c', '5', static_cast<uint8_t>(on ? 0 : 1)});
}

void CCmdHelperBase::PrintAndFeedLines(PrinterBuffer& out, uint8_t n) { Put(out, {ESC, 'd', n}); }

bool CCmdHelperBase::DrawerPulse(PrinterBuffer& out, uint8_t m, uint8_t t1, uint8_t t2) {
  if (!DigitSelector(m, 2)) return false;
  return Put(out, {ESC, 'p', m, t1, t2});
}

bool CCmdHelperBase::SelectCodeTable(PrinterBuffer& out, uint8_t n) {
  if (InRange(n, 22, 25) || InRange(n, 27, 29) || InRange(n, 54, 254)) return false;
  return Put(out, {ESC, 't', n});
}

void CCmdHelperBase::SetUpsideDown(PrinterBuffer& out, bool on) {
  Put(out, {ESC, '{', static_cast<uint8_t>(on ? 1 : 0)});
}

bool CCmdHelperBase::SetCharacterSize(PrinterBuffer& out, int32_t width, int32_t height) {
  // A multiplier of 0 would wrap into the other nibble and select a size
  // nobody asked for.
  if (!InRange(width, 1, 8) || !InRange(height, 1, 8)) return false;
  return Put(out, {GS, '!', static_cast<uint8_t>((width - 1) * 16 + (height - 1))});
}

bool CCmdHelperBase::SetCharacterSizeClamped(PrinterBuffer& out, int32_t width, int32_t height) {
  auto clamp = [](int32_t v) { return v < 1 ? 1 : (v > 8 ? 8 : v); };
  return SetCharacterSize(out, clamp(width), clamp(height));
}

void CCmdHelperBase::SetAbsoluteVertical(PrinterBuffer& out, int32_t dots) {
  Put(out, {GS, '$', Low(dots), High(dots)});
}

bool CCmdHelperBase::TestPrint(PrinterBuffer& out, uint8_t n, uint8_t m) {
  if (!DigitSelector(n, 3)) return false;
  if (!InRange(m, 1, 3) && !InRange(m, '1', '3')) return false;
  return Put(out, {GS, '(', 'A', 0x02, 0x00, n, m});
}

// ---- User setup, device settings and graphics ---------------------------------

namespace {

bool DensityAccepted(int32_t v) { return InRange(v, -6, 6) || v == 100; }
bool SpeedAccepted(int32_t v) { return InRange(v, 1, 9); }
bool Key97Accepted(int32_t v) { return OneOf(v, {1, 2, 4, 128}); }

void AddEntry(std::vector<uint8_t>& list, uint8_t key, int32_t value) {
  list.push_back(key);
  list.push_back(static_cast<uint8_t>(value & 0xFF));
  list.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

int32_t Value116(bool on) { return on ? 257 : 1; }
int32_t Value118(bool on) { return on ? 85 : 70; }

}  // namespace

void CCmdHelperBase::EnterUserSetup(PrinterBuffer& out) { PutUserSetup(out, 1, {'I', 'N'}); }

void CCmdHelperBase::EndUserSetup(PrinterBuffer& out) { PutUserSetup(out, 2, {'O', 'U', 'T'}); }

bool CCmdHelperBase::SetCustomValues(PrinterBuffer& out, int32_t density, int32_t speed,
                                     int32_t key97, bool on116, bool on118) {
  std::vector<uint8_t> list;
  if (DensityAccepted(density)) AddEntry(list, 5, density);
  if (SpeedAccepted(speed)) AddEntry(list, 6, speed);
  if (Key97Accepted(key97)) AddEntry(list, 97, key97);
  AddEntry(list, 116, Value116(on116));
  AddEntry(list, 118, Value118(on118));
  return PutUserSetup(out, 5, list.data(), list.size());
}

bool CCmdHelperBase::SetDensitySetting(PrinterBuffer& out, int32_t density) {
  if (!DensityAccepted(density)) return false;
  return PutUserSetup(out, 5, {5, Low(density), High(density)});
}

void CCmdHelperBase::QueryDensitySetting(PrinterBuffer& out) { PutUserSetup(out, 6, {5}); }

bool CCmdHelperBase::SetSpeedSetting(PrinterBuffer& out, int32_t n) {
  if (!SpeedAccepted(n)) return false;
  return PutUserSetup(out, 5, {6, Low(n), High(n)});
}

void CCmdHelperBase::QuerySpeedSetting(PrinterBuffer& out) { PutUserSetup(out, 6, {6}); }

bool CCmdHelperBase::SetCustomValue97(PrinterBuffer& out, int32_t n) {
  if (!Key97Accepted(n)) return false;
  return PutUserSetup(out, 5, {97, Low(n), High(n)});
}

void CCmdHelperBase::QueryCustomValue97(PrinterBuffer& out) { PutUserSetup(out, 6, {97}); }

void CCmdHelperBase::SetCustomValue116(PrinterBuffer& out, bool on) {
  const int32_t v = Value116(on);
  PutUserSetup(out, 5, {116, Low(v), High(v)});
}

void CCmdHelperBase::QueryCustomValue116(PrinterBuffer& out) { PutUserSetup(out, 6, {116}); }

void CCmdHelperBase::SetCustomValue118(PrinterBuffer& out, bool on) {
  const int32_t v = Value118(on);
  PutUserSetup(out, 5, {118, Low(v), High(v)});
}

void CCmdHelperBase::QueryCustomValue118(PrinterBuffer& out) { PutUserSetup(out, 6, {118}); }

void CCmdHelperBase::QueryCustomValue(PrinterBuffer& out, uint8_t key) {
  PutUserSetup(out, 6, {key});
}

bool CCmdHelperBase::SetSerialBaud(PrinterBuffer& out, const char* digits) {
  if (digits == nullptr) return false;
  const size_t length = std::strlen(digits);
  if (length < 3) return false;
  std::vector<uint8_t> data = {1};
  data.insert(data.end(), digits, digits + length);
  return PutUserSetup(out, 11, data.data(), data.size());
}

void CCmdHelperBase::QuerySerialBaud(PrinterBuffer& out) { PutUserSetup(out, 12, {1}); }

void CCmdHelperBase::SetSerialParity(PrinterBuffer& out, uint8_t n) {
  PutUserSetup(out, 11, {2, n});
}

void CCmdHelperBase::SetSerialHandshake(PrinterBuffer& out, uint8_t n) {
  PutUserSetup(out, 11, {3, n});
}

void CCmdHelperBase::SetSerialDataBits(PrinterBuffer& out, uint8_t n) {
  PutUserSetup(out, 11, {4, n});
}

void CCmdHelperBase::QuerySerialParity(PrinterBuffer& out) { PutUserSetup(out, 12, {2}); }

void CCmdHelperBase::QuerySerialHandshake(PrinterBuffer& out) { PutUserSetup(out, 12, {3}); }

void CCmdHelperBase::QuerySerialDataBits(PrinterBuffer& out) { PutUserSetup(out, 12, {4}); }

void CCmdHelperBase::PrepareSend(PrinterBuffer& out) {}

bool CCmdHelperBase::SetPrintSpeed(PrinterBuffer& out, uint8_t m) {
  if (!DigitSelector(m, 10)) return false;
  return Put(out, {GS, '(', 'K', 0x02, 0x00, 0x32, m});
}

bool CCmdHelperBase::SetHeadDivision(PrinterBuffer& out, uint8_t m) {
  if (!OneOf(m, {0, 1, 2, 4, 48, 49, 50, 52, 128})) return false;
  return Put(out, {GS, '(', 'K', 0x02, 0x00, 0x61, m});
}

bool CCmdHelperBase::DefineNvGraphicsHeader(PrinterBuffer& out, bool twoColour, int32_t width,
                                            int32_t height, uint8_t kc1, uint8_t kc2) {
  if (!InRange(width, 1, kMaxNvWidth) || !InRange(height, 1, kMaxNvHeight)) return false;
  // Every row is whole bytes: a width that is no multiple of 8 still takes
  // (width + 7) / 8 bytes a row.
  const int64_t p = static_cast<int64_t>((width + 7) / 8) * height + 11;
  // The length field is 16 bits; a wrapped length would make the printer
  // read the raster that follows as commands.
  if (p > 0xFFFF) return false;
  const int32_t p32 = static_cast<int32_t>(p);
  return Put(out, {GS, '(', 'L', Low(p32), High(p32), 0x30, 0x43, 0x30, kc1, kc2, 0x01, Low(width),
                   High(width), Low(height), High(height),
                   static_cast<uint8_t>(twoColour ? 50 : 49)});
}

int32_t CCmdHelperBase::AlignmentForBitmap(int32_t position) const {
  if (position == -3) return 2;
  if (position == -2) return 1;
  return 0;
}

void CCmdHelperBase::StoreGraphicsHeader(PrinterBuffer& out, int32_t dataSize, int32_t width,
                                         int32_t height) {
  const uint32_t p = static_cast<uint32_t>(dataSize) + 10u;
  Put(out, {GS, '8', 'L', static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8),
            static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 24), 0x30, 0x70, 0x30, 0x01,
            0x01, 0x31, Low(width), High(width), Low(height), High(height)});
}

void CCmdHelperBase::PrintGraphicsBuffer(PrinterBuffer& out) { PutGraphicsBlock(out, 2, {}); }

void CCmdHelperBase::QueryNvGraphicsCapacity(PrinterBuffer& out, bool total) {
  PutGraphicsBlock(out, total ? 0 : 3, {});
}

bool CCmdHelperBase::PrintNvGraphicsByNumber(PrinterBuffer& out, int32_t n) {
  if (!InRange(n, 0, 99)) return false;
  return Put(out, {GS, '(', 'L', 0x06, 0x00, 0x30, 0x45, static_cast<uint8_t>('0' + n / 10),
                   static_cast<uint8_t>('0' + n % 10), 0x01, 0x01});
}

bool CCmdHelperBase::PrintNvGraphics(PrinterBuffer& out, uint8_t kc1, uint8_t kc2, uint8_t scaleX,
                                     uint8_t scaleY) {
  if (!InRange(scaleX, 1, 2) || !InRange(scaleY, 1, 2)) return false;
  return PutGraphicsBlock(out, 69, {kc1, kc2, scaleX, scaleY});
}

void CCmdHelperBase::ListNvGraphicsKeys(PrinterBuffer& out) { PutGraphicsBlock(out, 64, {'K', 'C'}); }

void CCmdHelperBase::DeleteAllNvGraphics(PrinterBuffer& out) {
  PutGraphicsBlock(out, 65, {'C', 'L', 'R'});
}

bool CCmdHelperBase::DeleteNvGraphics(PrinterBuffer& out, uint8_t kc1, uint8_t kc2) {
  if (!InRange(kc1, 32, 126) || !InRange(kc2, 32, 126)) return false;
  return PutGraphicsBlock(out, 66, {kc1, kc2});
}

bool CCmdHelperBase::DefineNvGraphics(PrinterBuffer& out, uint8_t kc1, uint8_t kc2, bool twoTone,
                                      int32_t width, int32_t height, const uint8_t* data,
                                      size_t length) {
  if (!InRange(width, 1, kMaxNvWidth) || !InRange(height, 1, kMaxNvHeight)) return false;
  const int32_t planes = twoTone ? 2 : 1;
  // a = 48 comes first: without it the printer reads the key as a.
  std::vector<uint8_t> body = {0x30,       kc1,         kc2,        static_cast<uint8_t>(planes),
                               Low(width), High(width), Low(height), High(height)};
  if (!AppendPlanes(body, planes, true, width, height, data, length)) return false;
  return PutGraphicsBlock(out, 67, body.data(), body.size());
}

void CCmdHelperBase::SelectCharacterColor(PrinterBuffer& out, uint8_t m) {
  if (!InRange(m, 48, 51)) return;
  Put(out, {GS, '(', 'N', 0x02, 0x00, 0x30, m});
}

// ---- Two-dimensional symbols ---------------------------------------------------

bool CCmdHelperBase::Pdf417Columns(PrinterBuffer& out, int32_t n) {
  if (!InRange(n, 0, 30)) return false;
  return PutSymbol(out, 0x30, 0x41, {static_cast<uint8_t>(n)});
}

bool CCmdHelperBase::Pdf417Rows(PrinterBuffer& out, int32_t n) {
  if (n != 0 && !InRange(n, 3, 90)) return false;
  return PutSymbol(out, 0x30, 0x42, {static_cast<uint8_t>(n)});
}

bool CCmdHelperBase::Pdf417ModuleWidth(PrinterBuffer& out, int32_t n) {
  if (!InRange(n, 2, 8)) return false;
  return PutSymbol(out, 0x30, 0x43, {static_cast<uint8_t>(n)});
}

bool CCmdHelperBase::Pdf417RowHeight(PrinterBuffer& out, int32_t n) {
  const int32_t clamped = n <= 1 ? 2 : (n > 8 ? 8 : n);
  return PutSymbol(out, 0x30, 0x44, {static_cast<uint8_t>(clamped)});
}

bool CCmdHelperBase::Pdf417ErrorLevel(PrinterBuffer& out, uint8_t m, uint8_t n) {
  const bool byLevel = m == '0' && InRange(n, 48, 56);
  const bool byRatio = m == '1' && InRange(n, 1, 40);
  if (!byLevel && !byRatio) return false;
  return PutSymbol(out, 0x30, 0x45, {m, n});
}

bool CCmdHelperBase::Pdf417Options(PrinterBuffer& out, bool standard) {
  return PutSymbol(out, 0x30, 0x46, {static_cast<uint8_t>(standard ? 0 : 1)});
}

bool CCmdHelperBase::Pdf417Store(PrinterBuffer& out, const uint8_t* data, size_t length) {
  // A store without data is a length a printer does not take.
  if (length == 0 || length > kMaxPdf417Data || data == nullptr) return false;
  std::vector<uint8_t> body = {0x30};
  body.insert(body.end(), data, data + length);
  return PutSymbol(out, 0x30, 0x50, body.data(), body.size());
}

bool CCmdHelperBase::Pdf417Print(PrinterBuffer& out) { return PutSymbol(out, 0x30, 0x51, {0x30}); }

bool CCmdHelperBase::Pdf417QuerySize(PrinterBuffer& out) {
  return PutSymbol(out, 0x30, 0x52, {0x30});
}

bool CCmdHelperBase::QrModel(PrinterBuffer& out, uint8_t model) {
  if (model != '1' && model != '2') return false;
  return PutSymbol(out, 0x31, 0x41, {model, 0x00});
}

bool CCmdHelperBase::QrModuleSize(PrinterBuffer& out, int32_t n) {
  if (!InRange(n, 1, 16)) return false;
  return PutSymbol(out, 0x31, 0x43, {static_cast<uint8_t>(n)});
}

bool CCmdHelperBase::QrErrorLevel(PrinterBuffer& out, uint8_t n) {
  if (!InRange(n, 48, 51)) return false;
  return PutSymbol(out, 0x31, 0x45, {n});
}

bool CCmdHelperBase::QrStore(PrinterBuffer& out, const uint8_t* data, size_t length) {
  if (length == 0 || length > kMaxQrData || data == nullptr) return false;
  std::vector<uint8_t> body = {0x30};
  body.insert(body.end(), data, data + length);
  return PutSymbol(out, 0x31, 0x50, body.data(), body.size());
}

bool CCmdHelperBase::QrPrint(PrinterBuffer& out) { return PutSymbol(out, 0x31, 0x51, {0x30}); }

bool CCmdHelperBase::QrQuerySize(PrinterBuffer& out) { return PutSymbol(out, 0x31, 0x52, {0x30}); }

// ---- Downloaded images, macros, barcodes, cutting and the rest --------------------

bool CCmdHelperBase::DefineDownloadedImage(PrinterBuffer& out, uint8_t x, uint8_t y,
                                           const uint8_t* data, size_t length) {
  constexpr int32_t kMaxRows = 48, kMaxCells = 1536;
  if (x == 0 || !InRange(y, 1, kMaxRows) || x * y > kMaxCells || data == nullptr) return false;
  if (length != static_cast<size_t>(x) * y * 8) return false;
  std::vector<uint8_t> bytes = {GS, '*', x, y};
  bytes.insert(bytes.end(), data, data + length);
  return PutVector(out, bytes);
}

bool CCmdHelperBase::PrintDownloadedImage(PrinterBuffer& out, uint8_t m) {
  if (!DigitSelector(m, 4)) return false;
  return Put(out, {GS, '/', m});
}

void CCmdHelperBase::MacroDefinition(PrinterBuffer& out) { Put(out, {GS, ':'}); }

void CCmdHelperBase::MacroDefinitionEnd(PrinterBuffer& out) { Put(out, {GS, ':'}); }

void CCmdHelperBase::ExecuteMacro(PrinterBuffer& out, uint8_t r, uint8_t t, bool continuous) {
  Put(out, {GS, '^', r, t, static_cast<uint8_t>(continuous ? 0 : 1)});
}

void CCmdHelperBase::SetReverse(PrinterBuffer& out, bool on) {
  Put(out, {GS, 'B', static_cast<uint8_t>(on ? 1 : 0)});
}

int32_t CCmdHelperBase::HriPositionForTextPosition(int32_t position) const {
  if (position == -13) return 2;  // below
  if (position == -12) return 1;  // above
  return 0;
}

bool CCmdHelperBase::SetHriPosition(PrinterBuffer& out, uint8_t n) {
  if (!DigitSelector(n, 4)) return false;
  return Put(out, {GS, 'H', n});
}

void CCmdHelperBase::RequestPrinterId(PrinterBuffer& out, uint8_t n) { Put(out, {GS, 'I', n}); }

void CCmdHelperBase::RequestModelId(PrinterBuffer& out) { RequestPrinterId(out, 1); }

void CCmdHelperBase::RequestTypeId(PrinterBuffer& out) { RequestPrinterId(out, 2); }

void CCmdHelperBase::RequestFirmwareVersion(PrinterBuffer& out) { RequestPrinterId(out, 65); }

void CCmdHelperBase::RequestMakerName(PrinterBuffer& out) { RequestPrinterId(out, 66); }

void CCmdHelperBase::RequestModelName(PrinterBuffer& out) { RequestPrinterId(out, 67); }

void CCmdHelperBase::RequestSerialNumber(PrinterBuffer& out) { RequestPrinterId(out, 68); }

void CCmdHelperBase::RequestFontInfo(PrinterBuffer& out) { RequestPrinterId(out, 69); }

void CCmdHelperBase::SetLeftMargin(PrinterBuffer& out, int32_t dots) {
  Put(out, {GS, 'L', Low(dots), High(dots)});
}

void CCmdHelperBase::SetMotionUnits(PrinterBuffer& out, uint8_t x, uint8_t y) {
  Put(out, {GS, 'P', x, y});
}

void CCmdHelperBase::FeedAndFullCut(PrinterBuffer& out) {
  FeedDots(out, CutFeedDots());
  Put(out, {GS, 'V', 0});
}

void CCmdHelperBase::FeedAndPartialCut(PrinterBuffer& out) {
  FeedDots(out, CutFeedDots());
  Put(out, {GS, 'V', 1});
}

void CCmdHelperBase::FeedAndCut(PrinterBuffer& out, uint8_t n) { Put(out, {GS, 'V', 65, n}); }

void CCmdHelperBase::SetPrintAreaWidth(PrinterBuffer& out, int32_t dots) {
  Put(out, {GS, 'W', Low(dots), High(dots)});
}

void CCmdHelperBase::SetRelativeVertical(PrinterBuffer& out, int32_t dots) {
  Put(out, {GS, '\\', Low(dots), High(dots)});
}

void CCmdHelperBase::EnableAsb(PrinterBuffer& out, uint8_t n) { Put(out, {GS, 'a', n}); }

void CCmdHelperBase::SetSmoothing(PrinterBuffer& out, bool on) {
  Put(out, {GS, 'b', static_cast<uint8_t>(on ? 1 : 0)});
}

bool CCmdHelperBase::SetHriFont(PrinterBuffer& out, uint8_t n) {
  if (n > 1) return false;
  return Put(out, {GS, 'f', n});
}

bool CCmdHelperBase::ResetMaintenanceCounter(PrinterBuffer& out, int32_t n) {
  if (!OneOf(n, {20, 21, 50, 70})) return false;
  return Put(out, {GS, 'g', '0', 0x00, Low(n), High(n)});
}

bool CCmdHelperBase::RequestMaintenanceCounter(PrinterBuffer& out, int32_t n) {
  if (!OneOf(n, {20, 21, 50, 70, 148, 149, 178, 198})) return false;
  return Put(out, {GS, 'g', '2', 0x00, Low(n), High(n)});
}

int32_t CCmdHelperBase::BarcodeSystemForSymbology(int32_t symbology) const {
  switch (symbology) {
    case 101: return 65;  // UPC-A
    case 102: return 66;  // UPC-E
    case 103: return 68;  // EAN-8 / JAN-8
    case 104: return 67;  // EAN-13 / JAN-13
    case 106: return 70;  // Interleaved 2 of 5
    case 107: return 71;  // Codabar
    case 108: return 69;  // Code 39
    case 109: return 72;  // Code 93
    case 110:             // Code 128
    case 123:             // parsed Code 128
      return 73;
    case 120: return 74;  // EAN-128
    case 131: return 75;  // RSS-14
    case 132: return 78;  // RSS expanded
    default: return 0;
  }
}

int32_t CCmdHelperBase::AlignmentForBarcode(int32_t position) const {
  return AlignmentForBitmap(position);
}

int32_t CCmdHelperBase::HriPositionForTextPositionAll(int32_t position) const {
  switch (position) {
    case -13: return 2;
    case -12: return 1;
    case -11: return 0;
    default: return 3;
  }
}

BarcodeModuleFit CCmdHelperBase::FitBarcodeModuleWidth(int32_t symbology, int32_t width,
                                                       const uint8_t* data, size_t length) const {
  return QEL::Printer::FitBarcodeModuleWidth(symbology, width, data, length);
}

bool CCmdHelperBase::SetupAndPrintBarcode(PrinterBuffer& out, int32_t symbology, int32_t height,
                                          int32_t width, int32_t textPosition, uint8_t hriFont,
                                          const uint8_t* data, size_t length) {
  // Values beyond a byte must not wrap into it: a height of 300 dots asks
  // for the tallest bars a printer makes (255), not for bars of 44 dots.
  SetBarcodeWidth(out, static_cast<uint8_t>(InRange(width, 0, 255) ? width : 0));
  SetBarcodeHeight(out, static_cast<uint8_t>(height > 255 ? 255 : (height < 0 ? 0 : height)));
  SetHriPosition(out, static_cast<uint8_t>(HriPositionForTextPosition(textPosition)));
  SetHriFont(out, hriFont);
  return AppendBarcode(out, symbology, data, length);
}

bool CCmdHelperBase::AppendBarcode(PrinterBuffer& out, int32_t symbology, const uint8_t* data,
                                   size_t length) {
  // System 0 is the old zero-terminated form of GS k: with a length byte in
  // front the printer would print the length as data.
  const int32_t m = BarcodeSystemForSymbology(symbology);
  if (m == 0 || data == nullptr || length == 0 || length > kMaxBarcodeData) return false;
  std::vector<uint8_t> bytes = {GS, 'k', static_cast<uint8_t>(m), static_cast<uint8_t>(length)};
  bytes.insert(bytes.end(), data, data + length);
  return PutVector(out, bytes);
}

void CCmdHelperBase::SetBarcodeWidth(PrinterBuffer& out, uint8_t n) {
  // A printer ignores GS w outside its range and keeps the previous width.
  const bool taken = InRange(n, kMinModuleWidth, kMaxModuleWidth);
  Put(out, {GS, 'w', static_cast<uint8_t>(taken ? n : kMinModuleWidth)});
}

void CCmdHelperBase::SetBarcodeHeight(PrinterBuffer& out, uint8_t n) {
  Put(out, {GS, 'h', static_cast<uint8_t>(n == 0 ? 162 : n)});
}

void CCmdHelperBase::RequestPaperStatus(PrinterBuffer& out) { RequestStatus(out, 1); }

void CCmdHelperBase::RequestDrawerStatus(PrinterBuffer& out) { RequestStatus(out, 2); }

int32_t CCmdHelperBase::SetKanjiPrintMode(PrinterBuffer& out, bool doubleWidth, bool doubleHeight,
                                          bool underline) {
  uint8_t n = 0;
  if (doubleWidth) n |= 0x04;
  if (doubleHeight) n |= 0x08;
  if (underline) n |= 0x80;
  Put(out, {FS, '!', n});
  return n;
}

void CCmdHelperBase::SetKanjiMode(PrinterBuffer& out, bool on) {
  Put(out, {FS, static_cast<uint8_t>(on ? '&' : '.')});
}

void CCmdHelperBase::SelectCodePage(PrinterBuffer& out, int32_t codePage) {
  CodePageEntry entry = kOtherCodePage;
  for (const CodePageEntry& e : kCodePages) {
    if (e.codePage == codePage) {
      entry = e;
      break;
    }
  }
  SetKanjiMode(out, entry.kanji);
  SelectCodeTable(out, entry.table);
  SelectInternational(out, entry.international);
}

bool CCmdHelperBase::SetKanjiUnderline(PrinterBuffer& out, uint8_t n) {
  if (n > 2) return false;
  return Put(out, {FS, '-', n});
}

int32_t CCmdHelperBase::ReservedQuery() const { return 0; }

bool CCmdHelperBase::SelectKanjiCodeSystem(PrinterBuffer& out, uint8_t n) {
  if (!DigitSelector(n, 2)) return false;
  return Put(out, {FS, 'C', n});
}

void CCmdHelperBase::SetKanjiSpacing(PrinterBuffer& out, uint8_t left, uint8_t right) {
  Put(out, {FS, 'S', left, right});
}

void CCmdHelperBase::SetKanjiQuadruple(PrinterBuffer& out, bool on) {
  Put(out, {FS, 'W', static_cast<uint8_t>(on ? 1 : 0)});
}

void CCmdHelperBase::SendModeBlock(PrinterBuffer& out) {
  Put(out, {ESC, '(', 's', 0x04, 0x00, 0x31, 0x41, 0x45, 0x05});
}

void CCmdHelperBase::SetAsbAll(PrinterBuffer& out, bool on) {
  Put(out, {GS, 'a', static_cast<uint8_t>(on ? 0xFF : 0x00)});
}

void CCmdHelperBase::SetBuzzerPattern(PrinterBuffer& out, int32_t& duration, int32_t frequency,
                                      int32_t base, uint8_t count) {
  uint8_t pattern = '1';
  if (frequency == 1280) {
    switch (duration) {
      case 1000: pattern = '1'; break;
      case 200: pattern = '3'; break;
      case 500: pattern = '7'; break;
      default: duration = 1000; pattern = '1'; break;
    }
  } else if (frequency == 4100) {
    switch (duration) {
      case 1000: pattern = ';'; break;
      case 200: pattern = '4'; break;
      case 500: pattern = '8'; break;
      default: duration = 1000; pattern = '2'; break;
    }
  } else {
    duration = 1000;
  }
  const int64_t t = (static_cast<int64_t>(base) + duration) / 100;
  Put(out, {ESC, '(', 'A', 0x04, 0x00, 0x30, pattern, count, static_cast<uint8_t>(t & 0xFF)});
}

void CCmdHelperBase::Beep(PrinterBuffer& out, int32_t onTime, int32_t offTime, uint8_t count) {
  constexpr uint8_t kMaxBeeps = 63;
  if (count > kMaxBeeps) return;
  auto units = [](int32_t ms) { return static_cast<uint8_t>(ms <= 100 ? 1 : (ms / 100) & 0xFF); };
  Put(out, {ESC, '(', 'A', 0x05, 0x00, 0x61, 0x64, count, units(onTime), units(offTime)});
}

int32_t CCmdHelperBase::DrawLines(PrinterBuffer& out, const LineSegment* segments, int32_t count) {
  return 0;
}

int32_t CCmdHelperBase::CurveTextCommand(PrinterBuffer& out, uint8_t m, uint16_t n,
                                         const uint8_t* text, size_t length) {
  return 0;
}

// ---- Process-wide cut feed -------------------------------------------------------

void CCmdHelperBase::SetCutFeedDistance(int32_t hundredthsMm) {
  cutFeedDistance_.store(hundredthsMm, std::memory_order_relaxed);
}

int32_t CCmdHelperBase::CutFeedDistance() {
  return cutFeedDistance_.load(std::memory_order_relaxed);
}

int32_t CCmdHelperBase::CutFeedDots() {
  constexpr int32_t kDotsPerMm = 8;
  return CutFeedDistance() / 100 * kDotsPerMm;
}

}  // namespace Printer
}  // namespace QEL
