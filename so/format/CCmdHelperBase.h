#pragma once
// The standard ESC/POS command set. Every byte the service sends, other than
// the user's own text and raster data, is appended by one of these builders.
//
// Each builder appends to the end of `out` and leaves what is already there
// alone. Builders that validate return false and append nothing on a bad
// parameter; a builder appends its whole command or nothing, never a part.
// 16- and 32-bit values go out low byte first.
//
// The declaration order is the order of the virtual table, which the exported
// printer classes carry across the library boundary: new builders go at the
// end.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "so/base/PrinterBuffer.h"
#include "so/format/BarcodeModuleWidth.h"
#include "so/format/PrinterStatus.h"

namespace QEL {
namespace Printer {

// One ruled-line segment: start and end position in dots.
struct LineSegment {
  uint16_t start = 0;
  uint16_t end = 0;
};

class CCmdHelperBase {
 public:
  CCmdHelperBase() = default;
  CCmdHelperBase(const CCmdHelperBase&) = default;
  CCmdHelperBase& operator=(const CCmdHelperBase&) = default;
  virtual ~CCmdHelperBase() = default;

  // ---- Output framing and status decoding -------------------------------

  // The standard command set sends data as it is.
  virtual void PackOutput(PrinterBuffer& out, const PrinterBuffer& data);
  // Automatic status back, four bytes. With no record the bytes are only
  // validated.
  virtual bool DecodeAsb(const uint8_t* bytes4, tagPrinterStatus* status) const;
  // Reply to DLE EOT 1.
  virtual bool DecodePrinterStatus(uint8_t b, tagPrinterStatus* status) const;
  // Reply to DLE EOT 2.
  virtual bool DecodeOfflineStatus(uint8_t b, tagPrinterStatus* status) const;
  // Reply to DLE EOT 4.
  virtual bool DecodeRollPaperStatus(uint8_t b, tagPrinterStatus* status) const;
  // Reply to GS r 1; every byte is valid.
  virtual bool DecodePaperSensorStatus(uint8_t b, tagPrinterStatus* status) const;
  // Reply to GS r 2; every byte is valid.
  virtual bool DecodeDrawerStatus(uint8_t b, int32_t* state) const;
  // Finds one change between the new and the stored automatic-status-back
  // bytes, records it in stored4 and returns its StatusUpdate value (0: none).
  virtual int32_t CompareAsb(const uint8_t* new4, uint8_t* stored4) const;
  virtual bool DrawerStateDiffers(uint8_t first, uint8_t second, bool ignoreClear) const;
  virtual bool IsDrawerBitSet(uint8_t b, bool polarity) const;

  // ---- Basic print control ----------------------------------------------

  virtual void ResetTextFormat(PrinterBuffer& out);
  virtual void HorizontalTab(PrinterBuffer& out);
  virtual void LineFeed(PrinterBuffer& out);
  virtual void FormFeed(PrinterBuffer& out);
  virtual void PrintAndFeedNone(PrinterBuffer& out);
  virtual void CancelPageData(PrinterBuffer& out);
  virtual void EscapeTriplet(PrinterBuffer& out);
  virtual void RequestRealtimeStatus(PrinterBuffer& out, uint8_t n);
  // kind 2: the drawer bit of a printer-status reply; kind 4: the paper bits
  // of a roll-paper reply.
  virtual int32_t CompareStatusByte(uint8_t newByte, uint8_t* stored, int32_t kind) const;
  // Fills the three bytes of the drawer-status request; false when the
  // command set has none.
  virtual bool DrawerStatusRequest(uint8_t (&record)[3]) const;
  virtual void RequestStatus(PrinterBuffer& out, uint8_t n);
  // DLE ENQ n, n 1 or 2.
  virtual bool RealtimeRequest(PrinterBuffer& out, uint8_t n);
  virtual void RealtimePrefix(PrinterBuffer& out);
  // Drawer pulse in real time (DLE DC4 1 m t): kick-out connector pin m (0 or
  // 1), on and off for t x 100 ms (t 1..8).
  virtual bool RealtimeFunction1(PrinterBuffer& out, uint8_t m, uint8_t t);
  virtual void ClearBuffers(PrinterBuffer& out);
  virtual void PageModeFormFeed(PrinterBuffer& out);
  virtual void SetRightSpacing(PrinterBuffer& out, uint8_t n);
  // Returns the mode byte sent.
  virtual int32_t SetPrintMode(PrinterBuffer& out, bool fontB, bool bold, bool doubleWidth,
                               bool doubleHeight, bool underline);
  virtual void SetAbsolutePosition(PrinterBuffer& out, int32_t dots);
  virtual void SelectUserCharset(PrinterBuffer& out, bool on);
  virtual void NoOperation(PrinterBuffer& out);
  // m 0, 1 (8-dot) or 32, 33 (24-dot); n columns 1..1023 (nH at most 3);
  // length n or 3n.
  virtual bool BitImage(PrinterBuffer& out, uint8_t m, int32_t n, const uint8_t* data,
                        size_t length);
  virtual bool SetUnderline(PrinterBuffer& out, uint8_t n);
  virtual void DefaultLineSpacing(PrinterBuffer& out);
  virtual void SetLineSpacing(PrinterBuffer& out, uint8_t n);
  virtual void SelectPeripheral(PrinterBuffer& out, bool printer);
  virtual bool CancelUserChar(PrinterBuffer& out, uint8_t n);
  virtual void InitializePrinter(PrinterBuffer& out);
  // Tab stops every 8 columns.
  virtual void DefaultTabs(PrinterBuffer& out);
  // At most 32 stops, each above the one before; the list ends at the first
  // 00 or the first stop that does not rise, and the rest is left out (a
  // printer would print it). Always terminated with 00; an empty list
  // restores the default stops.
  virtual void SetTabs(PrinterBuffer& out, const uint8_t* list, size_t length);
  virtual void SetEmphasized(PrinterBuffer& out, bool on);
  virtual void SetDoubleStrike(PrinterBuffer& out, bool on);
  virtual void FeedNone(PrinterBuffer& out);
  // Any distance, in ESC J steps of at most 255 dots; a negative distance
  // feeds nothing (ESC J 0).
  virtual void FeedDots(PrinterBuffer& out, int32_t dots);
  virtual void FeedDotsOnce(PrinterBuffer& out, uint8_t n);
  virtual void EnterPageMode(PrinterBuffer& out);
  virtual bool SelectCharacterFont(PrinterBuffer& out, uint8_t n);
  virtual void SelectInternational(PrinterBuffer& out, uint8_t n);
  virtual int32_t InternationalForCodePage(int32_t codePage) const;
  virtual void EnterStandardMode(PrinterBuffer& out);
  // The ESC T direction for an OPOS rotation, as a character '0'..'3'.
  virtual int32_t PageDirectionForRotation(int32_t rotation) const;
  virtual bool SetPageDirection(PrinterBuffer& out, uint8_t n);
  virtual void SetRotate90(PrinterBuffer& out, bool on);
  // dx and dy 1..65535; an empty area appends nothing.
  virtual void SetPageArea(PrinterBuffer& out, int32_t x, int32_t y, int32_t dx, int32_t dy);
  virtual void SetRelativePosition(PrinterBuffer& out, int32_t dots);
  virtual bool SetJustification(PrinterBuffer& out, uint8_t n);
  virtual bool SelectPaperEndSensors(PrinterBuffer& out, uint8_t n);
  virtual bool SelectStopSensors(PrinterBuffer& out, uint8_t n);
  virtual void EnablePanelButtons(PrinterBuffer& out, bool on);
  virtual void PrintAndFeedLines(PrinterBuffer& out, uint8_t n);
  // Drawer kick on connector m (0, 1, 48 or 49), on and off times in 2 ms units.
  virtual bool DrawerPulse(PrinterBuffer& out, uint8_t m, uint8_t t1, uint8_t t2);
  virtual bool SelectCodeTable(PrinterBuffer& out, uint8_t n);
  virtual void SetUpsideDown(PrinterBuffer& out, bool on);
  // Multipliers 1..8.
  virtual bool SetCharacterSize(PrinterBuffer& out, int32_t width, int32_t height);
  virtual bool SetCharacterSizeClamped(PrinterBuffer& out, int32_t width, int32_t height);
  virtual void SetAbsoluteVertical(PrinterBuffer& out, int32_t dots);
  virtual bool TestPrint(PrinterBuffer& out, uint8_t n, uint8_t m);

  // ---- User setup, device settings and graphics ---------------------------

  virtual void EnterUserSetup(PrinterBuffer& out);
  virtual void EndUserSetup(PrinterBuffer& out);
  // Entries whose value is out of range are left out of the list.
  virtual bool SetCustomValues(PrinterBuffer& out, int32_t density, int32_t speed, int32_t key97,
                               bool on116, bool on118);
  virtual bool SetDensitySetting(PrinterBuffer& out, int32_t density);
  virtual void QueryDensitySetting(PrinterBuffer& out);
  virtual bool SetSpeedSetting(PrinterBuffer& out, int32_t n);
  virtual void QuerySpeedSetting(PrinterBuffer& out);
  virtual bool SetCustomValue97(PrinterBuffer& out, int32_t n);
  virtual void QueryCustomValue97(PrinterBuffer& out);
  virtual void SetCustomValue116(PrinterBuffer& out, bool on);
  virtual void QueryCustomValue116(PrinterBuffer& out);
  virtual void SetCustomValue118(PrinterBuffer& out, bool on);
  virtual void QueryCustomValue118(PrinterBuffer& out);
  virtual void QueryCustomValue(PrinterBuffer& out, uint8_t key);
  // digits: zero-terminated decimal text of the baud rate, at least 3 characters.
  virtual bool SetSerialBaud(PrinterBuffer& out, const char* digits);
  virtual void QuerySerialBaud(PrinterBuffer& out);
  virtual void SetSerialParity(PrinterBuffer& out, uint8_t n);
  virtual void SetSerialHandshake(PrinterBuffer& out, uint8_t n);
  virtual void SetSerialDataBits(PrinterBuffer& out, uint8_t n);
  virtual void QuerySerialParity(PrinterBuffer& out);
  virtual void QuerySerialHandshake(PrinterBuffer& out);
  virtual void QuerySerialDataBits(PrinterBuffer& out);
  virtual void PrepareSend(PrinterBuffer& out);
  virtual bool SetPrintSpeed(PrinterBuffer& out, uint8_t m);
  virtual bool SetHeadDivision(PrinterBuffer& out, uint8_t m);
  // Header of a GS ( L raster definition; the caller appends the raster,
  // height rows of (width + 7) / 8 bytes. width 1..8192, height 1..2304;
  // false when the image does not fit the 16-bit length.
  virtual bool DefineNvGraphicsHeader(PrinterBuffer& out, bool twoColour, int32_t width,
                                      int32_t height, uint8_t kc1, uint8_t kc2);
  virtual int32_t AlignmentForBitmap(int32_t position) const;
  // Header of a GS 8 L raster store; the caller appends dataSize raster bytes.
  virtual void StoreGraphicsHeader(PrinterBuffer& out, int32_t dataSize, int32_t width,
                                   int32_t height);
  virtual void PrintGraphicsBuffer(PrinterBuffer& out);
  virtual void QueryNvGraphicsCapacity(PrinterBuffer& out, bool total);
  // The key is the number's two decimal digits, so n is 0..99.
  virtual bool PrintNvGraphicsByNumber(PrinterBuffer& out, int32_t n);
  // Scale factors 1 or 2.
  virtual bool PrintNvGraphics(PrinterBuffer& out, uint8_t kc1, uint8_t kc2, uint8_t scaleX,
                               uint8_t scaleY);
  virtual void ListNvGraphicsKeys(PrinterBuffer& out);
  virtual void DeleteAllNvGraphics(PrinterBuffer& out);
  virtual bool DeleteNvGraphics(PrinterBuffer& out, uint8_t kc1, uint8_t kc2);
  // width 1..8192 and height 1..2304 dots; data holds the planes one after
  // the other (height * ((width + 7) / 8) bytes each) and is padded with
  // zeros when short. A two-tone image's planes are colours 1 and 2.
  virtual bool DefineNvGraphics(PrinterBuffer& out, uint8_t kc1, uint8_t kc2, bool twoTone,
                                int32_t width, int32_t height, const uint8_t* data,
                                size_t length);
  // m 48..51; anything else appends nothing.
  virtual void SelectCharacterColor(PrinterBuffer& out, uint8_t m);

  // ---- Two-dimensional symbols (GS ( k) ---------------------------------

  virtual bool Pdf417Columns(PrinterBuffer& out, int32_t n);
  virtual bool Pdf417Rows(PrinterBuffer& out, int32_t n);
  virtual bool Pdf417ModuleWidth(PrinterBuffer& out, int32_t n);
  // Clamped to 2..8.
  virtual bool Pdf417RowHeight(PrinterBuffer& out, int32_t n);
  virtual bool Pdf417ErrorLevel(PrinterBuffer& out, uint8_t m, uint8_t n);
  virtual bool Pdf417Options(PrinterBuffer& out, bool standard);
  virtual bool Pdf417Store(PrinterBuffer& out, const uint8_t* data, size_t length);
  virtual bool Pdf417Print(PrinterBuffer& out);
  virtual bool Pdf417QuerySize(PrinterBuffer& out);
  virtual bool QrModel(PrinterBuffer& out, uint8_t model);
  virtual bool QrModuleSize(PrinterBuffer& out, int32_t n);
  virtual bool QrErrorLevel(PrinterBuffer& out, uint8_t n);
  virtual bool QrStore(PrinterBuffer& out, const uint8_t* data, size_t length);
  virtual bool QrPrint(PrinterBuffer& out);
  virtual bool QrQuerySize(PrinterBuffer& out);

  // ---- Downloaded images, macros, barcodes, cutting and the rest ----------

  // x and y in units of 8 dots (y at most 48, x * y at most 1536); data is
  // the column image, x * y * 8 bytes.
  virtual bool DefineDownloadedImage(PrinterBuffer& out, uint8_t x, uint8_t y, const uint8_t* data,
                                     size_t length);
  virtual bool PrintDownloadedImage(PrinterBuffer& out, uint8_t m);
  // GS : both starts and ends a macro definition.
  virtual void MacroDefinition(PrinterBuffer& out);
  virtual void MacroDefinitionEnd(PrinterBuffer& out);
  virtual void ExecuteMacro(PrinterBuffer& out, uint8_t r, uint8_t t, bool continuous);
  virtual void SetReverse(PrinterBuffer& out, bool on);
  virtual int32_t HriPositionForTextPosition(int32_t position) const;
  virtual bool SetHriPosition(PrinterBuffer& out, uint8_t n);
  virtual void RequestPrinterId(PrinterBuffer& out, uint8_t n);
  virtual void RequestModelId(PrinterBuffer& out);
  virtual void RequestTypeId(PrinterBuffer& out);
  virtual void RequestFirmwareVersion(PrinterBuffer& out);
  virtual void RequestMakerName(PrinterBuffer& out);
  virtual void RequestModelName(PrinterBuffer& out);
  virtual void RequestSerialNumber(PrinterBuffer& out);
  virtual void RequestFontInfo(PrinterBuffer& out);
  virtual void SetLeftMargin(PrinterBuffer& out, int32_t dots);
  virtual void SetMotionUnits(PrinterBuffer& out, uint8_t x, uint8_t y);
  // Feed the cut-feed distance, then cut.
  virtual void FeedAndFullCut(PrinterBuffer& out);
  virtual void FeedAndPartialCut(PrinterBuffer& out);
  virtual void FeedAndCut(PrinterBuffer& out, uint8_t n);
  virtual void SetPrintAreaWidth(PrinterBuffer& out, int32_t dots);
  virtual void SetRelativeVertical(PrinterBuffer& out, int32_t dots);
  virtual void EnableAsb(PrinterBuffer& out, uint8_t n);
  virtual void SetSmoothing(PrinterBuffer& out, bool on);
  virtual bool SetHriFont(PrinterBuffer& out, uint8_t n);
  virtual bool ResetMaintenanceCounter(PrinterBuffer& out, int32_t n);
  virtual bool RequestMaintenanceCounter(PrinterBuffer& out, int32_t n);
  // The GS k system for an OPOS symbology; 0 when the printer has none.
  virtual int32_t BarcodeSystemForSymbology(int32_t symbology) const;
  virtual int32_t AlignmentForBarcode(int32_t position) const;
  virtual int32_t HriPositionForTextPositionAll(int32_t position) const;
  virtual BarcodeModuleFit FitBarcodeModuleWidth(int32_t symbology, int32_t width,
                                                 const uint8_t* data, size_t length) const;
  // GS w, GS h, GS H, GS f, GS k; returns whether GS k was appended. A
  // height above 255 dots is sent as 255; a module width outside 2..6
  // becomes 2.
  virtual bool SetupAndPrintBarcode(PrinterBuffer& out, int32_t symbology, int32_t height,
                                    int32_t width, int32_t textPosition, uint8_t hriFont,
                                    const uint8_t* data, size_t length);
  // 1..255 data bytes of a symbology the printer knows.
  virtual bool AppendBarcode(PrinterBuffer& out, int32_t symbology, const uint8_t* data,
                             size_t length);
  // Module width 2..6; anything else becomes 2, the printers' default.
  virtual void SetBarcodeWidth(PrinterBuffer& out, uint8_t n);
  // 0, which no printer takes, becomes 162.
  virtual void SetBarcodeHeight(PrinterBuffer& out, uint8_t n);
  virtual void RequestPaperStatus(PrinterBuffer& out);
  virtual void RequestDrawerStatus(PrinterBuffer& out);
  // Returns the mode byte sent.
  virtual int32_t SetKanjiPrintMode(PrinterBuffer& out, bool doubleWidth, bool doubleHeight,
                                    bool underline);
  virtual void SetKanjiMode(PrinterBuffer& out, bool on);
  // Kanji mode, character table and international set for a code page.
  virtual void SelectCodePage(PrinterBuffer& out, int32_t codePage);
  virtual bool SetKanjiUnderline(PrinterBuffer& out, uint8_t n);
  virtual int32_t ReservedQuery() const;
  virtual bool SelectKanjiCodeSystem(PrinterBuffer& out, uint8_t n);
  virtual void SetKanjiSpacing(PrinterBuffer& out, uint8_t left, uint8_t right);
  virtual void SetKanjiQuadruple(PrinterBuffer& out, bool on);
  virtual void SendModeBlock(PrinterBuffer& out);
  virtual void SetAsbAll(PrinterBuffer& out, bool on);
  // ESC ( A fn 48: pattern, count, then the cycle time in 100 ms units.
  // duration (milliseconds) is corrected to 1000 when the pattern table has
  // no entry for it.
  virtual void SetBuzzerPattern(PrinterBuffer& out, int32_t& duration, int32_t frequency,
                                int32_t base, uint8_t count);
  // On and off times in milliseconds, sent in units of 100 ms (at least 1);
  // count 0..63, else nothing.
  virtual void Beep(PrinterBuffer& out, int32_t onTime, int32_t offTime, uint8_t count);
  // Ruled lines; the standard command set has none. Returns 0.
  virtual int32_t DrawLines(PrinterBuffer& out, const LineSegment* segments, int32_t count);
  // Text along a curve; the standard command set has none. Returns 0.
  virtual int32_t CurveTextCommand(PrinterBuffer& out, uint8_t m, uint16_t n, const uint8_t* text,
                                   size_t length);

  // ---- Process-wide cut feed ---------------------------------------------

  // Distance fed before a cut, in hundredths of a millimetre. One value for
  // the whole process: the model sets it when its parameters are applied.
  static void SetCutFeedDistance(int32_t hundredthsMm);
  static int32_t CutFeedDistance();
  // The cut-feed distance in dots: whole millimetres times 8.
  static int32_t CutFeedDots();

 protected:
  // Appends the bytes as one piece, so a command is never half-written.
  static bool Put(PrinterBuffer& out, std::initializer_list<uint8_t> bytes);
  static uint8_t Low(int32_t v) { return static_cast<uint8_t>(v & 0xFF); }
  static uint8_t High(int32_t v) { return static_cast<uint8_t>((v >> 8) & 0xFF); }
  // GS ( E pL pH fn data.
  static bool PutUserSetup(PrinterBuffer& out, uint8_t fn, const uint8_t* data, size_t length);
  static bool PutUserSetup(PrinterBuffer& out, uint8_t fn, std::initializer_list<uint8_t> data);
  // GS 8 L p1 p2 p3 p4 30 fn data.
  static bool PutGraphicsBlock(PrinterBuffer& out, uint8_t fn, const uint8_t* data, size_t length);
  static bool PutGraphicsBlock(PrinterBuffer& out, uint8_t fn, std::initializer_list<uint8_t> data);
  // GS ( k pL pH cn fn data.
  static bool PutSymbol(PrinterBuffer& out, uint8_t cn, uint8_t fn, const uint8_t* data,
                        size_t length);
  static bool PutSymbol(PrinterBuffer& out, uint8_t cn, uint8_t fn,
                        std::initializer_list<uint8_t> data);
  // Appends the planes of an NV graphics definition to body: each plane is
  // height * ((width + 7) / 8) bytes, led by its colour byte when withColour
  // (49 for the first plane, 50 for the second), and padded with zeros where
  // the data runs short. False for a size the command cannot carry.
  static bool AppendPlanes(std::vector<uint8_t>& body, int32_t planes, bool withColour,
                           int32_t width, int32_t height, const uint8_t* data, size_t length);
  static bool PutVector(PrinterBuffer& out, const std::vector<uint8_t>& bytes);

 private:
  static std::atomic<int32_t> cutFeedDistance_;
};

}  // namespace Printer
}  // namespace QEL
