#include "so/io/CSystemPort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/device_file.h"
#include "so/io/CPortSettingsBase.h"
#include "testing/TempFileForTest.h"

namespace QEL {
namespace IO {
namespace {

using iotest::TempFile;

// The handle-based port on a path of the test's choosing.
class PathPort : public CSystemPort {
 public:
  explicit PathPort(const std::u16string& path, bool byteWise = false)
      : CSystemPort(&settings_), byteWise_(byteWise) {
    SetDevicePath(path);
  }
  void RefreshDevicePath() override {}
  void ConfigureAfterOpen() override {
    ++configured;
    if (byteWise_) SetByteWiseRead(true);
  }
  void UseErrorText(const std::u16string& text) { SetErrorText(text); }

  int configured = 0;

 private:
  CPortSettingsBase settings_;
  bool byteWise_;
};

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + i % 26);
  return s;
}

std::string AsText(const std::vector<uint8_t>& bytes, int32_t n) {
  return std::string(bytes.begin(), bytes.begin() + n);
}

TEST(CSystemPort, InitialState) {
  CPortSettingsBase settings;
  struct Bare : CSystemPort {
    explicit Bare(IPortSettings* s) : CSystemPort(s) {}
    void RefreshDevicePath() override {}
  } port(&settings);
  EXPECT_EQ(port.GetSettings(), &settings);
  EXPECT_EQ(port.GetDevicePath(), u"c:\\temp\\qelopos.txt");
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_FALSE(port.IsReady());
  EXPECT_FALSE(port.IsOverlapped());
  EXPECT_EQ(port.GetErrorCode(), 0);
  EXPECT_EQ(port.GetErrorText(), u"");
  EXPECT_EQ(port.QueryReadBack(), 0);
  int32_t cancel = -1;
  EXPECT_EQ(port.GetCancel(&cancel), 0);
  EXPECT_EQ(cancel, 0);
}

TEST(CSystemPort, OpenWritesExactBytesAtOffset) {
  TempFile file("sysport_write");
  PathPort port(file.Path());
  ASSERT_EQ(port.Open(), 1);
  EXPECT_EQ(port.IsOpen(), 1);
  EXPECT_TRUE(port.IsReady());
  EXPECT_EQ(port.configured, 1);
  const uint8_t data[] = {'x', 'x', 0x1B, '@', 0x00, 0xFF, 'y'};
  EXPECT_EQ(port.Write(data, 2, 4), 1);
  EXPECT_EQ(port.Write(data, 6, 1), 1);
  port.Close();
  EXPECT_EQ(file.Contents(), std::string("\x1B@\x00\xFFy", 5));
}

TEST(CSystemPort, CountZeroWritesNothingAndMakesNoSystemCall) {
  TempFile file("sysport_zero");
  PathPort port(file.Path());
  const uint8_t data[] = {'A'};
  // On a closed port a real write would fail and leave a system error: a
  // zero count must return before reaching the system.
  EXPECT_EQ(port.Write(data, 0, 0), 0);
  EXPECT_EQ(port.GetSystemError(), 0);
  EXPECT_EQ(port.Write(data, 0, 1), 0);
  EXPECT_NE(port.GetSystemError(), 0);

  ASSERT_EQ(port.Open(), 1);
  EXPECT_EQ(port.Write(data, 0, 0), 0);
  port.Close();
  EXPECT_EQ(file.Contents(), "");
}

TEST(CSystemPort, CancelStopsWritesAndReads) {
  TempFile file("sysport_cancel", "reply");
  PathPort port(file.Path());
  ASSERT_EQ(port.Open(), 1);
  EXPECT_EQ(port.SetCancel(1), 0);
  int32_t cancel = 0;
  port.GetCancel(&cancel);
  EXPECT_EQ(cancel, 1);
  const uint8_t data[] = {'Z'};
  EXPECT_EQ(port.Write(data, 0, 1), 0);
  std::vector<uint8_t> buffer(8);
  int32_t received = -1;
  EXPECT_EQ(port.Read(buffer.data(), 0, 5, &received, 1), 0);
  EXPECT_EQ(received, 0);
  port.SetCancel(0);
  EXPECT_EQ(port.Read(buffer.data(), 0, 5, &received, 1), 1);
  EXPECT_EQ(AsText(buffer, received), "reply");
}

struct ReadCase {
  const char* name;
  size_t fileSize;
  int32_t count;
  int32_t waitForAll;
  int32_t result;
  int32_t received;
};

TEST(CSystemPort, ReadPassesOf128BytesAtMostFive) {
  const ReadCase cases[] = {
      {"all in three chunks", 300, 300, 1, 1, 300},
      {"first chunk only without wait-for-all", 300, 300, 0, 1, 128},
      {"short reply without wait-for-all", 5, 64, 0, 1, 5},
      {"short reply with wait-for-all", 5, 64, 1, 0, 5},
      {"five passes used up", 700, 1000, 1, 0, 640},
      {"exactly five full passes", 640, 640, 1, 1, 640},
      {"nothing there, wait-for-all", 0, 4, 1, 0, 0},
      {"nothing there", 0, 4, 0, 0, 0},
      {"count zero", 10, 0, 1, 0, 0},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string contents = Pattern(c.fileSize);
    TempFile file("sysport_read", contents);
    PathPort port(file.Path());
    ASSERT_EQ(port.Open(), 1);
    std::vector<uint8_t> buffer(static_cast<size_t>(c.count) + 3, 0xEE);
    int32_t received = -1;
    EXPECT_EQ(port.Read(buffer.data(), 3, c.count, &received, c.waitForAll), c.result);
    ASSERT_EQ(received, c.received);
    EXPECT_EQ(std::string(buffer.begin() + 3, buffer.begin() + 3 + received),
              contents.substr(0, static_cast<size_t>(received)));
    EXPECT_EQ(buffer[0], 0xEE);  // nothing before the offset
  }
}

TEST(CSystemPort, ReadAvailableIsOneCallWithoutChunkCap) {
  const std::string contents = Pattern(300);
  TempFile file("sysport_avail", contents);
  PathPort port(file.Path());
  ASSERT_EQ(port.Open(), 1);
  std::vector<uint8_t> buffer(400);
  int32_t received = -1;
  EXPECT_EQ(port.ReadAvailable(buffer.data(), 0, 400, &received), 1);
  EXPECT_EQ(AsText(buffer, received), contents);
  // At the end: the call succeeds, nothing came.
  EXPECT_EQ(port.ReadAvailable(buffer.data(), 0, 400, &received), 1);
  EXPECT_EQ(received, 0);
  EXPECT_EQ(port.ReadAvailable(buffer.data(), 0, 0, &received), 0);
}

TEST(CSystemPort, ByteWiseReads) {
  const std::string contents = Pattern(200);
  TempFile file("sysport_bytewise", contents);
  PathPort port(file.Path(), /*byteWise=*/true);
  ASSERT_EQ(port.Open(), 1);
  EXPECT_TRUE(port.IsByteWiseRead());
  std::vector<uint8_t> buffer(200);
  int32_t received = -1;
  EXPECT_EQ(port.Read(buffer.data(), 0, 150, &received, 1), 1);
  EXPECT_EQ(AsText(buffer, received), contents.substr(0, 150));
  EXPECT_EQ(port.ReadAvailable(buffer.data(), 0, 100, &received), 1);
  EXPECT_EQ(AsText(buffer, received), contents.substr(150));
  // Passes used up with bytes missing is a failure also byte by byte.
  EXPECT_EQ(port.Read(buffer.data(), 0, 10, &received, 1), 0);
  EXPECT_EQ(received, 0);
}

TEST(CSystemPort, MissingFileIsNotOpenedNorCreated) {
  TempFile missing("sysport_missing", "", /*create=*/false);
  PathPort port(missing.Path());
  EXPECT_EQ(port.Open(), 0);
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_NE(port.GetSystemError(), 0);
  EXPECT_EQ(port.configured, 0);
  EXPECT_FALSE(missing.Exists());
  uint8_t buffer[4];
  int32_t received = -1;
  EXPECT_EQ(port.Read(buffer, 0, 4, &received, 0), 0);
  EXPECT_EQ(received, 0);

  PathPort empty(u"");
  EXPECT_EQ(empty.Open(), 0);
}

TEST(CSystemPort, FileIsHeldExclusivelyWhileOpen) {
  TempFile file("sysport_exclusive");
  PathPort first(file.Path());
  PathPort second(file.Path());
  ASSERT_EQ(first.Open(), 1);
  EXPECT_EQ(second.Open(), 0);
  platform::DeviceFile other;
  EXPECT_FALSE(other.OpenExisting(file.Path()));
  first.Close();
  EXPECT_EQ(first.IsOpen(), 0);
  EXPECT_EQ(second.Open(), 1);
}

TEST(CSystemPort, ReopenAndCloseTwice) {
  TempFile file("sysport_reopen");
  PathPort port(file.Path());
  ASSERT_EQ(port.Open(), 1);
  ASSERT_EQ(port.Open(), 1);  // closes first, so its own lock does not refuse it
  EXPECT_EQ(port.configured, 2);
  const uint8_t data[] = {'o', 'k'};
  EXPECT_EQ(port.Write(data, 0, 2), 1);
  port.Close();
  port.Close();
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_FALSE(port.IsReady());
  EXPECT_EQ(port.Write(data, 0, 2), 0);
  EXPECT_EQ(file.Contents(), "ok");
}

TEST(CSystemPort, ProbeOpensAndClosesAgain) {
  TempFile file("sysport_probe");
  PathPort port(file.Path());
  EXPECT_EQ(port.Probe(), 1);
  EXPECT_EQ(port.IsOpen(), 0);
  PathPort again(file.Path());
  EXPECT_EQ(again.Open(), 1);  // the probe let go of the file

  TempFile missing("sysport_probe_missing", "", false);
  PathPort absent(missing.Path());
  EXPECT_EQ(absent.Probe(), 0);
}

struct CallbackLog {
  static IPort* port;
  static uint8_t* buffer;
  static uint32_t bytes;
  static int calls;
  static void Record(IPort* p, uint8_t* b, uint32_t n) {
    port = p;
    buffer = b;
    bytes = n;
    ++calls;
  }
};
IPort* CallbackLog::port = nullptr;
uint8_t* CallbackLog::buffer = nullptr;
uint32_t CallbackLog::bytes = 0;
int CallbackLog::calls = 0;

TEST(CSystemPort, AsyncReadCompletionReachesTheCallbackOnlyWhenEnabled) {
  PathPort port(u"");
  uint8_t buffer[16];
  // No completion-routine reads in this build.
  EXPECT_EQ(port.BeginAsyncRead(buffer, 4, 8), 0);
  port.SetReadCallback(&CallbackLog::Record);
  port.OnAsyncReadComplete(0, 3, nullptr);
  EXPECT_EQ(CallbackLog::calls, 0);
  port.EnableReadCallback(1);
  EXPECT_EQ(port.IsReadCallbackEnabled(), 1);
  port.OnAsyncReadComplete(0, 3, nullptr);
  EXPECT_EQ(CallbackLog::calls, 1);
  EXPECT_EQ(CallbackLog::port, &port);
  EXPECT_EQ(CallbackLog::buffer, buffer + 4);
  EXPECT_EQ(CallbackLog::bytes, 3u);
}

TEST(CSystemPort, ErrorTextIsCutToItsCapacity) {
  PathPort port(u"");
  port.UseErrorText(std::u16string(300, u'e'));
  EXPECT_EQ(port.GetErrorText(), std::u16string(254, u'e'));
}

}  // namespace
}  // namespace IO
}  // namespace QEL
