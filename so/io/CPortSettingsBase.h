#pragma once
// Common fields of every port's settings. Text fields have fixed capacities
// (the registry tool and older service objects stored them in fixed buffers);
// a value that does not fit is refused with PortSettingsError and the object
// keeps its previous values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "so/io/IPortSettings.h"

namespace QEL {
namespace IO {

class CPortSettingsBase : public IPortSettings {
 public:
  // Capacities in UTF-16 code units, without a terminator.
  static constexpr size_t kPortNameCapacity = 254;
  static constexpr size_t kPortTypeCapacity = 31;
  static constexpr size_t kSettingsTextCapacity = 511;
  static constexpr size_t kSeparatorsCapacity = 9;
  static constexpr int32_t kDefaultSizeValue = 2048;
  static constexpr int32_t kDefaultTimeoutMs = 1000;

  CPortSettingsBase();

  std::u16string ToString() override;
  void Parse(const std::u16string& text) override;
  std::u16string GetPortName() override { return portName_; }
  std::u16string GetPortType() override { return portType_; }
  int32_t GetFirstSizeValue() override { return firstSize_; }
  int32_t GetSecondSizeValue() override { return secondSize_; }
  int32_t GetWriteTimeout() override { return writeTimeoutMs_; }
  int32_t GetReadTimeout() override { return readTimeoutMs_; }

  // The last text given to Parse, or what ToString last produced.
  const std::u16string& GetSettingsText() const { return settingsText_; }
  const std::u16string& GetSeparators() const { return separators_; }
  void SetSeparators(const std::u16string& separators);

 protected:
  CPortSettingsBase(const std::u16string& portType, const std::u16string& portName);

  // Throws PortSettingsError naming `field` when text is longer than capacity.
  static void CheckFits(const char* field, const std::u16string& text, size_t capacity);
  // Checks the text against the settings-text capacity and splits it with
  // the separator set; changes nothing.
  std::vector<std::u16string> CheckAndTokenize(const std::u16string& text) const;
  // The decimal number formed by the digits at text[from...] up to the first
  // non-digit; no digit gives 0. A number above `max` does not fit its field
  // and throws PortSettingsError naming `field`.
  static uint32_t LeadingDigits(const std::u16string& text, size_t from, uint32_t max,
                                const char* field);

  void SetPortName(const std::u16string& name);
  void SetSettingsText(const std::u16string& text);

 private:
  std::u16string portName_;
  std::u16string portType_;
  std::u16string settingsText_;
  int32_t firstSize_ = kDefaultSizeValue;
  int32_t secondSize_ = kDefaultSizeValue;
  int32_t writeTimeoutMs_ = kDefaultTimeoutMs;
  int32_t readTimeoutMs_ = kDefaultTimeoutMs;
  std::u16string separators_ = u",";
};

}  // namespace IO
}  // namespace QEL
