#pragma once
// The digits the printer takes for the EAN and UPC codes, brought into the
// form libzint draws: a given check digit is checked and dropped, and UPC-E
// may arrive as the UPC-A number it stands for.
#include <string>

namespace sim {
namespace render {

// The check digit of digits (without it), by the EAN/UPC weighting: 3 for
// the rightmost digit, 1 for the next, and so on.
char EanCheckDigit(const std::string& digits);

// digits with its last (check) digit dropped when it is right; false with
// *why when it is wrong.
bool WithoutCheckDigit(const std::string& digits, std::string* body, std::string* why);

// The UPC-E number (number system 0 and six digits) for the UPC-A number
// "0" + five manufacturer + five product digits; false with *why when that
// number has no UPC-E form.
bool UpcEFromUpcA(const std::string& upcA11, std::string* upcE7, std::string* why);

}  // namespace render
}  // namespace sim
