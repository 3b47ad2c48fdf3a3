// Logos: text with escape sequences, formatted once when it is set and then
// copied unchanged wherever ESC|tL or ESC|bL asks for it.
#include <vector>

#include "platform/code_page.h"
#include "so/format/TextConversion.h"
#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {
constexpr int32_t kLogoTop = 1;
constexpr int32_t kLogoBottom = 2;
}  // namespace

long CPrinterBase::SetLogo(int32_t location, const std::u16string& data, int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  if (location != kLogoTop && location != kLogoBottom) {
    rc = SetRC(OPOS_E_PAGEMODE_REFUSED);
    return 0;
  }
  if (cmdHelper_ == nullptr) {
    rc = SetRC(OPOS_E_FAILURE);
    return 0;
  }
  // A logo is the same whatever CharacterSet is in force when it prints, so
  // it is read in the system's code page, as binary data is.
  std::vector<char> bytes;
  if (!data.empty()) {
    const size_t needed =
        platform::WideToMultiByte(platform::kAnsiCodePage, data.data(), data.size(), nullptr, 0);
    bytes.resize(needed);
    if (needed == 0 || platform::WideToMultiByte(platform::kAnsiCodePage, data.data(),
                                                 data.size(), bytes.data(), needed) == 0) {
      rc = SetRC(OPOS_E_FAILURE);
      return 0;
    }
  }
  PrinterBuffer& converted = convertedBuffer_;
  converted.discard();
  if (!bytes.empty()) {
    AppendBinaryConverted(converted, bytes.data(), bytes.size(), props_.binaryConversion);
  }
  PrinterBuffer& logo = location == kLogoTop ? topLogo_ : bottomLogo_;
  logo.discard();
  FormatStringToOutBuffer(logo, converted.data(), converted.size(), false);
  rc = SetRC(OPOS_SUCCESS);
  return 0;
}

void CPrinterBase::AppendLogo(PrinterBuffer& out, LogoPosition position) const {
  out.append(position == LogoPosition::kTop ? topLogo_ : bottomLogo_);
}

}  // namespace Printer
}  // namespace QEL
