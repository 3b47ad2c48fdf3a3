#pragma once
// A uniquely named file in the system's temporary folder, removed again when
// the test is done. For the port tests only.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace QEL {
namespace IO {
namespace iotest {

class TempFile {
 public:
  // `create` false only reserves a name (for "missing file" cases).
  explicit TempFile(const std::string& tag, const std::string& contents = std::string(),
                    bool create = true) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("zobelso_" + tag + "_" + std::to_string(random()) + "_" + std::to_string(++counter));
    if (create) SetContents(contents);
  }
  ~TempFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  std::u16string Path() const { return path_.u16string(); }
  bool Exists() const { return std::filesystem::exists(path_); }
  std::string Contents() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void SetContents(const std::string& contents) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << contents;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace iotest
}  // namespace IO
}  // namespace QEL
