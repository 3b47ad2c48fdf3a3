#pragma once
// The standard ESC/POS command set. Every byte the service sends, other than
// the user's own text and raster data, is appended by one of these builders.
// Builders that validate return false and append nothing on a bad parameter.
#include <cstdint>

#include "so/base/PrinterBuffer.h"

namespace QEL {
namespace Printer {

class CCmdHelperBase {
 public:
  virtual ~CCmdHelperBase() = default;

  // Output framing: the standard command set sends data as it is.
  virtual void PackOutput(PrinterBuffer& out, const PrinterBuffer& data);

  virtual void ResetTextFormat(PrinterBuffer& out);
  virtual void LineFeed(PrinterBuffer& out);
  virtual void RequestRealtimeStatus(PrinterBuffer& out, uint8_t n);
  virtual void RequestStatus(PrinterBuffer& out, uint8_t n);
  virtual int32_t SetPrintMode(PrinterBuffer& out, bool fontB, bool bold, bool doubleWidth,
                               bool doubleHeight, bool underline);
  virtual bool SetUnderline(PrinterBuffer& out, uint8_t n);
  virtual void SetLineSpacing(PrinterBuffer& out, uint8_t n);
  virtual void SelectPeripheral(PrinterBuffer& out, bool printer);
  virtual void InitializePrinter(PrinterBuffer& out);
  virtual bool SetJustification(PrinterBuffer& out, uint8_t n);
  virtual bool SelectPaperEndSensors(PrinterBuffer& out, uint8_t n);
  virtual bool SelectStopSensors(PrinterBuffer& out, uint8_t n);
  virtual void SetKanjiMode(PrinterBuffer& out, bool on);
  virtual void SetAsbAll(PrinterBuffer& out, bool on);

 protected:
  static void Put(PrinterBuffer& out, uint8_t a, uint8_t b) {
    const uint8_t bytes[] = {a, b};
    out.append(bytes, sizeof bytes);
  }
  static void Put(PrinterBuffer& out, uint8_t a, uint8_t b, uint8_t c) {
    const uint8_t bytes[] = {a, b, c};
    out.append(bytes, sizeof bytes);
  }
  static void Put(PrinterBuffer& out, uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    const uint8_t bytes[] = {a, b, c, d};
    out.append(bytes, sizeof bytes);
  }
};

}  // namespace Printer
}  // namespace QEL
