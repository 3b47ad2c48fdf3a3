// GDI+ reads the image files here: every format Windows itself opens.
//
// GDI+ is started once, on the first image, and never shut down. Shutting it
// down is not allowed from DllMain (it waits on threads the loader lock
// holds back), and no other moment is known to be after the last image of a
// library that a control object may load and unload at will; a process's
// exit releases what GDI+ holds.
#include "platform/image_file.h"

#include <windows.h>
// The GDI+ headers use COM types that WIN32_LEAN_AND_MEAN leaves out, and
// min and max, which NOMINMAX takes away.
#include <objidl.h>

#include <algorithm>
#include <cstring>

using std::max;
using std::min;
#include <gdiplus.h>

#include "platform/over_white.h"

namespace platform {

namespace {

namespace gp = Gdiplus;
namespace flat = Gdiplus::DllExports;

// Far beyond any paper width; refused before the pixels are converted, so
// that a crafted header cannot make the service reserve gigabytes.
constexpr UINT kMaxSide = 16384;

bool GdiplusStarted() {
  static const bool started = [] {
    gp::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    return gp::GdiplusStartup(&token, &input, nullptr) == gp::Ok;
  }();
  return started;
}

ImageFileResult Fail(ImageFileResult result, const std::u16string& path, const std::u16string& reason,
                     RgbImage* image, std::u16string* why) {
  *image = RgbImage();
  if (why != nullptr) *why = path + u": " + reason;
  return result;
}

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

bool OpensForReading(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path));
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  HANDLE file = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

class Bitmap {
 public:
  explicit Bitmap(const std::u16string& path) { status_ = flat::GdipCreateBitmapFromFile(Wide(path), &bitmap_); }
  ~Bitmap() {
    if (bitmap_ != nullptr) flat::GdipDisposeImage(bitmap_);
  }
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  bool Loaded() const { return status_ == gp::Ok && bitmap_ != nullptr; }
  gp::GpBitmap* get() const { return bitmap_; }

 private:
  gp::GpBitmap* bitmap_ = nullptr;
  gp::GpStatus status_ = gp::GenericError;
};

}  // namespace

ImageFileResult DecodeImageFile(const std::u16string& path, RgbImage* image, std::u16string* why) {
  if (path.empty() || path.find(u'\0') != std::u16string::npos || !OpensForReading(path)) {
    return Fail(ImageFileResult::kNotFound, path, u"cannot be opened for reading", image, why);
  }
  if (!GdiplusStarted()) return Fail(ImageFileResult::kUndecodable, path, u"GDI+ did not start", image, why);
  Bitmap bitmap(path);
  if (!bitmap.Loaded()) return Fail(ImageFileResult::kUndecodable, path, u"not a readable image", image, why);
  UINT width = 0;
  UINT height = 0;
  if (flat::GdipGetImageWidth(bitmap.get(), &width) != gp::Ok ||
      flat::GdipGetImageHeight(bitmap.get(), &height) != gp::Ok || width == 0 || height == 0) {
    return Fail(ImageFileResult::kUndecodable, path, u"not a readable image", image, why);
  }
  if (width > kMaxSide || height > kMaxSide) {
    return Fail(ImageFileResult::kUndecodable, path, u"image too large", image, why);
  }
  const gp::GpRect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  gp::BitmapData data;
  std::memset(&data, 0, sizeof data);
  if (flat::GdipBitmapLockBits(bitmap.get(), &rect, gp::ImageLockModeRead, PixelFormat32bppARGB, &data) != gp::Ok) {
    return Fail(ImageFileResult::kUndecodable, path, u"pixels cannot be read", image, why);
  }
  image->width = static_cast<int32_t>(width);
  image->height = static_cast<int32_t>(height);
  image->rgb.resize(static_cast<size_t>(width) * height * 3);
  uint8_t* out = image->rgb.data();
  for (UINT y = 0; y < height; ++y) {
    // Stride is negative for a bottom-up buffer.
    const uint8_t* in = static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
    for (UINT x = 0; x < width; ++x, in += 4, out += 3) {
      // Blue, green, red, alpha in memory; the alpha is not premultiplied.
      const uint32_t alpha = in[3];
      out[0] = OverWhite(in[2], alpha);
      out[1] = OverWhite(in[1], alpha);
      out[2] = OverWhite(in[0], alpha);
    }
  }
  flat::GdipBitmapUnlockBits(bitmap.get(), &data);
  if (why != nullptr) why->clear();
  return ImageFileResult::kDecoded;
}

}  // namespace platform
