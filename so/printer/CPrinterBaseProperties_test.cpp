#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "so/printer/CTM_T88IV.h"
#include "so/printer/PropertyIndex.h"
#include "testing/FakePort.h"

using namespace QEL::Printer;
using testing_support::FakePort;

namespace {

class Properties : public ::testing::Test {
 protected:
  explicit Properties(const std::u16string& model = u"TM-T88IIM") : core(model) {}
  void SetUp() override {
    core.AttachPort(std::make_shared<FakePort>());
    int32_t rc = 0;
    core.OpenServiceW(u"x", nullptr, &rc);
    ASSERT_EQ(rc, 0);
  }
  int32_t Get(int32_t index) {
    int32_t value = -12345;
    core.GetPropertyNumber(index, &value);
    return value;
  }
  int32_t Set(int32_t index, int32_t value) {
    int32_t rc = -1;
    core.SetPropertyNumber(index, value, &rc);
    return rc;
  }
  std::u16string GetText(int32_t index) {
    std::u16string text = u"untouched";
    core.GetPropertyString(index, &text);
    return text;
  }
  int32_t SetText(int32_t index, const std::u16string& text) {
    int32_t rc = -1;
    core.SetPropertyString(index, text, &rc);
    return rc;
  }
  CTM_T88IV core;
};

TEST_F(Properties, DefaultFontDerivesTheLineMetrics) {
  // 576 dots, 12 x 24 font, equal pitches, page area 576 x 1000, cutter 2100.
  EXPECT_EQ(Get(Pidx::RecLineChars), 48);
  EXPECT_EQ(Get(Pidx::RecLineHeight), 24);
  EXPECT_EQ(Get(Pidx::RecLineSpacing), 30);
  EXPECT_EQ(Get(Pidx::RecLinesToPaperCut), 6);
  EXPECT_EQ(Get(Pidx::RecSidewaysMaxChars), 83);
  EXPECT_EQ(Get(Pidx::RecSidewaysMaxLines), 24);
  EXPECT_EQ(Get(Pidx::RecLineWidth), 576);
}

TEST_F(Properties, StatusPropertiesReadOneUntilTheFirstEvaluation) {
  EXPECT_EQ(Get(Pidx::RecEmpty), 1);
  EXPECT_EQ(Get(Pidx::RecNearEnd), 1);
  EXPECT_EQ(Get(Pidx::CoverOpen), 0);
}

TEST_F(Properties, WritesBeforeOpenAreClosed) {
  CTM_T88IV closed(u"TM-T88IV");
  int32_t rc = 0;
  closed.SetPropertyNumber(Pidx::BinaryConversion, 1, &rc);
  EXPECT_EQ(rc, OPOS_E_CLOSED);
  int32_t value = -1;
  closed.GetPropertyNumber(Pidx::BinaryConversion, &value);
  EXPECT_EQ(value, 0) << "nothing stored";
}

TEST_F(Properties, CharacterSetMustBeInTheList) {
  EXPECT_EQ(Set(Pidx::CharacterSet, 437), 0);
  EXPECT_TRUE(core.Pending().characterSet);
  EXPECT_EQ(Set(Pidx::CharacterSet, 1251), 106);
  EXPECT_EQ(core.ResultCode(), OPOS_E_ILLEGAL);
  EXPECT_EQ(Get(Pidx::CharacterSet), 437);
  EXPECT_EQ(Set(Pidx::CharacterSet, 1252), 0);
  EXPECT_EQ(Get(Pidx::CharacterSet), 1252);
}

TEST_F(Properties, PageModeStationTakesOnlyTheReceipt) {
  EXPECT_EQ(Get(Pidx::PageModeDescriptor), 0);
  EXPECT_EQ(Set(Pidx::PageModeStation, 1), 114);
  EXPECT_EQ(core.ResultCodeExtended(), OPOS_E_PAGEMODE_REFUSED);
  EXPECT_EQ(Get(Pidx::PageModeStation), 0);
  EXPECT_EQ(Set(Pidx::PageModeStation, 2), 0);
  EXPECT_EQ(Get(Pidx::PageModeDescriptor), 15);
}

TEST_F(Properties, PrintAreaIsHiddenOutsideTheReceiptPageMode) {
  EXPECT_EQ(SetText(Pidx::PageModePrintArea, u"0,0,100,200"), 0);
  EXPECT_EQ(GetText(Pidx::PageModePrintArea), u"");
  Set(Pidx::PageModeStation, 2);
  EXPECT_EQ(GetText(Pidx::PageModePrintArea), u"0,0,100,200");
  EXPECT_TRUE(core.Pending().printArea);
}

TEST_F(Properties, PrintAreaTextsAreChecked) {
  Set(Pidx::PageModeStation, 2);
  const struct {
    const char16_t* text;
    int32_t rc, extended;
  } cases[] = {
      {u"1,2,3", 114, 301},                            // five characters: too short
      {u"100000000,100000000,100000000,1", 114, 301},  // 31 characters: too long
      {u"0,0,576,1000", 0, 0},
      {u"1,0,576,1000", 106, 0},    // beyond the page area's width
      {u"0,0,10,1001", 106, 0},     // beyond its height
      {u"0,0,-1,10", 106, 0},       // negative
      {u"a,b,c,d,e", 106, 0},       // not four numbers
      {u"1,2,3,4,5", 106, 0},
      {u"10,20,30,40", 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SetText(Pidx::PageModePrintArea, c.text), c.rc);
    EXPECT_EQ(core.ResultCodeExtended(), c.extended);
  }
  EXPECT_EQ(GetText(Pidx::PageModePrintArea), u"10,20,30,40") << "a refused text keeps the old area";
  EXPECT_EQ(core.Properties().printAreaWidth, 30);
}

TEST_F(Properties, OnlyThePrintAreaTextIsWritable) {
  int32_t rc = 77;
  core.SetPropertyString(Pidx::DeviceName, u"new", &rc);
  EXPECT_EQ(rc, 77);
  EXPECT_EQ(GetText(Pidx::DeviceName), u"TM-T88IIM");
  EXPECT_EQ(GetText(999), u"untouched");
}

TEST_F(Properties, UnsupportedJournalPropertiesReport300) {
  int32_t value = 4242;
  core.GetPropertyNumber(Pidx::JrnEmpty, &value);
  EXPECT_EQ(value, 4242);
  EXPECT_EQ(core.ResultCode(), OPOS_E_EXTENDED);
  EXPECT_EQ(core.ResultCodeExtended(), OPOS_E_NOT_SUPPORTED);
  EXPECT_EQ(Set(Pidx::JrnLineChars, 40), 114);
  EXPECT_EQ(Set(Pidx::JrnEmpty, 1), 106);
  EXPECT_EQ(Set(Pidx::RecLineWidth, 100), 106);
  EXPECT_EQ(Set(8504, 0), 106) << "capabilities are read-only";
  EXPECT_EQ(Get(8504), 1);
  EXPECT_EQ(Get(777), -12345) << "an unknown index leaves the value alone";
  EXPECT_EQ(Set(777, 1), 106);
}

TEST_F(Properties, AsyncModeIsStoredAsTruthValue) {
  EXPECT_EQ(Set(Pidx::AsyncMode, 5), 0);
  EXPECT_EQ(Get(Pidx::AsyncMode), 1);
  Set(Pidx::AsyncMode, 0);
  EXPECT_EQ(Get(Pidx::AsyncMode), 0);
}

TEST_F(Properties, RecLineCharsPicksTheFont) {
  EXPECT_EQ(Set(Pidx::RecLineChars, 64), 0);  // 576 / 64 = 9 dots: font B
  EXPECT_EQ(core.CurrentFont(), 1);
  EXPECT_EQ(Get(Pidx::RecLineChars), 64);
  EXPECT_EQ(Get(Pidx::RecLineWidth), 576);
  EXPECT_EQ(Get(Pidx::RecLineHeight), 17);
  EXPECT_TRUE(core.Pending().font);
  EXPECT_TRUE(core.Pending().lineSpacing);

  EXPECT_EQ(Set(Pidx::RecLineChars, 42), 0);  // 13 dots: font A, a narrower line
  EXPECT_EQ(core.CurrentFont(), 0);
  EXPECT_EQ(Get(Pidx::RecLineChars), 42);
  EXPECT_EQ(Get(Pidx::RecLineWidth), 504);
}

TEST_F(Properties, RecLineCharsBeyondTheNarrowestFontFails) {
  EXPECT_EQ(Set(Pidx::RecLineChars, 100), 114);
  EXPECT_EQ(core.ResultCodeExtended(), OPOS_E_NOT_SUPPORTED);
  EXPECT_EQ(core.CurrentFont(), 1) << "the narrowest font is used";
  EXPECT_EQ(Get(Pidx::RecLineChars), 64);
  EXPECT_EQ(Get(Pidx::RecLineWidth), 576);
  EXPECT_EQ(Set(Pidx::RecLineChars, 0), 114) << "no division by zero";
  EXPECT_EQ(Set(Pidx::RecLineChars, -3), 114);
}

TEST_F(Properties, RecLineSpacingMarksTheNextJob) {
  EXPECT_EQ(Set(Pidx::RecLineSpacing, 40), 0);
  EXPECT_EQ(Get(Pidx::RecLineSpacing), 40);
  EXPECT_TRUE(core.Pending().lineSpacing);
}

TEST_F(Properties, MapModeRewritesTheAreaTexts) {
  const std::u16string before = GetText(Pidx::PageModeArea);
  EXPECT_EQ(before, u"576,1000");
  EXPECT_EQ(Set(Pidx::MapMode, 1), 0);
  EXPECT_EQ(GetText(Pidx::PageModeArea), before);
  EXPECT_EQ(Set(Pidx::MapMode, 4), 0);  // hundredths of a millimetre at 0.125 mm a dot
  EXPECT_EQ(GetText(Pidx::PageModeArea), u"7200,12500");
  EXPECT_EQ(Get(Pidx::RecLineWidth), 7200);
  Set(Pidx::PageModeStation, 2);
  EXPECT_EQ(GetText(Pidx::PageModePrintArea), u"0,0,0,0");
}

TEST_F(Properties, RotateSpecialKeepsWhatSetRotationReturns) {
  EXPECT_EQ(Set(Pidx::RotateSpecial, 0x1101), 0);
  EXPECT_EQ(Get(Pidx::RotateSpecial), 0x1101);
  EXPECT_TRUE(core.Modes().rotateRight90);
  EXPECT_TRUE(core.Modes().barcodeRotation);
  EXPECT_FALSE(core.Modes().bitmapRotation);
  Set(Pidx::RotateSpecial, 0x3103);
  EXPECT_TRUE(core.Modes().rotate180);
  EXPECT_TRUE(core.Modes().barcodeRotation && core.Modes().bitmapRotation);
  Set(Pidx::RotateSpecial, 1);
  EXPECT_EQ(Get(Pidx::RotateSpecial), 1);
  EXPECT_FALSE(core.Modes().AnyRotation());
}

TEST_F(Properties, PageModeDirectionIsOneToFour) {
  EXPECT_EQ(Set(Pidx::PageModePrintDirection, 0), 106);
  EXPECT_EQ(Set(Pidx::PageModePrintDirection, 5), 106);
  EXPECT_EQ(Set(Pidx::PageModePrintDirection, 3), 0);
  EXPECT_EQ(Get(Pidx::PageModePrintDirection), 3);
}

TEST_F(Properties, PageModePositionsNeedTheReceiptStation) {
  EXPECT_EQ(Set(Pidx::PageModeHorizontalPosition, 50), 0);
  EXPECT_EQ(Get(Pidx::PageModeHorizontalPosition), 0);
  Set(Pidx::PageModeStation, 2);
  Set(Pidx::PageModeHorizontalPosition, 50);
  Set(Pidx::PageModeVerticalPosition, 60);
  EXPECT_EQ(Get(Pidx::PageModeHorizontalPosition), 50);
  EXPECT_EQ(Get(Pidx::PageModeVerticalPosition), 60);
}

TEST_F(Properties, ReopenResetsWhatTheApplicationChanged) {
  Set(Pidx::BinaryConversion, 2);
  Set(Pidx::MapMode, 3);
  Set(Pidx::PageModeStation, 2);
  Set(Pidx::AsyncMode, 1);
  int32_t rc = 0;
  core.OpenServiceW(u"x", nullptr, &rc);
  EXPECT_EQ(Get(Pidx::BinaryConversion), 0);
  EXPECT_EQ(Get(Pidx::MapMode), 1);
  EXPECT_EQ(Get(Pidx::PageModeStation), 0);
  EXPECT_EQ(Get(Pidx::AsyncMode), 1) << "AsyncMode survives an open";
  EXPECT_EQ(GetText(Pidx::PageModeArea), u"576,1000") << "the area text follows MapMode back to dots";
}

}  // namespace
