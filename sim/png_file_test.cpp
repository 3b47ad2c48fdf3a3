#include "sim/png_file.h"

#include <gtest/gtest.h>

#include <string>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include "sim/image_test_bytes.h"
#include "sim/scratch_directory_test.h"

namespace sim {
namespace {

// The file as any PNG reader sees it, one grey byte a pixel.
PrintedImage ReadBack(const std::string& path, int* channels) {
  int width = 0, height = 0;
  unsigned char* grey = stbi_load(path.c_str(), &width, &height, channels, 1);
  PrintedImage image;
  if (grey == nullptr) return image;
  image.width = width;
  image.height = height;
  for (int i = 0; i < width * height; ++i) {
    EXPECT_TRUE(grey[i] == 0 || grey[i] == 255) << "grey " << int(grey[i]);
    image.dots.push_back(grey[i] == 0 ? 1 : 0);
  }
  stbi_image_free(grey);
  return image;
}

TEST(PngFile, DecodesToTheSameDotsBlackOnWhite) {
  ScratchDirectory dir;
  const PrintedImage image = imagebytes::Drawn({"#...#..", ".#.#...", "..#....", "...#..#"});
  const std::string path = dir.Path() + "/image.png";
  ASSERT_TRUE(WritePngFile(path, image));
  int channels = 0;
  EXPECT_EQ(ReadBack(path, &channels), image);
  EXPECT_EQ(channels, 1);
}

TEST(PngFile, RefusesWhatCannotBeWritten) {
  ScratchDirectory dir;
  EXPECT_FALSE(WritePngFile(dir.Path() + "/empty.png", PrintedImage()));
  EXPECT_FALSE(WritePngFile(dir.Path() + "/no/such/dir/x.png", imagebytes::Drawn({"#"})));
}

}  // namespace
}  // namespace sim
