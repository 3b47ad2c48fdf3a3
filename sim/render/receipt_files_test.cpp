#include "sim/render/receipt_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sim/scratch_directory_test.h"

namespace sim {
namespace render {
namespace {

std::string Head(const std::string& path, size_t n) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return bytes.substr(0, n);
}

TEST(ReceiptFiles, OnePngPerReceiptNamedByItsPlace) {
  ScratchDirectory scratch;
  PrintedImage receipt;
  receipt.width = 4;
  receipt.height = 2;
  receipt.dots = {1, 0, 0, 1, 0, 1, 1, 0};
  const std::vector<std::string> written = WriteReceiptFiles(scratch.Path(), "receipt-3", {receipt, receipt});
  ASSERT_EQ(written,
            (std::vector<std::string>{scratch.Path() + "/receipt-3-1.png", scratch.Path() + "/receipt-3-2.png"}));
  for (const std::string& file : written) EXPECT_EQ(Head(file, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << file;
  // Nothing is claimed for a file that could not be written.
  EXPECT_TRUE(WriteReceiptFiles(scratch.Path() + "/missing", "r", {receipt}).empty());
  EXPECT_TRUE(WriteReceiptFiles(scratch.Path(), "empty", {PrintedImage()}).empty());
}

}  // namespace
}  // namespace render
}  // namespace sim
