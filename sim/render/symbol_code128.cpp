#include "sim/render/symbol_code128.h"

namespace sim {
namespace render {

namespace {

// Bar and space widths of the symbol values 0..105, in modules, bar first;
// the stop pattern adds its final two-module bar.
const char* const kWidths[106] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131", "211412", "211214", "211232"};
const char kStop[] = "2331112";

constexpr int kFnc3 = 96, kFnc2 = 97, kShift = 98, kToC = 99, kToB = 100, kToA = 101, kFnc1 = 102;
constexpr int kStartA = 103;

void Append(const char* widths, std::vector<uint8_t>* modules) {
  uint8_t bar = 1;
  for (const char* w = widths; *w != '\0'; ++w, bar ^= 1) modules->insert(modules->end(), *w - '0', bar);
}

// The value of byte b in set A or B, -1 when the set has no such character.
int Value(char set, uint8_t b) {
  if (set == 'A') return b < 0x20 ? b + 64 : (b <= 0x5F ? b - 0x20 : -1);
  return b >= 0x20 && b <= 0x7F ? b - 0x20 : -1;
}

std::string Hex(uint8_t b) {
  static const char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[b >> 4] + kDigits[b & 0x0F];
}

}  // namespace

bool EncodeCode128(const uint8_t* d, size_t k, Code128Bars* bars, std::string* why) {
  if (k < 2 || d[0] != '{' || d[1] < 'A' || d[1] > 'C') {
    *why = "CODE128 data does not start with {A, {B or {C";
    return false;
  }
  char set = static_cast<char>(d[1]);
  std::vector<int> values{kStartA + (set - 'A')};
  std::string hri;
  bool shifted = false;  // the next character is read in the other of A and B
  for (size_t i = 2; i < k; ++i) {
    uint8_t b = d[i];
    if (b == '{') {
      if (i + 1 == k) {
        *why = "CODE128 data ends in {";
        return false;
      }
      const uint8_t c = d[++i];
      if (shifted && c != '{') {
        *why = "CODE128 shift followed by no character";
        return false;
      }
      if (c >= 'A' && c <= 'C') {
        // Selecting the set in use draws nothing: in A and B the switch
        // values to themselves are FNC4.
        if (c != set) values.push_back(c == 'A' ? kToA : c == 'B' ? kToB : kToC);
        set = static_cast<char>(c);
        continue;
      }
      if (c == 'S') {
        if (set == 'C') {
          *why = "CODE128 shift in code set C";
          return false;
        }
        values.push_back(kShift);
        shifted = true;
        continue;
      }
      if (c >= '1' && c <= '4') {
        if (set == 'C' && c != '1') {
          *why = std::string("CODE128 {") + static_cast<char>(c) + " in code set C";
          return false;
        }
        static const int kFunctions[] = {kFnc1, kFnc2, kFnc3};
        values.push_back(c == '4' ? (set == 'A' ? kToA : kToB) : kFunctions[c - '1']);
        continue;
      }
      if (c != '{') {
        *why = "CODE128 {" + Hex(c) + " selects no code set or function";
        return false;
      }
      b = '{';  // {{ is the character itself
    }
    if (set == 'C' && !shifted) {
      if (b > 99) {
        *why = "CODE128 code set C byte " + std::to_string(b) + " is not 0..99";
        return false;
      }
      values.push_back(b);
      hri += static_cast<char>('0' + b / 10);
      hri += static_cast<char>('0' + b % 10);
      continue;
    }
    const char in = shifted ? (set == 'A' ? 'B' : 'A') : set;
    shifted = false;
    const int v = Value(in, b);
    if (v < 0) {
      *why = std::string("CODE128 code set ") + in + " has no character " + Hex(b);
      return false;
    }
    values.push_back(v);
    hri += b >= 0x20 && b != 0x7F ? static_cast<char>(b) : ' ';
  }
  if (shifted) {
    *why = "CODE128 data ends in a shift";
    return false;
  }
  int check = values[0];
  for (size_t i = 1; i < values.size(); ++i) check = (check + static_cast<int>(i) * values[i]) % 103;
  values.push_back(check);
  bars->modules.clear();
  for (int v : values) Append(kWidths[v], &bars->modules);
  Append(kStop, &bars->modules);
  bars->hri = hri;
  return true;
}

}  // namespace render
}  // namespace sim
