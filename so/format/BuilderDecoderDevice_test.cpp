// Builders against the virtual printer's decoder: user setup and device
// settings, graphics, two-dimensional symbols, barcodes and cutting, and the
// commands of the QX1270 family's own.
#include <string>

#include "so/format/BuilderTranscript_test.h"

namespace QEL {
namespace Printer {
namespace test {

std::vector<TranscriptRow> SetupRows() {
  return {
      ROW(L("GS ( E 1 73 78"), kNothing, h.EnterUserSetup(out)),
      ROW(L("GS ( E 2 79 85 84"), kNothing, h.EndUserSetup(out)),
      // Entries are a key and a 16-bit value; density -6 is 65530.
      ROW(L("GS ( E 5 5 250 255 6 9 0 97 128 0 116 1 1 118 85 0"), kNothing,
          h.SetCustomValues(out, -6, 9, 128, true, true)),
      ROW(L("GS ( E 5 5 100 0 6 1 0 97 1 0 116 1 0 118 70 0"), kNothing,
          h.SetCustomValues(out, 100, 1, 1, false, false)),
      ROW(L("GS ( E 5 116 1 0 118 85 0"), kNothing, h.SetCustomValues(out, 7, 0, 3, false, true)),
      ROW(L("GS ( E 6 5"), kNothing, h.QueryDensitySetting(out)),
      ROW(L("GS ( E 5 6 1 0"), kNothing, h.SetSpeedSetting(out, 1)),
      ROW(L("GS ( E 5 6 9 0"), kNothing, h.SetSpeedSetting(out, 9)),
      ROW(kNothing, kNothing, h.SetSpeedSetting(out, 0)),
      ROW(kNothing, kNothing, h.SetSpeedSetting(out, 10)),
      ROW(L("GS ( E 6 6"), kNothing, h.QuerySpeedSetting(out)),
      ROW(L("GS ( E 5 97 1 0"), kNothing, h.SetCustomValue97(out, 1)),
      ROW(L("GS ( E 5 97 128 0"), kNothing, h.SetCustomValue97(out, 128)),
      ROW(kNothing, kNothing, h.SetCustomValue97(out, 3)),
      ROW(L("GS ( E 6 97"), kNothing, h.QueryCustomValue97(out)),
      ROW(L("GS ( E 5 116 1 1"), kNothing, h.SetCustomValue116(out, true)),
      ROW(L("GS ( E 5 116 1 0"), kNothing, h.SetCustomValue116(out, false)),
      ROW(L("GS ( E 6 116"), kNothing, h.QueryCustomValue116(out)),
      ROW(L("GS ( E 5 118 85 0"), kNothing, h.SetCustomValue118(out, true)),
      ROW(L("GS ( E 5 118 70 0"), kNothing, h.SetCustomValue118(out, false)),
      ROW(L("GS ( E 6 118"), kNothing, h.QueryCustomValue118(out)),
      ROW(L("GS ( E 6 255"), kNothing, h.QueryCustomValue(out, 255)),
      // The baud rate travels as its decimal digits.
      ROW(L("GS ( E 11 1 49 49 53 50 48 48"), kNothing, h.SetSerialBaud(out, "115200")),
      ROW(L("GS ( E 11 1 51 48 48"), kNothing, h.SetSerialBaud(out, "300")),
      ROW(kNothing, kNothing, h.SetSerialBaud(out, "96")),
      ROW(kNothing, kNothing, h.SetSerialBaud(out, nullptr)),
      ROW(L("GS ( E 12 1"), kNothing, h.QuerySerialBaud(out)),
      ROW(L("GS ( E 11 2 1"), kNothing, h.SetSerialParity(out, 1)),
      ROW(L("GS ( E 11 3 0"), kNothing, h.SetSerialHandshake(out, 0)),
      ROW(L("GS ( E 11 4 8"), kNothing, h.SetSerialDataBits(out, 8)),
      ROW(L("GS ( E 12 2"), kNothing, h.QuerySerialParity(out)),
      ROW(L("GS ( E 12 3"), kNothing, h.QuerySerialHandshake(out)),
      ROW(L("GS ( E 12 4"), kNothing, h.QuerySerialDataBits(out)),
      ROW(L("GS ( A 0 1"), kNothing, h.TestPrint(out, 0, 1)),
      ROW(L("GS ( A 2 3"), kNothing, h.TestPrint(out, 2, 3)),
      ROW(L("GS ( A 48 49"), kNothing, h.TestPrint(out, 48, 49)),
      ROW(L("GS ( A 50 51"), kNothing, h.TestPrint(out, 50, 51)),
      ROW(kNothing, kNothing, h.TestPrint(out, 3, 1)),
      ROW(kNothing, kNothing, h.TestPrint(out, 0, 0)),
      ROW(kNothing, kNothing, h.TestPrint(out, 0, 4)),
      ROW(kNothing, kNothing, h.TestPrint(out, 51, 49)),
      ROW(L("GS ( K 50 0"), kSame, h.SetPrintSpeed(out, 0)),
      ROW(L("GS ( K 50 9"), kSame, h.SetPrintSpeed(out, 9)),
      ROW(L("GS ( K 50 48"), kSame, h.SetPrintSpeed(out, 48)),
      ROW(L("GS ( K 50 57"), kSame, h.SetPrintSpeed(out, 57)),
      ROW(kNothing, kSame, h.SetPrintSpeed(out, 10)),
      ROW(kNothing, kSame, h.SetPrintSpeed(out, 58)),
      ROW(L("GS ( K 97 0"), kSame, h.SetHeadDivision(out, 0)),
      ROW(L("GS ( K 97 4"), kSame, h.SetHeadDivision(out, 4)),
      ROW(L("GS ( K 97 52"), kSame, h.SetHeadDivision(out, 52)),
      ROW(L("GS ( K 97 128"), kSame, h.SetHeadDivision(out, 128)),
      ROW(kNothing, kSame, h.SetHeadDivision(out, 3)),
      ROW(kNothing, kSame, h.SetHeadDivision(out, 51)),
      ROW(L("GS a 0"), kNothing, h.EnableAsb(out, 0)),
      ROW(L("GS a 255"), kNothing, h.EnableAsb(out, 255)),
      // The QX1270 family has no automatic status back to switch.
      ROW(L("GS a 255"), kNothing, h.SetAsbAll(out, true)),
      ROW(L("GS a 0"), kNothing, h.SetAsbAll(out, false)),
      ROW(L("GS I 1"), kSame, h.RequestPrinterId(out, 1)),
      ROW(L("GS I 1"), kSame, h.RequestModelId(out)),
      ROW(L("GS I 2"), kSame, h.RequestTypeId(out)),
      ROW(L("GS I 65"), kSame, h.RequestFirmwareVersion(out)),
      ROW(L("GS I 66"), kSame, h.RequestMakerName(out)),
      ROW(L("GS I 67"), kSame, h.RequestModelName(out)),
      ROW(L("GS I 68"), kSame, h.RequestSerialNumber(out)),
      ROW(L("GS I 69"), kSame, h.RequestFontInfo(out)),
      ROW(L("GS g 0 0 20 0"), kNothing, h.ResetMaintenanceCounter(out, 20)),
      ROW(L("GS g 0 0 70 0"), kNothing, h.ResetMaintenanceCounter(out, 70)),
      ROW(kNothing, kNothing, h.ResetMaintenanceCounter(out, 22)),
      ROW(L("GS g 2 0 148 0"), kNothing, h.RequestMaintenanceCounter(out, 148)),
      ROW(L("GS g 2 0 198 0"), kNothing, h.RequestMaintenanceCounter(out, 198)),
      ROW(kNothing, kNothing, h.RequestMaintenanceCounter(out, 71)),
      ROW(L("ESC ( s 49 65 69 5"), kSame, h.SendModeBlock(out)),
      // Buzzer pattern: ESC ( A fn 48 n c t, the pattern character, the
      // count, then the cycle time in 100 ms units.
      ROW(L("ESC ( A 48 49 1 10"), kSame, {
        int32_t duration = 1000;
        h.SetBuzzerPattern(out, duration, 1280, 0, 1);
      }),
      ROW(L("ESC ( A 48 51 3 2"), kSame, {
        int32_t duration = 200;
        h.SetBuzzerPattern(out, duration, 1280, 0, 3);
      }),
      ROW(L("ESC ( A 48 55 2 6"), kSame, {
        int32_t duration = 500;
        h.SetBuzzerPattern(out, duration, 1280, 100, 2);
      }),
      ROW(L("ESC ( A 48 59 1 10"), kSame, {
        int32_t duration = 1000;
        h.SetBuzzerPattern(out, duration, 4100, 0, 1);
      }),
      ROW(L("ESC ( A 48 52 1 2"), kSame, {
        int32_t duration = 200;
        h.SetBuzzerPattern(out, duration, 4100, 0, 1);
      }),
      ROW(L("ESC ( A 48 56 1 5"), kSame, {
        int32_t duration = 500;
        h.SetBuzzerPattern(out, duration, 4100, 0, 1);
      }),
      ROW(L("ESC ( A 48 50 1 10"), kSame, {
        int32_t duration = 300;
        h.SetBuzzerPattern(out, duration, 4100, 0, 1);
      }),
      ROW(L("ESC ( A 48 49 0 10"), kSame, {
        int32_t duration = 200;
        h.SetBuzzerPattern(out, duration, 2000, 0, 0);
      }),
      ROW(L("ESC ( A 97 100 3 1 2"), kSame, h.Beep(out, 50, 250, 3)),
      ROW(L("ESC ( A 97 100 1 1 1"), kSame, h.Beep(out, 100, 100, 1)),
      ROW(L("ESC ( A 97 100 5 10 5"), kSame, h.Beep(out, 1000, 500, 5)),
      ROW(L("ESC ( A 97 100 63 1 1"), kSame, h.Beep(out, 100, 100, 63)),
      ROW(kNothing, kSame, h.Beep(out, 100, 100, 64)),
  };
}

std::vector<TranscriptRow> GraphicsRows() {
  return {
      ROW(L("ESC * 0 1 0 [1 bytes]"), kNothing, {
        const Bytes d = Tricky(1);
        h.BitImage(out, 0, 1, d.data(), d.size());
      }),
      ROW(L("ESC * 1 3 0 [3 bytes]"), kNothing, {
        const Bytes d = Tricky(3);
        h.BitImage(out, 1, 3, d.data(), d.size());
      }),
      ROW(L("ESC * 33 2 0 [6 bytes]"), kNothing, {
        const Bytes d = Tricky(6);
        h.BitImage(out, 33, 2, d.data(), d.size());
      }),
      ROW(L("ESC * 0 255 3 [1023 bytes]"), kNothing, {
        const Bytes d = Tricky(1023);
        h.BitImage(out, 0, 1023, d.data(), d.size());
      }),
      ROW(L("ESC * 32 255 3 [3069 bytes]"), kNothing, {
        const Bytes d = Tricky(3069);
        h.BitImage(out, 32, 1023, d.data(), d.size());
      }),
      ROW(kNothing, kNothing, {
        const Bytes d = Tricky(1024);
        h.BitImage(out, 0, 1024, d.data(), d.size());
      }),
      ROW(kNothing, kNothing, {
        const Bytes d = Tricky(1);
        h.BitImage(out, 2, 1, d.data(), d.size());
      }),
      ROW(kNothing, kNothing, {
        const Bytes d = Tricky(2048);
        h.BitImage(out, 0, 2048, d.data(), d.size());
      }),
      ROW(kNothing, kNothing, {
        const Bytes d = Tricky(2);
        h.BitImage(out, 33, 2, d.data(), d.size());
      }),
      ROW(L("GS * 1 1 [8 bytes]"), kSame, {
        const Bytes d = Tricky(8);
        h.DefineDownloadedImage(out, 1, 1, d.data(), d.size());
      }),
      ROW(L("GS * 2 3 [48 bytes]"), kSame, {
        const Bytes d = Tricky(48);
        h.DefineDownloadedImage(out, 2, 3, d.data(), d.size());
      }),
      ROW(kNothing, kSame, {
        const Bytes d = Tricky(7);
        h.DefineDownloadedImage(out, 1, 1, d.data(), d.size());
      }),
      ROW(kNothing, kSame, h.DefineDownloadedImage(out, 0, 1, nullptr, 0)),
      ROW(L("GS * 32 48 [12288 bytes]"), kSame, {
        const Bytes d = Tricky(32 * 48 * 8);
        h.DefineDownloadedImage(out, 32, 48, d.data(), d.size());
      }),
      ROW(kNothing, kSame, {
        const Bytes d = Tricky(49 * 8);
        h.DefineDownloadedImage(out, 1, 49, d.data(), d.size());
      }),
      ROW(L("GS / 0"), kSame, h.PrintDownloadedImage(out, 0)),
      ROW(L("GS / 3"), kSame, h.PrintDownloadedImage(out, 3)),
      ROW(L("GS / 48"), kSame, h.PrintDownloadedImage(out, 48)),
      ROW(L("GS / 51"), kSame, h.PrintDownloadedImage(out, 51)),
      ROW(kNothing, kSame, h.PrintDownloadedImage(out, 4)),
      ROW(kNothing, kSame, h.PrintDownloadedImage(out, 52)),
      ROW(L("GS :"), kSame, h.MacroDefinition(out)),
      ROW(L("GS :"), kSame, h.MacroDefinitionEnd(out)),
      ROW(L("GS ^ 3 10 0"), kSame, h.ExecuteMacro(out, 3, 10, true)),
      ROW(L("GS ^ 1 1 1"), kSame, h.ExecuteMacro(out, 1, 1, false)),
      // Raster definitions: the caller appends the raster after the header.
      ROW(L("GS ( L 48 67 48 49 50 1 16 0 2 0 [5 bytes]"), kSame, {
        if (!h.DefineNvGraphicsHeader(out, false, 16, 2, '1', '2')) return;
        const Bytes d = Tricky(4);
        out.append(d.data(), d.size());
      }),
      ROW(L("GS ( L 48 67 48 32 126 1 0 1 1 0 [33 bytes]"), kSame, {
        if (!h.DefineNvGraphicsHeader(out, true, 256, 1, ' ', '~')) return;
        const Bytes d = Tricky(32);
        out.append(d.data(), d.size());
      }),
      // Widths that are no multiple of 8: every row is whole bytes.
      ROW(L("GS ( L 48 67 48 65 66 1 10 0 3 0 [7 bytes]"), kSame, {
        if (!h.DefineNvGraphicsHeader(out, false, 10, 3, 'A', 'B')) return;
        const Bytes d = Tricky(6);
        out.append(d.data(), d.size());
      }),
      ROW(L("GS ( L 48 67 48 65 66 1 1 0 1 0 [2 bytes]"), kSame, {
        if (!h.DefineNvGraphicsHeader(out, false, 1, 1, 'A', 'B')) return;
        const Bytes d = Tricky(1);
        out.append(d.data(), d.size());
      }),
      ROW(kNothing, kSame, h.DefineNvGraphicsHeader(out, false, 65535, 8, '1', '2')),
      ROW(kNothing, kSame, h.DefineNvGraphicsHeader(out, false, 0, 8, '1', '2')),
      ROW(L("GS 8 L 48 112 48 1 1 49 16 0 2 0 [4 bytes]"), kSame, {
        h.StoreGraphicsHeader(out, 4, 16, 2);
        const Bytes d = Tricky(4);
        out.append(d.data(), d.size());
      }),
      ROW(L("GS 8 L 48 112 48 1 1 49 240 0 100 0 [3000 bytes]"), kSame, {
        h.StoreGraphicsHeader(out, 3000, 240, 100);
        const Bytes d = Tricky(3000);
        out.append(d.data(), d.size());
      }),
      ROW(L("GS 8 L 48 2"), kSame, h.PrintGraphicsBuffer(out)),
      ROW(L("GS 8 L 48 0"), kSame, h.QueryNvGraphicsCapacity(out, true)),
      ROW(L("GS 8 L 48 3"), kSame, h.QueryNvGraphicsCapacity(out, false)),
      ROW(L("GS ( L 48 69 48 48 1 1"), kSame, h.PrintNvGraphicsByNumber(out, 0)),
      ROW(L("GS ( L 48 69 48 55 1 1"), kSame, h.PrintNvGraphicsByNumber(out, 7)),
      ROW(L("GS ( L 48 69 57 57 1 1"), kSame, h.PrintNvGraphicsByNumber(out, 99)),
      ROW(kNothing, kSame, h.PrintNvGraphicsByNumber(out, 100)),
      ROW(kNothing, kSame, h.PrintNvGraphicsByNumber(out, -1)),
      ROW(L("GS 8 L 48 64 75 67"), kSame, h.ListNvGraphicsKeys(out)),
      ROW(L("GS 8 L 48 65 67 76 82"), kSame, h.DeleteAllNvGraphics(out)),
      ROW(L("GS 8 L 48 66 65 66"), kSame, h.DeleteNvGraphics(out, 'A', 'B')),
      ROW(L("GS 8 L 48 66 32 126"), kSame, h.DeleteNvGraphics(out, 32, 126)),
      ROW(kNothing, kSame, h.DeleteNvGraphics(out, 31, 'A')),
      ROW(kNothing, kSame, h.DeleteNvGraphics(out, 'A', 127)),
  };
}

std::vector<TranscriptRow> SymbolRows() {
  return {
      ROW(L("GS ( k 48 65 0"), kSame, h.Pdf417Columns(out, 0)),
      ROW(L("GS ( k 48 65 30"), kSame, h.Pdf417Columns(out, 30)),
      ROW(kNothing, kSame, h.Pdf417Columns(out, 31)),
      ROW(kNothing, kSame, h.Pdf417Columns(out, -1)),
      ROW(L("GS ( k 48 66 0"), kSame, h.Pdf417Rows(out, 0)),
      ROW(L("GS ( k 48 66 3"), kSame, h.Pdf417Rows(out, 3)),
      ROW(L("GS ( k 48 66 90"), kSame, h.Pdf417Rows(out, 90)),
      ROW(kNothing, kSame, h.Pdf417Rows(out, 2)),
      ROW(kNothing, kSame, h.Pdf417Rows(out, 91)),
      ROW(L("GS ( k 48 67 2"), kSame, h.Pdf417ModuleWidth(out, 2)),
      ROW(L("GS ( k 48 67 8"), kSame, h.Pdf417ModuleWidth(out, 8)),
      ROW(kNothing, kSame, h.Pdf417ModuleWidth(out, 1)),
      ROW(kNothing, kSame, h.Pdf417ModuleWidth(out, 9)),
      ROW(L("GS ( k 48 68 2"), kSame, h.Pdf417RowHeight(out, -5)),
      ROW(L("GS ( k 48 68 2"), kSame, h.Pdf417RowHeight(out, 1)),
      ROW(L("GS ( k 48 68 5"), kSame, h.Pdf417RowHeight(out, 5)),
      ROW(L("GS ( k 48 68 8"), kSame, h.Pdf417RowHeight(out, 9)),
      ROW(L("GS ( k 48 69 48 48"), kSame, h.Pdf417ErrorLevel(out, '0', 48)),
      ROW(L("GS ( k 48 69 48 56"), kSame, h.Pdf417ErrorLevel(out, '0', 56)),
      ROW(L("GS ( k 48 69 49 1"), kSame, h.Pdf417ErrorLevel(out, '1', 1)),
      ROW(L("GS ( k 48 69 49 40"), kSame, h.Pdf417ErrorLevel(out, '1', 40)),
      ROW(kNothing, kSame, h.Pdf417ErrorLevel(out, '0', 57)),
      ROW(kNothing, kSame, h.Pdf417ErrorLevel(out, '1', 41)),
      ROW(kNothing, kSame, h.Pdf417ErrorLevel(out, '2', 5)),
      ROW(L("GS ( k 48 70 0"), kSame, h.Pdf417Options(out, true)),
      ROW(L("GS ( k 48 70 1"), kSame, h.Pdf417Options(out, false)),
      ROW(L("GS ( k 48 80 48 \"ABC\""), kSame, {
        const Bytes d = Text("ABC");
        h.Pdf417Store(out, d.data(), d.size());
      }),
      ROW(kNothing, kSame, h.Pdf417Store(out, nullptr, 0)),
      ROW(kNothing, kSame, h.QrStore(out, nullptr, 0)),
      // Symbol data may hold any byte, the decoder's quotes and escapes too.
      ROW(L("GS ( k 48 80 48 \"\\x10\\x04\\x00\\\"\\\\\\xAA\""), kSame, {
        const Bytes d = {0x10, 0x04, 0x00, '"', '\\', 0xAA};
        h.Pdf417Store(out, d.data(), d.size());
      }),
      ROW(L("GS ( k 48 80 48 \"" + std::string(255, 'P') + "\""), kSame, {
        const Bytes d(255, 'P');
        h.Pdf417Store(out, d.data(), d.size());
      }),
      ROW(L("GS ( k 48 80 48 \"" + std::string(300, 'P') + "\""), kSame, {
        const Bytes d(300, 'P');
        h.Pdf417Store(out, d.data(), d.size());
      }),
      ROW(kNothing, kSame, {  // past the two-byte length
        const Bytes d(65533, 'P');
        h.Pdf417Store(out, d.data(), d.size());
      }),
      ROW(L("GS ( k 48 81 48"), kSame, h.Pdf417Print(out)),
      ROW(L("GS ( k 48 82 48"), kSame, h.Pdf417QuerySize(out)),
      ROW(L("GS ( k 49 65 49 0"), kSame, h.QrModel(out, '1')),
      ROW(L("GS ( k 49 65 50 0"), kSame, h.QrModel(out, '2')),
      ROW(kNothing, kSame, h.QrModel(out, '3')),
      ROW(kNothing, kSame, h.QrModel(out, 2)),
      ROW(L("GS ( k 49 67 1"), kSame, h.QrModuleSize(out, 1)),
      ROW(L("GS ( k 49 67 16"), kSame, h.QrModuleSize(out, 16)),
      ROW(kNothing, kSame, h.QrModuleSize(out, 0)),
      ROW(kNothing, kSame, h.QrModuleSize(out, 17)),
      ROW(L("GS ( k 49 69 48"), kSame, h.QrErrorLevel(out, 48)),
      ROW(L("GS ( k 49 69 51"), kSame, h.QrErrorLevel(out, 51)),
      ROW(kNothing, kSame, h.QrErrorLevel(out, 47)),
      ROW(kNothing, kSame, h.QrErrorLevel(out, 52)),
      ROW(L("GS ( k 49 80 48 \"https://example.invalid/r?id=7\""), kSame, {
        const Bytes d = Text("https://example.invalid/r?id=7");
        h.QrStore(out, d.data(), d.size());
      }),
      ROW(L("GS ( k 49 80 48 \"" + std::string(255, 'Q') + "\""), kSame, {
        const Bytes d(255, 'Q');
        h.QrStore(out, d.data(), d.size());
      }),
      ROW(L("GS ( k 49 80 48 \"" + std::string(300, 'Q') + "\""), kSame, {
        const Bytes d(300, 'Q');
        h.QrStore(out, d.data(), d.size());
      }),
      ROW(kNothing, kSame, {  // more than a QR Code holds
        const Bytes d(7090, '1');
        h.QrStore(out, d.data(), d.size());
      }),
      ROW(L("GS ( k 49 81 48"), kSame, h.QrPrint(out)),
      ROW(L("GS ( k 49 82 48"), kSame, h.QrQuerySize(out)),
  };
}

std::vector<TranscriptRow> BarcodeAndCutRows() {
  auto barcode = [](int32_t symbology, const char* data) {
    return [symbology, data](CCmdHelperBase& h, PrinterBuffer& out) {
      const Bytes d = Text(data);
      h.AppendBarcode(out, symbology, d.data(), d.size());
    };
  };
  std::vector<TranscriptRow> rows = {
      {"UPC-A", barcode(101, "01234567890"), L("GS k 65 11 \"01234567890\""), kSame},
      {"UPC-E", barcode(102, "0123456"), L("GS k 66 7 \"0123456\""), kSame},
      {"EAN-8", barcode(103, "1234567"), L("GS k 68 7 \"1234567\""), kSame},
      {"EAN-13", barcode(104, "123456789012"), L("GS k 67 12 \"123456789012\""), kSame},
      {"ITF", barcode(106, "1234567890"), L("GS k 70 10 \"1234567890\""), kSame},
      {"Codabar", barcode(107, "A40156B"), L("GS k 71 7 \"A40156B\""), kSame},
      {"Code 39", barcode(108, "CODE39"), L("GS k 69 6 \"CODE39\""), kSame},
      {"Code 93", barcode(109, "CODE93"), L("GS k 72 6 \"CODE93\""), kSame},
      {"Code 128", barcode(110, "{BABC123"), L("GS k 73 8 \"{BABC123\""), kSame},
      {"parsed Code 128", barcode(123, "{A12"), L("GS k 73 4 \"{A12\""), kSame},
      {"EAN-128", barcode(120, "0112345678901231"), L("GS k 74 16 \"0112345678901231\""), kSame},
      {"RSS-14", barcode(131, "0001234567890"), L("GS k 75 13 \"0001234567890\""), kSame},
      {"RSS expanded", barcode(132, "0112345678901231"), L("GS k 78 16 \"0112345678901231\""),
       kSame},
      {"symbology without a printer system", barcode(105, "123"), kNothing, kSame},
      {"unknown symbology", barcode(999, "123"), kNothing, kSame},
      {"empty data", barcode(110, ""), kNothing, kSame},
  };
  const std::vector<TranscriptRow> more = {
      ROW(L("GS k 73 255 \"{B" + std::string(253, 'C') + "\""), kSame, {
        const Bytes d = Text("{B" + std::string(253, 'C'));
        h.AppendBarcode(out, 110, d.data(), d.size());
      }),
      ROW(kNothing, kSame, {
        const Bytes d(256, 'C');
        h.AppendBarcode(out, 110, d.data(), d.size());
      }),
      ROW(L("GS w 3", "GS h 80", "GS H 2", "GS f 0", "GS k 73 5 \"{BABC\""), kSame, {
        const Bytes d = Text("{BABC");
        h.SetupAndPrintBarcode(out, 110, 80, 3, -13, 0, d.data(), d.size());
      }),
      // Width 9 is out of range (2), height 300 is the tallest a printer
      // makes (255), text above.
      ROW(L("GS w 2", "GS h 255", "GS H 1", "GS f 1", "GS k 69 3 \"ABC\""), kSame, {
        const Bytes d = Text("ABC");
        h.SetupAndPrintBarcode(out, 108, 300, 9, -12, 1, d.data(), d.size());
      }),
      // HRI font 48 exists only on the QX1270 family.
      ROW(L("GS w 2", "GS h 162", "GS H 0", "GS k 65 11 \"01234567890\""),
          L("GS w 2", "GS h 162", "GS H 0", "GS f 48", "GS k 65 11 \"01234567890\""), {
            const Bytes d = Text("01234567890");
            h.SetupAndPrintBarcode(out, 101, 0, -1, -11, 48, d.data(), d.size());
          }),
      ROW(L("GS w 3", "GS h 80", "GS H 2", "GS f 0"), kSame, {
        const Bytes d = Text("123");
        h.SetupAndPrintBarcode(out, 105, 80, 3, -13, 0, d.data(), d.size());
      }),
      // GS w only within 2..6; a printer ignores anything else.
      ROW(L("GS w 2"), kSame, h.SetBarcodeWidth(out, 1)),
      ROW(L("GS w 2"), kSame, h.SetBarcodeWidth(out, 0)),
      ROW(L("GS w 2"), kSame, h.SetBarcodeWidth(out, 7)),
      ROW(L("GS w 6"), kSame, h.SetBarcodeWidth(out, 6)),
      ROW(L("GS w 2"), kSame, h.SetBarcodeWidth(out, 8)),
      ROW(L("GS w 2"), kSame, h.SetBarcodeWidth(out, 255)),
      ROW(L("GS h 162"), kSame, h.SetBarcodeHeight(out, 0)),
      ROW(L("GS h 1"), kSame, h.SetBarcodeHeight(out, 1)),
      ROW(L("GS h 255"), kSame, h.SetBarcodeHeight(out, 255)),
      ROW(L("GS H 0"), kSame, h.SetHriPosition(out, 0)),
      ROW(L("GS H 3"), kSame, h.SetHriPosition(out, 3)),
      ROW(L("GS H 48"), kSame, h.SetHriPosition(out, 48)),
      ROW(L("GS H 51"), kSame, h.SetHriPosition(out, 51)),
      ROW(kNothing, kSame, h.SetHriPosition(out, 4)),
      ROW(kNothing, kSame, h.SetHriPosition(out, 52)),
      ROW(L("GS H 2"), kSame, h.SetHriPosition(out, h.HriPositionForTextPosition(-13))),
      ROW(L("GS H 1"), kSame, h.SetHriPosition(out, h.HriPositionForTextPosition(-12))),
      ROW(L("GS H 0"), kSame, h.SetHriPosition(out, h.HriPositionForTextPosition(-11))),
      ROW(L("GS H 2"), kSame, h.SetHriPosition(out, h.HriPositionForTextPositionAll(-13))),
      ROW(L("GS H 1"), kSame, h.SetHriPosition(out, h.HriPositionForTextPositionAll(-12))),
      ROW(L("GS H 0"), kSame, h.SetHriPosition(out, h.HriPositionForTextPositionAll(-11))),
      ROW(L("GS H 3"), kSame, h.SetHriPosition(out, h.HriPositionForTextPositionAll(-14))),
      ROW(L("GS f 0"), kSame, h.SetHriFont(out, 0)),
      ROW(L("GS f 1"), kSame, h.SetHriFont(out, 1)),
      ROW(kNothing, L("GS f 48"), h.SetHriFont(out, 48)),
      ROW(kNothing, L("GS f 49"), h.SetHriFont(out, 49)),
      ROW(kNothing, kSame, h.SetHriFont(out, 2)),
      ROW(kNothing, kSame, h.SetHriFont(out, 50)),
      // 3450 hundredths of a millimetre: 34 mm, 272 dots.
      ROW(L("ESC J 255", "ESC J 17", "GS V 0"), kNothing, h.FeedAndFullCut(out)),
      ROW(L("ESC J 255", "ESC J 17", "GS V 1"), kNothing, h.FeedAndPartialCut(out)),
      ROW(L("GS V 65 0"), kNothing, h.FeedAndCut(out, 0)),
      ROW(L("GS V 65 255"), kNothing, h.FeedAndCut(out, 255)),
  };
  rows.insert(rows.end(), more.begin(), more.end());
  return rows;
}

namespace {

std::string EightSegmentsLine() {
  std::string line = "GS ' 8";
  for (int i = 0; i < 8; ++i) {
    const int start = i * 40, end = i * 40 + 300;
    line += " " + std::to_string(start & 0xFF) + " " + std::to_string(start >> 8) + " " +
            std::to_string(end & 0xFF) + " " + std::to_string(end >> 8);
  }
  return line;
}

}  // namespace

// The five operations for which the QX1270 family has commands of its own.
std::vector<TranscriptRow> FamilyCommandRows() {
  return {
      ROW(L("GS ( E 5 5 0 0"), L("GS E 0"), h.SetDensitySetting(out, 0)),
      ROW(kNothing, L("GS E 9"), h.SetDensitySetting(out, 9)),
      ROW(L("GS ( E 5 5 255 255"), kNothing, h.SetDensitySetting(out, -1)),
      ROW(L("GS ( E 5 5 6 0"), L("GS E 6"), h.SetDensitySetting(out, 6)),
      ROW(L("GS ( E 5 5 250 255"), kNothing, h.SetDensitySetting(out, -6)),
      ROW(L("GS ( E 5 5 100 0"), kNothing, h.SetDensitySetting(out, 100)),
      ROW(kNothing, kNothing, h.SetDensitySetting(out, -7)),
      ROW(kNothing, kNothing, h.SetDensitySetting(out, 10)),
      ROW(L("GS 8 L 48 69 65 66 1 1"), L("FS p 1 0"), h.PrintNvGraphics(out, 'A', 'B', 1, 1)),
      ROW(L("GS 8 L 48 69 65 66 2 1"), L("FS p 1 1"), h.PrintNvGraphics(out, 'A', 'B', 2, 1)),
      ROW(L("GS 8 L 48 69 65 66 1 2"), L("FS p 1 2"), h.PrintNvGraphics(out, 'A', 'B', 1, 2)),
      ROW(L("GS 8 L 48 69 32 126 2 2"), L("FS p 1 3"), h.PrintNvGraphics(out, 32, 126, 2, 2)),
      ROW(kNothing, kNothing, h.PrintNvGraphics(out, 'A', 'B', 0, 1)),
      ROW(kNothing, kNothing, h.PrintNvGraphics(out, 'A', 'B', 1, 3)),
      ROW(kNothing, L("GS ' 0"), h.DrawLines(out, nullptr, 0)),
      ROW(kNothing, L("GS ' 1 10 0 100 0"), {
        const LineSegment s[] = {{10, 100}};
        h.DrawLines(out, s, 1);
      }),
      ROW(kNothing, L(EightSegmentsLine()), {
        LineSegment s[8];
        for (int i = 0; i < 8; ++i) {
          s[i] = {static_cast<uint16_t>(i * 40), static_cast<uint16_t>(i * 40 + 300)};
        }
        h.DrawLines(out, s, 8);
      }),
      ROW(kNothing, kNothing, {
        LineSegment s[9];
        h.DrawLines(out, s, 9);
      }),
      ROW(kNothing, L("GS \" 0 44 1 \"AB\""), {
        const Bytes t = Text("AB");
        h.CurveTextCommand(out, 0, 300, t.data(), t.size());
      }),
      ROW(kNothing, L("GS \" 1 0 0 \"\""), h.CurveTextCommand(out, 1, 0, nullptr, 0)),
      ROW(kNothing, L("GS \" 1 255 255 \"" + std::string(200, 'x') + "\""), {
        const Bytes t(200, 'x');
        h.CurveTextCommand(out, 1, 65535, t.data(), t.size());
      }),
      ROW(kNothing, kNothing, {
        const Bytes t = Text("AB");
        h.CurveTextCommand(out, 2, 300, t.data(), t.size());
      }),
  };
}

namespace {

TEST_F(BuilderDecoder, SetupAndDeviceSettings) { ExpectRows(SetupRows()); }

TEST_F(BuilderDecoder, Graphics) { ExpectRows(GraphicsRows()); }

// GS 8 L fn 67 as a printer reads it: a = 48 after fn, the key, the number
// of planes, the size, then each plane led by its colour (49, then 50); the
// length covers exactly that, whatever the width.
TEST_F(BuilderDecoder, NvGraphicsDefinitions) {
  const struct {
    bool twoTone;
    int32_t width, height;
    Lines lines;
  } cases[] = {
      {false, 16, 2, L("GS 8 L 48 67 48 65 66 1 16 0 2 0 [5 bytes]", "LF")},
      {true, 16, 2, L("GS 8 L 48 67 48 65 66 2 16 0 2 0 [10 bytes]", "LF")},
      {false, 10, 3, L("GS 8 L 48 67 48 65 66 1 10 0 3 0 [7 bytes]", "LF")},
      {true, 1, 1, L("GS 8 L 48 67 48 65 66 2 1 0 1 0 [4 bytes]", "LF")},
      {false, 8192, 1, L("GS 8 L 48 67 48 65 66 1 0 32 1 0 [1025 bytes]", "LF")},
      {false, 8193, 1, L("LF")},
      {false, 8, 2305, L("LF")},
  };
  CCmdHelperBase base;
  for (const auto& c : cases) {
    PrinterBuffer out(32, 32);
    const Bytes data = Tricky(2 * 1024);
    base.DefineNvGraphics(out, 'A', 'B', c.twoTone, c.width, c.height, data.data(), data.size());
    base.LineFeed(out);
    EXPECT_EQ(Decode(Bytes(out.data(), out.data() + out.size())), Joined(c.lines))
        << c.width << " x " << c.height;
  }
}

TEST_F(BuilderDecoder, TwoDimensionalSymbols) { ExpectRows(SymbolRows()); }

TEST_F(BuilderDecoder, BarcodesAndCutting) { ExpectRows(BarcodeAndCutRows()); }

TEST_F(BuilderDecoder, FamilyCommands) { ExpectRows(FamilyCommandRows()); }

TEST_F(BuilderDecoder, EachDeviceGroupAsOneStream) {
  ExpectSequences(SetupRows(), "setup");
  ExpectSequences(GraphicsRows(), "graphics");
  ExpectSequences(SymbolRows(), "symbols");
  ExpectSequences(BarcodeAndCutRows(), "barcodes and cutting");
  ExpectSequences(FamilyCommandRows(), "family commands");
}

// The feed before a cut follows the model's cut-feed distance, truncated to
// whole millimetres at 8 dots each.
TEST_F(BuilderDecoder, CutFeedDistances) {
  struct Case {
    int32_t distance;
    Lines feed;
  } cases[] = {
      {0, L("ESC J 0")},
      {99, L("ESC J 0")},
      {3300, L("ESC J 255", "ESC J 9")},
      {3600, L("ESC J 255", "ESC J 33")},
      {6400, L("ESC J 255", "ESC J 255", "ESC J 2")},
  };
  for (const Case& c : cases) {
    CCmdHelperBase::SetCutFeedDistance(c.distance);
    CCmdHelperBase base;
    PrinterBuffer b(32, 32);
    base.FeedAndFullCut(b);
    base.FeedAndPartialCut(b);
    EXPECT_EQ(Decode(Bytes(b.data(), b.data() + b.size())),
              Joined(Concat({c.feed, L("GS V 0"), c.feed, L("GS V 1")})))
        << c.distance;
  }
}

}  // namespace
}  // namespace test
}  // namespace Printer
}  // namespace QEL
