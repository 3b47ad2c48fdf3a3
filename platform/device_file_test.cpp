#include "platform/device_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform/system_error.h"

namespace platform {
namespace {

// A uniquely named path in the temporary folder, removed afterwards.
class TempPath {
 public:
  explicit TempPath(const std::string& tag, const std::u16string& suffix = u"") {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    std::string name = "zobelso_df_" + tag + "_" + std::to_string(random()) + "_" +
                       std::to_string(++counter);
    path_ = std::filesystem::temp_directory_path() /
            std::filesystem::path(std::u16string(name.begin(), name.end()) + suffix);
  }
  ~TempPath() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::u16string Path() const { return path_.u16string(); }
  bool Exists() const { return std::filesystem::exists(path_); }
  void Write(const std::string& contents) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << contents;
  }
  std::string Contents() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void MakeDirectory() const { std::filesystem::create_directory(path_); }

 private:
  std::filesystem::path path_;
};

TEST(DeviceFile, MissingFileIsNotCreated) {
  TempPath path("missing");
  DeviceFile file;
  SetLastSystemError(0);
  EXPECT_FALSE(file.OpenExisting(path.Path()));
  EXPECT_NE(LastSystemError(), 0);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(path.Exists());
}

TEST(DeviceFile, EmptyPathAndDirectoryAreRefused) {
  DeviceFile file;
  EXPECT_FALSE(file.OpenExisting(u""));
  TempPath dir("dir");
  dir.MakeDirectory();
  EXPECT_FALSE(file.OpenExisting(dir.Path()));
  EXPECT_FALSE(file.IsOpen());
}

TEST(DeviceFile, WritesInPlaceAndReadsBack) {
  TempPath path("rw");
  path.Write("0123456789");
  {
    DeviceFile file;
    ASSERT_TRUE(file.OpenExisting(path.Path()));
    const uint8_t data[] = {0x00, 0xFF, 'x'};
    size_t written = 0;
    EXPECT_TRUE(file.Write(data, 3, &written));
    EXPECT_EQ(written, 3u);
    file.Flush();
    uint8_t buffer[16];
    size_t received = 0;
    EXPECT_TRUE(file.Read(buffer, sizeof buffer, &received));
    EXPECT_EQ(std::string(buffer, buffer + received), "3456789");
    // The end of the file: success with nothing.
    EXPECT_TRUE(file.Read(buffer, sizeof buffer, &received));
    EXPECT_EQ(received, 0u);
  }
  EXPECT_EQ(path.Contents(), std::string("\x00\xFFx3456789", 10));
}

TEST(DeviceFile, SecondOpenerIsRefusedUntilClose) {
  TempPath path("exclusive");
  path.Write("");
  DeviceFile first;
  DeviceFile second;
  ASSERT_TRUE(first.OpenExisting(path.Path()));
  SetLastSystemError(0);
  EXPECT_FALSE(second.OpenExisting(path.Path()));
  EXPECT_NE(LastSystemError(), 0);
  first.Close();
  EXPECT_FALSE(first.IsOpen());
  EXPECT_TRUE(second.OpenExisting(path.Path()));
}

TEST(DeviceFile, ReopeningReleasesTheFirstObject) {
  TempPath a("reopen_a");
  TempPath b("reopen_b");
  a.Write("a");
  b.Write("b");
  DeviceFile file;
  ASSERT_TRUE(file.OpenExisting(a.Path()));
  ASSERT_TRUE(file.OpenExisting(b.Path()));
  DeviceFile other;
  EXPECT_TRUE(other.OpenExisting(a.Path()));
  uint8_t byte = 0;
  size_t received = 0;
  EXPECT_TRUE(file.Read(&byte, 1, &received));
  EXPECT_EQ(byte, 'b');
}

TEST(DeviceFile, ClosedFileFailsEveryOperation) {
  DeviceFile file;
  uint8_t byte = 'x';
  size_t n = 99;
  SetLastSystemError(0);
  EXPECT_FALSE(file.Write(&byte, 1, &n));
  EXPECT_EQ(n, 0u);
  EXPECT_NE(LastSystemError(), 0);
  n = 99;
  EXPECT_FALSE(file.Read(&byte, 1, &n));
  EXPECT_EQ(n, 0u);
  file.Flush();
  file.Close();
  EXPECT_EQ(file.NativeHandle(), -1);
}

TEST(DeviceFile, FlushAndCloseKeepTheSystemError) {
  TempPath path("keep_error");
  path.Write("");
  DeviceFile file;
  ASSERT_TRUE(file.OpenExisting(path.Path()));
  SetLastSystemError(1234);
  file.Flush();
  EXPECT_EQ(LastSystemError(), 1234);
  file.Close();
  EXPECT_EQ(LastSystemError(), 1234);
}

TEST(DeviceFile, NonAsciiPath) {
  TempPath path("unicode", u"_\u00e4\u20ac\u6587");
  path.Write("data");
  DeviceFile file;
  ASSERT_TRUE(file.OpenExisting(path.Path()));
  uint8_t buffer[8];
  size_t received = 0;
  EXPECT_TRUE(file.Read(buffer, sizeof buffer, &received));
  EXPECT_EQ(std::string(buffer, buffer + received), "data");
}

}  // namespace
}  // namespace platform
