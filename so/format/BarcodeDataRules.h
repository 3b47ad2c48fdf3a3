#pragma once
// What data each one-dimensional symbology can carry. A printer handed
// data its symbology cannot encode prints nothing, or prints the data as
// text: the service refuses such data instead of reporting success.
#include <cstddef>
#include <cstdint>

namespace QEL {
namespace Printer {

// For the OPOS symbology numbers of one-dimensional codes. Code 128 data is
// checked after its conversion to the printer's form; symbologies without a
// rule here (and two-dimensional ones) are accepted.
bool BarcodeDataFits(int32_t symbology, const uint8_t* data, size_t length);

}  // namespace Printer
}  // namespace QEL
