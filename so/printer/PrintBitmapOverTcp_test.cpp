// Bitmaps and logos end to end: a TM-T88IV core on a real TCP/IP port sends
// them to the virtual printer, which must take every command as valid.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "sim/virtual_printer.h"
#include "so/io/TCPIPPortSettings.h"
#include "so/printer/BitmapFilesForTest.h"
#include "so/printer/CTM_T88IV.h"

using namespace QEL::Printer;
using bitmap_test::ScratchFile;
using bitmap_test::SolidBmp;
using Lines = std::vector<std::string>;

namespace {

constexpr int kWaitMs = 20000;

Lines Split(const std::string& transcript) {
  Lines lines;
  std::istringstream in(transcript);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

size_t CountStartingWith(const Lines& lines, const std::string& prefix) {
  return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
    return l.compare(0, prefix.size(), prefix) == 0;
  }));
}

TEST(PrintBitmapOverTcp, ImagesAndLogosArriveAsValidCommands) {
  sim::VirtualPrinter printer;
  ASSERT_TRUE(printer.Start(0));
  const std::string address = "127.0.0.1," + std::to_string(printer.Port());
  QEL::IO::TCPIPPortSettings settings;
  settings.Parse(std::u16string(address.begin(), address.end()));
  CTM_T88IV core{u"TM-T88IV"};
  int32_t rc = -1;
  core.SetPortSettings(&settings, &rc);
  core.OpenServiceW(u"x", nullptr, &rc);
  ASSERT_EQ(rc, 0);
  core.ClaimDevice(100, &rc);
  ASSERT_EQ(rc, 0);

  const ScratchFile square(SolidBmp(200, 200, 0));
  const ScratchFile strip(SolidBmp(20, 10, 0));
  core.SetBitmap(1, 2, square.Path(), -11, -2, &rc);
  EXPECT_EQ(rc, 0);
  core.SetBitmap(2, 2, strip.Path(), 64, 16, &rc);
  EXPECT_EQ(rc, 0);
  core.SetLogo(1, u"\x1b|cA\x1b|bCShop\n", &rc);
  EXPECT_EQ(rc, 0);
  core.PrintNormal(2, u"\x1b|tL\x1b|1B\x1b|2BTotal 2.50\n", &rc);
  EXPECT_EQ(rc, 0);
  core.PrintBitmap(2, strip.Path(), -11, -3, &rc);
  EXPECT_EQ(rc, 0);

  core.ReleaseDevice(&rc);
  EXPECT_EQ(rc, 0);
  ASSERT_TRUE(printer.WaitForIdle(2, kWaitMs));
  EXPECT_EQ(printer.InvalidCommands(), 0) << printer.Transcript();
  const Lines lines = Split(printer.Transcript());
  // Bitmap 1 went into the printer's memory once and prints from there.
  EXPECT_EQ(CountStartingWith(lines, "GS * define 25 x 25"), 1u) << printer.Transcript();
  EXPECT_EQ(CountStartingWith(lines, "GS / print 200 x 200"), 1u) << printer.Transcript();
  // Bitmap 2 (64 dots wide) and the printed file: each a raster store and its print.
  EXPECT_EQ(CountStartingWith(lines, "GRAPHICS store 64 x 32"), 1u) << printer.Transcript();
  EXPECT_EQ(CountStartingWith(lines, "GRAPHICS store 24 x 16"), 1u) << printer.Transcript();
  EXPECT_EQ(CountStartingWith(lines, "GRAPHICS print"), 2u) << printer.Transcript();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "TEXT \"Shop\""), lines.end());
  core.CloseService(&rc);
}

}  // namespace
