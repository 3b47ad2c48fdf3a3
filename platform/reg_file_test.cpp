#include "platform/reg_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace {

const char kSample[] =
    "Windows Registry Editor Version 5.00\n"
    "\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\POSPrinter]\n"
    "\"Receipt\"=\"TRAIL-3_01\"\n"
    "\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\POSPrinter\\TRAIL-3_01]\n"
    "@=\"TarrowOposPrinterU1.13\"\n"
    "\"PortSettings\"=\"C:\\\\pos\\\\out.bin,C:\\\\pos\\\\in.bin\"\n"
    "\"Notes\"=\"say \\\"hi\\\"\"\n"
    "\"Retries\"=dword:00000003\n";

RegFile MustParse(const std::string& text) {
  RegFile file;
  std::string error;
  EXPECT_TRUE(RegFile::Parse(text, &file, &error)) << error;
  return file;
}

std::u16string DataOf(const RegFile& file, const std::u16string& key, const std::u16string& name) {
  const RegFileKey* k = file.FindKey(key);
  const RegFileValue* v = k ? RegFile::FindValue(*k, name) : nullptr;
  return v ? v->data : u"<none>";
}

const std::u16string kDevice =
    u"HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\POSPrinter\\TRAIL-3_01";

TEST(RegFile, WritesBackWhatItRead) {
  RegFile file = MustParse(kSample);
  EXPECT_EQ(file.Serialise(), kSample);
}

TEST(RegFile, QuotesAndBackslashesAreUnescaped) {
  RegFile file = MustParse(kSample);
  EXPECT_EQ(DataOf(file, kDevice, u"PortSettings"), u"C:\\pos\\out.bin,C:\\pos\\in.bin");
  EXPECT_EQ(DataOf(file, kDevice, u"Notes"), u"say \"hi\"");
  EXPECT_EQ(DataOf(file, kDevice, u""), u"TarrowOposPrinterU1.13");
}

TEST(RegFile, NamesMatchWhateverTheirLetterCaseAndKeepTheirOrder) {
  RegFile file = MustParse(kSample);
  const std::u16string shouted =
      u"hkey_local_machine\\software\\oleforretail\\serviceopos\\posprinter\\trail-3_01";
  ASSERT_NE(file.FindKey(shouted), nullptr);
  EXPECT_EQ(DataOf(file, shouted, u"PORTSETTINGS"), u"C:\\pos\\out.bin,C:\\pos\\in.bin");

  RegFileKey* key = file.FindKey(shouted);
  RegFile::SetValue(key, RegFileValue{u"notes", true, u"new"});
  RegFile::SetValue(key, RegFileValue{u"Added", true, u"last"});
  std::vector<std::u16string> names;
  for (const RegFileValue& v : key->values) names.push_back(v.name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"", u"PortSettings", u"Notes", u"Retries", u"Added"}));
  EXPECT_EQ(DataOf(file, kDevice, u"Notes"), u"new");
  EXPECT_TRUE(SameRegistryName(u"\u00e9t\u00e9", u"\u00c9T\u00c9"));
  EXPECT_FALSE(SameRegistryName(u"Receipt", u"Receipt2"));
}

TEST(RegFile, ValuesOfOtherTypesAreKeptAsWritten) {
  RegFile file = MustParse(
      "Windows Registry Editor Version 5.00\n"
      "[HKEY_CURRENT_USER\\T]\n"
      "\"Number\"=dword:0000001f\n"
      "\"Multi\"=hex(7):41,00,00,00,\\\n"
      "  00,00\n"
      "\"Blob\"=hex:\n");
  const RegFileKey* key = file.FindKey(u"HKEY_CURRENT_USER\\T");
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(key->values.size(), 3u);
  EXPECT_FALSE(key->values[0].isString);
  EXPECT_EQ(key->values[0].data, u"dword:0000001f");
  EXPECT_FALSE(key->values[1].isString);
  EXPECT_EQ(key->values[1].data, u"hex(7):41,00,00,00,00,00");
  EXPECT_EQ(key->values[2].data, u"hex:");
  RegFile again = MustParse(file.Serialise());
  EXPECT_EQ(again.Serialise(), file.Serialise());
}

TEST(RegFile, StringsWithLineBreaksTravelAsHexStrings) {
  RegFile file;
  ASSERT_TRUE(file.CreateKey(u"HKEY_CURRENT_USER\\T"));
  RegFile::SetValue(file.FindKey(u"HKEY_CURRENT_USER\\T"), RegFileValue{u"Two", true, u"a\r\nb"});
  std::string text = file.Serialise();
  EXPECT_NE(text.find("\"Two\"=hex(1):61,00,0d,00,0a,00,62,00,00,00\n"), std::string::npos) << text;
  EXPECT_EQ(DataOf(MustParse(text), u"HKEY_CURRENT_USER\\T", u"Two"), u"a\r\nb");
}

TEST(RegFile, ReadsRegeditsUtf16Export) {
  std::u16string text = u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\T]\r\n\"A\"=\"\u00e4\"\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  EXPECT_EQ(DataOf(MustParse(bytes), u"HKEY_CURRENT_USER\\T", u"A"), u"\u00e4");
}

TEST(RegFile, EmptyTextIsAnEmptyRegistry) {
  EXPECT_TRUE(MustParse("").Keys().empty());
  EXPECT_TRUE(MustParse(" \n\n").Keys().empty());
}

TEST(RegFile, MalformedTextIsRefusedNamingTheLine) {
  struct Case {
    const char* text;
    int line;
  };
  const std::string h = "Windows Registry Editor Version 5.00\n";
  const Case cases[] = {
      {"[HKEY_CURRENT_USER\\T]\n", 1},                                 // no header
      {"\n\nWindows Registry Editor Version 4\n", 3},                  // wrong header
      {"W\n", 1},
  };
  const std::string withHeader[][2] = {
      {"\"A\"=\"x\"\n", "2"},                                         // value before any key
      {"[HKEY_CURRENT_USER\\T]\n\"A\"=\"x\n", "3"},                   // quote not closed
      {"[HKEY_CURRENT_USER\\T]\n\"A\" \"x\"\n", "3"},                 // no '='
      {"[HKEY_CURRENT_USER\\T]\n\"A\"=\"x\" y\n", "3"},               // text after the quote
      {"[HKEY_CURRENT_USER\\T]\n\"A\"=\"C:\\pos\"\n", "3"},           // single backslash
      {"[HKEY_CURRENT_USER\\T]\n\"A\"=dword:123456789\n", "3"},       // nine digits
      {"[HKEY_CURRENT_USER\\T]\n\"A\"=dword:\n", "3"},
      {"[HKEY_CURRENT_USER\\T]\n\"A\"=hex:0g\n", "3"},
      {"[HKEY_CURRENT_USER\\T]\n\"A\"=hex:00,\n", "3"},
      {"[HKEY_CURRENT_USER\\T]\n\"A\"=hex(1):41\n", "3"},             // half a character
      {"[HKEY_CURRENT_USER\\T]\n\"A\"=hex(7):00,\\\n", "3"},          // continues past the end
      {"[HKEY_CURRENT_USER\\T]\n\"A\"=string:x\n", "3"},
      {"[HKEY_CURRENT_USER\\T]\n\"A\"=-\n", "3"},                     // deletion
      {"[-HKEY_CURRENT_USER\\T]\n", "2"},                            // deletion
      {"[HKEY_NOWHERE\\T]\n", "2"},
      {"[HKEY_CURRENT_USER\\\\T]\n", "2"},                           // empty part
      {"[HKEY_CURRENT_USER\\T\n", "2"},
      {"[HKEY_CURRENT_USER\\T]\n\"A\"=\"1\"\n\n\"a\"=\"2\"\n", "5"},  // same value twice
      {"[HKEY_CURRENT_USER\\T]\n\"A\"=\"\xC3\"\n", "3"},              // broken UTF-8
      {"[HKEY_CURRENT_USER\\T]\nA=\"1\"\n", "3"},                     // unquoted name
  };
  for (const Case& c : cases) {
    RegFile file;
    std::string error;
    EXPECT_FALSE(RegFile::Parse(c.text, &file, &error)) << c.text;
    EXPECT_EQ(error.rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << c.text << " -> " << error;
  }
  for (const auto& c : withHeader) {
    RegFile file = MustParse(h + "[HKEY_CURRENT_USER\\Kept]\n");
    std::string error;
    EXPECT_FALSE(RegFile::Parse(h + c[0], &file, &error)) << c[0];
    EXPECT_EQ(error.rfind("line " + c[1] + ": ", 0), 0u) << c[0] << " -> " << error;
    EXPECT_NE(file.FindKey(u"HKEY_CURRENT_USER\\Kept"), nullptr) << "a refused parse changed its target";
  }
}

TEST(RegFile, CommentsBlankLinesAndRepeatedKeysAreAccepted) {
  RegFile file = MustParse(
      "Windows Registry Editor Version 5.00\n"
      "; written by hand\n"
      "[HKEY_CURRENT_USER\\T]\n"
      "  \"A\" = \"1\"  \n"
      "[HKEY_CURRENT_USER\\U]\n"
      "[hkey_current_user\\t]\n"
      "\"B\"=\"2\"\n");
  ASSERT_EQ(file.Keys().size(), 2u);
  EXPECT_EQ(file.Keys()[0].values.size(), 2u);
  EXPECT_EQ(DataOf(file, u"HKEY_CURRENT_USER\\T", u"B"), u"2");
}

TEST(RegFile, KeysFormATree) {
  RegFile file = MustParse(
      "Windows Registry Editor Version 5.00\n"
      "[HKEY_CURRENT_USER\\A\\Zeta\\Deep]\n"
      "[HKEY_CURRENT_USER\\A\\Alpha]\n"
      "[HKEY_CURRENT_USER\\AB]\n");
  // A key exists through the keys below it, and its subkeys come in file order.
  EXPECT_TRUE(file.KeyExists(u"HKEY_CURRENT_USER\\a"));
  EXPECT_TRUE(file.KeyExists(u"HKEY_CURRENT_USER"));
  EXPECT_FALSE(file.KeyExists(u"HKEY_CURRENT_USER\\A\\Al"));
  EXPECT_EQ(file.SubkeyNames(u"HKEY_CURRENT_USER\\A"), (std::vector<std::u16string>{u"Zeta", u"Alpha"}));
  EXPECT_EQ(file.SubkeyNames(u"HKEY_CURRENT_USER"), (std::vector<std::u16string>{u"A", u"AB"}));

  // A new key goes after its parent's subtree, with its missing parents.
  EXPECT_TRUE(file.CreateKey(u"HKEY_CURRENT_USER\\A\\Zeta\\New"));
  EXPECT_TRUE(file.CreateKey(u"HKEY_CURRENT_USER\\A\\Beta"));
  EXPECT_FALSE(file.CreateKey(u"HKEY_CURRENT_USER\\a\\beta"));
  std::vector<std::u16string> order;
  for (const RegFileKey& k : file.Keys()) order.push_back(k.path);
  EXPECT_EQ(order, (std::vector<std::u16string>{
                       u"HKEY_CURRENT_USER\\A", u"HKEY_CURRENT_USER\\A\\Zeta",
                       u"HKEY_CURRENT_USER\\A\\Zeta\\Deep", u"HKEY_CURRENT_USER\\A\\Zeta\\New",
                       u"HKEY_CURRENT_USER\\A\\Alpha", u"HKEY_CURRENT_USER\\A\\Beta",
                       u"HKEY_CURRENT_USER\\AB"}));
  EXPECT_EQ(file.SubkeyNames(u"HKEY_CURRENT_USER\\A"),
            (std::vector<std::u16string>{u"Zeta", u"Alpha", u"Beta"}));

  // Deleting a key takes its subtree, not a sibling that shares its prefix.
  EXPECT_TRUE(file.DeleteKeyTree(u"HKEY_CURRENT_USER\\a"));
  EXPECT_FALSE(file.KeyExists(u"HKEY_CURRENT_USER\\A\\Zeta\\Deep"));
  EXPECT_TRUE(file.KeyExists(u"HKEY_CURRENT_USER\\AB"));
  EXPECT_FALSE(file.DeleteKeyTree(u"HKEY_CURRENT_USER\\A"));
  EXPECT_FALSE(file.DeleteKeyTree(u"HKEY_CURRENT_USER"));
}

TEST(RegFile, KeyPathsMustBeWritableAsKeyLines) {
  EXPECT_TRUE(RegFile::IsValidKeyPath(u"HKEY_LOCAL_MACHINE"));
  EXPECT_TRUE(RegFile::IsValidKeyPath(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\a]b"));
  EXPECT_FALSE(RegFile::IsValidKeyPath(u"SOFTWARE\\X"));
  EXPECT_FALSE(RegFile::IsValidKeyPath(u"HKEY_LOCAL_MACHINE\\"));
  EXPECT_FALSE(RegFile::IsValidKeyPath(u"HKEY_LOCAL_MACHINE\\a\nb"));
  EXPECT_FALSE(RegFile::IsValidValueName(u"a\nb"));
  // A key name ending in ] still reads back.
  RegFile file;
  file.CreateKey(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\a]");
  EXPECT_NE(MustParse(file.Serialise()).FindKey(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\a]"), nullptr);
}

}  // namespace
}  // namespace platform
