#pragma once
// The language file beside the executable and the choice of its section.
// The file is read afresh on every lookup, so an edit shows the next time a
// window loads its texts. A key that the file lacks (or a file that is
// missing) yields the key's design text; a text the file supplies always
// wins, even an empty one.
#include <cstdint>
#include <string>

namespace tool {

constexpr const char16_t* kLanguageCollectSection = u"LanguageCollect";
constexpr const char* kLanguageFileName = "Language.ini";

// The section for `systemLanguageId` (e.g. 2052): its decimal text when that
// occurs anywhere within the "List" text of LanguageCollect, else the file's
// "DefaultLanguageID" (design values when the file lacks them).
std::u16string ChooseLanguageSection(const std::string& iniPath, uint32_t systemLanguageId);

class LanguageTexts {
 public:
  LanguageTexts() = default;
  explicit LanguageTexts(std::string iniPath, std::u16string section = u"1033");

  // Chooses the section as at start-up.
  void ChooseLanguage(uint32_t systemLanguageId);
  void SetSection(std::u16string section) { section_ = std::move(section); }
  const std::u16string& section() const { return section_; }
  const std::string& path() const { return path_; }

  // The key's text in the chosen section, or its design text.
  std::u16string Text(const std::u16string& key) const;
  // A value of the LanguageCollect section (e.g. "CodepageIDList"), or its
  // design value.
  std::u16string CollectValue(const std::u16string& key) const;

 private:
  std::string path_;
  std::u16string section_ = u"1033";
};

}  // namespace tool
