// The class's registry entries, written into a private part of the registry
// (the .reg file store natively, the real registry under wine) that stands in
// for the classes root.
#include "so/com/ClassRegistrar.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry_test_sandbox.h"
#include "so/com/ClassIdentity.h"

namespace QEL {
namespace COM {
namespace {

// Every key below a location (path relative to it) with its values by name.
using Tree = std::map<std::u16string, std::map<std::u16string, std::u16string>>;

void Walk(platform::Registry& registry, const std::u16string& path, const std::u16string& relative,
          Tree* tree) {
  std::unique_ptr<platform::RegistryKey> key = registry.Open(path, platform::RegistryAccess::kRead);
  ASSERT_TRUE(key) << registry.ErrorText();
  std::vector<platform::RegistryValue> values;
  ASSERT_TRUE(key->Values(&values)) << key->ErrorText();
  auto& entry = (*tree)[relative];
  for (const platform::RegistryValue& v : values) entry[v.name] = v.isString ? v.text : u"<number>";
  std::vector<std::u16string> names;
  ASSERT_TRUE(key->SubkeyNames(&names)) << key->ErrorText();
  for (const std::u16string& name : names) {
    Walk(registry, path.empty() ? name : path + u"\\" + name, relative + u"\\" + name, tree);
  }
}

Tree Dump(platform::Registry& registry, const ClassesLocation& location) {
  Tree tree;
  if (!registry.Open(location.path, platform::RegistryAccess::kRead)) return tree;
  Walk(registry, location.path, u"", &tree);
  tree.erase(u"");  // the location itself
  return tree;
}

const std::u16string kClassKey = std::u16string(u"\\CLSID\\") + kClsidText;

Tree Registered(const std::u16string& module) {
  const std::u16string c = kClassKey;
  return {
      {u"\\TarrowOposPrinterU1.13", {{u"", u"TarrowOposPrinterSO Class"}}},
      {u"\\TarrowOposPrinterU1.13\\CLSID", {{u"", kClsidText}}},
      {u"\\TarrowOposPrinterU1.13\\Insertable", {}},
      {u"\\TarrowOposPrinterU1", {{u"", u"TarrowOposPrinterSO Class"}}},
      {u"\\TarrowOposPrinterU1\\CurVer", {{u"", u"TarrowOposPrinterU1.13"}}},
      {u"\\CLSID", {}},
      {c, {{u"", u"OposPrinterSO Class"}}},
      {c + u"\\ProgID", {{u"", u"TarrowOposPrinterU1.13"}}},
      {c + u"\\VersionIndependentProgID", {{u"", u"TarrowOposPrinterU1"}}},
      {c + u"\\Programmable", {}},
      {c + u"\\InprocServer32", {{u"", module}, {u"ThreadingModel", u"Apartment"}}},
      {c + u"\\Control", {}},
      {c + u"\\Insertable", {}},
      {c + u"\\ToolboxBitmap32", {{u"", module + u", 106"}}},
      {c + u"\\MiscStatus", {{u"", u"0"}}},
      {c + u"\\MiscStatus\\1", {{u"", u"132497"}}},
      {c + u"\\TypeLib", {{u"", kLibidText}}},
      {c + u"\\Version", {{u"", u"1.0"}}},
  };
}

const std::u16string kModule = u"C:\\Program Files\\ZOBELSO\\ZOBELSO.dll";

class ClassRegistrar : public ::testing::Test {
 protected:
  ClassesLocation Location(const char16_t* name = u"Classes") const {
    return {platform::RegistryRoot::kCurrentUser, box.Path(name)};
  }
  platform::Registry& Registry() { return box.registry(); }
  void Put(const ClassesLocation& at, const std::u16string& key, const std::u16string& name,
           const std::u16string& text) {
    std::unique_ptr<platform::RegistryKey> k = Registry().Create(at.path + key);
    ASSERT_TRUE(k) << Registry().ErrorText();
    ASSERT_TRUE(k->WriteString(name, text)) << k->ErrorText();
  }

  platform::RegistryTestSandbox box;
};

TEST_F(ClassRegistrar, WritesBothProgIdsAndTheClassKeyAndRegisteringTwiceChangesNothing) {
  ASSERT_EQ(RegisterModuleScript(Registry(), Location()), S_OK);
  ASSERT_EQ(RegisterClassScript(Registry(), Location(), kModule), S_OK);
  EXPECT_EQ(Dump(Registry(), Location()), Registered(kModule));
  ASSERT_EQ(RegisterClassScript(Registry(), Location(), kModule), S_OK);
  EXPECT_EQ(Dump(Registry(), Location()), Registered(kModule));
}

TEST_F(ClassRegistrar, ANewRegistrationLeavesNothingOfAnOlderOne) {
  ASSERT_EQ(RegisterClassScript(Registry(), Location(), u"D:\\old\\ZOBELSO.dll"), S_OK);
  Put(Location(), kClassKey, u"Stale", u"1");
  Put(Location(), kClassKey + u"\\InprocServer32", u"Stale", u"1");
  Put(Location(), kClassKey + u"\\Implemented Categories\\{0}", u"", u"");
  Put(Location(), u"\\TarrowOposPrinterU1.13\\Shell", u"", u"open");
  Put(Location(), u"\\TarrowOposPrinterU1", u"Stale", u"1");
  ASSERT_EQ(RegisterClassScript(Registry(), Location(), kModule), S_OK);
  EXPECT_EQ(Dump(Registry(), Location()), Registered(kModule));
}

TEST_F(ClassRegistrar, UnregisteringRemovesTheClassAndNothingElse) {
  Put(Location(), u"\\CLSID", u"Shared", u"kept");
  const std::u16string neighbour = u"{00000000-1111-2222-3333-444444444444}";
  Put(Location(), u"\\CLSID\\" + neighbour + u"\\InprocServer32", u"", u"other.dll");
  Put(Location(), u"\\TarrowOposPrinterU1.12\\CLSID", u"", neighbour);
  Put(Location(), u"\\.txt", u"", u"txtfile");
  const Tree before = Dump(Registry(), Location());
  ASSERT_EQ(RegisterModuleScript(Registry(), Location()), S_OK);
  ASSERT_EQ(RegisterClassScript(Registry(), Location(), kModule), S_OK);
  ASSERT_EQ(UnregisterClassScript(Registry(), Location()), S_OK);
  ASSERT_EQ(UnregisterModuleScript(Registry(), Location()), S_OK);
  EXPECT_EQ(Dump(Registry(), Location()), before);
}

TEST_F(ClassRegistrar, TheClsidKeyStaysEvenWhenTheRegistrationCreatedIt) {
  ASSERT_EQ(RegisterClassScript(Registry(), Location(), kModule), S_OK);
  ASSERT_EQ(UnregisterClassScript(Registry(), Location()), S_OK);
  EXPECT_EQ(Dump(Registry(), Location()), (Tree{{u"\\CLSID", {}}}));
}

// The module's script is empty: running it either way writes nothing.
TEST_F(ClassRegistrar, UnregisteringWhatWasNeverRegisteredSucceedsAndWritesNothing) {
  Put(Location(u"Empty"), u"\\CLSID", u"", u"");
  const Tree emptyBefore = Dump(Registry(), Location(u"Empty"));
  EXPECT_EQ(RegisterModuleScript(Registry(), Location(u"Missing")), S_OK);
  for (const char16_t* name : {u"Missing", u"Empty"}) {
    SCOPED_TRACE(std::string(name, name + std::char_traits<char16_t>::length(name)));
    EXPECT_EQ(UnregisterClassScript(Registry(), Location(name)), S_OK);
    EXPECT_EQ(UnregisterModuleScript(Registry(), Location(name)), S_OK);
  }
  EXPECT_FALSE(Registry().Open(Location(u"Missing").path, platform::RegistryAccess::kRead));
  EXPECT_EQ(Dump(Registry(), Location(u"Empty")), emptyBefore);
}

TEST_F(ClassRegistrar, AModulePathOf260CharactersIsRefusedBeforeAnythingIsWritten) {
  const struct {
    size_t length;
    HRESULT result;
  } cases[] = {{259, S_OK},
               {260, HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)},
               {400, HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    const ClassesLocation at = Location(c.length == 259 ? u"Fits" : u"TooLong");
    const std::u16string module = u"C:\\" + std::u16string(c.length - 15, u'd') + u"\\ZOBELSO.dll";
    ASSERT_EQ(module.size(), c.length);
    EXPECT_EQ(RegisterClassScript(Registry(), at, module), c.result);
    if (c.result == S_OK) {
      EXPECT_EQ(Dump(Registry(), at), Registered(module));
    } else {
      EXPECT_FALSE(Registry().Open(at.path, platform::RegistryAccess::kRead));
    }
  }
}

// The real classes root is never written here; where the registry is a file
// the machine's classes can live in the test's own file.
TEST_F(ClassRegistrar, TheMachineClassesAreTheClassesRootItself) {
  if (!platform::RegistryIsFileBacked()) GTEST_SKIP() << "the classes root is the system's here";
  std::unique_ptr<platform::Registry> root =
      platform::OpenSystemRegistry(platform::RegistryRoot::kClassesRoot, box.StoreFile());
  ASSERT_EQ(RegisterClassScript(*root, MachineClasses(), kModule), S_OK);
  EXPECT_EQ(Dump(*root, MachineClasses()), Registered(kModule));
  ASSERT_EQ(UnregisterClassScript(*root, MachineClasses()), S_OK);
  EXPECT_EQ(Dump(*root, MachineClasses()), (Tree{{u"\\CLSID", {}}}));
}

// The registry of the test, except that it refuses to create one key.
class RegistryRefusing : public platform::Registry {
 public:
  RegistryRefusing(platform::Registry& inner, std::u16string refused)
      : inner_(inner), refused_(std::move(refused)) {}
  std::unique_ptr<platform::RegistryKey> Open(const std::u16string& path,
                                              platform::RegistryAccess access) override {
    refusing_ = false;
    return inner_.Open(path, access);
  }
  std::unique_ptr<platform::RegistryKey> Create(const std::u16string& path) override {
    refusing_ = path.size() >= refused_.size() &&
                path.compare(path.size() - refused_.size(), refused_.size(), refused_) == 0;
    return refusing_ ? nullptr : inner_.Create(path);
  }
  std::string ErrorText() const override { return refusing_ ? "refused" : inner_.ErrorText(); }

 private:
  platform::Registry& inner_;
  std::u16string refused_;
  bool refusing_ = false;
};

TEST_F(ClassRegistrar, ARegistryFailureStopsAtTheFailingKey) {
  RegistryRefusing refusing(Registry(), u"\\InprocServer32");
  EXPECT_EQ(RegisterClassScript(refusing, Location(), kModule), SELFREG_E_CLASS);
  Tree written = Registered(kModule);
  for (const char16_t* later : {u"\\InprocServer32", u"\\Control", u"\\Insertable",
                                u"\\ToolboxBitmap32", u"\\MiscStatus", u"\\MiscStatus\\1",
                                u"\\TypeLib", u"\\Version"}) {
    written.erase(kClassKey + later);
  }
  EXPECT_EQ(Dump(Registry(), Location()), written);
}

}  // namespace
}  // namespace COM
}  // namespace QEL
