// stb_image reads the image files here, limited to the formats a print job
// can name (BMP, PNG, JPEG, GIF): the fewer parsers face outside files, the
// fewer ways a malformed one has in.
#include "platform/image_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "platform/over_white.h"
#include "platform/posix/utf8_path.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace platform {

namespace {

// Far beyond any paper width; refused before anything is allocated, so that
// a crafted header cannot make the service reserve gigabytes.
constexpr int kMaxSide = 16384;

std::u16string Ascii(const char* text) {
  std::u16string out;
  for (; *text != '\0'; ++text) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
  return out;
}

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

struct PixelsFree {
  void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

ImageFileResult Fail(ImageFileResult result, const std::u16string& path, const std::u16string& reason,
                     RgbImage* image, std::u16string* why) {
  *image = RgbImage();
  if (why != nullptr) *why = path + u": " + reason;
  return result;
}

}  // namespace

ImageFileResult DecodeImageFile(const std::u16string& path, RgbImage* image, std::u16string* why) {
  std::string name;
  if (path.empty() || path.find(u'\0') != std::u16string::npos || !PathToUtf8(path, &name)) {
    return Fail(ImageFileResult::kNotFound, path, u"not a usable file name", image, why);
  }
  // Only a plain file: a directory opens for reading here, and opening a pipe
  // or a device without O_NONBLOCK could keep the caller waiting for ever.
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  struct stat info;
  if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    if (fd >= 0) ::close(fd);
    return Fail(ImageFileResult::kNotFound, path, u"cannot be opened for reading", image, why);
  }
  std::unique_ptr<FILE, FileCloser> file(::fdopen(fd, "rb"));
  if (!file) {
    ::close(fd);
    return Fail(ImageFileResult::kNotFound, path, u"cannot be opened for reading", image, why);
  }

  int width = 0;
  int height = 0;
  int channels = 0;
  if (!stbi_info_from_file(file.get(), &width, &height, &channels)) {
    return Fail(ImageFileResult::kUndecodable, path, u"not a readable image (" + Ascii(stbi_failure_reason()) + u")",
                image, why);
  }
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    return Fail(ImageFileResult::kUndecodable, path, u"image too large", image, why);
  }
  std::unique_ptr<stbi_uc, PixelsFree> rgba(stbi_load_from_file(file.get(), &width, &height, &channels, 4));
  if (!rgba) {
    return Fail(ImageFileResult::kUndecodable, path, u"not a readable image (" + Ascii(stbi_failure_reason()) + u")",
                image, why);
  }

  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  image->width = width;
  image->height = height;
  image->rgb.resize(count * 3);
  const stbi_uc* in = rgba.get();
  uint8_t* out = image->rgb.data();
  for (size_t i = 0; i < count; ++i, in += 4, out += 3) {
    const uint32_t alpha = in[3];
    out[0] = OverWhite(in[0], alpha);
    out[1] = OverWhite(in[1], alpha);
    out[2] = OverWhite(in[2], alpha);
  }
  if (why != nullptr) why->clear();
  return ImageFileResult::kDecoded;
}

}  // namespace platform
