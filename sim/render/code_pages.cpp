#include "sim/render/code_pages.h"

#include <array>
#include <map>
#include <mutex>
#include <string>

#include "platform/code_page.h"

namespace sim {
namespace render {

namespace {

using Table = std::array<char32_t, 128>;

// The upper half of one table, converted once by the system. A byte the
// system cannot convert, or converts to the replacement character, prints
// '?' as a gap in a printer's table does.
Table Convert(unsigned codePage) {
  Table table;
  table.fill(U'?');
  for (int i = 0; i < 128; ++i) {
    const char in = static_cast<char>(0x80 + i);
    const std::u16string wide = platform::MultiByteToWide(codePage, &in, 1);
    if (wide.size() == 1 && wide[0] != u'\uFFFD') table[static_cast<size_t>(i)] = wide[0];
  }
  return table;
}

}  // namespace

unsigned CodePageOf(int table) {
  switch (table) {
    case 0: return 437;
    case 2: return 850;
    case 3: return 860;
    case 4: return 863;
    case 5: return 865;
    case 16: return 1252;
    case 17: return 866;
    case 18: return 852;
    case 19: return 858;
    default: return 0;
  }
}

char32_t CharacterOf(int table, uint8_t b) {
  if (b < 0x80) return b < 0x20 ? U'?' : static_cast<char32_t>(b);
  const unsigned codePage = CodePageOf(table);
  if (codePage == 0) return U'?';
  static std::mutex mutex;
  static std::map<int, Table> tables;
  std::lock_guard<std::mutex> lock(mutex);
  auto found = tables.find(table);
  if (found == tables.end()) found = tables.emplace(table, Convert(codePage)).first;
  return found->second[b - 0x80];
}

}  // namespace render
}  // namespace sim
