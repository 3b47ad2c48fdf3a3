#include "so/format/CCmdHelperBase.h"

namespace QEL {
namespace Printer {

namespace {
constexpr uint8_t LF = 0x0A;
constexpr uint8_t DLE = 0x10;
constexpr uint8_t EOT = 0x04;
constexpr uint8_t ESC = 0x1B;
constexpr uint8_t FS = 0x1C;
constexpr uint8_t GS = 0x1D;
}  // namespace

void CCmdHelperBase::PackOutput(PrinterBuffer& out, const PrinterBuffer& data) { out.append(data); }

void CCmdHelperBase::ResetTextFormat(PrinterBuffer& out) {
  SetPrintMode(out, false, false, false, false, false);
  SetJustification(out, 0);
  SetUnderline(out, 0);
}

void CCmdHelperBase::LineFeed(PrinterBuffer& out) { out.pushByte(LF); }

void CCmdHelperBase::RequestRealtimeStatus(PrinterBuffer& out, uint8_t n) { Put(out, DLE, EOT, n); }

void CCmdHelperBase::RequestStatus(PrinterBuffer& out, uint8_t n) { Put(out, GS, 'r', n); }

int32_t CCmdHelperBase::SetPrintMode(PrinterBuffer& out, bool fontB, bool bold, bool doubleWidth,
                                     bool doubleHeight, bool underline) {
  uint8_t n = 0;
  if (fontB) n |= 0x01;
  if (bold) n |= 0x08;
  if (doubleHeight) n |= 0x10;
  if (doubleWidth) n |= 0x20;
  if (underline) n |= 0x80;
  Put(out, ESC, '!', n);
  return n;
}

bool CCmdHelperBase::SetUnderline(PrinterBuffer& out, uint8_t n) {
  if (n > 2) return false;
  Put(out, ESC, '-', n);
  return true;
}

void CCmdHelperBase::SetLineSpacing(PrinterBuffer& out, uint8_t n) { Put(out, ESC, '3', n); }

void CCmdHelperBase::SelectPeripheral(PrinterBuffer& out, bool printer) {
  Put(out, ESC, '=', printer ? 1 : 2);
}

void CCmdHelperBase::InitializePrinter(PrinterBuffer& out) { Put(out, ESC, '@'); }

bool CCmdHelperBase::SetJustification(PrinterBuffer& out, uint8_t n) {
  if (n > 2 && (n < 48 || n > 50)) return false;
  Put(out, ESC, 'a', n);
  return true;
}

bool CCmdHelperBase::SelectPaperEndSensors(PrinterBuffer& out, uint8_t n) {
  Put(out, ESC, 'c', '3', n);
  return true;
}

bool CCmdHelperBase::SelectStopSensors(PrinterBuffer& out, uint8_t n) {
  Put(out, ESC, 'c', '4', n);
  return true;
}

void CCmdHelperBase::SetKanjiMode(PrinterBuffer& out, bool on) { Put(out, FS, on ? '&' : '.'); }

void CCmdHelperBase::SetAsbAll(PrinterBuffer& out, bool on) { Put(out, GS, 'a', on ? 0xFF : 0x00); }

}  // namespace Printer
}  // namespace QEL
