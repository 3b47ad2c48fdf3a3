// What `regsvr32 /u` must leave: the class, its two ProgIDs, its type
// library and its dispatch interface gone, the classes' CLSID key itself
// still there. Meaningful only after the unregistration, so the suite is
// disabled in the ordinary run and started on its own once the library was
// unregistered.
#include <string>

#include "platform/com.h"
#include "platform/registry.h"
#include "so/com/ClassIdentity.h"
#include "so/com/e2e/RegisteredClass_test.h"

namespace e2e {
namespace {

TEST(DISABLED_AfterUnregistration, NothingOfTheClassIsLeft) {
  auto classes = platform::OpenSystemRegistry(platform::RegistryRoot::kClassesRoot);
  ASSERT_TRUE(classes);
  const auto exists = [&classes](const std::u16string& path) {
    return classes->Open(path, platform::RegistryAccess::kRead) != nullptr;
  };
  EXPECT_TRUE(exists(u"CLSID"));
  EXPECT_FALSE(exists(std::u16string(u"CLSID\\") + QEL::COM::kClsidText));
  EXPECT_FALSE(exists(u"TarrowOposPrinterU1.13"));
  EXPECT_FALSE(exists(u"TarrowOposPrinterU1"));
  EXPECT_FALSE(exists(std::u16string(u"TypeLib\\") + QEL::COM::kLibidText + u"\\1.0"));
  wchar_t iid[40];
  ASSERT_GT(StringFromGUID2(QEL::COM::kIidIQELOposPrinterSO, iid, 40), 0);
  EXPECT_FALSE(exists(u"Interface\\" + std::u16string(reinterpret_cast<const char16_t*>(iid))));

  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  CLSID clsid;
  EXPECT_TRUE(FAILED(CLSIDFromProgID(kProgId, &clsid)));
  EXPECT_EQ(CreateRegistered(), nullptr);
  CoUninitialize();
}

}  // namespace
}  // namespace e2e
