#pragma once
// Where the OPOS device configuration lives in the registry and what its
// values are called. Paths are relative to HKEY_LOCAL_MACHINE.
#include <cstddef>
#include <string>

namespace QEL {
namespace Config {

constexpr const char16_t* kOposRoot = u"SOFTWARE\\OLEforRetail\\ServiceOPOS";
constexpr const char16_t* kPrinterClassKey = u"POSPrinter";
constexpr const char16_t* kDrawerClassKey = u"CashDrawer";

enum class DeviceClass { kPrinter, kDrawer };

const char16_t* ClassKeyName(DeviceClass deviceClass);
// "<root>\POSPrinter" or "<root>\CashDrawer".
std::u16string ClassKeyPath(const std::u16string& oposRoot, DeviceClass deviceClass);
// The class key path, a backslash and the device name.
std::u16string DeviceKeyPath(const std::u16string& oposRoot, DeviceClass deviceClass,
                             const std::u16string& deviceName);

// The default value (the service object's ProgID, read by the control object).
constexpr const char16_t* kProgIdValue = u"";

// Printer device key.
constexpr const char16_t* kDeviceDescription = u"DeviceDescription";
constexpr const char16_t* kDriverModel = u"DriverModel";
constexpr const char16_t* kDriverName = u"DriverName";
constexpr const char16_t* kBitMapMode = u"BitMapMode";
constexpr const char16_t* kPortType = u"PortType";
constexpr const char16_t* kReadTimeout = u"ReadTimeout";
constexpr const char16_t* kWriteTimeout = u"WriteTimeout";
constexpr const char16_t* kInputBufSize = u"InputBufSize";
constexpr const char16_t* kOutputBufSize = u"OutputBufSize";
constexpr const char16_t* kNotes = u"Notes";
constexpr const char16_t* kPortSettings = u"PortSettings";
constexpr const char16_t* kCodepageID = u"CodepageID";

// Cash-drawer device key.
constexpr const char16_t* kPrinterName = u"PrinterName";
constexpr const char16_t* kCapDrawStatus = u"CapDrawStatus";
constexpr const char16_t* kCashDrawerName = u"CashDrawerName";
constexpr const char16_t* kDrawerPin = u"DrawerPin";
constexpr const char16_t* kOpenVoltage = u"OpenVoltage";
constexpr const char16_t* kSignalOnTime = u"SignalOnTime";
constexpr const char16_t* kSignalOffTime = u"SignalOffTime";
constexpr const char16_t* kWaitForDrawerCloseTimeOut = u"WaitForDrawerCloseTimeOut";

// The texts the setting tool always writes for a printer.
constexpr const char16_t* kBitMapModeText = u"RasterBitImage";
constexpr const char16_t* kTimeoutText = u"2000";
constexpr const char16_t* kBufSizeText = u"2048";
constexpr const char16_t* kStartCodepageText = u"437";

// The service object reads each value into a buffer of this many bytes and
// keeps at most this many characters of it; a longer value is a configuration
// error.
constexpr size_t kReadBufferBytes = 1024;
constexpr size_t kMaxValueChars = 255;

}  // namespace Config
}  // namespace QEL
