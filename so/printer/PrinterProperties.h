#pragma once
// The POS-printer property values a core keeps, with their construction
// defaults. Positions and lengths are held in dots.
#include <cstdint>
#include <string>

#include "so/printer/PrinterModelTraits.h"

namespace QEL {
namespace Printer {

struct PrinterProperties {
  int32_t binaryConversion = 0;
  int32_t asyncMode = 0;
  int32_t characterSet = 437;
  int32_t errorStation = 2;
  int32_t mapMode = 1;
  int32_t recLetterQuality = 0;
  int32_t recLineChars = 48;
  int32_t recLineHeight = 24;
  int32_t recLineSpacing = 30;
  int32_t recLinesToPaperCut = 6;
  int32_t recLineWidth = 576;
  int32_t recSidewaysMaxChars = 83;
  int32_t recSidewaysMaxLines = 24;
  int32_t slpLetterQuality = 0;
  int32_t errorLevel = 1;
  int32_t rotateSpecial = 1;
  int32_t jrnCartridgeState = 0x10000000;
  int32_t recCurrentCartridge = 1;
  int32_t pageModeHorizontalPosition = 0;
  int32_t pageModePrintDirection = 1;
  int32_t pageModeStation = 0;
  int32_t pageModeVerticalPosition = 0;

  // Capabilities 8501..8565, indexed from 8501.
  int32_t caps[65] = {};

  std::u16string checkHealthText;
  std::u16string deviceDescription = u"VORNA High Performance Printer";
  std::u16string deviceName = u"VORNA Printer";
  std::u16string characterSetList = kConstructionCharacterSetList;
  std::u16string recLineCharsList = u"48,64";
  std::u16string errorString;
  std::u16string fontTypefaceList = u"A,B";
  std::u16string recBarCodeRotationList = u"0,R90,L90,180";
  std::u16string recBitmapRotationList = u"0,R90,L90,180";
  std::u16string pageModeArea = u"576,1000";
  std::u16string pageModePrintArea = u"0,0,0,0";

  // The print area inside the page area, in dots.
  int32_t printAreaX = 0, printAreaY = 0, printAreaWidth = 0, printAreaHeight = 0;

  PrinterProperties();
  int32_t& Cap(int32_t index) { return caps[index - 8501]; }
  int32_t Cap(int32_t index) const { return caps[index - 8501]; }
};

// Settings changed since the last job; each puts its command in front of the next one.
struct PendingSettings {
  bool upsideDown = false;
  bool characterSet = false;
  bool font = false;
  bool lineSpacing = false;
  bool lineWidth = false;
  bool smoothing = false;
  bool printArea = false;
  void Clear() { *this = PendingSettings(); }
};

// The collecting states of the output path.
struct OutputModes {
  bool transaction = false;
  bool pageMode = false;
  bool rotateRight90 = false;
  bool rotateLeft90 = false;
  bool rotate180 = false;
  bool barcodeRotation = false;
  bool bitmapRotation = false;
  bool pageDirection[4] = {true, false, false, false};
  bool Sideways() const { return rotateRight90 || rotateLeft90; }
  bool AnyRotation() const { return rotateRight90 || rotateLeft90 || rotate180; }
  // Directions 2 and 4 turn the page.
  bool RotatedPageDirection() const { return pageMode && (pageDirection[1] || pageDirection[3]); }
};

}  // namespace Printer
}  // namespace QEL
