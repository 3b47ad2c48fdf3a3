#include "so/io/TCPIPPortSettings.h"

#include <gtest/gtest.h>

#include "so/io/PortSettingsError.h"

namespace QEL {
namespace IO {
namespace {

TEST(TCPIPPortSettings, Defaults) {
  TCPIPPortSettings s;
  EXPECT_EQ(s.GetPortType(), u"TCP/IP");
  EXPECT_EQ(s.GetAddress(), "192.168.0.32");
  EXPECT_EQ(s.GetTcpPort(), 9100);
  EXPECT_EQ(s.ToString(), u"192.168.0.32");
}

struct TcpCase {
  std::u16string text;
  std::string address;
  uint16_t port;
};

TEST(TCPIPPortSettings, ParseTakesAddressAndPort) {
  const TcpCase cases[] = {
      {u"10.0.0.5,9101", "10.0.0.5", 9101},
      {u"10.0.0.5", "10.0.0.5", 9100},
      {u",9100", "9100", 9100},            // the only field is the address
      {u"10.0.0.5,abc", "10.0.0.5", 0},    // no digit gives 0
      {u"10.0.0.5,65535", "10.0.0.5", 65535},
      {u"10.0.0.5,9102tcp", "10.0.0.5", 9102},
      {u"10.0.0.5,,9103", "10.0.0.5", 9103},
  };
  for (const TcpCase& c : cases) {
    TCPIPPortSettings s;
    s.Parse(c.text);
    EXPECT_EQ(s.GetAddress(), c.address);
    EXPECT_EQ(s.GetTcpPort(), c.port);
  }
}

TEST(TCPIPPortSettings, AddressOnlyKeepsAnEarlierPort) {
  TCPIPPortSettings s;
  s.Parse(u"1.2.3.4,9200");
  s.Parse(u",9100");
  EXPECT_EQ(s.GetAddress(), "9100");
  EXPECT_EQ(s.GetTcpPort(), 9200);
}

TEST(TCPIPPortSettings, ToStringIsTheAddressWithoutThePort) {
  TCPIPPortSettings s;
  s.Parse(u"127.0.0.1,9100");
  EXPECT_EQ(s.ToString(), u"127.0.0.1");
  EXPECT_EQ(s.GetSettingsText(), u"127.0.0.1");
}

TEST(TCPIPPortSettings, AddressCapacityIsNineteenBytes) {
  TCPIPPortSettings s;
  std::u16string longest = u"255.255.255.255" + std::u16string(4, u'0');
  ASSERT_EQ(longest.size(), 19u);
  s.Parse(longest + u",9101");
  EXPECT_EQ(s.GetAddress(), "255.255.255.2550000");
  EXPECT_THROW(s.Parse(longest + u"0,9102"), PortSettingsError);
  EXPECT_EQ(s.GetAddress(), "255.255.255.2550000");
  EXPECT_EQ(s.GetTcpPort(), 9101);
}

TEST(TCPIPPortSettings, PortAbove16BitsIsRefusedNotWrapped) {
  TCPIPPortSettings s;
  s.Parse(u"10.0.0.1,9100");
  EXPECT_THROW(s.Parse(u"10.0.0.2,65536"), PortSettingsError);
  EXPECT_THROW(s.Parse(u"10.0.0.2,99999999999999999999"), PortSettingsError);
  EXPECT_EQ(s.GetAddress(), "10.0.0.1");
  EXPECT_EQ(s.GetTcpPort(), 9100);
}

TEST(TCPIPPortSettings, TextWithoutFieldsChangesNothingEmptyTextThrows) {
  TCPIPPortSettings s;
  s.Parse(u",,,");
  EXPECT_EQ(s.GetAddress(), "192.168.0.32");
  EXPECT_EQ(s.GetTcpPort(), 9100);
  EXPECT_THROW(s.Parse(u""), PortSettingsError);
}

}  // namespace
}  // namespace IO
}  // namespace QEL
