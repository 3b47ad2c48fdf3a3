// libFuzzer target: arbitrary bytes as Code 128 data for both conversions.
// Neither may read past its input; a success must begin with a code-set
// selection, fit the barcode command's length byte and hold no byte that no
// code set has; a refusal leaves the data as it was; and converting the same
// data twice gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "so/format/Code128Conversion.h"

namespace {

using QEL::Printer::ConvertCode128;
using QEL::Printer::ConvertParsedCode128;
using QEL::Printer::kCode128OutputLimit;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool BeginsWithSelection(const std::string& s) {
  return s.size() >= 2 && s[0] == '{' && (s[1] == 'A' || s[1] == 'B' || s[1] == 'C');
}

void Run(bool (*convert)(std::string&), const std::string& input) {
  std::string data = input;
  const bool ok = convert(data);
  std::string again = input;
  Check(convert(again) == ok);
  if (!ok) {
    Check(data == input);
    return;
  }
  Check(again == data);
  Check(data.size() <= kCode128OutputLimit);
  Check(BeginsWithSelection(data));
  for (char c : data) Check(static_cast<uint8_t>(c) < 0x80);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  Run(ConvertCode128, input);
  Run(ConvertParsedCode128, input);
  return 0;
}
