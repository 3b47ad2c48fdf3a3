// Placing a barcode or a bitmap on the paper. The printer rotates nothing by
// itself outside page mode, so an object that must come out turned (or that
// must stay upright inside a turned job) is printed as a page of its own.
#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {

constexpr int32_t kJustifyAbsolute = 255;
constexpr int32_t kRotationRight90 = 257;
constexpr int32_t kRotationLeft90 = 258;
constexpr int32_t kRotation180 = 259;
// Room the printer needs under an object printed as a page of its own, dots.
constexpr int32_t kPageTail = 5;

char AlignmentLetter(int32_t justification) {
  switch (justification) {
    case 1: return 'c';
    case 2: return 'r';
    default: return 'l';
  }
}

}  // namespace

bool CPrinterBase::ReadyToPlaceObject(int32_t* rc) {
  *rc = CheckCoverAndPaper();
  if (*rc != OPOS_SUCCESS) return false;
  if (modes_.pageMode) {
    // A page without an area prints nothing, and a changed area must reach
    // the printer before the object it frames.
    if (!PageModePrintAreaIsEffective()) {
      *rc = SetRC(OPOS_SUCCESS);
      return false;
    }
    PositionPageArea(pageModeBuffer_);
  }
  return true;
}

void CPrinterBase::SelectHPos(PrinterBuffer& buffer, char alignment, int32_t width) {
  if (cmdHelper_ == nullptr) return;
  int32_t reference = props_.printAreaWidth;
  if (IsInRotateMode()) {
    reference = layout_.widestLine;
  } else if (modes_.RotatedPageDirection()) {
    reference = H2V(props_.printAreaHeight);
  }
  switch (alignment) {
    case 'c':
      if (width < reference) cmdHelper_->SetAbsolutePosition(buffer, (reference - width) / 2);
      break;
    case 'r':
      if (width < reference) cmdHelper_->SetAbsolutePosition(buffer, reference - width);
      break;
    default:
      if (modes_.pageMode) {
        int32_t position = props_.pageModeHorizontalPosition;
        if (IsInRotateMode()) {
          position = 0;
        } else if (modes_.RotatedPageDirection()) {
          position = H2V(position);
        }
        cmdHelper_->SetAbsolutePosition(buffer, position);
      }
      break;
  }
}

int32_t CPrinterBase::FormatObject(PrinterBuffer& out, const PrinterBuffer& object, int32_t width,
                                   int32_t height, int32_t justification, int32_t xOffset,
                                   bool rotateObject) {
  if (cmdHelper_ == nullptr) return OPOS_E_FAILURE;
  CCmdHelperBase& helper = *cmdHelper_;
  const bool sideways = modes_.Sideways();
  const bool turnedAxes = IsInRotate90Mode();
  // Dots across the paper counted in the finer vertical steps, for page
  // areas and feeds laid along a turned axis.
  const double pitchRatio = traits_.horizontalDotPitch / traits_.verticalDotPitch;
  auto alongTurned = [pitchRatio](int32_t dots) {
    return static_cast<int32_t>(dots * pitchRatio);
  };

  PrinterBuffer& prefix = objectPrefix_;
  prefix.discard();
  // The margin and the justification are settings the printer keeps: text
  // that follows the object in the same job must not inherit them.
  PrinterBuffer& suffix = objectSuffix_;
  suffix.discard();
  if (!modes_.pageMode && !sideways) {
    if (justification == kJustifyAbsolute) {
      helper.SetLeftMargin(prefix, xOffset);
      if (xOffset != 0) helper.SetLeftMargin(suffix, 0);
    } else {
      helper.SetJustification(prefix, static_cast<uint8_t>(justification));
      if (justification != 0) helper.SetJustification(suffix, 0);
    }
  } else if (justification == kJustifyAbsolute) {
    const int32_t x = xOffset + props_.pageModeHorizontalPosition;
    helper.SetAbsolutePosition(prefix, turnedAxes ? alongTurned(x) : x);
  } else {
    SelectHPos(prefix, AlignmentLetter(justification), width);
  }

  // Text still waiting in the printer's line buffer goes out above the object.
  if (!modes_.transaction && !modes_.pageMode && !sideways) helper.FeedNone(out);

  auto placeObject = [&] {
    out.append(prefix);
    out.append(object);
    out.append(suffix);
  };
  // The object as a page of its own: fed down to its height, then printed.
  auto printAsPage = [&] {
    helper.FeedDots(out, alongTurned(charHeight_) + alongTurned(height));
    placeObject();
    helper.FormFeed(out);
  };

  if (modes_.rotate180 && !rotateObject) {
    helper.SetUpsideDown(out, false);
    placeObject();
    helper.SetUpsideDown(out, true);
    return OPOS_SUCCESS;
  }
  if (sideways && !rotateObject) {
    helper.EnterPageMode(out);
    helper.SetPageArea(out, 0, 0, traits_.printWidth,
                       alongTurned(charHeight_ + traits_.pageModeConstant + height + kPageTail));
    helper.SetPageDirection(out, '0');
    printAsPage();
    return OPOS_SUCCESS;
  }
  if (modes_.pageMode) {
    const int32_t vertical = props_.pageModeVerticalPosition;
    helper.SetAbsoluteVertical(out, turnedAxes ? vertical : H2V(vertical));
    helper.FeedDots(out, height + charHeight_);
    placeObject();
    return OPOS_SUCCESS;
  }
  if (sideways) {
    // Turned with the job: it takes part in the job's layout.
    if (width > layout_.widestLine) layout_.widestLine = width;
    layout_.sidewaysHeight += height + charHeight_;
    helper.FeedDots(out, height + charHeight_);
    placeObject();
    return OPOS_SUCCESS;
  }
  const int32_t special = props_.rotateSpecial;
  if ((modes_.rotate180 && rotateObject) || special == kRotation180) {
    helper.SetUpsideDown(out, true);
    placeObject();
    helper.SetUpsideDown(out, false);
    return OPOS_SUCCESS;
  }
  const int32_t base = special & 0xFFF;
  if (base == kRotationRight90 || base == kRotationLeft90) {
    const int32_t extent = (special == base) ? width : height + charHeight_;
    helper.EnterPageMode(out);
    helper.SetPageArea(out, 0, 0, traits_.printWidth,
                       alongTurned(traits_.pageModeConstant + extent + kPageTail));
    helper.SetPageDirection(out, static_cast<uint8_t>(helper.PageDirectionForRotation(base)));
    printAsPage();
    return OPOS_SUCCESS;
  }
  placeObject();
  return OPOS_SUCCESS;
}

}  // namespace Printer
}  // namespace QEL
