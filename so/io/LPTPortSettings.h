#pragma once
// Settings of a parallel port: the device name ("LPT1") is the whole text.
#include "so/io/CPortSettingsBase.h"

namespace QEL {
namespace IO {

class LPTPortSettings : public CPortSettingsBase {
 public:
  LPTPortSettings();

  std::u16string ToString() override;
  // Field 1 is the port name, used unchanged as the device path. A text
  // without any field names no port and is refused.
  void Parse(const std::u16string& text) override;
};

}  // namespace IO
}  // namespace QEL
