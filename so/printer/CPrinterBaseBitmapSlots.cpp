// Bitmaps prepared by SetBitmap and printed by ESC|#B. The printer can hold
// one image of limited size in its downloaded bit-image memory, which prints
// with three bytes; the first image that fits after each open goes there,
// every other one is kept here as raster commands and sent each time.
#include <vector>

#include "platform/image_file.h"
#include "so/format/BitmapRaster.h"
#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {

constexpr int32_t kWidthAsIs = -11;
constexpr int32_t kJustifyAbsolute = 255;
constexpr int32_t kRasterRounding = 8;
constexpr int32_t kStationReceipt = 2;
// What the downloaded bit-image memory holds: height in dots, size in cells
// of 8 x 8 dots.
constexpr int32_t kDownloadMaxHeight = 384;
constexpr int32_t kDownloadMaxCells = 1536;

bool IsOposAlignment(int32_t alignment) { return alignment >= -3 && alignment <= -1; }

}  // namespace

void CPrinterBase::ResetBitmapsAtOpen() {
  for (BitmapSlot& slot : bitmapSlots_) {
    slot.number = 0;
    slot.fileName.clear();
    slot.width = slot.height = slot.alignment = 0;
    slot.storedInPrinter = false;
    slot.state = 0;
    slot.commands.clear();
  }
  downloadedImageSlot_ = 0;
}

long CPrinterBase::SetBitmap(int32_t number, int32_t station, const std::u16string& fileName,
                             int32_t width, int32_t alignment, int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  imageErrorText_.clear();
  if (cmdHelper_ == nullptr) {
    rc = SetRC(OPOS_E_FAILURE);
    return 0;
  }
  const int32_t paper = traits_.printWidth;
  // Bitmap 0 could never be printed (ESC|#B counts from 1), so it is refused
  // rather than letting it take the downloaded-image memory.
  const bool usable = (width == kWidthAsIs || width >= 0) &&
                      (width <= 0 || MapNumber2DOT_H(width) <= paper) && number >= 1 &&
                      number <= kBitmapSlotCount &&
                      (alignment >= 0 || IsOposAlignment(alignment)) &&
                      (alignment <= 0 || MapNumber2DOT_H(alignment) <= paper) &&
                      station == kStationReceipt;
  if (!usable) {
    rc = SetRC(OPOS_E_ILLEGAL);
    return 0;
  }
  const int32_t widthDots = width > 0 ? MapNumber2DOT_H(width) : width;

  platform::RgbImage image;
  int32_t found = DecodeBitmapFile(fileName, &image);
  int32_t w = 0;
  int32_t h = 0;
  if (found == OPOS_SUCCESS &&
      !BitmapPrintSize(image.width, image.height, widthDots, kRasterRounding, &w, &h)) {
    found = OPOS_E_ILLEGAL;
  }
  if (found != OPOS_SUCCESS) {
    rc = SetRC(found);
    return 0;
  }
  BitmapSlot& slot = bitmapSlots_[number - 1];
  slot.storedInPrinter = false;

  MonoRaster raster;
  if (!RasteriseBitmap(image.rgb.data(), image.width, image.height, widthDots, &raster)) {
    rc = SetRC(OPOS_E_ILLEGAL);
    return 0;
  }
  image = platform::RgbImage();
  w = raster.width;
  h = raster.height;

  const bool download = (props_.asyncMode == 0 || IsIdle()) && downloadedImageSlot_ == 0 &&
                        w < paper && h < kDownloadMaxHeight &&
                        w * h / 64 < kDownloadMaxCells;
  bool downloaded = false;
  if (download) {
    std::vector<uint8_t> columns;
    ToColumnFormat(raster, &columns);
    PrinterBuffer& define = bitmapObject_;
    define.discard();
    // Straight to the printer, ahead of anything queued: the image must be
    // there before any job that prints it.
    downloaded = cmdHelper_->DefineDownloadedImage(define, static_cast<uint8_t>(w / 8),
                                                   static_cast<uint8_t>(h / 8), columns.data(),
                                                   columns.size()) &&
                 DirectSend(define, 0, 7) == OPOS_SUCCESS;
  }
  slot.commands.discard();
  if (downloaded) {
    slot.storedInPrinter = true;
    downloadedImageSlot_ = number;
    cmdHelper_->PrintDownloadedImage(slot.commands, 0);
  } else {
    // Also where an image lands that the printer did not take: kept here,
    // it still prints.
    cmdHelper_->StoreGraphicsHeader(slot.commands, static_cast<int32_t>(raster.bits.size()), w, h);
    slot.commands.append(raster.bits.data(), raster.bits.size());
    cmdHelper_->PrintGraphicsBuffer(slot.commands);
  }
  slot.number = number;
  slot.alignment = alignment;
  slot.fileName = fileName;
  slot.width = w;
  slot.height = h;
  slot.state = kBitmapSet;
  rc = SetRC(OPOS_SUCCESS);
  return 0;
}

bool CPrinterBase::FormatSettedBitmap(PrinterBuffer& out, int32_t number) {
  if (cmdHelper_ == nullptr || number < 1 || number > kBitmapSlotCount) return false;
  const BitmapSlot& slot = bitmapSlots_[number - 1];
  if (slot.state != kBitmapSet) return false;
  int32_t justification = kJustifyAbsolute;
  int32_t offset = 0;
  if (IsOposAlignment(slot.alignment) || slot.alignment < 1) {
    justification = cmdHelper_->AlignmentForBitmap(slot.alignment);
  } else {
    // Set in the map mode of then, placed in the map mode of now.
    offset = MapNumber2DOT_H(slot.alignment);
  }
  if (!VerifyObjectSize(slot.width, slot.height, offset, modes_.bitmapRotation)) return false;
  FormatObject(out, slot.commands, slot.width, slot.height, justification, offset,
               modes_.bitmapRotation);
  return true;
}

SequenceOutcome CPrinterBase::PrintStoredBitmap(PrinterBuffer& out, int32_t number,
                                                bool validateOnly) {
  if (number < 1 || number > kBitmapSlotCount || bitmapSlots_[number - 1].state != kBitmapSet) {
    return SequenceOutcome::kUnusable;
  }
  if (validateOnly) return SequenceOutcome::kDone;
  return FormatSettedBitmap(out, number) ? SequenceOutcome::kDone : SequenceOutcome::kUnusable;
}

}  // namespace Printer
}  // namespace QEL
