#include "so/io/FilePort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/device_file.h"
#include "testing/TempFileForTest.h"

namespace QEL {
namespace IO {
namespace {

using iotest::TempFile;

FilePortSettings SettingsFor(const TempFile& output, const TempFile& input) {
  FilePortSettings settings;
  settings.Parse(output.Path() + u"," + input.Path());
  return settings;
}

TEST(FilePort, WritesGoToTheOutputFileOnly) {
  TempFile output("fileport_out");
  TempFile input("fileport_in", "reply");
  FilePort port(SettingsFor(output, input));
  ASSERT_EQ(port.Open(), 1);
  EXPECT_EQ(port.IsOpen(), 1);
  const uint8_t job[] = {0x1B, 0x40, 'H', 'i', 0x0A, 0x1D, 0x56, 0x00};
  EXPECT_EQ(port.Write(job, 0, 5), 1);
  EXPECT_EQ(port.Write(job, 5, 3), 1);
  port.Close();
  EXPECT_EQ(output.Contents(), std::string("\x1B@Hi\n\x1DV\x00", 8));
  EXPECT_EQ(input.Contents(), "reply");
}

TEST(FilePort, ReadAlwaysWaitsForAll) {
  std::string reply(300, '\0');
  for (size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<char>(i);
  TempFile output("fileport_out");
  TempFile input("fileport_in", reply);
  FilePort port(SettingsFor(output, input));
  ASSERT_EQ(port.Open(), 1);
  std::vector<uint8_t> buffer(300);
  int32_t received = -1;
  // Not asked to wait for all, but a file port reads on past the first chunk.
  EXPECT_EQ(port.Read(buffer.data(), 0, 300, &received, 0), 1);
  EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + received), reply);
  // Nothing left: every pass comes back empty.
  EXPECT_EQ(port.Read(buffer.data(), 0, 4, &received, 0), 0);
  EXPECT_EQ(received, 0);
}

TEST(FilePort, ShortInputFailsWithWhatCame) {
  TempFile output("fileport_out");
  TempFile input("fileport_in", "abc");
  FilePort port(SettingsFor(output, input));
  ASSERT_EQ(port.Open(), 1);
  uint8_t buffer[8];
  int32_t received = -1;
  EXPECT_EQ(port.Read(buffer, 0, 8, &received, 1), 0);
  EXPECT_EQ(received, 3);
  EXPECT_EQ(std::string(buffer, buffer + 3), "abc");
}

TEST(FilePort, ReadAvailableReadsTheInputEvenAfterAWrite) {
  TempFile output("fileport_out");
  TempFile input("fileport_in", "status");
  FilePort port(SettingsFor(output, input));
  ASSERT_EQ(port.Open(), 1);
  const uint8_t request[] = {0x10, 0x04, 0x01};
  ASSERT_EQ(port.Write(request, 0, 3), 1);
  uint8_t buffer[16];
  int32_t received = -1;
  EXPECT_EQ(port.ReadAvailable(buffer, 0, 16, &received), 1);
  EXPECT_EQ(std::string(buffer, buffer + received), "status");
}

TEST(FilePort, CountZeroWritesNothing) {
  TempFile output("fileport_out");
  TempFile input("fileport_in");
  FilePort port(SettingsFor(output, input));
  ASSERT_EQ(port.Open(), 1);
  const uint8_t data[] = {'A'};
  EXPECT_EQ(port.Write(data, 0, 0), 0);
  port.Close();
  EXPECT_EQ(output.Contents(), "");
}

TEST(FilePort, MissingOutputFileFailsOpenWithoutCreatingIt) {
  TempFile output("fileport_out_missing", "", /*create=*/false);
  TempFile input("fileport_in");
  FilePort port(SettingsFor(output, input));
  EXPECT_EQ(port.Open(), 0);
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_NE(port.GetSystemError(), 0);
  EXPECT_EQ(port.GetErrorCode(), 0);
  EXPECT_FALSE(output.Exists());
  // The input file was never taken.
  platform::DeviceFile other;
  EXPECT_TRUE(other.OpenExisting(input.Path()));
}

TEST(FilePort, MissingInputFileFailsOpenAndReleasesTheOutput) {
  TempFile output("fileport_out");
  TempFile input("fileport_in_missing", "", /*create=*/false);
  FilePort port(SettingsFor(output, input));
  EXPECT_EQ(port.Open(), 0);
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_NE(port.GetSystemError(), 0);
  EXPECT_FALSE(input.Exists());
  const uint8_t data[] = {'X'};
  EXPECT_EQ(port.Write(data, 0, 1), 0);
  uint8_t buffer[1];
  int32_t received = -1;
  EXPECT_EQ(port.Read(buffer, 0, 1, &received, 1), 0);
  // The output file is not held by the half-opened port.
  platform::DeviceFile other;
  EXPECT_TRUE(other.OpenExisting(output.Path()));
  other.Close();
  EXPECT_EQ(output.Contents(), "");
}

TEST(FilePort, BothFilesAreHeldExclusivelyWhileOpen) {
  TempFile output("fileport_out");
  TempFile input("fileport_in");
  FilePort port(SettingsFor(output, input));
  ASSERT_EQ(port.Open(), 1);
  platform::DeviceFile other;
  EXPECT_FALSE(other.OpenExisting(output.Path()));
  EXPECT_FALSE(other.OpenExisting(input.Path()));
  FilePort second(SettingsFor(output, input));
  EXPECT_EQ(second.Open(), 0);
  port.Close();
  EXPECT_TRUE(other.OpenExisting(output.Path()));
  other.Close();
  EXPECT_EQ(second.Open(), 1);
}

TEST(FilePort, SameFileForOutputAndInputCannotBeOpened) {
  TempFile both("fileport_both");
  FilePort port(SettingsFor(both, both));
  EXPECT_EQ(port.Open(), 0);
  EXPECT_EQ(port.IsOpen(), 0);
  platform::DeviceFile other;
  EXPECT_TRUE(other.OpenExisting(both.Path()));
}

TEST(FilePort, ReopenAfterCloseAndCloseTwice) {
  TempFile output("fileport_out");
  TempFile input("fileport_in");
  FilePort port(SettingsFor(output, input));
  ASSERT_EQ(port.Open(), 1);
  ASSERT_EQ(port.Open(), 1);
  const uint8_t a[] = {'A'};
  EXPECT_EQ(port.Write(a, 0, 1), 1);
  port.Close();
  port.Close();
  EXPECT_EQ(port.Write(a, 0, 1), 0);
  ASSERT_EQ(port.Open(), 1);
  const uint8_t b[] = {'B'};
  EXPECT_EQ(port.Write(b, 0, 1), 1);
  port.Close();
  // Like a device, every open writes from the start; nothing is truncated.
  EXPECT_EQ(output.Contents(), "B");
}

TEST(FilePort, KeepsItsOwnCopyOfTheSettings) {
  TempFile output("fileport_out");
  TempFile input("fileport_in");
  FilePortSettings settings = SettingsFor(output, input);
  FilePort port(settings);
  settings.Parse(u"elsewhere.out,elsewhere.in");
  auto* own = dynamic_cast<FilePortSettings*>(port.GetSettings());
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own->GetOutputPath(), output.Path());
  EXPECT_EQ(own->GetInputPath(), input.Path());
  EXPECT_EQ(port.Open(), 1);
}

}  // namespace
}  // namespace IO
}  // namespace QEL
