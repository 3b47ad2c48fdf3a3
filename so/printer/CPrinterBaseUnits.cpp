#include "so/format/MapModeUnits.h"
#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {
MapModeUnits UnitsOf(int32_t mapMode, const PrinterModelTraits& traits) {
  MapModeUnits units;
  units.mapMode = mapMode;
  units.horizontalDotPitch = traits.horizontalDotPitch;
  units.verticalDotPitch = traits.verticalDotPitch;
  return units;
}
}  // namespace

int32_t CPrinterBase::MapNumber2DOT_H(int32_t value) const {
  return Printer::MapNumber2DOT_H(UnitsOf(props_.mapMode, traits_), value);
}

int32_t CPrinterBase::MapNumber2DOT_V(int32_t value) const {
  return Printer::MapNumber2DOT_V(UnitsOf(props_.mapMode, traits_), value);
}

int32_t CPrinterBase::DOT2MapNumber_H(int32_t dots) const {
  return Printer::DOT2MapNumber_H(UnitsOf(props_.mapMode, traits_), dots);
}

int32_t CPrinterBase::DOT2MapNumber_V(int32_t units) const {
  return Printer::DOT2MapNumber_V(UnitsOf(props_.mapMode, traits_), units);
}

int32_t CPrinterBase::H2V(int32_t dots) const {
  return Printer::H2V(UnitsOf(props_.mapMode, traits_), dots);
}

}  // namespace Printer
}  // namespace QEL
