#pragma once
// A directory of its own for a test that writes files, removed with it.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace sim {

class ScratchDirectory {
 public:
  // Named after the running test, with a random part: test cases may run
  // side by side in separate processes.
  ScratchDirectory() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("zobelso-" + std::string(test->test_suite_name()) + "-" + test->name() + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  // With '/' between its parts on every system.
  std::string Path() const { return path_.generic_string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace sim
