#include "so/io/USBPort.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>

#include "platform/system_error.h"
#include "so/io/UsbDeviceSearch.h"

namespace QEL {
namespace IO {
namespace {

namespace fs = std::filesystem;
using platform::UsbDeviceInterface;

// A regular file standing in for the printer's device node.
class DeviceNode {
 public:
  explicit DeviceNode(const std::string& contents = std::string()) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    path_ = fs::temp_directory_path() /
            ("zobelso_usb_" + std::to_string(random()) + "_" + std::to_string(++counter));
    std::ofstream(path_, std::ios::binary) << contents;
  }
  ~DeviceNode() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  std::u16string Path() const { return path_.u16string(); }
  std::string Contents() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  fs::path path_;
};

// The attached devices as a test sets them; the port asks at every search.
struct FakeBus {
  std::shared_ptr<std::vector<UsbDeviceInterface>> devices =
      std::make_shared<std::vector<UsbDeviceInterface>>();
  USBPort::DeviceLister Lister() const {
    auto shared = devices;
    return [shared] { return *shared; };
  }
};

TEST(USBPort, PrinterPluggedInLaterIsFoundByRefresh) {
  USBPortSettings settings;
  settings.SetDeviceIdFilter(u"VID_7C4E&PID_7008");
  FakeBus bus;
  DeviceNode node;
  USBPort port(&settings, bus.Lister());
  EXPECT_TRUE(port.IsOverlapped());
  EXPECT_EQ(port.GetDevicePath(), u"");
  EXPECT_EQ(port.Open(), 0);
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_EQ(port.GetErrorText(), u"");

  bus.devices->push_back({u"USB\\VID_7C4E&PID_7008&REV_0100", node.Path()});
  EXPECT_EQ(port.Open(), 0);  // not searched again by itself
  port.RefreshDevicePath();
  EXPECT_EQ(port.GetDevicePath(), node.Path());
  EXPECT_EQ(port.QueryReadBack(), 0);
  EXPECT_EQ(port.Open(), 1);
  EXPECT_EQ(port.IsOpen(), 1);
}

TEST(USBPort, ReadBackFamilyAndTheSearchThatFindsNothing) {
  USBPortSettings settings;
  FakeBus bus;
  bus.devices->push_back({u"usb\\vid_0fe6&pid_811e&rev_0100", u"first"});
  USBPort port(&settings, bus.Lister());
  EXPECT_EQ(port.GetDevicePath(), u"first");
  EXPECT_EQ(port.QueryReadBack(), 1);

  // Unplugged: the family is forgotten, the last path is kept.
  bus.devices->clear();
  port.RefreshDevicePath();
  EXPECT_EQ(port.QueryReadBack(), 0);
  EXPECT_EQ(port.GetDevicePath(), u"first");
}

TEST(USBPort, FilterIsReadFromTheSettingsAtEverySearch) {
  USBPortSettings settings;
  settings.SetDeviceIdFilter(u"VID_7C4E&PID_7007");
  FakeBus bus;
  bus.devices->push_back({u"USB\\VID_7C4E&PID_7007", u"a"});
  bus.devices->push_back({u"USB\\VID_04B8&PID_0202", u"b"});
  USBPort port(&settings, bus.Lister());
  EXPECT_EQ(port.GetDevicePath(), u"a");
  settings.SetDeviceIdFilter(DeviceIdFilterForModel(u"TM-T88IV"));
  port.RefreshDevicePath();
  EXPECT_EQ(port.GetDevicePath(), u"b");
}

TEST(USBPort, WritesReachTheDeviceWhole) {
  USBPortSettings settings;
  FakeBus bus;
  DeviceNode node;
  bus.devices->push_back({u"USB\\VID_08BD&PID_020B", node.Path()});
  USBPort port(&settings, bus.Lister());
  const uint8_t data[] = {0x00, 0x1B, 0x40, 'H', 'i', 0x0A};
  EXPECT_EQ(port.Write(data, 1, 5), 0);  // not open
  ASSERT_EQ(port.Open(), 1);
  EXPECT_EQ(port.Write(data, 1, 0), 0);
  port.SetCancel(1);
  EXPECT_EQ(port.Write(data, 1, 5), 0);
  port.SetCancel(0);
  EXPECT_EQ(port.Write(data, 1, 5), 1);
  port.Close();
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_EQ(node.Contents(), "\x1B@Hi\n");
}

TEST(USBPort, ReadsWhatTheDeviceHas) {
  USBPortSettings settings;
  FakeBus bus;
  DeviceNode node("\x12\x34");
  bus.devices->push_back({u"USB\\VID_08BD&PID_020B", node.Path()});
  USBPort port(&settings, bus.Lister());
  uint8_t buffer[8] = {};
  int32_t received = 5;
  EXPECT_EQ(port.Read(buffer, 0, 4, &received, 0), 0);  // not open
  EXPECT_EQ(received, 0);
  ASSERT_EQ(port.Open(), 1);
  // Without wait-for-all one pass that brings anything is enough.
  EXPECT_EQ(port.Read(buffer, 1, 4, &received, 0), 1);
  EXPECT_EQ(received, 2);
  EXPECT_EQ(buffer[1], 0x12);
  EXPECT_EQ(buffer[2], 0x34);
  port.Close();

  ASSERT_EQ(port.Open(), 1);
  uint8_t again[8] = {};
  EXPECT_EQ(port.ReadAvailable(again, 0, 8, &received), 1);
  EXPECT_EQ(received, 2);
  EXPECT_EQ(again[0], 0x12);
  port.Close();
  EXPECT_EQ(port.ReadAvailable(again, 0, 8, &received), 0);
}

TEST(USBPort, DeviceThatCannotBeOpenedLeavesThePortClosed) {
  USBPortSettings settings;
  FakeBus bus;
  std::u16string gone;
  {
    DeviceNode node;
    gone = node.Path();
  }
  bus.devices->push_back({u"USB\\VID_08BD&PID_020B", gone});
  USBPort port(&settings, bus.Lister());
  EXPECT_EQ(port.GetDevicePath(), gone);
  EXPECT_EQ(port.Open(), 0);
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_NE(port.GetSystemError(), 0);
  EXPECT_EQ(port.Probe(), 0);
}

// The system's own devices: a machine without a USB printer of ours (the
// build machine, wine) finds none, and the port cannot be opened.
TEST(USBPort, SystemSearchWithoutPrintersOpensNothing) {
  USBPortSettings settings;
  std::vector<UsbDeviceInterface> attached = platform::ListUsbDeviceInterfaces();
  if (FindUsbPrinter(attached, settings.GetDeviceIdFilter()).has_value())
    GTEST_SKIP() << "a matching USB printer is attached to this machine";
  USBPort port(&settings);
  EXPECT_EQ(port.GetDevicePath(), u"");
  EXPECT_EQ(port.QueryReadBack(), 0);
  EXPECT_EQ(port.Open(), 0);
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_EQ(port.GetErrorText(), u"");
}

}  // namespace
}  // namespace IO
}  // namespace QEL
