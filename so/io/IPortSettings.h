#pragma once
// The settings of one printer port, made from the PortType and PortSettings
// values of a device key.
#include <cstdint>
#include <string>

namespace QEL {
namespace IO {

class IPortSettings {
 public:
  virtual std::u16string ToString() = 0;
  virtual void Parse(const std::u16string& text) = 0;
  virtual std::u16string GetPortName() = 0;
  virtual std::u16string GetPortType() = 0;
  virtual int32_t GetFirstSizeValue() = 0;
  virtual int32_t GetSecondSizeValue() = 0;
  virtual int32_t GetWriteTimeout() = 0;
  virtual int32_t GetReadTimeout() = 0;
  virtual ~IPortSettings() = default;
};

}  // namespace IO
}  // namespace QEL
