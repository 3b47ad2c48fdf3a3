#pragma once
// Settings of a network printer: "192.168.0.32,9100" (IPv4 dotted address,
// then the TCP port).
#include <cstddef>
#include <cstdint>
#include <string>

#include "so/io/CPortSettingsBase.h"

namespace QEL {
namespace IO {

class TCPIPPortSettings : public CPortSettingsBase {
 public:
  // Bytes of the address in the ANSI code page, without a terminator.
  static constexpr size_t kAddressCapacity = 19;
  static constexpr uint16_t kDefaultTcpPort = 9100;

  TCPIPPortSettings();

  // The address (the TCP port is not part of it).
  std::u16string ToString() override;
  // Field 1: the address, kept in the ANSI code page; field 2: the TCP port
  // (its leading digits). A text without fields changes nothing; a port
  // number above 65535 is refused rather than cut to 16 bits.
  void Parse(const std::u16string& text) override;

  const std::string& GetAddress() const { return address_; }
  uint16_t GetTcpPort() const { return tcpPort_; }

 private:
  std::string address_ = "192.168.0.32";
  uint16_t tcpPort_ = kDefaultTcpPort;
};

}  // namespace IO
}  // namespace QEL
