// Any PortSettings text for any port type: parsing either succeeds or throws
// a configuration error; it never crashes or writes out of bounds.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "so/io/PortFactory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const char16_t* const kTypes[] = {u"COM", u"LPT", u"TCP/IP", u"FILE", u"USB", u"com", u""};
  const std::u16string type = kTypes[data[0] % (sizeof kTypes / sizeof kTypes[0])];
  std::u16string text;
  for (size_t i = 1; i + 1 < size; i += 2) {
    text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  try {
    std::unique_ptr<QEL::IO::IPortSettings> settings = QEL::IO::CreatePortSettings(type);
    settings->Parse(text);
    (void)settings->ToString();
    (void)settings->GetPortName();
    std::unique_ptr<QEL::IO::IPort> port = QEL::IO::CreatePort(settings.get());
    (void)port->GetSettings()->ToString();
  } catch (int32_t) {
  } catch (const std::exception&) {
  }
  return 0;
}
