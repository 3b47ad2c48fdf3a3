// These tests run against the registry of the system they are built for: the
// .reg file store natively, the real registry under Windows (wine). The
// last group looks at the file itself and only runs where there is one.
#include "platform/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/registry_test_sandbox.h"

namespace platform {
namespace {

// In the order the registry lists them: the file keeps the order of writing,
// the system registry (wine at least) sorts by name.
std::vector<std::u16string> ValueNames(RegistryKey& key) {
  std::vector<RegistryValue> values;
  EXPECT_TRUE(key.Values(&values)) << key.ErrorText();
  std::vector<std::u16string> names;
  for (const RegistryValue& v : values) names.push_back(v.name);
  return names;
}

std::vector<std::u16string> Sorted(std::vector<std::u16string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

const RegistryValue* Find(const std::vector<RegistryValue>& values, const std::u16string& name) {
  for (const RegistryValue& v : values) {
    if (v.name == name) return &v;
  }
  return nullptr;
}

std::u16string Read(RegistryKey& key, const std::u16string& name) {
  std::u16string text;
  RegistryRead r = key.ReadString(name, 0, &text);
  EXPECT_EQ(r, RegistryRead::kOk) << key.ErrorText();
  return text;
}

TEST(Registry, StringsAreWrittenAndReadBackWithoutRegardToLetterCase) {
  RegistryTestSandbox box;
  std::unique_ptr<RegistryKey> key = box.registry().Create(box.Path(u"Device\\TRAIL-3_01"));
  ASSERT_TRUE(key) << box.registry().ErrorText();
  ASSERT_TRUE(key->WriteString(u"", u"TarrowOposPrinterU1.13"));
  ASSERT_TRUE(key->WriteString(u"PortSettings", u"C:\\pos\\out.bin,\"quoted\" \u00e4\u20ac"));
  ASSERT_TRUE(key->WriteString(u"Notes", u""));
  ASSERT_TRUE(key->WriteString(u"NOTES", u"second"));

  std::unique_ptr<RegistryKey> reader =
      box.OpenAgain()->Open(box.Path(u"device\\trail-3_01"), RegistryAccess::kRead);
  ASSERT_TRUE(reader);
  EXPECT_EQ(Read(*reader, u""), u"TarrowOposPrinterU1.13");
  EXPECT_EQ(Read(*reader, u"portsettings"), u"C:\\pos\\out.bin,\"quoted\" \u00e4\u20ac");
  EXPECT_EQ(Read(*reader, u"Notes"), u"second");
  // Rewriting a value keeps its first spelling.
  EXPECT_EQ(Sorted(ValueNames(*reader)), (std::vector<std::u16string>{u"", u"Notes", u"PortSettings"}));
}

TEST(Registry, ReadingTellsMissingWrongTypeAndTooLongApart) {
  RegistryTestSandbox box;
  std::unique_ptr<RegistryKey> key = box.registry().Create(box.Base());
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->WriteNumber(u"Number", 7));
  ASSERT_TRUE(key->WriteString(u"Fits", std::u16string(511, u'x')));
  ASSERT_TRUE(key->WriteString(u"Long", std::u16string(512, u'x')));

  std::u16string text = u"untouched";
  EXPECT_EQ(key->ReadString(u"Absent", 1024, &text), RegistryRead::kMissing);
  EXPECT_EQ(key->ReadString(u"Number", 1024, &text), RegistryRead::kNotString);
  EXPECT_EQ(key->ReadString(u"Number", 0, &text), RegistryRead::kNotString);
  // 1024 bytes hold 511 characters and the terminator.
  EXPECT_EQ(key->ReadString(u"Long", 1024, &text), RegistryRead::kTooLong);
  EXPECT_EQ(text, u"untouched");
  EXPECT_EQ(key->ReadString(u"Fits", 1024, &text), RegistryRead::kOk);
  EXPECT_EQ(text.size(), 511u);
  EXPECT_EQ(key->ReadString(u"Long", 0, &text), RegistryRead::kOk);
  EXPECT_EQ(text.size(), 512u);

  std::vector<RegistryValue> values;
  ASSERT_TRUE(key->Values(&values));
  ASSERT_EQ(values.size(), 3u);
  ASSERT_TRUE(Find(values, u"Number"));
  EXPECT_FALSE(Find(values, u"Number")->isString);
  EXPECT_EQ(Find(values, u"Number")->text, u"");
  ASSERT_TRUE(Find(values, u"Fits"));
  EXPECT_TRUE(Find(values, u"Fits")->isString);
  EXPECT_EQ(Find(values, u"Fits")->text, std::u16string(511, u'x'));
}

TEST(Registry, KeysAreCreatedWithTheirParentsListedAndDeletedWithTheirContent) {
  RegistryTestSandbox box;
  EXPECT_FALSE(box.registry().Open(box.Path(u"Class"), RegistryAccess::kRead));
  ASSERT_TRUE(box.registry().Create(box.Path(u"Class\\A_01\\Inner")));
  ASSERT_TRUE(box.registry().Create(box.Path(u"Class\\B_01")));
  ASSERT_TRUE(box.registry().Create(box.Path(u"Class\\C_01")));
  std::unique_ptr<RegistryKey> cls = box.registry().Open(box.Path(u"Class"), RegistryAccess::kReadWrite);
  ASSERT_TRUE(cls) << box.registry().ErrorText();
  ASSERT_TRUE(cls->WriteString(u"Receipt", u"A_01"));
  ASSERT_TRUE(cls->WriteString(u"Kitchen", u"B_01"));

  std::vector<std::u16string> names;
  ASSERT_TRUE(cls->SubkeyNames(&names));
  EXPECT_EQ(names, (std::vector<std::u16string>{u"A_01", u"B_01", u"C_01"}));

  EXPECT_TRUE(cls->DeleteSubkey(u"a_01"));
  EXPECT_FALSE(box.registry().Open(box.Path(u"Class\\A_01\\Inner"), RegistryAccess::kRead));
  EXPECT_FALSE(cls->DeleteSubkey(u"A_01"));
  EXPECT_TRUE(cls->DeleteValue(u"RECEIPT"));
  EXPECT_FALSE(cls->DeleteValue(u"Receipt"));
  ASSERT_TRUE(cls->SubkeyNames(&names));
  EXPECT_EQ(names, (std::vector<std::u16string>{u"B_01", u"C_01"}));
  EXPECT_EQ(ValueNames(*cls), (std::vector<std::u16string>{u"Kitchen"}));
}

TEST(Registry, AKeyDeletedWhileOpenFailsItsReads) {
  RegistryTestSandbox box;
  std::unique_ptr<RegistryKey> key = box.registry().Create(box.Path(u"Gone"));
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->WriteString(u"A", u"1"));
  std::unique_ptr<RegistryKey> parent = box.OpenAgain()->Open(box.Base(), RegistryAccess::kReadWrite);
  ASSERT_TRUE(parent);
  ASSERT_TRUE(parent->DeleteSubkey(u"Gone"));
  std::u16string text;
  EXPECT_NE(key->ReadString(u"A", 0, &text), RegistryRead::kOk);
  EXPECT_FALSE(key->WriteString(u"A", u"2"));
  EXPECT_FALSE(box.registry().Open(box.Path(u"Gone"), RegistryAccess::kRead));
}

// Two writers that each add their own values to one key: with a lost update
// some of the other's values would be missing at the end.
TEST(Registry, TwoWritersKeepEachOthersValues) {
  RegistryTestSandbox box;
  ASSERT_TRUE(box.registry().Create(box.Path(u"Shared")));
  constexpr int kEach = 40;
  auto writer = [&](char16_t tag, bool* ok) {
    std::unique_ptr<Registry> registry = box.OpenAgain();
    std::unique_ptr<RegistryKey> key = registry->Open(box.Path(u"Shared"), RegistryAccess::kReadWrite);
    *ok = key != nullptr;
    for (int i = 0; *ok && i < kEach; ++i) {
      std::u16string name(1, tag);
      for (char c : std::to_string(i)) name.push_back(static_cast<char16_t>(c));
      *ok = key->WriteString(name, name);
    }
  };
  bool okA = false;
  bool okB = false;
  std::thread a(writer, u'A', &okA);
  std::thread b(writer, u'B', &okB);
  a.join();
  b.join();
  EXPECT_TRUE(okA);
  EXPECT_TRUE(okB);
  std::unique_ptr<RegistryKey> key = box.registry().Open(box.Path(u"Shared"), RegistryAccess::kRead);
  ASSERT_TRUE(key);
  EXPECT_EQ(ValueNames(*key).size(), 2u * kEach);
}

// The file store itself.

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void SetContents(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

class RegistryFile : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RegistryIsFileBacked()) GTEST_SKIP() << "the registry is the system's here";
  }
};

TEST_F(RegistryFile, IsRegeditTextAndAMissingFileIsAnEmptyRegistry) {
  RegistryTestSandbox box;
  EXPECT_FALSE(std::filesystem::exists(box.StoreFile()));
  EXPECT_FALSE(box.registry().Open(u"Software", RegistryAccess::kRead));
  EXPECT_FALSE(std::filesystem::exists(box.StoreFile())) << "reading created the file";
  std::unique_ptr<RegistryKey> key = box.registry().Create(u"Software\\Z");
  ASSERT_TRUE(key) << box.registry().ErrorText();
  ASSERT_TRUE(key->WriteString(u"Path", u"C:\\pos\\\"x\""));
  ASSERT_TRUE(key->WriteNumber(u"N", 255));
  EXPECT_EQ(Contents(box.StoreFile()),
            "Windows Registry Editor Version 5.00\n"
            "\n[HKEY_CURRENT_USER\\Software]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Z]\n"
            "\"Path\"=\"C:\\\\pos\\\\\\\"x\\\"\"\n"
            "\"N\"=dword:000000ff\n");
}

TEST_F(RegistryFile, AMalformedFileIsAnErrorNamingFileAndLineAndIsNeverOverwritten) {
  RegistryTestSandbox box;
  const std::string broken =
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Z]\n\"A\"=\"unclosed\n";
  SetContents(box.StoreFile(), broken);
  EXPECT_FALSE(box.registry().Open(u"Software\\Z", RegistryAccess::kRead));
  EXPECT_NE(box.registry().ErrorText().find(box.StoreFile() + " line 4: "), std::string::npos)
      << box.registry().ErrorText();
  EXPECT_FALSE(box.registry().Create(u"Software\\Y"));
  EXPECT_NE(box.registry().ErrorText().find("line 4"), std::string::npos);
  EXPECT_EQ(Contents(box.StoreFile()), broken);
}

TEST_F(RegistryFile, AFailedRewriteLeavesTheOldFileWhole) {
  RegistryTestSandbox box;
  std::unique_ptr<RegistryKey> key = box.registry().Create(u"Software\\Z");
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->WriteString(u"A", u"old"));
  const std::string before = Contents(box.StoreFile());
  // The new file cannot be written where a folder is in the way.
  std::filesystem::create_directory(box.StoreFile() + ".new");
  EXPECT_FALSE(key->WriteString(u"A", u"new"));
  EXPECT_NE(key->ErrorText().find(".new"), std::string::npos) << key->ErrorText();
  EXPECT_EQ(Contents(box.StoreFile()), before);
  std::u16string text;
  EXPECT_EQ(key->ReadString(u"A", 0, &text), RegistryRead::kOk);
  EXPECT_EQ(text, u"old");
}

// Windows refuses these itself; wine does not check a handle's access rights.
TEST_F(RegistryFile, AKeyOpenedForReadingRefusesChanges) {
  RegistryTestSandbox box;
  ASSERT_TRUE(box.registry().Create(box.Path(u"K\\Sub")));
  std::unique_ptr<RegistryKey> key = box.registry().Open(box.Path(u"K"), RegistryAccess::kRead);
  ASSERT_TRUE(key);
  EXPECT_FALSE(key->WriteString(u"A", u"1"));
  EXPECT_FALSE(key->DeleteSubkey(u"Sub"));
  EXPECT_FALSE(key->ErrorText().empty());
  EXPECT_TRUE(box.registry().Open(box.Path(u"K\\Sub"), RegistryAccess::kRead));
}

TEST_F(RegistryFile, KeysAndValuesKeepTheOrderTheyWereWrittenIn) {
  RegistryTestSandbox box;
  std::unique_ptr<RegistryKey> key = box.registry().Create(box.Path(u"K"));
  ASSERT_TRUE(key);
  for (const char16_t* name : {u"Zulu", u"Alpha", u"Mike", u"alpha"}) ASSERT_TRUE(key->WriteString(name, name));
  ASSERT_TRUE(box.registry().Create(box.Path(u"K\\Zeta")));
  ASSERT_TRUE(box.registry().Create(box.Path(u"K\\Beta")));
  EXPECT_EQ(ValueNames(*key), (std::vector<std::u16string>{u"Zulu", u"Alpha", u"Mike"}));
  std::vector<std::u16string> names;
  ASSERT_TRUE(key->SubkeyNames(&names));
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Zeta", u"Beta"}));
}

TEST_F(RegistryFile, TheClassesRootIsASectionOfItsOwn) {
  RegistryTestSandbox box;
  std::unique_ptr<Registry> classes =
      OpenSystemRegistry(RegistryRoot::kClassesRoot, box.StoreFile());
  std::unique_ptr<RegistryKey> key = classes->Create(u"CLSID\\{1}");
  ASSERT_TRUE(key) << classes->ErrorText();
  ASSERT_TRUE(key->WriteString(u"", u"A class"));
  EXPECT_NE(Contents(box.StoreFile()).find("\n[HKEY_CLASSES_ROOT\\CLSID\\{1}]\n@=\"A class\"\n"),
            std::string::npos)
      << Contents(box.StoreFile());
  EXPECT_FALSE(box.registry().Open(u"CLSID", RegistryAccess::kRead)) << "seen in another root";
  std::unique_ptr<Registry> reader =
      OpenSystemRegistry(RegistryRoot::kClassesRoot, box.StoreFile());
  std::unique_ptr<RegistryKey> again = reader->Open(u"CLSID\\{1}", RegistryAccess::kRead);
  ASSERT_TRUE(again) << reader->ErrorText();
  EXPECT_EQ(Read(*again, u""), u"A class");
}

TEST_F(RegistryFile, ChangesMadeByHandAreSeenByAnOpenKey) {
  RegistryTestSandbox box;
  std::unique_ptr<RegistryKey> key = box.registry().Create(u"Software\\Z");
  ASSERT_TRUE(key);
  SetContents(box.StoreFile(),
              "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Software\\Z]\n\"A\"=\"edited\"\n");
  EXPECT_EQ(Read(*key, u"a"), u"edited");
}

#ifndef _WIN32
TEST_F(RegistryFile, TheEnvironmentNamesTheDefaultFile) {
  RegistryTestSandbox box;
  const std::string named = box.Folder() + "/named/opos.reg";
  const char* old = std::getenv("OPOS_REGISTRY");
  const std::string saved = old ? old : "";
  ::setenv("OPOS_REGISTRY", named.c_str(), 1);
  std::unique_ptr<Registry> registry = OpenSystemRegistry(RegistryRoot::kLocalMachine);
  bool created = registry->Create(u"SOFTWARE\\OLEforRetail") != nullptr;
  if (old) {
    ::setenv("OPOS_REGISTRY", saved.c_str(), 1);
  } else {
    ::unsetenv("OPOS_REGISTRY");
  }
  EXPECT_TRUE(created) << registry->ErrorText();
  EXPECT_NE(Contents(named).find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail]"), std::string::npos);
}
#endif

}  // namespace
}  // namespace platform
