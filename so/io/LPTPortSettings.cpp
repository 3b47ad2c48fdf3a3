#include "so/io/LPTPortSettings.h"

#include "so/io/PortSettingsError.h"

namespace QEL {
namespace IO {

LPTPortSettings::LPTPortSettings() : CPortSettingsBase(u"LPT", u"LPT1") {}

std::u16string LPTPortSettings::ToString() {
  SetSettingsText(GetPortName());
  return GetSettingsText();
}

void LPTPortSettings::Parse(const std::u16string& text) {
  std::vector<std::u16string> fields = CheckAndTokenize(text);
  if (fields.empty()) throw PortSettingsError("port settings: LPT port settings name no port");
  CheckFits("port name", fields[0], kPortNameCapacity);
  SetSettingsText(text);
  SetPortName(fields[0]);
}

}  // namespace IO
}  // namespace QEL
