#include "so/io/SerialPortSettings.h"

#include <gtest/gtest.h>

#include "so/io/PortSettingsError.h"

namespace QEL {
namespace IO {
namespace {

TEST(SerialPortSettings, Defaults) {
  SerialPortSettings s;
  EXPECT_EQ(s.GetPortType(), u"COM");
  EXPECT_EQ(s.GetPortName(), u"Auto");
  EXPECT_EQ(s.GetBaudRate(), 115200u);
  EXPECT_EQ(s.GetFirstSizeValue(), 2048);
  EXPECT_EQ(s.GetSecondSizeValue(), 2048);
  EXPECT_EQ(s.GetWriteTimeout(), 1000);
  EXPECT_EQ(s.GetReadTimeout(), 1000);
  EXPECT_EQ(s.GetSeparators(), u",");
  EXPECT_EQ(s.GetSettingsText(), u"");
}

struct SerialCase {
  std::u16string text;
  std::u16string portName;
  uint32_t baudRate;
};

TEST(SerialPortSettings, ParseTakesPortNameAndBaudRate) {
  const SerialCase cases[] = {
      {u"COM3", u"\\\\.\\COM3", 115200},
      {u"COM3,BaudRate_9600", u"\\\\.\\COM3", 9600},
      {u"COM3,B_9600", u"\\\\.\\COM3", 115200},    // '_' is the second character
      {u"COM3,_9600", u"\\\\.\\COM3", 115200},     // '_' is the first character
      {u"COM3,Ba_9600", u"\\\\.\\COM3", 9600},     // third character is far enough
      {u"COM3,BaudRate9600", u"\\\\.\\COM3", 115200},
      {u"COM3,BaudRate_", u"\\\\.\\COM3", 0},
      {u"COM3,BaudRate_abc", u"\\\\.\\COM3", 0},
      {u"COM3,BaudRate_19200bps", u"\\\\.\\COM3", 19200},
      {u"COM3,BaudRate_9600_2400", u"\\\\.\\COM3", 9600},
      {u"COM3,BaudRate_4294967295", u"\\\\.\\COM3", 4294967295u},
      {u",COM4,,BaudRate_4800", u"\\\\.\\COM4", 4800},
      {u"COM1,BaudRate_38400,ignored,fields", u"\\\\.\\COM1", 38400},
  };
  for (const SerialCase& c : cases) {
    SerialPortSettings s;
    s.Parse(c.text);
    EXPECT_EQ(s.GetPortName(), c.portName);
    EXPECT_EQ(s.GetBaudRate(), c.baudRate) << "for a text of " << c.text.size() << " units";
    EXPECT_EQ(s.GetSettingsText(), c.text);
  }
}

TEST(SerialPortSettings, MissingSecondFieldResetsBaudRate) {
  SerialPortSettings s;
  s.Parse(u"COM1,BaudRate_9600");
  s.Parse(u"COM2");
  EXPECT_EQ(s.GetBaudRate(), 115200u);
  EXPECT_EQ(s.GetPortName(), u"\\\\.\\COM2");
}

TEST(SerialPortSettings, ToStringIsThePortNameAndFillsTheSettingsText) {
  SerialPortSettings s;
  s.Parse(u"COM7,BaudRate_9600");
  EXPECT_EQ(s.ToString(), u"\\\\.\\COM7");
  EXPECT_EQ(s.GetSettingsText(), u"\\\\.\\COM7");
}

void ExpectUnchanged(SerialPortSettings before, SerialPortSettings& after) {
  EXPECT_EQ(after.GetPortName(), before.GetPortName());
  EXPECT_EQ(after.GetBaudRate(), before.GetBaudRate());
  EXPECT_EQ(after.GetSettingsText(), before.GetSettingsText());
}

TEST(SerialPortSettings, RefusedTextsLeaveTheObjectUnchanged) {
  const std::u16string refused[] = {
      u"",                                     // tokenizer: empty text
      u",,,",                                  // no port name
      u"COM" + std::u16string(248, u'9'),      // "\\.\" + 251 characters > 254
      u"COM1,BaudRate_4294967296",             // does not fit 32 bits
      u"COM1," + std::u16string(507, u','),    // 512 characters of settings text
  };
  for (const std::u16string& text : refused) {
    SerialPortSettings s;
    s.Parse(u"COM5,BaudRate_19200");
    SerialPortSettings before = s;
    EXPECT_THROW(s.Parse(text), PortSettingsError) << "text of " << text.size() << " units";
    ExpectUnchanged(before, s);
  }
}

TEST(SerialPortSettings, EmptyTextGivesTheTokenizerMessage) {
  SerialPortSettings s;
  try {
    s.Parse(u"");
    FAIL() << "no exception";
  } catch (const PortSettingsError& e) {
    EXPECT_STREQ(e.what(), "tokenize: empty  string");
  }
}

TEST(SerialPortSettings, FieldsExactlyAtCapacityAreAccepted) {
  SerialPortSettings s;
  // "\\.\" (4 characters) + 250 = 254, the port name's capacity.
  std::u16string name = u"COM" + std::u16string(247, u'1');
  s.Parse(name);
  EXPECT_EQ(s.GetPortName().size(), 254u);

  std::u16string text = u"COM1,BaudRate_9600" + std::u16string(511 - 18, u',');
  ASSERT_EQ(text.size(), 511u);
  s.Parse(text);
  EXPECT_EQ(s.GetSettingsText(), text);
  EXPECT_EQ(s.GetBaudRate(), 9600u);
}

}  // namespace
}  // namespace IO
}  // namespace QEL
