#include "sim/render/symbol_ean_upc.h"

namespace sim {
namespace render {

char EanCheckDigit(const std::string& digits) {
  int sum = 0;
  int weight = 3;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it, weight = 4 - weight) sum += (*it - '0') * weight;
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

bool WithoutCheckDigit(const std::string& digits, std::string* body, std::string* why) {
  *body = digits.substr(0, digits.size() - 1);
  const char expected = EanCheckDigit(*body);
  if (digits.back() == expected) return true;
  *why = std::string("check digit ") + digits.back() + ", not " + expected;
  return false;
}

bool UpcEFromUpcA(const std::string& a, std::string* e, std::string* why) {
  if (a.size() != 11 || a[0] != '0') {
    *why = "UPC-E stands only for UPC-A numbers of number system 0";
    return false;
  }
  const std::string maker = a.substr(1, 5);
  const std::string item = a.substr(6, 5);
  // The manufacturer's trailing zeros make room for the item number.
  if (maker.compare(2, 3, "000") == 0 || maker.compare(2, 3, "100") == 0 || maker.compare(2, 3, "200") == 0) {
    if (item.compare(0, 2, "00") == 0) {
      *e = "0" + maker.substr(0, 2) + item.substr(2, 3) + maker[2];
      return true;
    }
  } else if (maker.compare(3, 2, "00") == 0) {
    if (item.compare(0, 3, "000") == 0) {
      *e = "0" + maker.substr(0, 3) + item.substr(3, 2) + "3";
      return true;
    }
  } else if (maker[4] == '0') {
    if (item.compare(0, 4, "0000") == 0) {
      *e = "0" + maker.substr(0, 4) + item[4] + "4";
      return true;
    }
  } else if (item.compare(0, 4, "0000") == 0 && item[4] >= '5') {
    *e = "0" + maker + item[4];
    return true;
  }
  *why = "UPC-A " + a + " has no UPC-E form";
  return false;
}

}  // namespace render
}  // namespace sim
