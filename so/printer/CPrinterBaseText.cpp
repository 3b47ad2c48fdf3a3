#include <vector>

#include "platform/code_page.h"
#include "so/format/TextConversion.h"
#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

size_t CPrinterBase::BStr2Char(const std::u16string& text, char* bytes, size_t byteCapacity,
                               unsigned* codePageOut) {
  size_t length = text.size();
  if (length == 0) return 0;
  unsigned codePage = platform::kAnsiCodePage;
  if (props_.binaryConversion == kBinaryConversionNone) {
    codePage = CodePageForCharacterSet(props_.characterSet);
    if (codePageOut != nullptr) *codePageOut = codePage;
  }
  return platform::WideToMultiByte(codePage, text.data(), length, bytes, byteCapacity);
}

bool CPrinterBase::DataBinaryConversion(const std::u16string& text, PrinterBuffer& out) {
  const size_t needed = BStr2Char(text, nullptr, 0, nullptr);
  if (needed == 0) return text.empty();
  std::vector<char> bytes(needed);
  const size_t converted = BStr2Char(text, bytes.data(), bytes.size(), nullptr);
  return AppendBinaryConverted(out, bytes.data(), converted, props_.binaryConversion);
}

}  // namespace Printer
}  // namespace QEL
