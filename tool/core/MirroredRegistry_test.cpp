#include "tool/core/MirroredRegistry.h"

#include <gtest/gtest.h>

#include "platform/registry_test_sandbox.h"

namespace tool {
namespace {

using platform::RegistryAccess;
using platform::RegistryRead;

// Two stores standing for the two views. Where the registry is the system's,
// both sandboxes are the same store and there is nothing to tell apart.
class MirroredRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!platform::RegistryIsFileBacked()) GTEST_SKIP() << "one store for both sandboxes here";
  }

  std::u16string Read(platform::Registry& registry, const std::u16string& path, const std::u16string& name) {
    std::unique_ptr<platform::RegistryKey> key = registry.Open(path, RegistryAccess::kRead);
    if (!key) return u"<no key>";
    std::u16string text;
    return key->ReadString(name, 0, &text) == RegistryRead::kOk ? text : u"<no value>";
  }

  platform::RegistryTestSandbox own_;
  platform::RegistryTestSandbox other_;
  const std::u16string device_ = own_.Path(u"POSPrinter\\TRAIL-3_01");
  MirroredRegistry mirrored_{own_.registry(), other_.registry()};
};

TEST_F(MirroredRegistryTest, ChangesReachBothViews) {
  std::unique_ptr<platform::RegistryKey> key = mirrored_.Create(device_);
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->WriteString(u"", u"TarrowOposPrinterU1.13"));
  ASSERT_TRUE(key->WriteString(u"PortSettings", u"127.0.0.1,9100"));
  key.reset();
  for (platform::Registry* view : {&own_.registry(), &other_.registry()}) {
    EXPECT_EQ(Read(*view, device_, u""), u"TarrowOposPrinterU1.13");
    EXPECT_EQ(Read(*view, device_, u"PortSettings"), u"127.0.0.1,9100");
  }

  key = mirrored_.Open(device_, RegistryAccess::kReadWrite);
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->DeleteValue(u"PortSettings"));
  key.reset();
  EXPECT_EQ(Read(other_.registry(), device_, u"PortSettings"), u"<no value>");

  std::unique_ptr<platform::RegistryKey> parent = mirrored_.Open(own_.Path(u"POSPrinter"), RegistryAccess::kReadWrite);
  ASSERT_TRUE(parent);
  ASSERT_TRUE(parent->DeleteSubkey(u"TRAIL-3_01"));
  EXPECT_EQ(Read(own_.registry(), device_, u""), u"<no key>");
  EXPECT_EQ(Read(other_.registry(), device_, u""), u"<no key>");
}

// A device configured while only one view was kept: the first change makes
// it whole in the other view, not a key holding the changed value alone.
TEST_F(MirroredRegistryTest, AKeyOpenedForWritingIsCompletedInTheMirror) {
  {
    std::unique_ptr<platform::RegistryKey> key = own_.registry().Create(device_);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->WriteString(u"", u"TarrowOposPrinterU1.13"));
    ASSERT_TRUE(key->WriteString(u"CodepageID", u"437"));
  }
  std::unique_ptr<platform::RegistryKey> key = mirrored_.Open(device_, RegistryAccess::kReadWrite);
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->WriteString(u"CodepageID", u"858"));
  EXPECT_EQ(Read(other_.registry(), device_, u""), u"TarrowOposPrinterU1.13");
  EXPECT_EQ(Read(other_.registry(), device_, u"CodepageID"), u"858");
}

TEST_F(MirroredRegistryTest, ReadsSeeOnlyTheProgramsOwnView) {
  {
    std::unique_ptr<platform::RegistryKey> key = other_.registry().Create(device_);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->WriteString(u"", u"OtherMaker.Printer"));
  }
  EXPECT_FALSE(mirrored_.Open(device_, RegistryAccess::kRead));
  EXPECT_FALSE(mirrored_.Open(device_, RegistryAccess::kReadWrite));
  // Reading leaves the other view as it was.
  const std::u16string unseen = own_.Path(u"CashDrawer\\TRAIL-3_01_01");
  {
    std::unique_ptr<platform::RegistryKey> key = own_.registry().Create(unseen);
    ASSERT_TRUE(key);
  }
  EXPECT_TRUE(mirrored_.Open(unseen, RegistryAccess::kRead));
  EXPECT_EQ(Read(other_.registry(), unseen, u""), u"<no key>");
  // Deleting what the other view never had still succeeds in the own view.
  std::unique_ptr<platform::RegistryKey> parent = mirrored_.Open(own_.Path(u"CashDrawer"), RegistryAccess::kReadWrite);
  ASSERT_TRUE(parent);
  EXPECT_TRUE(parent->DeleteSubkey(u"TRAIL-3_01_01"));
}

}  // namespace
}  // namespace tool
