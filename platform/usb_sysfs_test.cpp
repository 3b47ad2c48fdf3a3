#include "platform/usb_sysfs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <random>
#include <string>

namespace platform {
namespace {

namespace fs = std::filesystem;

// A sysfs-shaped tree (devices/ and dev/usb/) in a fresh temporary folder.
class FakeSysfs {
 public:
  FakeSysfs() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    root_ = fs::temp_directory_path() /
            ("zobelso_sysfs_" + std::to_string(random()) + "_" + std::to_string(++counter));
    fs::create_directories(Devices());
    fs::create_directories(Dev() / "usb");
  }
  ~FakeSysfs() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  fs::path Devices() const { return root_ / "devices"; }
  fs::path Dev() const { return root_ / "dev"; }

  void Attribute(const std::string& device, const std::string& name, const std::string& value) {
    fs::create_directories(Devices() / device);
    std::ofstream(Devices() / device / name, std::ios::binary) << value;
  }
  // A whole printer: identifiers, its interface with the usblp class
  // directory, and the node.
  void Printer(const std::string& device, const std::string& vendor, const std::string& product,
               const std::string& node, const char* classDir = "usbmisc") {
    Attribute(device, "idVendor", vendor + "\n");
    Attribute(device, "idProduct", product + "\n");
    ClassDir(device, node, classDir);
    std::ofstream(Dev() / "usb" / node, std::ios::binary);
  }
  void ClassDir(const std::string& device, const std::string& node,
                const char* classDir = "usbmisc") {
    fs::create_directories(Devices() / (device + ":1.0") / classDir / node);
  }
  std::u16string NodePath(const std::string& node) const { return (Dev() / "usb" / node).u16string(); }

 private:
  fs::path root_;
};

TEST(UsbSysfs, ListsPrintersWithIdentifiersAsWrittenInNameOrder) {
  FakeSysfs tree;
  tree.Printer("3-2", "7c4e", "7008", "lp1");
  tree.Attribute("3-2", "bcdDevice", "0100\n");
  tree.Printer("1-1", "0FE6", "811E", "lp0", "usb");
  // Not a printer: an interface without a usblp class directory.
  tree.Attribute("1-4", "idVendor", "046d\n");
  tree.Attribute("1-4", "idProduct", "c52b\n");
  fs::create_directories(tree.Devices() / "1-4:1.0" / "driver");

  std::vector<UsbDeviceInterface> found = ListUsbPrintersInSysfs(tree.Devices(), tree.Dev());
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].hardwareId, u"USB\\VID_0FE6&PID_811E");
  EXPECT_EQ(found[0].devicePath, tree.NodePath("lp0"));
  EXPECT_EQ(found[1].hardwareId, u"USB\\VID_7c4e&PID_7008&REV_0100");
  EXPECT_EQ(found[1].devicePath, tree.NodePath("lp1"));
}

TEST(UsbSysfs, HalfWrittenDevicesAreSkipped) {
  FakeSysfs tree;
  // No idProduct yet.
  tree.Attribute("1-1", "idVendor", "7c4e\n");
  tree.ClassDir("1-1", "lp0");
  // An attribute that cannot be read as a file.
  fs::create_directories(tree.Devices() / "1-2" / "idVendor");
  tree.Attribute("1-2", "idProduct", "7008\n");
  tree.ClassDir("1-2", "lp1");
  // Attributes still empty.
  tree.Attribute("1-3", "idVendor", "");
  tree.Attribute("1-3", "idProduct", "\n");
  tree.ClassDir("1-3", "lp2");
  // The usblp directory is there but its node is not (yet).
  tree.Attribute("1-5", "idVendor", "7c4e\n");
  tree.Attribute("1-5", "idProduct", "7008\n");
  tree.ClassDir("1-5", "lp3");
  // A node that is a directory is no device either.
  tree.Attribute("1-6", "idVendor", "7c4e\n");
  tree.Attribute("1-6", "idProduct", "7008\n");
  tree.ClassDir("1-6", "lp4");
  fs::create_directories(tree.Dev() / "usb" / "lp4");
  // The interface of a device whose directory is gone.
  tree.ClassDir("1-7", "lp5");
  // And one complete printer after all of them.
  tree.Printer("2-1", "08bd", "020b", "lp6");

  std::vector<UsbDeviceInterface> found = ListUsbPrintersInSysfs(tree.Devices(), tree.Dev());
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].hardwareId, u"USB\\VID_08bd&PID_020b");
  EXPECT_EQ(found[0].devicePath, tree.NodePath("lp6"));
}

TEST(UsbSysfs, MissingTreeListsNothing) {
  FakeSysfs tree;
  EXPECT_TRUE(ListUsbPrintersInSysfs(tree.Devices() / "absent", tree.Dev()).empty());
  EXPECT_TRUE(ListUsbPrintersInSysfs(tree.Devices(), tree.Dev()).empty());
}

}  // namespace
}  // namespace platform
