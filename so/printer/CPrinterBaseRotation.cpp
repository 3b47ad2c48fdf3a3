#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {
constexpr int32_t kRotationNormal = 1;
constexpr int32_t kRotationRight90 = 257;
constexpr int32_t kRotationLeft90 = 258;
constexpr int32_t kRotation180 = 259;
}  // namespace

int32_t CPrinterBase::SetRotation(int32_t rotation) {
  if (rotation == kRotationNormal) {
    if (modes_.rotate180) pending_.upsideDown = true;
    modes_.rotateRight90 = modes_.rotateLeft90 = modes_.rotate180 = false;
    modes_.barcodeRotation = modes_.bitmapRotation = false;
    return 1;
  }
  if (rotation < 0x3000) {
    modes_.barcodeRotation = (rotation & 0xF000) == 0x1000;
    modes_.bitmapRotation = (rotation & 0xF000) == 0x2000;
  } else {
    modes_.barcodeRotation = modes_.bitmapRotation = true;
  }
  switch (rotation & 0xFFF) {
    case kRotation180:
      modes_.rotateRight90 = modes_.rotateLeft90 = false;
      modes_.rotate180 = true;
      pending_.upsideDown = true;
      break;
    case kRotationRight90:
      modes_.rotateRight90 = true;
      modes_.rotateLeft90 = modes_.rotate180 = false;
      break;
    case kRotationLeft90:
      modes_.rotateLeft90 = true;
      modes_.rotateRight90 = modes_.rotate180 = false;
      break;
    default:
      break;
  }
  return rotation;
}

int32_t CPrinterBase::SetPageModePrintDirection(int32_t direction) {
  if (direction < 1 || direction > 4) return OPOS_E_ILLEGAL;
  props_.pageModePrintDirection = direction;
  for (int i = 0; i < 4; ++i) modes_.pageDirection[i] = (i == direction - 1);
  return OPOS_SUCCESS;
}

}  // namespace Printer
}  // namespace QEL
