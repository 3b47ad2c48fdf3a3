#pragma once
// The OPOS escape-sequence formatter: one walk over print data already in
// printer bytes. Printable bytes are copied line by line, each ESC | sequence
// becomes command-helper calls, widths are counted for alignment, and what
// the sequences changed (bold, underline, alignment, size, reverse) is undone
// at the end. Everything it needs of the printer comes through IFormatterHost.
#include <cstddef>
#include <cstdint>

#include "so/base/PrinterBuffer.h"
#include "so/format/CCmdHelperBase.h"
#include "so/format/IFormatterHost.h"

namespace QEL {
namespace Printer {

// The walk's results, which are OPOS result codes.
enum FormatResult : int32_t {
  kFormatSuccess = 0,
  kFormatValueReplaced = 106,  // a size, underline or feed value was replaced
  kFormatUnusable = 111,       // an unusable sequence, or a form feed outside page mode
};

class EscapeSequenceFormatter {
 public:
  EscapeSequenceFormatter() = default;
  EscapeSequenceFormatter(const EscapeSequenceFormatter&) = delete;
  EscapeSequenceFormatter& operator=(const EscapeSequenceFormatter&) = delete;

  // Appends the printer bytes for in[0..length) to `out`. With validateOnly
  // the walk only judges the data: it ends at the first unusable sequence,
  // and nothing reaches the printer through the host. One walk at a time: a
  // hook must not format with the formatter that called it.
  FormatResult Format(IFormatterHost& host, PrinterBuffer& out, const uint8_t* in, size_t length,
                      bool validateOnly);

 private:
  // The line being collected; kept between walks so that formatting does not
  // allocate once the buffer has grown.
  PrinterBuffer line_{256, 32};
};

// Places a piece of `width` dots on a standard-mode line of `lineWidth` dots:
// 'c' centres it and 'r' puts it at the right end (both only when it is
// narrower than the line), 'l' goes back to the left edge; any other letter
// places nothing.
void PlaceInStandardLine(CCmdHelperBase& helper, PrinterBuffer& out, char alignment,
                         int32_t width, int32_t lineWidth);

}  // namespace Printer
}  // namespace QEL
