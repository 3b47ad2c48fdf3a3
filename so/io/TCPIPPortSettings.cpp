#include "so/io/TCPIPPortSettings.h"

#include "platform/code_page.h"
#include "so/io/PortSettingsError.h"

namespace QEL {
namespace IO {

namespace {

std::string ToAnsiAddress(const std::u16string& text) {
  size_t needed = platform::WideToMultiByte(platform::kAnsiCodePage, text.data(), text.size(),
                                            nullptr, 0);
  if (needed > TCPIPPortSettings::kAddressCapacity) {
    throw PortSettingsError("port settings: TCP/IP address is " + std::to_string(needed) +
                            " bytes long, at most " +
                            std::to_string(TCPIPPortSettings::kAddressCapacity) + " fit");
  }
  if (needed == 0) throw PortSettingsError("port settings: TCP/IP address cannot be converted");
  char buffer[TCPIPPortSettings::kAddressCapacity];
  size_t written = platform::WideToMultiByte(platform::kAnsiCodePage, text.data(), text.size(),
                                             buffer, sizeof buffer);
  if (written == 0) throw PortSettingsError("port settings: TCP/IP address cannot be converted");
  return std::string(buffer, written);
}

}  // namespace

TCPIPPortSettings::TCPIPPortSettings() : CPortSettingsBase(u"TCP/IP", u"Auto") {}

std::u16string TCPIPPortSettings::ToString() {
  SetSettingsText(platform::MultiByteToWide(platform::kAnsiCodePage, address_.data(), address_.size()));
  return GetSettingsText();
}

void TCPIPPortSettings::Parse(const std::u16string& text) {
  std::vector<std::u16string> fields = CheckAndTokenize(text);
  if (fields.empty()) return;
  std::string address = ToAnsiAddress(fields[0]);
  uint16_t tcpPort = tcpPort_;
  if (fields.size() >= 2) {
    tcpPort = static_cast<uint16_t>(LeadingDigits(fields[1], 0, 0xFFFFu, "TCP port"));
  }
  address_ = address;
  tcpPort_ = tcpPort;
}

}  // namespace IO
}  // namespace QEL
