// The same small files must decode to the same pixels with either imaging
// library (stb_image here, GDI+ on Windows): a print job must not come out
// differently on the two systems.
#include "platform/image_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

namespace platform {
namespace {

using Rgb = std::array<int, 3>;

std::u16string ImagePath(const std::string& name) {
  const std::string path = std::string(ZOBELSO_TEST_IMAGES) + "/" + name;
  std::u16string wide(path.begin(), path.end());
#if defined(_WIN32)
  // Under wine a Unix path is reached through drive Z:.
  if (!wide.empty() && wide[0] == u'/') wide = u"Z:" + wide;
#endif
  return wide;
}

// Paper is white: c over white with alpha a, rounded to nearest.
int OnPaper(int c, int a) { return (c * a + 255 * (255 - a) + 127) / 255; }

// The test images are 5 x 3; pixel (x, y) has palette colour (x + 2y) mod n.
struct LosslessCase {
  const char* file;
  std::vector<Rgb> palette;
};

const std::vector<Rgb> kTwo = {{200, 30, 40}, {10, 90, 250}};
const std::vector<Rgb> kFour = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 128, 64}};
const std::vector<Rgb> kFive = {{0, 0, 0}, {255, 255, 255}, {250, 10, 20}, {30, 200, 60}, {17, 34, 251}};
const std::vector<Rgb> kGreys = {{0, 0, 0}, {60, 60, 60}, {128, 128, 128}, {255, 255, 255}};
// Transparent black, opaque red, blue with alpha 128: laid over white.
const std::vector<Rgb> kOverWhite = {{255, 255, 255},
                                     {255, 0, 0},
                                     {OnPaper(0, 128), OnPaper(0, 128), OnPaper(255, 128)}};

class LosslessImage : public ::testing::TestWithParam<LosslessCase> {};

TEST_P(LosslessImage, DecodesEveryPixelExactly) {
  const LosslessCase& c = GetParam();
  RgbImage image;
  std::u16string why = u"stale";
  ASSERT_EQ(DecodeImageFile(ImagePath(c.file), &image, &why), ImageFileResult::kDecoded);
  EXPECT_TRUE(why.empty());
  ASSERT_EQ(image.width, 5);
  ASSERT_EQ(image.height, 3);
  ASSERT_EQ(image.rgb.size(), 5u * 3u * 3u);
  const int n = static_cast<int>(c.palette.size());
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      const Rgb& want = c.palette[static_cast<size_t>((x + 2 * y) % n)];
      const size_t at = (static_cast<size_t>(y) * 5 + static_cast<size_t>(x)) * 3;
      const Rgb got = {image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
      EXPECT_EQ(got, want) << c.file << " pixel " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Files, LosslessImage,
                         ::testing::Values(LosslessCase{"bits1.bmp", kTwo}, LosslessCase{"bits4.bmp", kFour},
                                           LosslessCase{"bits8.bmp", kFive}, LosslessCase{"bits24.bmp", kFive},
                                           LosslessCase{"bits32.bmp", kFive}, LosslessCase{"palette.png", kFour},
                                           LosslessCase{"grey.png", kGreys}, LosslessCase{"rgb.png", kFive},
                                           LosslessCase{"rgba.png", kOverWhite},
                                           LosslessCase{"palette.gif", kFour}),
                         [](const ::testing::TestParamInfo<LosslessCase>& info) {
                           std::string name = info.param.file;
                           for (char& ch : name) {
                             if (ch == '.') ch = '_';
                           }
                           return name;
                         });

TEST(ImageFile, JpegDecodesToItsSizeAndRoughColour) {
  RgbImage image;
  std::u16string why;
  ASSERT_EQ(DecodeImageFile(ImagePath("plain.jpg"), &image, &why), ImageFileResult::kDecoded);
  ASSERT_EQ(image.width, 16);
  ASSERT_EQ(image.height, 16);
  ASSERT_EQ(image.rgb.size(), 16u * 16u * 3u);
  // Written as a plain (230, 40, 30); lossy coding may move it a little.
  for (size_t at = 0; at < image.rgb.size(); at += 3) {
    EXPECT_NEAR(image.rgb[at], 230, 12);
    EXPECT_NEAR(image.rgb[at + 1], 40, 12);
    EXPECT_NEAR(image.rgb[at + 2], 30, 12);
  }
}

TEST(ImageFile, MissingFileIsNotFoundAndNamesTheFile) {
  RgbImage image;
  image.width = 7;
  image.rgb.assign(3, 1);
  std::u16string why;
  const std::u16string path = ImagePath("no-such-image.png");
  EXPECT_EQ(DecodeImageFile(path, &image, &why), ImageFileResult::kNotFound);
  EXPECT_NE(why.find(path), std::u16string::npos);
  EXPECT_EQ(image.width, 0);
  EXPECT_TRUE(image.rgb.empty());
}

TEST(ImageFile, DirectoryIsNotFound) {
  RgbImage image;
  std::u16string why;
  EXPECT_EQ(DecodeImageFile(ImagePath(""), &image, &why), ImageFileResult::kNotFound);
}

TEST(ImageFile, TextFileIsUndecodableAndNamesTheFile) {
  RgbImage image;
  image.height = 3;
  image.rgb.assign(9, 1);
  std::u16string why;
  const std::u16string path = ImagePath("not-an-image.bmp");
  EXPECT_EQ(DecodeImageFile(path, &image, &why), ImageFileResult::kUndecodable);
  EXPECT_NE(why.find(path), std::u16string::npos);
  EXPECT_GT(why.size(), path.size());
  EXPECT_EQ(image.height, 0);
  EXPECT_TRUE(image.rgb.empty());
}

}  // namespace
}  // namespace platform
