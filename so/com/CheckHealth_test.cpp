// CheckHealth, CheckHealthText, DirectIO and the statistics methods called as
// a control object calls them, with the report checked at the virtual printer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "so/com/ServiceTestBed_test.h"

namespace QEL {
namespace COM {
namespace {

using testing_support::TestControlObject;

constexpr int32_t kCheckHealthText = 1000001;
constexpr int32_t kDeviceName = 1000003;

std::vector<uint8_t> B(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
std::string Narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

class CheckHealthThroughDispatch : public ServiceTestBed {
 protected:
  void SetUp() override {
    ServiceTestBed::SetUp();
    control = NewControl();
  }
  // A byte reference argument, as control objects pass [in, out] values.
  static VARIANT ByRef(BSTR* text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_BSTR;
    v.pbstrVal = text;
    return v;
  }
  static VARIANT ByRef(LONG* number) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_I4;
    v.plVal = number;
    return v;
  }
  bool Received(const std::string& text) {
    if (!printer.WaitForBytes(B(text), kWaitMs)) return false;
    return true;
  }
  std::unique_ptr<TestControlObject> control;
};

TEST_F(CheckHealthThroughDispatch, TheGateComesBeforeAnyLevel) {
  ASSERT_EQ(control->Open(u"POSPrinter", kDevice), 0);
  EXPECT_EQ(control->Call(u"CheckHealth", {1}), 103);
  ASSERT_EQ(control->Call(u"ClaimDevice", {1000}), 0);
  EXPECT_EQ(control->Call(u"CheckHealth", {2}), 105);
  EXPECT_EQ(control->GetString(kCheckHealthText), u"") << "nothing ran";
}

TEST_F(CheckHealthThroughDispatch, ExternalLevelPrintsTheReportAndLeavesItsVerdict) {
  Ready(*control);
  EXPECT_EQ(control->Call(u"CheckHealth", {2}), 0);
  EXPECT_EQ(control->GetString(kCheckHealthText),
            u"External HealthCheck: Complete.\r\n\r\nSuccessful");
  const std::string name = Narrow(control->GetString(kDeviceName));
  EXPECT_TRUE(Received("OPOS Printer CheckHealth EXTERNAL:\nManufacturer: VORNA\nDevice Name: " +
                       name + "\n"))
      << printer.Transcript();
  EXPECT_EQ(printer.InvalidCommands(), 0);
}

TEST_F(CheckHealthThroughDispatch, APrinterAskedAtClaimReportsItsOwnIdentity) {
  // This model reads firmware, maker and model from the printer at claim.
  ASSERT_TRUE(PrinterKey(kDevice)->WriteString(Config::kDriverModel, u"TM-T88IV"));
  Ready(*control);
  EXPECT_EQ(control->GetString(kDeviceName), u"VIRTUAL-80");
  EXPECT_EQ(control->Call(u"CheckHealth", {2}), 0);
  EXPECT_TRUE(Received("Manufacturer: ZOBELSO\nDevice Name: VIRTUAL-80\n"
                       "Firmware Version: 1.00 ZSIM\n"))
      << printer.Transcript();
}

TEST_F(CheckHealthThroughDispatch, InteractiveLevelWaitsForTheUser) {
  Ready(*control);
  int asked = 0;
  Instance(*control)->Core()->SetInteractiveConfirmation(
      [&](const std::u16string& title, const std::u16string&) {
        EXPECT_EQ(title, u"Opos");
        ++asked;
      });
  EXPECT_EQ(control->Call(u"CheckHealth", {3}), 0);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(control->GetString(kCheckHealthText),
            u"INTERACTIVE HealthCheck: Complete.\r\n\r\nSuccessful");
  EXPECT_TRUE(Received("OPOS Printer CheckHealth INTERACTIVE:\n")) << printer.Transcript();
}

TEST_F(CheckHealthThroughDispatch, AnUnknownLevelIsNotSupported) {
  Ready(*control);
  EXPECT_EQ(control->Call(u"CheckHealth", {4}), 114);
  EXPECT_EQ(control->GetNumber(kResultCode), 114);
  EXPECT_EQ(control->GetNumber(kResultCodeExtended), 300);
  EXPECT_EQ(control->GetString(kCheckHealthText),
            u"Illegal Health Check Level!\r\nOPOS_E_ILLEGAL");
}

TEST_F(CheckHealthThroughDispatch, DirectIOSendsRawBytesAndKeepsItsReferences) {
  Ready(*control);
  LONG number = 3;
  BSTR text = platform::ToBstr(u"raw bytes\n");
  VARIANT result;
  ASSERT_EQ(control->Invoke(u"DirectIO", {101, ByRef(&number), ByRef(&text)}, &result), S_OK);
  EXPECT_EQ(result.lVal, 0);
  EXPECT_EQ(platform::FromBstr(text), u"raw bytes\n");
  EXPECT_EQ(number, 3);
  SysFreeString(text);
  EXPECT_TRUE(Received("raw bytes\n")) << printer.Transcript();
}

TEST_F(CheckHealthThroughDispatch, StatisticsAndFirmwareMethodsAnswerIllegal) {
  Ready(*control);
  BSTR text = platform::ToBstr(u"");
  VARIANT result;
  ASSERT_EQ(control->Invoke(u"RetrieveStatistics", {ByRef(&text)}, &result), S_OK);
  EXPECT_EQ(result.lVal, 106);
  SysFreeString(text);
  EXPECT_EQ(control->Call(u"UpdateStatistics", {u"a=1"}), 106);
  EXPECT_EQ(control->Call(u"ResetStatistics", {u""}), 106);
  EXPECT_EQ(control->Call(u"UpdateFirmware", {u"f.bin"}), 106);
  EXPECT_EQ(control->GetNumber(kResultCode), 106);
}

}  // namespace
}  // namespace COM
}  // namespace QEL
