#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "so/printer/CQX1270SMB.h"
#include "so/printer/CTM_T88IV.h"
#include "so/printer/PrinterModelFactory.h"
#include "so/printer/PropertyIndex.h"
#include "testing/FakePort.h"

using namespace QEL::Printer;
using testing_support::FakePort;

namespace {

void OpenOn(CPrinterBase& core, const std::u16string& portType) {
  core.AttachPort(std::make_shared<FakePort>(portType));
  int32_t rc = 0;
  core.OpenServiceW(u"x", nullptr, &rc);
  ASSERT_EQ(rc, 0);
}

int32_t Number(CPrinterBase& core, int32_t index) {
  int32_t value = -1;
  core.GetPropertyNumber(index, &value);
  return value;
}

std::u16string Text(CPrinterBase& core, int32_t index) {
  std::u16string text;
  core.GetPropertyString(index, &text);
  return text;
}

TEST(ModelFactory, NamesAreExactAndCaseSensitive) {
  int32_t error = -1;
  auto t88 = CreatePrinterModel(u"TM-T88IV", &error);
  ASSERT_NE(t88, nullptr);
  EXPECT_EQ(error, 0);
  EXPECT_NE(dynamic_cast<CTM_T88IV*>(t88.get()), nullptr);
  EXPECT_EQ(Text(*t88, Pidx::DeviceName), u"TM-T88IV");
  EXPECT_EQ(Text(*t88, Pidx::DeviceDescription), u"High Performance Printer");

  for (const char16_t* name : {u"QX1270", u"QX1270SMB"}) {
    auto qx = CreatePrinterModel(name, &error);
    ASSERT_NE(qx, nullptr);
    EXPECT_NE(dynamic_cast<CQX1270SMB*>(qx.get()), nullptr);
    EXPECT_EQ(Text(*qx, Pidx::DeviceDescription), u"VORNA High Performance Printer");
  }
  for (const char16_t* name : {u"tm-t88iv", u"TM-T88IV ", u"", u"QX1270smb", u"MV613"}) {
    EXPECT_EQ(CreatePrinterModel(name, &error), nullptr);
    EXPECT_EQ(error, 87);
  }
}

TEST(StandardModel, UnprofiledNameKeepsTheConstructionDefaults) {
  CTM_T88IV core(u"TM-T88IIM");
  EXPECT_EQ(core.Traits().printWidth, 576);
  EXPECT_EQ(core.Traits().pageAreaWidth, 576);
  EXPECT_EQ(core.Traits().pageAreaHeight, 1000);
  EXPECT_EQ(Text(core, Pidx::PageModeArea), u"576,1000");
}

TEST(StandardModel, FiftyEightMillimetreProfile) {
  CTM_T88IV core(u"ZBL-52A");
  EXPECT_EQ(core.Traits().printWidth, 384);
  EXPECT_EQ(core.Traits().pageAreaWidth, 576);
  EXPECT_EQ(core.Traits().pageAreaHeight, 1000);
  EXPECT_EQ(core.Traits().statusMethod, 2) << "status is read with GS r";
  EXPECT_EQ(core.Traits().fonts[1].height, 16);
  OpenOn(core, u"TCP/IP");
  EXPECT_EQ(Number(core, Pidx::RecLineChars), 32);
  EXPECT_EQ(Number(core, Pidx::CapRecPapercut), 0);
  EXPECT_EQ(Number(core, Pidx::CapRecRight90), 0);
  EXPECT_EQ(Number(core, Pidx::CapRecPageMode), 0);
}

TEST(StandardModel, EightyMillimetreCutterDistances) {
  const struct {
    const char16_t* name;
    int32_t distance;
  } cases[] = {{u"MV611", 2300}, {u"OM-Q340", 2300}, {u"MV615", 2200},
               {u"N415", 2200},  {u"FX-310", 2400},  {u"LUMA212F", 2400}};
  for (const auto& c : cases) {
    CTM_T88IV core(c.name);
    EXPECT_EQ(core.Traits().cutterDistance, c.distance);
    EXPECT_EQ(core.Traits().printWidth, 576);
    EXPECT_EQ(core.Traits().pageAreaHeight, 936);
    EXPECT_FLOAT_EQ(core.Traits().verticalDotPitch, 0.0625f);
  }
  CTM_T88IV noCutter(u"QX611S201");
  EXPECT_EQ(Number(noCutter, Pidx::CapRecPapercut), 0);
}

TEST(StandardModel, TmT88ivProfile) {
  CTM_T88IV core(u"TM-T88IV");
  core.SetConfiguredCodePage(858);
  OpenOn(core, u"TCP/IP");
  EXPECT_EQ(core.Traits().printWidth, 512);
  EXPECT_EQ(Text(core, Pidx::PageModeArea), u"512,1000");
  EXPECT_EQ(Number(core, Pidx::CharacterSet), 858) << "the configured code page";
  EXPECT_EQ(Number(core, Pidx::RecLineChars), 42);  // 512 / 12
  EXPECT_EQ(Text(core, Pidx::CharacterSetList),
            u"437,720,850,860,862,863,864,865,866,852,858,874,932,936,949,1252,1255,1256");
}

TEST(StandardModel, BidiNeedsAProbeOnlyOnReadBackOrParallelPorts) {
  CTM_T88IV usb(u"FX-310");
  OpenOn(usb, u"USB");
  EXPECT_EQ(usb.IsSupportBidi(), 1);
  CTM_T88IV parallel(u"FX-310");
  OpenOn(parallel, u"LPT");
  EXPECT_EQ(parallel.IsSupportBidi(), 0);
  CTM_T88IV other(u"TM-T88IV");
  OpenOn(other, u"LPT");
  EXPECT_EQ(other.IsSupportBidi(), 1);
}

TEST(QX1270Model, TraitsAndOpen) {
  CQX1270SMB core(u"QX1270");
  EXPECT_EQ(core.Traits().cutterDistance, 2600);
  EXPECT_EQ(Number(core, 8564), 1);
  EXPECT_EQ(Number(core, 8565), 1);
  EXPECT_EQ(Text(core, Pidx::RecBarCodeRotationList), u"0,180");
  OpenOn(core, u"TCP/IP");
  EXPECT_EQ(core.Bidirectional(), 1);
  EXPECT_EQ(Number(core, Pidx::CharacterSet), 437);
  EXPECT_EQ(Number(core, Pidx::RecLineChars), 48);
  EXPECT_EQ(Text(core, Pidx::CharacterSetList),
            u"437,720,850,860,862,863,865,866,852,858,874,932,936,1252,1255,1256");
}

TEST(QX1270Model, NeverQueuesOutput) {
  for (const char16_t* name : {u"QX1270", u"QX1270SMB"}) {
    CQX1270SMB core(name);
    OpenOn(core, u"TCP/IP");
    int32_t rc = -1;
    core.SetPropertyNumber(Pidx::AsyncMode, 1, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(Number(core, Pidx::AsyncMode), 0);
  }
}

}  // namespace
