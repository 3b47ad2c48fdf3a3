#include "tool/core/Language.h"

#include <optional>
#include <utility>

#include "tool/core/DesignTexts.h"
#include "tool/core/IniFile.h"

namespace tool {

namespace {

std::u16string CollectValueOf(const IniFile& file, const std::u16string& key) {
  if (std::optional<std::u16string> value = file.Find(kLanguageCollectSection, key)) return *value;
  const char16_t* design = DesignCollectValue(key);
  return design ? design : u"";
}

std::u16string Decimal(uint32_t value) {
  std::u16string text;
  do {
    text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  return text;
}

}  // namespace

std::u16string ChooseLanguageSection(const std::string& iniPath, uint32_t systemLanguageId) {
  const IniFile file = IniFile::Load(iniPath);
  const std::u16string id = Decimal(systemLanguageId);
  // A substring test, as the list has always been read: "21033" admits 1033.
  if (CollectValueOf(file, u"List").find(id) != std::u16string::npos) return id;
  return CollectValueOf(file, u"DefaultLanguageID");
}

LanguageTexts::LanguageTexts(std::string iniPath, std::u16string section)
    : path_(std::move(iniPath)), section_(std::move(section)) {}

void LanguageTexts::ChooseLanguage(uint32_t systemLanguageId) {
  section_ = ChooseLanguageSection(path_, systemLanguageId);
}

std::u16string LanguageTexts::Text(const std::u16string& key) const {
  if (std::optional<std::u16string> value = IniFile::Load(path_).Find(section_, key)) return *value;
  const char16_t* design = DesignText(key);
  return design ? design : u"";
}

std::u16string LanguageTexts::CollectValue(const std::u16string& key) const {
  return CollectValueOf(IniFile::Load(path_), key);
}

}  // namespace tool
