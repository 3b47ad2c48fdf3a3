// PrintBitmap, SetBitmap with ESC|#B, and SetLogo with ESC|tL / ESC|bL, byte
// for byte at the port. The images are solid black or white BMPs written
// here, so the raster they become is known without repeating the dithering:
// black is every bit set, white none, and padding is white.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/manual_clock.h"
#include "so/printer/BitmapFilesForTest.h"
#include "so/printer/CTM_T88IV.h"
#include "so/printer/PropertyIndex.h"
#include "testing/FakePort.h"

using namespace QEL::Printer;
using testing_support::FakePort;
using bitmap_test::ScratchFile;
using bitmap_test::SolidBmp;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes B(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out.push_back(static_cast<uint8_t>(b));
  return out;
}

Bytes Of(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

bool EndsWith(const Bytes& all, const Bytes& tail) {
  return all.size() >= tail.size() && Bytes(all.end() - tail.size(), all.end()) == tail;
}

bool Contains(const Bytes& all, const Bytes& part) {
  return std::search(all.begin(), all.end(), part.begin(), part.end()) != all.end();
}

// GS 8 L store (raster, one colour), the raster, GS 8 L print.
Bytes RasterObject(int width, int height, const Bytes& raster) {
  const int p = static_cast<int>(raster.size()) + 10;
  return Cat({B({0x1D, '8', 'L', p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF, p >> 24, 0x30, 0x70,
                 0x30, 1, 1, 0x31, width & 0xFF, width >> 8, height & 0xFF, height >> 8}),
              raster, B({0x1D, '8', 'L', 2, 0, 0, 0, 0x30, 2})});
}

// A raster of `rows` black rows of `black` dots in `width` dots, then white
// rows up to `height`.
Bytes Raster(int width, int height, int black, int rows) {
  Bytes out;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; x += 8) {
      int byte = 0;
      for (int bit = 0; bit < 8; ++bit) {
        if (y < rows && x + bit < black) byte |= 0x80 >> bit;
      }
      out.push_back(static_cast<uint8_t>(byte));
    }
  }
  return out;
}

const Bytes kFeedNone = B({0x1B, 'J', 0});
const Bytes kLeft = B({0x1B, 'a', 0});
const Bytes kCentre = B({0x1B, 'a', 1});
// The justification returns to left after a centred object.
const Bytes kBackToLeft = B({0x1B, 'a', 0});
const Bytes kPrintDownloaded = B({0x1D, '/', 0});

class PrintBitmapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The claim's waits for answers the fake port never gives pass at once.
    clock->SetAutoAdvance(true);
    core.SetClock(clock);
    core.AttachPort(port);
    Open();
  }

  void Open() {
    int32_t rc = -1;
    core.OpenServiceW(u"x", nullptr, &rc);
    ASSERT_EQ(rc, 0);
    core.ClaimDevice(0, &rc);
    ASSERT_EQ(rc, 0);
    core.SetPropertyNumber(Pidx::MapMode, 1, &rc);  // dots
    port->ClearWritten();
  }

  int32_t Print(const std::u16string& file, int32_t width, int32_t alignment = -1) {
    int32_t rc = -1;
    core.PrintBitmap(2, file, width, alignment, &rc);
    return rc;
  }
  int32_t Set(int32_t number, const std::u16string& file, int32_t width = -11,
              int32_t alignment = -1) {
    int32_t rc = -1;
    core.SetBitmap(number, 2, file, width, alignment, &rc);
    return rc;
  }
  int32_t PrintText(const std::u16string& data) {
    int32_t rc = -1;
    core.PrintNormal(2, data, &rc);
    return rc;
  }

  std::shared_ptr<platform::ManualClock> clock = std::make_shared<platform::ManualClock>();
  std::shared_ptr<FakePort> port = std::make_shared<FakePort>();
  CTM_T88IV core{u"TM-T88IV"};
  // 20 x 10 black: 24 x 16 dots, each row FF FF F0, six white rows.
  ScratchFile small{SolidBmp(20, 10, 0)};
};

TEST_F(PrintBitmapTest, AsIsWidthIsTheImageRoundedUpToEightDots) {
  ASSERT_EQ(Print(small.Path(), -11), 0);
  ASSERT_EQ(port->WriteCalls().size(), 1u);
  EXPECT_TRUE(EndsWith(port->WriteCalls()[0],
                       Cat({kFeedNone, kLeft, RasterObject(24, 16, Raster(24, 16, 20, 10))})));

  // A width in dots scales it: 40 dots wide, 10 x 2 = 20 rows, 24 high.
  port->ClearWritten();
  ASSERT_EQ(Print(small.Path(), 40, -2), 0);
  EXPECT_TRUE(EndsWith(port->Written(),
                       Cat({kFeedNone, kCentre, RasterObject(40, 24, Raster(40, 24, 40, 20)), kBackToLeft})));

  // The same as-is width in another map mode (0.01 mm): still 24 dots.
  port->ClearWritten();
  int32_t rc = -1;
  core.SetPropertyNumber(Pidx::MapMode, 3, &rc);
  ASSERT_EQ(Print(small.Path(), -11), 0);
  EXPECT_TRUE(EndsWith(port->Written(), RasterObject(24, 16, Raster(24, 16, 20, 10))));
}

TEST_F(PrintBitmapTest, RefusalsPrintNothingAndSayWhy) {
  const ScratchFile missing("", false);
  const ScratchFile garbage("BM this is no picture at all");
  struct Case {
    const char* what;
    std::u16string file;
    int32_t width, alignment, result, extended;
  };
  const Case cases[] = {
      {"no such file", missing.Path(), -11, -1, OPOS_E_NOEXIST, 0},
      {"not an image", garbage.Path(), -11, -1, OPOS_E_ILLEGAL, 0},
      {"negative width", small.Path(), -5, -1, OPOS_E_ILLEGAL, 0},
      {"alignment -4", small.Path(), -11, -4, OPOS_E_ILLEGAL, 0},
      {"offset past the page", small.Path(), 200, 900, OPOS_E_ILLEGAL, 0},
      // 600 dots pass the first check (the page is 1000 long) but not the paper (512).
      {"wider than the paper", small.Path(), 600, -1, OPOS_E_EXTENDED, OPOS_EPTR_TOOBIG},
      {"pushed off the paper", small.Path(), 200, 400, OPOS_E_EXTENDED, OPOS_EPTR_TOOBIG},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    port->ClearWritten();
    EXPECT_EQ(Print(c.file, c.width, c.alignment), c.result);
    EXPECT_EQ(core.ResultCode(), c.result);
    EXPECT_EQ(core.ResultCodeExtended(), c.extended);
    EXPECT_TRUE(port->Written().empty());
  }

  Print(missing.Path(), -11);
  const std::u16string why = core.ImageErrorText();
  EXPECT_NE(why.find(missing.Path()), std::u16string::npos) << "the file is named";
  EXPECT_EQ(core.ErrorInformation(), why);
  Print(garbage.Path(), -11);
  EXPECT_FALSE(core.ImageErrorText().empty());
  ASSERT_EQ(Print(small.Path(), -11), 0);
  EXPECT_TRUE(core.ImageErrorText().empty()) << "a readable image leaves no old complaint";
}

TEST_F(PrintBitmapTest, InATransactionTheImageWaitsForTheTransaction) {
  int32_t rc = -1;
  core.TransactionPrint(2, 11, &rc);
  ASSERT_EQ(rc, 0);
  ASSERT_EQ(Print(small.Path(), -11), 0);
  EXPECT_TRUE(port->Written().empty());
  const Bytes collected(core.TransactionBuffer().data(),
                        core.TransactionBuffer().data() + core.TransactionBuffer().size());
  EXPECT_TRUE(EndsWith(collected, Cat({kLeft, RasterObject(24, 16, Raster(24, 16, 20, 10))})))
      << "no feed in front: the transaction prints as one job";
  core.TransactionPrint(2, 12, &rc);
  ASSERT_EQ(rc, 0);
  EXPECT_TRUE(Contains(port->Written(), RasterObject(24, 16, Raster(24, 16, 20, 10))));
}

// 200 x 200 is 25 x 25 = 625 cells of 8 x 8: small enough for the printer's
// downloaded bit-image memory, which takes one image per open.
class SetBitmapTest : public PrintBitmapTest {
 protected:
  static Bytes Downloaded200() {
    return Cat({B({0x1D, '*', 25, 25}), Bytes(200 * 25, 0xFF)});
  }
  ScratchFile big{SolidBmp(200, 200, 0)};
  ScratchFile white{SolidBmp(16, 8, 255)};
};

TEST_F(SetBitmapTest, FirstImageGoesIntoThePrinterTheNextStaysHere) {
  ASSERT_EQ(Set(1, big.Path()), 0);
  ASSERT_EQ(port->WriteCalls().size(), 1u) << "sent at once";
  EXPECT_EQ(port->WriteCalls()[0], Downloaded200());
  EXPECT_EQ(core.DownloadedImageSlot(), 1);

  port->ClearWritten();
  ASSERT_EQ(Set(2, small.Path(), -11, -2), 0);
  EXPECT_TRUE(port->Written().empty()) << "kept in the service";
  EXPECT_EQ(core.DownloadedImageSlot(), 1);

  ASSERT_EQ(PrintText(u"\x1b|1B\x1b|2B"), 0);
  EXPECT_TRUE(EndsWith(port->Written(),
                       Cat({kFeedNone, kLeft, kPrintDownloaded, kFeedNone, kCentre,
                            RasterObject(24, 16, Raster(24, 16, 20, 10)), kBackToLeft})));
}

TEST_F(SetBitmapTest, ReopeningStartsAfresh) {
  ASSERT_EQ(Set(1, big.Path()), 0);
  int32_t rc = -1;
  core.CloseService(&rc);
  ASSERT_EQ(rc, 0);
  core.AttachPort(port);
  Open();
  EXPECT_EQ(core.DownloadedImageSlot(), 0);
  // What the printer held may be gone: bitmap 1 is no longer set.
  ASSERT_EQ(PrintText(u"\x1b|1B"), 0);
  EXPECT_TRUE(Contains(port->Written(), Of("\x1b|1B")));
  EXPECT_FALSE(Contains(port->Written(), kPrintDownloaded));

  port->ClearWritten();
  ASSERT_EQ(Set(3, big.Path()), 0);
  ASSERT_FALSE(port->WriteCalls().empty());
  EXPECT_EQ(port->WriteCalls()[0], Downloaded200()) << "the memory is used again";
  EXPECT_EQ(core.DownloadedImageSlot(), 3);
}

TEST_F(SetBitmapTest, ImagesTooLargeForThePrinterAreKeptHere) {
  // 8 x 400 dots: taller than the 384 the printer's memory holds.
  const ScratchFile tall(SolidBmp(8, 400, 0));
  ASSERT_EQ(Set(4, tall.Path()), 0);
  EXPECT_TRUE(port->Written().empty());
  EXPECT_EQ(core.DownloadedImageSlot(), 0);
  ASSERT_EQ(PrintText(u"\x1b|4B"), 0);
  EXPECT_TRUE(EndsWith(port->Written(), RasterObject(8, 400, Bytes(400, 0xFF))));
}

TEST_F(SetBitmapTest, RefusalsLeaveTheSlotAsItWas) {
  ASSERT_EQ(Set(5, white.Path(), -11, 40), 0);
  port->ClearWritten();
  const ScratchFile missing("", false);
  struct Case {
    const char* what;
    int32_t number, station;
    std::u16string file;
    int32_t width, alignment, result;
  };
  const Case cases[] = {
      {"bitmap 21", 21, 2, big.Path(), -11, -1, OPOS_E_ILLEGAL},
      {"bitmap 0", 0, 2, big.Path(), -11, -1, OPOS_E_ILLEGAL},
      {"journal station", 5, 1, big.Path(), -11, -1, OPOS_E_ILLEGAL},
      {"wider than the paper", 5, 2, big.Path(), 600, -1, OPOS_E_ILLEGAL},
      {"width -5", 5, 2, big.Path(), -5, -1, OPOS_E_ILLEGAL},
      {"alignment -4", 5, 2, big.Path(), -11, -4, OPOS_E_ILLEGAL},
      {"offset past the paper", 5, 2, big.Path(), -11, 600, OPOS_E_ILLEGAL},
      {"no such file", 5, 2, missing.Path(), -11, -1, OPOS_E_NOEXIST},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int32_t rc = -1;
    core.SetBitmap(c.number, c.station, c.file, c.width, c.alignment, &rc);
    EXPECT_EQ(rc, c.result);
    EXPECT_EQ(core.ResultCode(), c.result);
  }
  EXPECT_TRUE(port->Written().empty()) << "nothing went to the printer";
  EXPECT_EQ(core.DownloadedImageSlot(), 5) << "the white image took the memory";

  // Bitmap 5 still prints, at its offset (GS L 40 0); 21 is raw text.
  ASSERT_EQ(PrintText(u"\x1b|5B\x1b|21B"), 0);
  const Bytes written = port->Written();
  EXPECT_TRUE(Contains(written, Cat({kFeedNone, B({0x1D, 'L', 40, 0}), kPrintDownloaded})));
  EXPECT_TRUE(Contains(written, Of("\x1b|21B")));

  int32_t rc = -1;
  core.ValidateData(2, u"\x1b|5B", &rc);
  EXPECT_EQ(rc, 0);
  core.ValidateData(2, u"\x1b|6B", &rc);
  EXPECT_EQ(rc, OPOS_E_FAILURE) << "bitmap 6 was never set";
}

TEST_F(PrintBitmapTest, LogosAreFormattedWhenSetAndCopiedWhenPrinted) {
  int32_t rc = -1;
  core.SetLogo(3, u"x", &rc);
  EXPECT_EQ(rc, OPOS_E_EXTENDED);
  EXPECT_EQ(core.ResultCodeExtended(), OPOS_E_PAGEMODE_REFUSED);

  core.SetLogo(1, u"\x1b|bCShop\n", &rc);
  ASSERT_EQ(rc, 0);
  core.SetLogo(2, u"\x1b|cAThanks\n", &rc);
  ASSERT_EQ(rc, 0);
  // ESC E 1, the text, LF, then the bold undone: ESC ! 0.
  const Bytes top = Cat({B({0x1B, 'E', 1}), Of("Shop\n"), B({0x1B, '!', 0})});
  // ESC a 1 at the line start, the text, LF, then back to the left.
  const Bytes bottom = Cat({kCentre, Of("Thanks\n"), kLeft});
  EXPECT_TRUE(port->Written().empty()) << "setting a logo prints nothing";

  ASSERT_EQ(PrintText(u"\x1b|tL\x1b|bL"), 0);
  EXPECT_TRUE(Contains(port->Written(), Cat({top, bottom})));

  // Binary conversion applies to the logo's data when it is set, not when
  // it prints.
  port->ClearWritten();
  core.SetPropertyNumber(Pidx::BinaryConversion, 1, &rc);
  ASSERT_EQ(rc, 0);
  core.SetLogo(1, u"4142", &rc);
  ASSERT_EQ(rc, 0);
  core.SetPropertyNumber(Pidx::BinaryConversion, 0, &rc);
  ASSERT_EQ(PrintText(u"\x1b|tL-"), 0);
  EXPECT_TRUE(Contains(port->Written(), Of("AB-")));
}

TEST_F(PrintBitmapTest, ASidewaysJobHoldsOnlyWhatFitsAcrossThePaper) {
  // Right 90 degrees with the bitmap turning with the job: each 200-dot
  // image and its text line take 224 of the 512 dots across the paper.
  const ScratchFile square(SolidBmp(200, 200, 0));
  int32_t rc = -1;
  core.RotatePrint(2, 0x2101, &rc);
  ASSERT_EQ(rc, 0);
  EXPECT_EQ(Print(square.Path(), -11), 0);
  EXPECT_EQ(Print(square.Path(), -11), 0);
  EXPECT_EQ(Print(square.Path(), -11), OPOS_E_EXTENDED) << "a third one would run off the paper";
  EXPECT_EQ(core.ResultCodeExtended(), OPOS_EPTR_TOOBIG);
  // A new sideways job starts with the whole width again.
  core.RotatePrint(2, 1, &rc);
  core.RotatePrint(2, 0x2101, &rc);
  EXPECT_EQ(Print(square.Path(), -11), 0);
}

TEST_F(PrintBitmapTest, MemoryBitmapsAreNotSupported) {
  int32_t rc = -1;
  core.PrintMemoryBitmap(2, u"data", 1, -11, -1, &rc);
  EXPECT_EQ(rc, OPOS_E_EXTENDED);
  EXPECT_EQ(core.ResultCodeExtended(), OPOS_E_NOT_SUPPORTED);
}

}  // namespace
