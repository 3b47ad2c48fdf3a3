#pragma once
// Settings of a serial (COM) port: "COM1,BaudRate_115200".
#include <cstdint>

#include "so/io/CPortSettingsBase.h"

namespace QEL {
namespace IO {

class SerialPortSettings : public CPortSettingsBase {
 public:
  static constexpr uint32_t kDefaultBaudRate = 115200;

  SerialPortSettings();

  // The port name ("\\.\" + COM name) as the canonical text.
  std::u16string ToString() override;
  // Field 1: COM port name; field 2: "BaudRate_" and the rate. A text without
  // any field names no port and is refused.
  void Parse(const std::u16string& text) override;

  uint32_t GetBaudRate() const { return baudRate_; }

  // Baud rate of a second field: the digits after its first '_'. Without '_',
  // or with '_' as its first or second character, 115200.
  static uint32_t BaudRateFromField(const std::u16string& field);

 private:
  uint32_t baudRate_ = kDefaultBaudRate;
};

}  // namespace IO
}  // namespace QEL
