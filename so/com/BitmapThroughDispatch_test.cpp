// Bitmaps and logos through the dispatch interface: the core's answers reach
// ResultCode, ResultCodeExtended and ErrorString, and the images reach the
// printer as commands it takes.
#include <gtest/gtest.h>

#include <string>

#include "so/com/ServiceTestBed_test.h"
#include "so/printer/BitmapFilesForTest.h"

namespace QEL {
namespace COM {
namespace {

class BitmapThroughDispatch : public ServiceTestBed {};

TEST_F(BitmapThroughDispatch, ResultsAndReasonsReachTheApplication) {
  auto control = NewControl();
  Ready(*control);
  const bitmap_test::ScratchFile image(bitmap_test::SolidBmp(40, 20, 0));
  const bitmap_test::ScratchFile missing("", false);
  const bitmap_test::ScratchFile garbage("BM no picture");

  EXPECT_EQ(control->Call(u"PrintBitmap", {2, missing.Path(), -11, -1}), 109);
  EXPECT_NE(control->GetString(kErrorString).find(missing.Path()), std::u16string::npos)
      << "ErrorString names the file: " << std::string(control->GetString(kErrorString).begin(),
                                                       control->GetString(kErrorString).end());
  EXPECT_EQ(control->Call(u"SetBitmap", {1, 2, garbage.Path(), -11, -1}), 106);
  EXPECT_FALSE(control->GetString(kErrorString).empty());
  EXPECT_EQ(control->Call(u"SetLogo", {3, u"x"}), 114);
  EXPECT_EQ(control->GetNumber(kResultCodeExtended), 301);
  EXPECT_EQ(control->Call(u"PrintMemoryBitmap", {2, u"x", 1, -11, -1}), 114);
  EXPECT_EQ(control->GetNumber(kResultCodeExtended), 300);

  EXPECT_EQ(control->Call(u"SetBitmap", {1, 2, image.Path(), -11, -2}), 0);
  EXPECT_EQ(control->Call(u"SetLogo", {2, u"Thanks\n"}), 0);
  EXPECT_EQ(control->Call(u"PrintNormal", {2, u"\x1b|1B\x1b|bL"}), 0);
  EXPECT_EQ(control->Call(u"PrintBitmap", {2, image.Path(), 80, 8}), 0);

  EXPECT_EQ(control->Call(u"ReleaseDevice"), 0);
  EXPECT_EQ(control->Call(u"CloseService"), 0);
  ASSERT_TRUE(printer.WaitForIdle(2, kWaitMs));
  const std::string transcript = printer.Transcript();
  EXPECT_EQ(printer.InvalidCommands(), 0) << transcript;
  EXPECT_NE(transcript.find("GS * define 5 x 3"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("GS / print"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("TEXT \"Thanks\""), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("GRAPHICS store 80 x 40"), std::string::npos) << transcript;
}

}  // namespace
}  // namespace COM
}  // namespace QEL
