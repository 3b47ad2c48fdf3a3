// Page-mode text on the page: how long the formatter may let a line grow,
// what goes in front of each line as it closes (the feed down to it and its
// horizontal place), and where the print area is full. A sideways job is
// printed as one page when its rotation ends; its lines are only measured,
// so that page can be sized.
//
// Along a line lengths count in dots, or in vertical dots when the axes are
// turned; across the lines (line heights, feeds) the other way round.
#include <algorithm>

#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {

// Extra feed under a first line taller than the line spacing when it ends
// with a line feed or with the data, so its tallest characters clear the
// line above; upright text needs it twice.
constexpr int32_t kTallLineClearance = 3;

// Where the current line stands once `line` has closed. The layout type is
// deduced: it is the core's own tracker.
template <typename Layout>
void FollowLine(Layout& layout, const PageModeLine& line) {
  if (line.lineEnd || line.wrapped) {
    layout.horizontalPosition = 0;
    layout.firstLine = line.lineEnd;
  } else {
    layout.horizontalPosition = line.startsAt + line.width;
    layout.firstLine = line.firstLine;
  }
  layout.lineHasContent = layout.horizontalPosition > 0;
}

}  // namespace

PageLineRoom CPrinterBase::PageModeLineRoom() const {
  PageLineRoom room;
  room.onFirstLine = layout_.firstLine;
  room.usedDots = layout_.horizontalPosition;
  if (!modes_.pageMode || !PageModePrintAreaIsEffective()) return room;
  const bool turned = IsInRotate90Mode();
  // On turned axes a line runs down the print area's height.
  const int32_t length = turned ? props_.printAreaHeight : props_.printAreaWidth;
  const int32_t start = props_.pageModeHorizontalPosition;
  const int32_t first = start < length ? length - start : length;
  room.firstLine = turned ? H2V(first) : first;
  room.laterLines = turned ? H2V(length) : length;
  return room;
}

bool CPrinterBase::PlacePageModeLine(PrinterBuffer& out, const PageModeLine& line) {
  const bool turned = IsInRotate90Mode();
  auto along = [&](int32_t dots) { return turned ? H2V(dots) : dots; };
  auto across = [&](int32_t dots) { return turned ? dots : H2V(dots); };

  // What closes with nothing printable on it (mode commands at the end of
  // the data) takes no room and needs no place.
  if (line.width == 0 && line.startsAt == 0 && !line.lineEnd) {
    FollowLine(layout_, line);
    return true;
  }
  // An empty line after a wrap is not fed to: the line feed that ends it
  // moves on by itself, so a line that filled its room exactly and then
  // ends leaves no blank line behind.
  const bool emptyAfterWrap = !line.firstLine && line.width == 0 && line.startsAt == 0;
  const int32_t height = across(line.height);
  if (!emptyAfterWrap) {
    const int32_t extent = turned ? props_.printAreaWidth : props_.printAreaHeight;
    const int32_t start = props_.pageModeVerticalPosition;
    const int32_t available = across(start < extent ? extent - start : extent);
    layout_.heightUsed += height;
    if (layout_.heightUsed > available) return false;
  }

  // A line an earlier call began was fed to and placed by that call.
  const bool continued = line.startsAt > 0;
  if (!continued && cmdHelper_ != nullptr) {
    if (line.firstLine) {
      // The first line stands on the page-mode vertical position plus one
      // line spacing; taller characters need the difference.
      const int32_t spacing = across(props_.recLineSpacing);
      if (height > spacing) {
        int32_t feed = height - spacing;
        if (!line.wrapped) feed += kTallLineClearance + (turned ? 0 : kTallLineClearance);
        cmdHelper_->FeedDots(out, feed);
      }
      const int32_t length = turned ? props_.printAreaHeight : props_.printAreaWidth;
      if (line.width > 0 && props_.pageModeHorizontalPosition < length) {
        SelectHPos(out, line.alignment, along(line.width));
      }
    } else if (!emptyAfterWrap) {
      // A line after a wrap: down by its own height, placed from the left
      // edge of the area, not from the horizontal position.
      cmdHelper_->FeedDots(out, height);
      if (line.alignment == 'c' || line.alignment == 'r') {
        SelectHPos(out, line.alignment, along(line.width));
      } else {
        cmdHelper_->SetAbsolutePosition(out, 0);
      }
    }
  }
  FollowLine(layout_, line);
  return true;
}

void CPrinterBase::NoteSidewaysLine(const PageModeLine& line) {
  // A sideways line runs down the paper: its length counts in vertical dots.
  layout_.widestLine = std::max(layout_.widestLine, H2V(line.startsAt + line.width));
  if (line.lineEnd || line.wrapped) layout_.sidewaysHeight += line.height;
  FollowLine(layout_, line);
}

}  // namespace Printer
}  // namespace QEL
