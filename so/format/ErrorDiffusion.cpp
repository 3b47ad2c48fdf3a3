#include "so/format/ErrorDiffusion.h"

namespace QEL {
namespace Printer {

std::unique_ptr<ErrorDiffusion> MakeErrorDiffusion(int32_t width, DiffusionKernel kernel) {
  if (kernel == DiffusionKernel::kFastest) {
    if (std::unique_ptr<ErrorDiffusion> wavefront = MakeWavefrontDiffusion(width)) return wavefront;
  }
  return MakeSerialDiffusion(width);
}

}  // namespace Printer
}  // namespace QEL
