// Printing an image file. The image is read by the system's imaging library,
// scaled and dithered here, and sent as printer raster graphics (GS 8 L),
// placed like a barcode.
#include <algorithm>
#include <string>

#include "platform/image_file.h"
#include "so/format/BitmapRaster.h"
#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {

constexpr int32_t kWidthAsIs = -11;
constexpr int32_t kJustifyAbsolute = 255;
constexpr int32_t kRasterRounding = 8;
// The longest object the printer takes outside page mode, in dots.
constexpr int32_t kMaxObjectLength = 2048;

bool IsOposAlignment(int32_t alignment) { return alignment >= -3 && alignment <= -1; }

}  // namespace

int32_t CPrinterBase::DecodeBitmapFile(const std::u16string& file, platform::RgbImage* image) {
  imageErrorText_.clear();
  std::u16string why;
  const platform::ImageFileResult read = platform::DecodeImageFile(file, image, &why);
  if (read == platform::ImageFileResult::kDecoded) return OPOS_SUCCESS;
  imageErrorText_ = why.empty() ? file : why;
  errorInformation_ = imageErrorText_;
  return read == platform::ImageFileResult::kNotFound ? OPOS_E_NOEXIST : OPOS_E_ILLEGAL;
}

int32_t CPrinterBase::GetBitmapInfo(const std::u16string& file, int32_t* width, int32_t* height,
                                    int32_t requestedWidth, int32_t rounding) {
  platform::RgbImage image;
  const int32_t rc = DecodeBitmapFile(file, &image);
  if (rc != OPOS_SUCCESS) return rc;
  if (!BitmapPrintSize(image.width, image.height, requestedWidth, rounding, width, height)) {
    return OPOS_E_ILLEGAL;
  }
  return OPOS_SUCCESS;
}

int32_t CPrinterBase::GetBitmapData(const std::u16string& file, MonoRaster* raster,
                                    int32_t requestedWidth) {
  if (requestedWidth != kWidthAsIs && requestedWidth <= 0) return OPOS_E_ILLEGAL;
  platform::RgbImage image;
  const int32_t rc = DecodeBitmapFile(file, &image);
  if (rc != OPOS_SUCCESS) return rc;
  if (!RasteriseBitmap(image.rgb.data(), image.width, image.height, requestedWidth, raster)) {
    return OPOS_E_ILLEGAL;
  }
  return OPOS_SUCCESS;
}

bool CPrinterBase::VerifyObjectSize(int32_t width, int32_t height, int32_t xOffset,
                                    bool rotateObject) const {
  const int32_t paper = traits_.printWidth;
  const int32_t areaWidth = traits_.pageAreaWidth;
  const int32_t areaHeight = traits_.pageAreaHeight;
  if (!modes_.pageMode) {
    if (!modes_.Sideways()) return width <= paper - xOffset && height <= kMaxObjectLength;
    // Turned with the job, the object's height runs across the paper, after
    // what the job has already put there.
    const int32_t across = rotateObject ? height + layout_.sidewaysHeight : height;
    return width <= kMaxObjectLength - xOffset && across <= paper;
  }
  const int32_t below = props_.pageModeVerticalPosition;
  if (!IsInRotate90Mode()) return width <= areaHeight - xOffset && height <= areaWidth - below;
  return width <= areaWidth - xOffset && height <= areaHeight - below;
}

long CPrinterBase::PrintBitmap(int32_t /*station*/, const std::u16string& fileName, int32_t width,
                               int32_t alignment, int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  imageErrorText_.clear();
  const bool sideways = modes_.Sideways();
  if (!modes_.transaction && !modes_.pageMode && !sideways && props_.asyncMode == 0 &&
      !IsIdle()) {
    rc = SetRC(OPOS_E_BUSY);
    return 0;
  }
  if (cmdHelper_ == nullptr) {
    rc = SetRC(OPOS_E_FAILURE);
    return 0;
  }
  const int32_t widthDots = width == kWidthAsIs ? kWidthAsIs : MapNumber2DOT_H(width);
  const int32_t limit = IsInRotate90Mode() ? traits_.pageAreaWidth : traits_.pageAreaHeight;
  bool usable = widthDots == kWidthAsIs || (widthDots >= 0 && widthDots <= limit);
  int32_t justification = kJustifyAbsolute;
  int32_t offset = 0;
  if (alignment < 0 && !IsOposAlignment(alignment)) {
    usable = false;
  } else if (alignment > 0) {
    offset = MapNumber2DOT_H(alignment);
    if (std::max(widthDots, 0) + offset > limit) usable = false;
  } else {
    justification = cmdHelper_->AlignmentForBitmap(alignment);
  }
  if (!usable) {
    rc = SetRC(OPOS_E_ILLEGAL);
    return 0;
  }
  if (!ReadyToPlaceObject(&rc)) return 0;

  platform::RgbImage image;
  int32_t found = DecodeBitmapFile(fileName, &image);
  int32_t printWidth = 0;
  int32_t printHeight = 0;
  if (found == OPOS_SUCCESS && !BitmapPrintSize(image.width, image.height, widthDots,
                                                kRasterRounding, &printWidth, &printHeight)) {
    found = OPOS_E_ILLEGAL;
  }
  if (found != OPOS_SUCCESS) {
    rc = SetRC(found);
    return 0;
  }
  if (!VerifyObjectSize(printWidth, printHeight, offset, modes_.bitmapRotation)) {
    rc = SetRC(OPOS_EPTR_TOOBIG);
    return 0;
  }
  MonoRaster raster;
  if (!RasteriseBitmap(image.rgb.data(), image.width, image.height, widthDots, &raster)) {
    rc = SetRC(OPOS_E_ILLEGAL);
    return 0;
  }
  image = platform::RgbImage();  // the pixels are no longer needed

  PrinterBuffer& object = bitmapObject_;
  object.discard();
  cmdHelper_->StoreGraphicsHeader(object, static_cast<int32_t>(raster.bits.size()), raster.width,
                                  raster.height);
  object.append(raster.bits.data(), raster.bits.size());
  cmdHelper_->PrintGraphicsBuffer(object);

  const bool direct = IsDirectSend();
  PrinterBuffer* target = &unrotatedObjectBuffer_;
  if (direct) {
    jobBuffer_.discard();
    InitOutBufferWithPMControl(jobBuffer_, 3);
    target = &jobBuffer_;
  } else if (!sideways || modes_.bitmapRotation) {
    target = CurrentPrinterBuffer();
  }
  FormatObject(*target, object, raster.width, raster.height, justification, offset,
               modes_.bitmapRotation);
  if (direct) {
    rc = FinishJob(jobBuffer_);
    return 0;
  }
  rc = SetRC(OPOS_SUCCESS);
  return 0;
}

long CPrinterBase::PrintMemoryBitmap(int32_t, const std::u16string&, int32_t, int32_t, int32_t,
                                     int32_t* result) {
  // An image handed over in memory has no format this service can read.
  const int32_t rc = SetRC(OPOS_E_NOT_SUPPORTED);
  if (result != nullptr) *result = rc;
  return 0;
}

}  // namespace Printer
}  // namespace QEL
