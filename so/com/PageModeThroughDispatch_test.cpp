// Page mode and sideways printing as a point-of-sale application drives
// them, through the dispatch interface to the virtual printer: every command
// they send must be one a printer takes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "so/com/ServiceTestBed_test.h"

namespace QEL {
namespace COM {
namespace {

constexpr int32_t kPageModeStation = 8049;
constexpr int32_t kPageModePrintArea = 1008012;

size_t CountOf(const Lines& lines, const std::string& line) {
  return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

class PageModeThroughDispatch : public ServiceTestBed {};

TEST_F(PageModeThroughDispatch, APageAndASidewaysJobReachThePrinterWhole) {
  auto control = NewControl();
  Ready(*control);
  EXPECT_EQ(control->Call(u"PageModePrint", {2}), 106) << "not in page mode yet";
  ASSERT_EQ(control->SetNumber(kPageModeStation, 2), 0);
  ASSERT_EQ(control->Call(u"SetPropertyString", {kPageModePrintArea, u"0,0,300,200"}), 0);
  ASSERT_EQ(control->Call(u"PageModePrint", {1}), 0);
  EXPECT_EQ(control->Call(u"PrintNormal", {2, u"Page text that wraps at the area\n"}), 0);
  EXPECT_EQ(control->Call(u"PageModePrint", {2}), 0) << "print and keep";
  EXPECT_EQ(control->Call(u"ClearPrintArea"), 0);
  EXPECT_EQ(control->Call(u"PrintNormal", {2, u"\x1b|cAOn a clean page\n"}), 0);
  EXPECT_EQ(control->Call(u"PageModePrint", {3}), 0);

  EXPECT_EQ(control->Call(u"RotatePrint", {2, 257}), 0);
  EXPECT_EQ(control->Call(u"PrintNormal", {2, u"Sideways\n"}), 0);
  EXPECT_EQ(control->Call(u"RotatePrint", {2, 1}), 0);
  EXPECT_EQ(control->Call(u"RotatePrint", {1, 1}), 106) << "not the receipt station";

  EXPECT_EQ(control->Call(u"ReleaseDevice"), 0);
  EXPECT_EQ(control->Call(u"CloseService"), 0);
  ASSERT_TRUE(printer.WaitForIdle(2, kWaitMs));
  const std::string transcript = printer.Transcript();
  EXPECT_EQ(printer.InvalidCommands(), 0) << transcript;
  EXPECT_EQ(transcript.find("INVALID"), std::string::npos) << transcript;
  const Lines lines = SplitLines(transcript);
  EXPECT_EQ(CountOf(lines, "ESC L"), 3u)
      << "the page twice (kept, then left) and the sideways job: " << transcript;
  EXPECT_EQ(CountOf(lines, "TEXT \"he area\""), 2u) << transcript;
  EXPECT_EQ(CountOf(lines, "CAN"), 1u) << transcript;
  EXPECT_EQ(CountOf(lines, "TEXT \"On a clean page\""), 1u) << transcript;
  EXPECT_EQ(CountOf(lines, "TEXT \"Sideways\""), 1u) << transcript;
}

}  // namespace
}  // namespace COM
}  // namespace QEL
