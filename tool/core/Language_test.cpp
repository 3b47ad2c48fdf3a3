#include "tool/core/Language.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

#include "tool/core/DesignTexts.h"
#include "tool/core/IniFile.h"
#include "tool/core/StringHelpers.h"

namespace tool {
namespace {

// A language file of the test's own, gone afterwards.
class LanguageFileTest : public ::testing::Test {
 protected:
  LanguageFileTest() {
    static std::atomic<unsigned> counter{0};
    folder_ = std::filesystem::temp_directory_path() /
              ("zobelso_language_" + std::to_string(std::random_device()()) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(folder_);
  }
  ~LanguageFileTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::string Write(const std::string& bytes) {
    const std::filesystem::path file = folder_ / "Language.ini";
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
  }
  std::string Absent() const { return (folder_ / "none" / "Language.ini").string(); }

  std::filesystem::path folder_;
};

TEST(IniFileTest, NamesIgnoreLetterCaseAndBlanksAndTheFirstKeyWins) {
  const IniFile file = IniFile::Parse(
      "; comment\r\n"
      "orphan=before any section\r\n"
      "[ LanguageCollect ]\r\n"
      "  list = 2052,1033  \r\n"
      "List=ignored second\r\n"
      "[1033]\n"
      "FormD_MSG_DeleteNode=\"Do you want to delete \"\n"
      "Quoted='x'\n"
      "Empty=\n"
      "# also a comment=no\n"
      "Equals=a=b\n");
  EXPECT_EQ(file.Read(u"LANGUAGECOLLECT", u"List"), u"2052,1033");
  EXPECT_EQ(file.Read(u"1033", u"formd_msg_deletenode"), u"Do you want to delete ");
  EXPECT_EQ(file.Read(u"1033", u"Quoted"), u"x");
  EXPECT_EQ(file.Read(u"1033", u"Equals"), u"a=b");
  ASSERT_TRUE(file.Find(u"1033", u"Empty").has_value());
  EXPECT_EQ(*file.Find(u"1033", u"Empty"), u"");
  EXPECT_FALSE(file.Find(u"1033", u"# also a comment").has_value());
  EXPECT_FALSE(file.Find(u"", u"orphan").has_value());
  EXPECT_FALSE(file.Find(u"2052", u"List").has_value());
}

TEST(IniFileTest, ReadsUtf16WithItsMarkAndUtf8WithOrWithoutIt) {
  const std::u16string expected = u"\u6253\u5370\u673a\u8bbe\u7f6e";  // five CJK characters
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : u"[2052]\r\nFormD_frmDevice=" + expected + u"\r\n") {
    utf16.push_back(static_cast<char>(c & 0xFF));
    utf16.push_back(static_cast<char>(c >> 8));
  }
  EXPECT_EQ(IniFile::Parse(utf16).Read(u"2052", u"FormD_frmDevice"), expected);

  const std::string utf8Text =
      "[2052]\nFormD_frmDevice=\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA\xE8\xAE\xBE\xE7\xBD\xAE\n";
  EXPECT_EQ(IniFile::Parse(utf8Text).Read(u"2052", u"FormD_frmDevice"), expected);
  EXPECT_EQ(IniFile::Parse("\xEF\xBB\xBF" + utf8Text).Read(u"2052", u"FormD_frmDevice"), expected);
  // A character outside the basic plane becomes a surrogate pair; a stray byte
  // becomes the replacement character instead of ending the text.
  EXPECT_EQ(IniFile::Parse("[s]\nk=\xF0\x9F\x96\xA8-\xFF-\n").Read(u"s", u"k"), u"\U0001F5A8-\uFFFD-");
}

struct ChoiceCase {
  const char* file;
  uint32_t system;
  const char16_t* section;
};

TEST_F(LanguageFileTest, TheSystemLanguageIsTakenWhenTheListNamesItElseTheDefault) {
  const ChoiceCase cases[] = {
      {"[LanguageCollect]\nList=2052\nDefaultLanguageID=2052\n", 1033, u"2052"},
      {"[LanguageCollect]\nList=2052,1033\nDefaultLanguageID=2052\n", 1033, u"1033"},
      // A substring test: 21033 names 1033.
      {"[LanguageCollect]\nList=21033\nDefaultLanguageID=2052\n", 1033, u"1033"},
      {"[LanguageCollect]\nList=1033\nDefaultLanguageID=1041\n", 2052, u"1041"},
      // What the file lacks comes from the English design values.
      {"[LanguageCollect]\nList=2052\n", 1031, u"1033"},
      {"[1033]\nFormD_frmDevice=x\n", 1033, u"1033"},
      {"[1033]\nFormD_frmDevice=x\n", 2052, u"1033"},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(ChooseLanguageSection(Write(c.file), c.system), c.section);
  }
  EXPECT_EQ(ChooseLanguageSection(Absent(), 2052), u"1033");
}

TEST_F(LanguageFileTest, ATextTheFileSuppliesWinsAndAMissingOneFallsBackToTheDesignText) {
  LanguageTexts texts(Write("[LanguageCollect]\nList=2052\nDefaultLanguageID=2052\n"
                            "[2052]\nFormD_AddPrinter=\xE6\xB7\xBB\xE5\x8A\xA0\nFormD_btnQuit=\n"
                            "[1033]\nFormD_ModifyPrinter=From the English section\n"));
  texts.ChooseLanguage(1033);
  EXPECT_EQ(texts.section(), u"2052");
  EXPECT_EQ(texts.Text(u"FormD_AddPrinter"), u"\u6dfb\u52a0");
  EXPECT_EQ(texts.Text(u"FormD_btnQuit"), u"");  // supplied, though empty
  // Missing in the chosen section: the design text, not another section's.
  EXPECT_EQ(texts.Text(u"FormD_ModifyPrinter"), u"Modify Printer(&M)");
  EXPECT_EQ(texts.Text(u"FormD_MSG_DeleteNode"), u"Do you want to delete ");
  EXPECT_EQ(texts.Text(u"NoSuchKey"), u"");
  EXPECT_EQ(texts.CollectValue(u"CodepageIDList"), DesignCollectValue(u"CodepageIDList"));
}

TEST_F(LanguageFileTest, TheFileIsReadAfreshOnEveryLookup) {
  LanguageTexts texts(Write("[1033]\nFormD_btnQuit=First\n"));
  EXPECT_EQ(texts.Text(u"FormD_btnQuit"), u"First");
  Write("[1033]\nFormD_btnQuit=Second\n");
  EXPECT_EQ(texts.Text(u"FormD_btnQuit"), u"Second");
}

TEST_F(LanguageFileTest, WithoutAFileEveryKnownKeyHasItsDesignText) {
  LanguageTexts texts(Absent());
  texts.ChooseLanguage(2052);
  size_t count = 0;
  const char16_t* const* keys = DesignTextKeys(&count);
  ASSERT_GT(count, 60u);
  for (size_t i = 0; i < count; ++i) {
    SCOPED_TRACE(ToAscii(keys[i]));
    EXPECT_FALSE(texts.Text(keys[i]).empty());
  }
  EXPECT_EQ(texts.Text(u"FormD_AddPrinter"), u"Add Printer(&A)");
  EXPECT_EQ(texts.Text(u"FormAP_lblUSBPort"), u"Automatic identification port.");
}

// The shipped file lies beside the test program (the build copies it there).
TEST(ShippedLanguageFileTest, ItsEnglishSectionHoldsEveryKeyWithItsDesignText) {
  const IniFile file = IniFile::Load("Language.ini");
  EXPECT_EQ(file.Read(kLanguageCollectSection, u"DefaultLanguageID"), u"1033");
  EXPECT_NE(file.Read(kLanguageCollectSection, u"List").find(u"1033"), std::u16string::npos);
  size_t count = 0;
  const char16_t* const* keys = DesignTextKeys(&count);
  for (size_t i = 0; i < count; ++i) {
    SCOPED_TRACE(ToAscii(keys[i]));
    EXPECT_EQ(file.Find(u"1033", keys[i]).value_or(u"<missing>"), DesignText(keys[i]));
  }
  // The code-page names and numbers pair one to one.
  EXPECT_EQ(Split(file.Read(u"1033", u"FormSetCodepage_cmbCodepage_Items"), u",").size(),
            Split(file.Read(kLanguageCollectSection, u"CodepageIDList"), u",").size());
}

}  // namespace
}  // namespace tool
