#pragma once
// The physical traits of a printer model: what the model class sets up and
// the property table and formatting derive their values from.
#include <cstdint>
#include <string>

namespace QEL {
namespace Printer {

struct PrinterFont {
  std::u16string id;
  int32_t width = 12;
  int32_t height = 24;
  std::u16string codePageList;
};

// The code pages a printer without a model profile is offered.
inline const char16_t* kConstructionCharacterSetList =
    u"255,437,850,852,858,860,862,863,865,866,874,932,936,949,997,998,999,1252,1255,1256";

struct PrinterModelTraits {
  // Millimetres per dot. Without a profile both pitches are equal, as on an
  // 8-dots-per-millimetre head printing square dots.
  float horizontalDotPitch = 0.125f;
  float verticalDotPitch = 0.125f;
  uint8_t resolution = 203;
  int32_t printWidth = 576;
  int32_t fontCount = 2;
  PrinterFont fonts[2] = {{u"A", 12, 24, kConstructionCharacterSetList},
                          {u"B", 9, 17, kConstructionCharacterSetList}};
  int32_t defaultFont = 0;
  int32_t pageAreaWidth = 576;
  int32_t pageAreaHeight = 1000;
  // The margin kept around an object printed in a page of its own (sideways
  // or turned), in dots.
  int32_t pageModeConstant = 60;
  // Print head to cutter, hundredths of a millimetre.
  int32_t cutterDistance = 2100;
  // Bit 0: real-time status requests; bit 1: transmit-status commands.
  int32_t statusMethod = 3;
  int32_t drawerTrait = 0;
};

}  // namespace Printer
}  // namespace QEL
