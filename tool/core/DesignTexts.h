#pragma once
// The English texts the windows were designed with, one per language-file
// key. They stand in for every key the language file does not supply, so a
// missing or incomplete file still gives readable windows.
#include <string>

namespace tool {

// The design text of a key of a language section (e.g. "FormD_AddPrinter"),
// or null when the key is unknown.
const char16_t* DesignText(const std::u16string& key);
// The same for the keys of the "LanguageCollect" section ("List",
// "DefaultLanguageID", "DefaultLanguageName", "CodepageIDList").
const char16_t* DesignCollectValue(const std::u16string& key);

// Every key with a design text, in the order the windows list them (the
// shipped English section is checked against it).
const char16_t* const* DesignTextKeys(size_t* count);

}  // namespace tool
