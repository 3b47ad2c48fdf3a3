#include "so/io/SerialPortSettings.h"

#include "so/io/PortSettingsError.h"

namespace QEL {
namespace IO {

SerialPortSettings::SerialPortSettings() : CPortSettingsBase(u"COM", u"Auto") {}

std::u16string SerialPortSettings::ToString() {
  SetSettingsText(GetPortName());
  return GetSettingsText();
}

uint32_t SerialPortSettings::BaudRateFromField(const std::u16string& field) {
  size_t underscore = field.find(u'_');
  // "B_9600" and "_9600" are not taken as a rate: the tool always writes
  // "BaudRate_", so a '_' that early means a mistyped field.
  if (underscore == std::u16string::npos || underscore < 2) return kDefaultBaudRate;
  return LeadingDigits(field, underscore + 1, 0xFFFFFFFFu, "baud rate");
}

void SerialPortSettings::Parse(const std::u16string& text) {
  std::vector<std::u16string> fields = CheckAndTokenize(text);
  if (fields.empty()) throw PortSettingsError("port settings: COM port settings name no port");
  std::u16string name = u"\\\\.\\" + fields[0];
  CheckFits("port name", name, kPortNameCapacity);
  uint32_t baudRate = fields.size() >= 2 ? BaudRateFromField(fields[1]) : kDefaultBaudRate;
  // Everything is checked; only now change the object.
  SetSettingsText(text);
  SetPortName(name);
  baudRate_ = baudRate;
}

}  // namespace IO
}  // namespace QEL
