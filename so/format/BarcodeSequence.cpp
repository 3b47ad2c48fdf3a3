#include "so/format/BarcodeSequence.h"

namespace QEL {
namespace Printer {

namespace {

// Values beyond this are no sizes or symbologies anyone means; stopping
// there keeps the arithmetic clear of overflow.
constexpr int32_t kLargestValue = 9999999;

class Reader {
 public:
  Reader(const uint8_t* bytes, size_t length) : bytes_(bytes), length_(length) {}

  bool Expect(uint8_t letter) {
    if (at_ >= length_ || bytes_[at_] != letter) return false;
    ++at_;
    return true;
  }

  // At least one digit.
  bool Number(int32_t* value) {
    const size_t start = at_;
    int32_t n = 0;
    while (at_ < length_ && bytes_[at_] >= '0' && bytes_[at_] <= '9') {
      if (n > kLargestValue) return false;
      n = n * 10 + (bytes_[at_] - '0');
      ++at_;
    }
    *value = n;
    return at_ > start;
  }

  bool SignedNumber(int32_t* value) {
    if (at_ >= length_) return false;
    const bool negative = bytes_[at_++] == '-';
    if (!Number(value)) return false;
    if (negative) *value = -*value;
    return true;
  }

  size_t At() const { return at_; }

 private:
  const uint8_t* bytes_;
  size_t length_;
  size_t at_ = 0;
};

}  // namespace

bool ParseBarcodeSequence(const uint8_t* bytes, size_t length, BarcodeSequence* parsed) {
  if (bytes == nullptr || parsed == nullptr) return false;
  Reader r(bytes, length);
  BarcodeSequence p;
  if (!(r.Expect('s') && r.Number(&p.symbology) && r.Expect('h') && r.Number(&p.height) &&
        r.Expect('w') && r.Number(&p.width) && r.Expect('a') && r.SignedNumber(&p.alignment) &&
        r.Expect('t') && r.SignedNumber(&p.textPosition) && r.Expect('d'))) {
    return false;
  }
  // The data runs to the final 'e', which may itself follow an 'e' of the data.
  if (length < r.At() + 1 || bytes[length - 1] != 'e') return false;
  p.data = bytes + r.At();
  p.length = length - 1 - r.At();
  *parsed = p;
  return true;
}

}  // namespace Printer
}  // namespace QEL
