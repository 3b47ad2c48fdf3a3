#pragma once
// A USB printer found by its vendor/product identifier. Device discovery is
// not part of this build yet: the device path stays empty and Open refuses the
// port with an error text.
#include <cstdint>

#include "so/io/CSystemPort.h"
#include "so/io/USBPortSettings.h"

namespace QEL {
namespace IO {

class USBPort : public CSystemPort {
 public:
  // Keeps `settings` (not a copy): the identifier filter is read from it at
  // every device search, so it must outlive the port.
  explicit USBPort(USBPortSettings* settings);
  ~USBPort() override;

  // 1 when the device belongs to the family that answers status requests.
  int32_t QueryReadBack() override { return deviceFamily_; }
  int32_t Open() override;
  void RefreshDevicePath() override;

 private:
  USBPortSettings* settings_;
  int32_t deviceFamily_ = 0;
};

}  // namespace IO
}  // namespace QEL
