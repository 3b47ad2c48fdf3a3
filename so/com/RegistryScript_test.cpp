// Registry scripts as data: markers, the three kinds of keys, and scripts
// that cannot be run.
#include "so/com/RegistryScript.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/registry_test_sandbox.h"

namespace QEL {
namespace COM {
namespace {

using platform::RegistryAccess;

constexpr ScriptEntryKind kKey = ScriptEntryKind::kKey;
constexpr ScriptEntryKind kOwned = ScriptEntryKind::kOwnedKey;
constexpr ScriptEntryKind kShared = ScriptEntryKind::kSharedKey;
constexpr ScriptEntryKind kValue = ScriptEntryKind::kValue;

template <size_t N>
RegistryScript Script(const ScriptEntry (&entries)[N]) {
  return {entries, N};
}

class RegistryScriptTest : public ::testing::Test {
 protected:
  std::u16string Read(const std::u16string& key, const std::u16string& name) {
    std::unique_ptr<platform::RegistryKey> k =
        box.registry().Open(box.Path(key), RegistryAccess::kRead);
    if (!k) return u"<no key>";
    std::u16string text;
    return k->ReadString(name, 0, &text) == platform::RegistryRead::kOk ? text : u"<no value>";
  }
  bool Exists(const std::u16string& key) {
    return box.registry().Open(box.Path(key), RegistryAccess::kRead) != nullptr;
  }
  void Put(const std::u16string& key, const std::u16string& name, const std::u16string& text) {
    std::unique_ptr<platform::RegistryKey> k = box.registry().Create(box.Path(key));
    ASSERT_TRUE(k) << box.registry().ErrorText();
    ASSERT_TRUE(k->WriteString(name, text)) << k->ErrorText();
  }

  platform::RegistryTestSandbox box;
  std::string error;
};

TEST_F(RegistryScriptTest, MarkersAreReplacedInNamesAndTextsAndDoublePercentIsAPercentSign) {
  const ScriptEntry entries[] = {
      {0, kKey, u"K%Id%", u"%Path%, 106"},
      {1, kValue, u"At%%%Id%", u"100%% %Path%%Id%"},
  };
  ASSERT_TRUE(ApplyRegistryScript(box.registry(), box.Path(u"S"), Script(entries),
                                  {{u"Id", u"7"}, {u"Path", u"C:\\a b"}}, &error))
      << error;
  EXPECT_EQ(Read(u"S\\K7", u""), u"C:\\a b, 106");
  EXPECT_EQ(Read(u"S\\K7", u"At%7"), u"100% C:\\a b7");
}

TEST_F(RegistryScriptTest, AScriptThatCannotBeResolvedWritesNothing) {
  const ScriptEntry unknown[] = {{0, kKey, u"A", nullptr}, {0, kKey, u"B", u"%Nobody%"}};
  const ScriptEntry unclosed[] = {{0, kKey, u"A", nullptr}, {1, kValue, u"V", u"50%"}};
  const ScriptEntry orphanValue[] = {{0, kValue, u"V", u"1"}};
  const ScriptEntry skippedLevel[] = {{0, kKey, u"A", nullptr}, {2, kKey, u"B", nullptr}};
  const struct {
    const char* what;
    RegistryScript script;
    const char* named;  // in the error text
  } cases[] = {{"unknown marker", Script(unknown), "%Nobody%"},
               {"unclosed marker", Script(unclosed), "50%"},
               {"value without a key", Script(orphanValue), "entry 0"},
               {"key two levels down", Script(skippedLevel), "entry 1"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    error.clear();
    EXPECT_FALSE(ApplyRegistryScript(box.registry(), box.Path(u"S"), c.script, {}, &error));
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
    EXPECT_FALSE(Exists(u"S"));
    EXPECT_FALSE(RemoveRegistryScript(box.registry(), box.Path(u"S"), c.script, {}, &error));
  }
}

TEST_F(RegistryScriptTest, PlainKeysKeepForeignContentOwnedKeysLoseItSharedKeysStay) {
  const ScriptEntry entries[] = {
      {0, kKey, u"Plain", u"p"},
      {0, kOwned, u"Owned", u"o"},
      {0, kShared, u"Shared", nullptr},
      {1, kKey, u"Mine", u"m"},
  };
  for (const char16_t* key : {u"S\\Plain\\Foreign", u"S\\Owned\\Foreign", u"S\\Shared\\Foreign"}) {
    Put(key, u"", u"f");
  }
  ASSERT_TRUE(ApplyRegistryScript(box.registry(), box.Path(u"S"), Script(entries), {}, &error))
      << error;
  EXPECT_EQ(Read(u"S\\Plain", u""), u"p");
  EXPECT_TRUE(Exists(u"S\\Plain\\Foreign"));
  EXPECT_EQ(Read(u"S\\Owned", u""), u"o");
  EXPECT_FALSE(Exists(u"S\\Owned\\Foreign"));
  EXPECT_EQ(Read(u"S\\Shared\\Mine", u""), u"m");

  ASSERT_TRUE(RemoveRegistryScript(box.registry(), box.Path(u"S"), Script(entries), {}, &error))
      << error;
  EXPECT_FALSE(Exists(u"S\\Plain"));
  EXPECT_FALSE(Exists(u"S\\Owned"));
  EXPECT_FALSE(Exists(u"S\\Shared\\Mine"));
  EXPECT_EQ(Read(u"S\\Shared\\Foreign", u""), u"f");
}

}  // namespace
}  // namespace COM
}  // namespace QEL
