#include "tool/core/Edition.h"

#include <gtest/gtest.h>

#include "tool/core/StringHelpers.h"

namespace tool {
namespace {

using Models = std::vector<std::u16string>;

TEST(EditionTest, ThisBuildIsTheTarrowEdition) {
  EXPECT_EQ(BuildEdition(), u"TARROW");
  EXPECT_EQ(EditionProgIdList(BuildEdition()), u"TarrowOposPrinterU1.13");
  EXPECT_EQ(EditionModels(BuildEdition()), (Models{u"TRAIL-3", u"TRAIL-3e"}));
}

TEST(EditionTest, EachEditionOffersItsModelsInListOrder) {
  EXPECT_EQ(EditionModels(u"VORNA"), (Models{u"MV611", u"MV615", u"MV616", u"PLQ2-A"}));
  EXPECT_EQ(EditionModels(u"ML"), (Models{u"MV616"}));
  EXPECT_EQ(EditionModels(u"Pelltree"), (Models{u"N415", u"N416"}));
  const Models debug = EditionModels(u"DEBUG");
  ASSERT_EQ(debug.size(), 19u);
  EXPECT_EQ(debug.front(), u"FX-310");
  EXPECT_EQ(debug[14], u"TRAIL-3");
  EXPECT_EQ(debug.back(), u"RD44");
  // Edition words are exact.
  EXPECT_TRUE(EditionModels(u"tarrow").empty());
  EXPECT_TRUE(EditionModels(u"PELLTREE").empty());
  EXPECT_EQ(EditionProgIdList(u"NOSUCH"), u"");
}

TEST(EditionTest, OwnershipIsASubstringTestThatNeverAcceptsAnEmptyProgId) {
  EXPECT_TRUE(IsOwnProgId(u"TarrowOposPrinterU1.13", u"TarrowOposPrinterU1.13"));
  EXPECT_FALSE(IsOwnProgId(u"TarrowOposPrinterU1.13", u""));
  EXPECT_FALSE(IsOwnProgId(u"TarrowOposPrinterU1.13", u"TARROWOposPrinterU1.13"));
  EXPECT_FALSE(IsOwnProgId(u"TarrowOposPrinterU1.13", u"EpsonPrinter"));
  // Within the list text, so a fragment counts as well.
  EXPECT_TRUE(IsOwnProgId(u"TarrowOposPrinterU1.13", u"Tarrow"));
  // The debug build spells Tarrow in capitals and lacks SKEP: both foreign there.
  const std::u16string debug = EditionProgIdList(u"DEBUG");
  EXPECT_FALSE(IsOwnProgId(debug, u"TarrowOposPrinterU1.13"));
  EXPECT_FALSE(IsOwnProgId(debug, u"SKEPOposPrinterU1.13"));
  EXPECT_TRUE(IsOwnProgId(debug, u"ZOBELOposPrinterU1.13"));
}

struct IdentityCase {
  const char16_t* edition;
  const char16_t* model;
  const char16_t* printerProgId;
  const char16_t* description;
  const char16_t* drawerProgId;
};

TEST(EditionTest, TheModelDecidesTheProgIdAndOnlyTheFirstGroupLooksAtTheEdition) {
  const IdentityCase cases[] = {
      {u"TARROW", u"TRAIL-3", u"TarrowOposPrinterU1.13", u"Tarrow POS Printer", u"TarrowOposPrinterU1.13"},
      {u"TARROW", u"TRAIL-3e", u"TarrowOposPrinterU1.13", u"Tarrow POS Printer", u"TarrowOposPrinterU1.13"},
      {u"DEBUG", u"ZBL-52D", u"ZOBELOposPrinterU1.13", u"ZOBEL POS Printer", u"ZOBELOposPrinterU1.13"},
      {u"KN", u"FX-330", u"FXOposPrinterU1.13", u"Ferrix POS Printer", u"FXOposPrinterU1.13"},
      {u"ML", u"MV616", u"MolvaneOposPrinterU1.13", u"Molvane POS Printer", u"MolvaneOposPrinterU1.13"},
      {u"VORNA", u"RD44", u"VORNAOposPrinterU1.13", u"VORNA POS Printer", u"VORNAOposPrinterU1.13"},
      // The first group under another edition: no printer identity, but a
      // drawer still gets the VORNA ProgID.
      {u"TARROW", u"MV611", u"", u"", u"VORNAOposPrinterU1.13"},
      {u"DEBUG", u"PLQ2-A", u"", u"", u"VORNAOposPrinterU1.13"},
      {u"SKEP", u"LUMA212F", u"SKEPOposPrinterU1.13", u"SKEP POS Printer", u"SKEPOposPrinterU1.13"},
      {u"TARROW", u"N416", u"PelltreeOposPrinterU1.13", u"Pelltree POS Printer", u"PelltreeOposPrinterU1.13"},
      // Membership is letter-case exact, and models of no group get nothing.
      {u"TARROW", u"trail-3", u"", u"", u""},
      {u"TARROW", u"TM-T88IV", u"", u"", u""},
      {u"TARROW", u"", u"", u"", u""},
  };
  for (const IdentityCase& c : cases) {
    SCOPED_TRACE(ToAscii(c.model));
    const ModelIdentity identity = PrinterIdentity(c.edition, c.model);
    EXPECT_EQ(identity.progId, c.printerProgId);
    EXPECT_EQ(identity.deviceDescription, c.description);
    EXPECT_EQ(DrawerProgId(c.edition, c.model), c.drawerProgId);
  }
}

}  // namespace
}  // namespace tool
