// The code-page selection: Kanji mode, ESC t table and ESC R set per code page.
#include <gtest/gtest.h>

#include "so/format/BuilderCases_test.h"
#include "so/format/CCmdHelperBase.h"

using namespace QEL::Printer;
using namespace QEL::Printer::test;

namespace {

struct CodePageRow {
  int codePage;
  bool kanji;
  uint8_t table;
  uint8_t international;
};

const CodePageRow kRows[] = {
    {242, false, 255, 0}, {255, false, 255, 0}, {437, false, 0, 0},   {998, false, 0, 0},
    {720, false, 32, 0},  {851, false, 11, 0},  {852, false, 18, 0},  {853, false, 18, 0},
    {857, false, 18, 0},  {858, false, 19, 0},  {860, false, 3, 0},   {862, false, 36, 0},
    {863, false, 4, 0},   {864, false, 37, 0},  {865, false, 5, 0},   {866, false, 17, 0},
    {874, false, 21, 0},  {932, true, 1, 8},    {936, true, 2, 15},   {950, true, 2, 15},
    {997, true, 0, 0},    {999, false, 16, 0},  {1250, false, 16, 0}, {1252, false, 16, 0},
    {1255, false, 49, 0}, {1256, false, 50, 0}, {850, true, 2, 0},    {949, true, 2, 0},
    {0, true, 2, 0},      {-1, true, 2, 0},
};

TEST(CCmdHelperBaseCodePage, EveryTableRow) {
  CCmdHelperBase helper;
  for (const CodePageRow& r : kRows) {
    PrinterBuffer out;
    helper.SelectCodePage(out, r.codePage);
    const Bytes expected = {0x1C, static_cast<uint8_t>(r.kanji ? 0x26 : 0x2E), 0x1B, 0x74,
                            r.table, 0x1B, 0x52, r.international};
    EXPECT_EQ(ToHex(Content(out)), ToHex(expected)) << r.codePage;
  }
}

TEST(CCmdHelperBaseCodePage, Examples) {
  CCmdHelperBase helper;
  ExpectCases(helper, {
      APPENDS("1C 26 1B 74 02 1B 52 0F", h.SelectCodePage(out, 936)),
      APPENDS("1C 2E 1B 74 00 1B 52 00", h.SelectCodePage(out, 437)),
  });
}

}  // namespace
