#pragma once
// The character tables a printer selects with ESC t n: which character each
// byte 0x20..0xFF prints. Tables are built from the system's converters the
// first time they are asked for.
#include <cstdint>

namespace sim {
namespace render {

// The character byte b prints in table n; U+003F '?' for a table this
// printer lacks or a byte its table leaves empty. Bytes below 0x80 print
// ASCII in every table.
char32_t CharacterOf(int table, uint8_t b);

// The code page of table n (437 for table 0); 0 when this printer lacks it.
unsigned CodePageOf(int table);

}  // namespace render
}  // namespace sim
