#pragma once
// The parameters an application writes after ESC|#R to print a barcode in
// the middle of text: s<symbology>h<height>w<width>a<sign><alignment>
// t<sign><text position>d<data>e.
#include <cstddef>
#include <cstdint>

namespace QEL {
namespace Printer {

struct BarcodeSequence {
  int32_t symbology = 0;
  int32_t height = 0;
  int32_t width = 0;
  int32_t alignment = 0;
  int32_t textPosition = 0;
  const uint8_t* data = nullptr;  // points into the parsed bytes
  size_t length = 0;
};

// False when the bytes do not hold every field in that order with the final
// 'e'. A sign character '-' makes its value negative, any other positive.
bool ParseBarcodeSequence(const uint8_t* bytes, size_t length, BarcodeSequence* parsed);

}  // namespace Printer
}  // namespace QEL
