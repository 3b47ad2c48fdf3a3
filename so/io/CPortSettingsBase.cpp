#include "so/io/CPortSettingsBase.h"

#include "so/io/PortSettingsError.h"
#include "so/io/TokenizeSettings.h"

namespace QEL {
namespace IO {

CPortSettingsBase::CPortSettingsBase() : CPortSettingsBase(u"USB", u"Auto") {}

CPortSettingsBase::CPortSettingsBase(const std::u16string& portType, const std::u16string& portName)
    : portName_(portName), portType_(portType) {}

std::u16string CPortSettingsBase::ToString() { return std::u16string(); }

void CPortSettingsBase::Parse(const std::u16string&) {}

void CPortSettingsBase::SetSeparators(const std::u16string& separators) {
  CheckFits("separator set", separators, kSeparatorsCapacity);
  separators_ = separators;
}

void CPortSettingsBase::CheckFits(const char* field, const std::u16string& text, size_t capacity) {
  if (text.size() > capacity) {
    throw PortSettingsError(std::string("port settings: ") + field + " is " +
                            std::to_string(text.size()) + " characters long, at most " +
                            std::to_string(capacity) + " fit");
  }
}

std::vector<std::u16string> CPortSettingsBase::CheckAndTokenize(const std::u16string& text) const {
  CheckFits("settings text", text, kSettingsTextCapacity);
  return TokenizeSettings(text, separators_);
}

uint32_t CPortSettingsBase::LeadingDigits(const std::u16string& text, size_t from, uint32_t max,
                                          const char* field) {
  uint64_t value = 0;
  for (size_t i = from; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + static_cast<uint64_t>(text[i] - u'0');
    if (value > max) {
      throw PortSettingsError(std::string("port settings: ") + field + " is larger than " +
                              std::to_string(max));
    }
  }
  return static_cast<uint32_t>(value);
}

void CPortSettingsBase::SetPortName(const std::u16string& name) {
  CheckFits("port name", name, kPortNameCapacity);
  portName_ = name;
}

void CPortSettingsBase::SetSettingsText(const std::u16string& text) {
  CheckFits("settings text", text, kSettingsTextCapacity);
  settingsText_ = text;
}

}  // namespace IO
}  // namespace QEL
