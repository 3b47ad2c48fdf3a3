// What the virtual printer prints, as images: kept in memory for the tests,
// written as PNG files for people, and named in the transcript.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sim/image_test_bytes.h"
#include "sim/png_file.h"
#include "sim/printer_client_test.h"
#include "sim/scratch_directory_test.h"
#include "sim/virtual_printer.h"

namespace sim {
namespace {

using namespace imagebytes;
using testclient::Client;
using testclient::kWaitMs;

class VirtualPrinterImages : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(printer.Start(0)); }

  // One connection that sends `job` and closes.
  void Job(const Bytes& job) {
    const int before = printer.ConnectionsAccepted();
    {
      Client c;
      ASSERT_TRUE(c.Connect(printer.Port()));
      c.Send(job);
    }
    ASSERT_TRUE(printer.WaitForIdle(before + 1, kWaitMs));
  }

  VirtualPrinter printer;
};

const PrintedImage kPicture = Drawn({"##########", "#........#", "#.######.#", "##########"});
const Bytes kPictureRows = B({0xFF, 0xC0, 0x80, 0x40, 0xBF, 0x40, 0xFF, 0xC0});

TEST_F(VirtualPrinterImages, StoredAndPrintedImagesComeBackDotForDot) {
  Job(StoreGraphics(10, 4, kPictureRows) + PrintGraphics() + B({0x1D, '*', 1, 1, 0x80, 0, 0, 0, 0, 0, 0, 0x01}) +
      B({0x1D, '/', 0}));
  Job(StoreGraphics(10, 4, kPictureRows, true) + PrintGraphics(true));
  EXPECT_EQ(printer.InvalidCommands(), 0) << printer.Transcript();

  const std::vector<VirtualPrinter::Printout> printouts = printer.Printouts();
  ASSERT_EQ(printouts.size(), 3u);
  EXPECT_EQ(printouts[0].connection, 1);
  EXPECT_EQ(printouts[0].index, 1);
  EXPECT_EQ(printouts[0].image, kPicture);
  EXPECT_EQ(printouts[1].connection, 1);
  EXPECT_EQ(printouts[1].index, 2);
  EXPECT_EQ(printouts[1].image,
            Drawn({"#.......", "........", "........", "........", "........", "........", "........", ".......#"}));
  EXPECT_EQ(printouts[2].connection, 2);
  EXPECT_EQ(printouts[2].index, 1);
  EXPECT_EQ(printouts[2].image, kPicture);
  for (const auto& p : printouts) EXPECT_TRUE(p.file.empty());  // no directory, no files
}

TEST_F(VirtualPrinterImages, PrintedImagesAreWrittenAndNamed) {
  ScratchDirectory dir;
  printer.SetImageDirectory(dir.Path());
  Job(DefineNv('L', '1', 10, 4, kPictureRows) + StoreGraphics(10, 4, kPictureRows));
  // A connection starts as the printer does at power on: the graphics left
  // unprinted in the first are gone, its NV graphics are not.
  Job(PrintNv('L', '1') + B({0x1D, 'v', '0', 0}) + Le16(2) + Le16(4) + kPictureRows);
  EXPECT_EQ(printer.InvalidCommands(), 0) << printer.Transcript();

  const std::vector<VirtualPrinter::Printout> printouts = printer.Printouts();
  ASSERT_EQ(printouts.size(), 2u);
  const std::string first = dir.Path() + "/2-1.png", second = dir.Path() + "/2-2.png";
  EXPECT_EQ(printouts[0].file, first);
  EXPECT_EQ(printouts[1].file, second);
  EXPECT_TRUE(std::filesystem::exists(first));
  EXPECT_TRUE(std::filesystem::exists(second));
  EXPECT_FALSE(std::filesystem::exists(dir.Path() + "/1-1.png"));

  const std::string transcript = printer.Transcript();
  EXPECT_NE(transcript.find("NV print \"L1\" 10 x 4 dots -> " + first + "\n"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("GS v 0 raster 16 x 4 -> " + second + "\n"), std::string::npos) << transcript;
}

}  // namespace
}  // namespace sim
