#pragma once
// Error diffusion of grey rows into packed raster rows, a block of rows at a
// time, the error carried from block to block. The arithmetic is the
// printer conversion's own, in signed bytes, and both kernels give the same
// bits for the same levels: the serial one runs everywhere, the wavefront
// one where the processor has SSE2.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace QEL {
namespace Printer {

class ErrorDiffusion {
 public:
  virtual ~ErrorDiffusion() = default;
  // Rows per block.
  virtual int32_t BlockRows() const = 0;
  // Where row `row` of the next block takes its width grey levels (times 16).
  virtual int16_t* Levels(int32_t row) = 0;
  // Diffuses the first `rows` rows of the block; row r's packed bits, the
  // most significant bit leftmost and a set bit black, go to
  // out + r * rowBytes (width rounded up to whole bytes, white beyond).
  virtual void Diffuse(int32_t rows, uint8_t* out, size_t rowBytes) = 0;
};

enum class DiffusionKernel { kFastest, kSerial };

std::unique_ptr<ErrorDiffusion> MakeSerialDiffusion(int32_t width);
// Null where the processor lacks SSE2.
std::unique_ptr<ErrorDiffusion> MakeWavefrontDiffusion(int32_t width);
std::unique_ptr<ErrorDiffusion> MakeErrorDiffusion(int32_t width, DiffusionKernel kernel);

// The image data never carries the byte 10 hex (DLE, which begins the
// real-time commands some interfaces look for in the stream): its one black
// pixel moves left by one.
inline uint8_t WithoutDle(uint32_t byte) {
  return byte == 0x10u ? 0x20u : static_cast<uint8_t>(byte);
}

// The low byte of an error, as the signed byte the error row keeps.
inline int8_t ErrorByte(int32_t value) {
  return static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFFu));
}

}  // namespace Printer
}  // namespace QEL
