#pragma once
// OPOS property indexes: numbers from 0, strings from 1000000, POS-printer
// specific values from 8000 on.
#include <cstdint>

namespace QEL {
namespace Printer {
namespace Pidx {

constexpr int32_t DeviceEnabled = 3;
constexpr int32_t OutputID = 5;
constexpr int32_t BinaryConversion = 11;

constexpr int32_t AsyncMode = 8001;
constexpr int32_t CharacterSet = 8002;
constexpr int32_t CoverOpen = 8003;
constexpr int32_t ErrorStation = 8004;
constexpr int32_t FlagWhenIdle = 8005;
constexpr int32_t JrnEmpty = 8006;
constexpr int32_t JrnLetterQuality = 8007;
constexpr int32_t JrnLineChars = 8008;
constexpr int32_t JrnLineHeight = 8009;
constexpr int32_t JrnLineSpacing = 8010;
constexpr int32_t JrnLineWidth = 8011;
constexpr int32_t JrnNearEnd = 8012;
constexpr int32_t MapMode = 8013;
constexpr int32_t RecEmpty = 8014;
constexpr int32_t RecLetterQuality = 8015;
constexpr int32_t RecLineChars = 8016;
constexpr int32_t RecLineHeight = 8017;
constexpr int32_t RecLineSpacing = 8018;
constexpr int32_t RecLinesToPaperCut = 8019;
constexpr int32_t RecLineWidth = 8020;
constexpr int32_t RecNearEnd = 8021;
constexpr int32_t RecSidewaysMaxChars = 8022;
constexpr int32_t RecSidewaysMaxLines = 8023;
constexpr int32_t SlpEmpty = 8024;
constexpr int32_t SlpLetterQuality = 8025;
constexpr int32_t SlpMaxLines = 8034;
constexpr int32_t ErrorLevel = 8035;
constexpr int32_t RotateSpecial = 8036;
constexpr int32_t CartridgeNotify = 8037;
constexpr int32_t JrnCartridgeState = 8038;
constexpr int32_t JrnCurrentCartridge = 8039;
constexpr int32_t RecCartridgeState = 8040;
constexpr int32_t RecCurrentCartridge = 8041;
constexpr int32_t SlpPrintSide = 8042;
constexpr int32_t MapCharacterSet = 8045;
constexpr int32_t PageModeDescriptor = 8046;
constexpr int32_t PageModeHorizontalPosition = 8047;
constexpr int32_t PageModePrintDirection = 8048;
constexpr int32_t PageModeStation = 8049;
constexpr int32_t PageModeVerticalPosition = 8050;

constexpr int32_t CapFirst = 8501;
constexpr int32_t CapConcurrentRecSlp = 8503;
constexpr int32_t CapRecLeft90 = 8524;
constexpr int32_t CapRecNearEndSensor = 8525;
constexpr int32_t CapRecPapercut = 8526;
constexpr int32_t CapRecRight90 = 8528;
constexpr int32_t CapRecPageMode = 8560;
constexpr int32_t CapLast = 8565;

constexpr int32_t CheckHealthText = 1000001;
constexpr int32_t DeviceDescription = 1000002;
constexpr int32_t DeviceName = 1000003;
constexpr int32_t CharacterSetList = 1008001;
constexpr int32_t JrnLineCharsList = 1008002;
constexpr int32_t RecLineCharsList = 1008003;
constexpr int32_t SlpLineCharsList = 1008004;
constexpr int32_t ErrorString = 1008005;
constexpr int32_t FontTypefaceList = 1008006;
constexpr int32_t RecBarCodeRotationList = 1008007;
constexpr int32_t SlpBarCodeRotationList = 1008008;
constexpr int32_t RecBitmapRotationList = 1008009;
constexpr int32_t SlpBitmapRotationList = 1008010;
constexpr int32_t PageModeArea = 1008011;
constexpr int32_t PageModePrintArea = 1008012;

}  // namespace Pidx
}  // namespace Printer
}  // namespace QEL
