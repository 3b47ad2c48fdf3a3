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
  // Every code page the printers use keeps 7-bit ASCII as it is; most print
  // data is nothing else, and needs no conversion call.
  bool ascii = true;
  for (char16_t c : text) {
    if (c >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) {
    if (byteCapacity == 0) return length;
    if (byteCapacity < length) return 0;
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(text[i]);
    return length;
  }
  return platform::WideToMultiByte(codePage, text.data(), length, bytes, byteCapacity);
}

bool CPrinterBase::ConvertPrintData(const std::u16string& text, PrinterBuffer& out,
                                    unsigned* codePage) {
  if (text.empty()) return true;
  // Most code pages need at most two bytes a character; try that first and
  // measure only when it does not fit.
  converted_.resize(text.size() * 2 + 16);
  size_t converted = BStr2Char(text, converted_.data(), converted_.size(), codePage);
  if (converted == 0) {
    const size_t needed = BStr2Char(text, nullptr, 0, codePage);
    if (needed == 0) return false;
    converted_.resize(needed);
    converted = BStr2Char(text, converted_.data(), converted_.size(), codePage);
    if (converted == 0) return false;
  }
  return AppendBinaryConverted(out, converted_.data(), converted, props_.binaryConversion);
}

bool CPrinterBase::DataBinaryConversion(const std::u16string& text, PrinterBuffer& out) {
  return ConvertPrintData(text, out, nullptr);
}

}  // namespace Printer
}  // namespace QEL
