#include "platform/overlapped_device.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/system_error.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace platform {
namespace {

namespace fs = std::filesystem;

fs::path FreshPath(const std::string& tag) {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  return fs::temp_directory_path() /
         ("zobelso_od_" + tag + "_" + std::to_string(random()) + "_" + std::to_string(++counter));
}

struct Removed {
  fs::path path;
  ~Removed() {
    std::error_code ignored;
    fs::remove(path, ignored);
  }
};

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(OverlappedDevice, MissingObjectIsNotCreated) {
  Removed file{FreshPath("missing")};
  OverlappedDevice device;
  SetLastSystemError(0);
  EXPECT_FALSE(device.OpenExisting(file.path.u16string()));
  EXPECT_NE(LastSystemError(), 0);
  EXPECT_FALSE(device.IsOpen());
  EXPECT_FALSE(fs::exists(file.path));
  size_t n = 7;
  uint8_t byte = 0;
  EXPECT_FALSE(device.Write(&byte, 1, 10, &n));
  EXPECT_EQ(n, 0u);
  EXPECT_FALSE(device.Read(&byte, 1, 10, &n));
  EXPECT_EQ(n, 0u);
}

TEST(OverlappedDevice, SecondOpenerIsRefused) {
  Removed file{FreshPath("shared")};
  std::ofstream(file.path, std::ios::binary) << "x";
  OverlappedDevice first, second;
  ASSERT_TRUE(first.OpenExisting(file.path.u16string()));
  EXPECT_FALSE(second.OpenExisting(file.path.u16string()));
  first.Close();
  EXPECT_TRUE(second.OpenExisting(file.path.u16string()));
}

TEST(OverlappedDevice, WritesAndReadsAFile) {
  Removed file{FreshPath("file")};
  std::ofstream(file.path, std::ios::binary) << "\x10\x04";
  OverlappedDevice device;
  ASSERT_TRUE(device.OpenExisting(file.path.u16string()));
  uint8_t reply[8] = {};
  size_t got = 0;
  ASSERT_TRUE(device.Read(reply, sizeof reply, 100, &got));
  ASSERT_EQ(got, 2u);
  EXPECT_EQ(reply[0], 0x10);
  EXPECT_EQ(reply[1], 0x04);
  device.Close();

  std::ofstream(file.path, std::ios::binary | std::ios::trunc);
  ASSERT_TRUE(device.OpenExisting(file.path.u16string()));
  const uint8_t text[] = {'A', 'B', 'C'};
  size_t written = 0;
  EXPECT_TRUE(device.Write(text, 3, 100, &written));
  EXPECT_EQ(written, 3u);
  device.Close();
  EXPECT_EQ(Contents(file.path), "ABC");
}

#ifndef _WIN32
// A FIFO opened for reading and writing is its own loopback, with a bounded
// capacity: the shape of a device that answers, or stops taking data.
class FifoDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::mkfifo(fifo_.path.c_str(), 0600), 0);
    ASSERT_TRUE(device_.OpenExisting(fifo_.path.u16string()));
  }
  Removed fifo_{FreshPath("fifo")};
  OverlappedDevice device_;
};

TEST_F(FifoDevice, ReadWaitsAndEndsEmptyWhenNothingCame) {
  uint8_t buffer[4] = {};
  size_t got = 9;
  EXPECT_FALSE(device_.Read(buffer, sizeof buffer, 20, &got));
  EXPECT_EQ(got, 0u);
  // Nothing left pending: what is written afterwards is read whole.
  const uint8_t status[] = {0x12, 0x34};
  size_t written = 0;
  ASSERT_TRUE(device_.Write(status, 2, 100, &written));
  ASSERT_TRUE(device_.Read(buffer, sizeof buffer, 100, &got));
  ASSERT_EQ(got, 2u);
  EXPECT_EQ(buffer[0], 0x12);
  EXPECT_EQ(buffer[1], 0x34);
}

TEST_F(FifoDevice, ReadTakesAtMostTheAskedCount) {
  const uint8_t data[] = {1, 2, 3, 4, 5};
  size_t written = 0;
  ASSERT_TRUE(device_.Write(data, 5, 100, &written));
  uint8_t buffer[5] = {};
  size_t got = 0;
  ASSERT_TRUE(device_.Read(buffer, 3, 100, &got));
  EXPECT_EQ(got, 3u);
  ASSERT_TRUE(device_.Read(buffer, 5, 100, &got));
  ASSERT_EQ(got, 2u);
  EXPECT_EQ(buffer[0], 4);
  EXPECT_EQ(buffer[1], 5);
}

TEST_F(FifoDevice, WriteThatTheDeviceDoesNotTakeInTimeComesBackShort) {
  // Far more than a pipe holds, with nobody reading.
  std::vector<uint8_t> data(4u << 20, 0x55);
  size_t written = 0;
  EXPECT_TRUE(device_.Write(data.data(), data.size(), 20, &written));
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, data.size());
}
#endif

}  // namespace
}  // namespace platform
