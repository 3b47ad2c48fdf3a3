#include "so/io/PortFactory.h"

#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>

#include "platform/device_names.h"
#include "so/io/FilePort.h"
#include "so/io/FilePortSettings.h"
#include "so/io/LPTPort.h"
#include "so/io/LPTPortSettings.h"
#include "so/io/SerialPort.h"
#include "so/io/SerialPortSettings.h"
#include "so/io/TCPIPPort.h"
#include "so/io/TCPIPPortSettings.h"
#include "so/io/USBPort.h"
#include "so/io/USBPortSettings.h"

namespace QEL {
namespace IO {
namespace {

struct FactoryCase {
  std::u16string type;
  const std::type_info& settingsClass;
  const std::type_info& portClass;
};

const FactoryCase kCases[] = {
    {u"COM", typeid(SerialPortSettings), typeid(SerialPort)},
    {u"USB", typeid(USBPortSettings), typeid(USBPort)},
    {u"LPT", typeid(LPTPortSettings), typeid(LPTPort)},
    {u"TCP/IP", typeid(TCPIPPortSettings), typeid(TCPIPPort)},
    {u"FILE", typeid(FilePortSettings), typeid(FilePort)},
};

TEST(PortFactory, EachTypeBuildsItsSettingsAndPortClosed) {
  for (const FactoryCase& c : kCases) {
    std::unique_ptr<IPortSettings> settings = CreatePortSettings(c.type);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(typeid(*settings), c.settingsClass);
    EXPECT_EQ(settings->GetPortType(), c.type);
    std::unique_ptr<IPort> port = CreatePort(settings.get());
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(typeid(*port), c.portClass);
    EXPECT_EQ(port->IsOpen(), 0);
    EXPECT_EQ(port->GetSettings()->GetPortType(), c.type);
  }
}

int32_t ThrownCode(const std::function<void()>& call) {
  try {
    call();
  } catch (int32_t code) {
    return code;
  }
  return 0;
}

TEST(PortFactory, UnknownTypesThrow2401) {
  for (const std::u16string type : {u"com", u"Com", u"usb", u"lpt", u"tcp/ip", u"File", u"TCP",
                                    u"", u" COM", u"COM ", u"TCPIP", u"COM1"}) {
    EXPECT_EQ(ThrownCode([&] { CreatePortSettings(type); }), 2401);
  }
}

// A settings object of a kind the factory does not know.
class ForeignSettings : public CPortSettingsBase {
 public:
  explicit ForeignSettings(std::u16string type) : type_(std::move(type)) {}
  std::u16string GetPortType() override { return type_; }

 private:
  std::u16string type_;
};

TEST(PortFactory, CreatePortRefusesUnknownOrForeignSettings) {
  ForeignSettings unknown(u"XYZ");
  EXPECT_EQ(ThrownCode([&] { CreatePort(&unknown); }), 2401);
  ForeignSettings lowerCase(u"file");
  EXPECT_EQ(ThrownCode([&] { CreatePort(&lowerCase); }), 2401);
  // Claims a known type but lacks that type's fields.
  ForeignSettings impostor(u"TCP/IP");
  EXPECT_EQ(ThrownCode([&] { CreatePort(&impostor); }), 2401);
  EXPECT_EQ(ThrownCode([&] { CreatePort(nullptr); }), 2401);
}

TEST(PortFactory, PortsCopyTheirSettingsExceptUsb) {
  TCPIPPortSettings tcp;
  tcp.Parse(u"127.0.0.1,9105");
  std::unique_ptr<IPort> tcpPort = CreatePort(&tcp);
  tcp.Parse(u"10.1.1.1,9999");
  auto* own = dynamic_cast<TCPIPPortSettings*>(tcpPort->GetSettings());
  ASSERT_NE(own, nullptr);
  EXPECT_NE(own, &tcp);
  EXPECT_EQ(own->GetAddress(), "127.0.0.1");
  EXPECT_EQ(own->GetTcpPort(), 9105);

  SerialPortSettings serial;
  serial.Parse(u"COM3,BaudRate_9600");
  std::unique_ptr<IPort> serialPort = CreatePort(&serial);
  serial.Parse(u"COM4");
  auto* serialOwn = dynamic_cast<SerialPortSettings*>(serialPort->GetSettings());
  ASSERT_NE(serialOwn, nullptr);
  EXPECT_EQ(serialOwn->GetBaudRate(), 9600u);
  EXPECT_EQ(static_cast<SerialPort*>(serialPort.get())->GetDevicePath(),
            platform::SystemDevicePath(u"\\\\.\\COM3"));

  USBPortSettings usb;
  std::unique_ptr<IPort> usbPort = CreatePort(&usb);
  EXPECT_EQ(usbPort->GetSettings(), &usb);
}

// Without a USB printer attached (the build machine) the search finds no
// device: Open fails at once and, the device path being empty, says nothing.
TEST(PortFactory, PortsWithoutDeviceFailOpenCleanly) {
  const std::pair<std::u16string, std::u16string> kinds[] = {
      {u"USB", u""},
  };
  for (const auto& kind : kinds) {
    std::unique_ptr<IPortSettings> settings = CreatePortSettings(kind.first);
    std::unique_ptr<IPort> port = CreatePort(settings.get());
    EXPECT_EQ(port->Open(), 0);
    EXPECT_EQ(port->IsOpen(), 0);
    EXPECT_EQ(port->GetErrorText(), kind.second);
    EXPECT_EQ(port->Probe(), 0);
    const uint8_t data[] = {0x1B, 0x40};
    EXPECT_EQ(port->Write(data, 0, 2), 0);
    uint8_t buffer[4];
    int32_t received = -1;
    EXPECT_EQ(port->Read(buffer, 0, 4, &received, 1), 0);
    EXPECT_EQ(received, 0);
    EXPECT_EQ(port->QueryReadBack(), 0);
    port->Close();
  }
}

TEST(PortFactory, UsbPortIsOverlappedWithAnEmptyDevicePath) {
  USBPortSettings usb;
  std::unique_ptr<IPort> port = CreatePort(&usb);
  auto* system = static_cast<CSystemPort*>(port.get());
  EXPECT_TRUE(system->IsOverlapped());
  EXPECT_EQ(system->GetDevicePath(), u"");
}

}  // namespace
}  // namespace IO
}  // namespace QEL
