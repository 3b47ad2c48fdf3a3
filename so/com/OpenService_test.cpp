// OpenService from the registry: the full open of a printer and what each
// failure leaves in pRC and OpenResult.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "so/com/ServiceTestBed_test.h"

namespace QEL {
namespace COM {
namespace {

class OpenService : public ServiceTestBed {};

TEST_F(OpenService, OpensAPrinterFromItsKey) {
  auto control = NewControl();
  EXPECT_EQ(control->Open(u"POSPrinter", kDevice), 0);
  EXPECT_EQ(control->Call(u"GetOpenResult"), 0);
  EXPECT_EQ(control->GetNumber(kResultCode), 0);
  EXPECT_EQ(control->GetString(kDeviceDescription), u"POS Printer");
  EXPECT_EQ(control->GetString(1000004), u"POS Printer OPOS Service Object");
  EXPECT_EQ(control->GetNumber(8035), 1) << "ErrorLevel none";
  EXPECT_EQ(control->GetString(1000003), u"TM-T88IIM") << "the model from DriverModel";
  EXPECT_EQ(control->Open(u"POSPrinter", u"another"), 0) << "an open instance stays as it is";
  EXPECT_EQ(control->Call(u"CloseService"), 0);
  EXPECT_EQ(control->GetString(kDeviceDescription), u"POS Printer")
      << "the printer flag outlives the close";
  EXPECT_EQ(control->GetNumber(kResultCode), 101);
}

struct FailureCase {
  const char* name;
  const char16_t* classKey;
  const char16_t* device;
  const char16_t* value;       // a printer value to change, or null
  const char16_t* text;        // its new text; null deletes it
  bool number;                 // write the value as a number instead
  int32_t rc;
  int32_t openResult;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

const FailureCase kFailures[] = {
    {"EmptyDeviceName", u"POSPrinter", u"", nullptr, nullptr, false, 106, 402},
    {"KeyMissing", u"POSPrinter", u"TM-T88IIM_9", nullptr, nullptr, false, 106, 403},
    {"ValueMissing", u"POSPrinter", u"TM-T88IIM_1", u"PortSettings", nullptr, false, 106, 403},
    {"ValueNotAString", u"POSPrinter", u"TM-T88IIM_1", u"CodepageID", nullptr, true, 106, 403},
    {"UnknownPortType", u"POSPrinter", u"TM-T88IIM_1", u"PortType", u"SERIAL", false, 106, 403},
    {"UnknownModel", u"POSPrinter", u"TM-T88IIM_1", u"DriverModel", u"TM-XX_1", false, 106, 402},
    {"ModelComparedExactly", u"POSPrinter", u"TM-T88IIM_1", u"DriverModel", u"tm-t88iim_1", false,
     106, 402},
    // Nothing listens there: the core's probe of the port fails.
    {"PortDoesNotOpen", u"POSPrinter", u"TM-T88IIM_1", u"PortSettings", u"127.0.0.1,1", false, 106,
     401},
    // Any other class key is a cash drawer, whose key is not there.
    {"ClassKeyComparedExactly", u"posprinter", u"TM-T88IIM_1", nullptr, nullptr, false, 106, 403},
};

class OpenServiceFailure : public OpenService, public ::testing::WithParamInterface<FailureCase> {};

INSTANTIATE_TEST_SUITE_P(Cases, OpenServiceFailure, ::testing::ValuesIn(kFailures),
                         [](const ::testing::TestParamInfo<FailureCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_P(OpenServiceFailure, AnswersWithTheStageReached) {
  const FailureCase& c = GetParam();
  if (c.value != nullptr) {
    platform::RegistryKey* key = PrinterKey(kDevice);
    ASSERT_NE(key, nullptr);
    if (c.number) {
      ASSERT_TRUE(key->DeleteValue(c.value));
      ASSERT_TRUE(key->WriteNumber(c.value, 437));
    } else if (c.text == nullptr) {
      ASSERT_TRUE(key->DeleteValue(c.value));
    } else {
      ASSERT_TRUE(key->WriteString(c.value, c.text));
    }
  }
  auto control = NewControl();
  EXPECT_EQ(control->Open(c.classKey, c.device), c.rc);
  EXPECT_EQ(control->Call(u"GetOpenResult"), c.openResult);
  EXPECT_EQ(control->Call(u"ClaimDevice", {0}), 101) << "the instance stays closed";
  EXPECT_EQ(printer.ConnectionsAccepted(), 0) << "no port was opened at all";
}

TEST_F(OpenService, AMalformedRegistryFileIsAConfigurationError) {
  if (!platform::RegistryIsFileBacked()) GTEST_SKIP() << "the system keeps its own registry";
  {
    std::ofstream file(StoreFile(), std::ios::trunc);
    file << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\n\"x\"=\n";
  }
  auto control = NewControl();
  EXPECT_EQ(control->Open(u"POSPrinter", kDevice), 106);
  EXPECT_EQ(control->Call(u"GetOpenResult"), 403);
  EXPECT_EQ(printer.ConnectionsAccepted(), 0);
}

TEST_F(OpenService, AFailedOpenLeavesNoOwnerBehind) {
  PrinterKey(kDevice)->WriteString(u"DriverModel", u"TM-XX_1");
  auto failed = NewControl();
  ASSERT_EQ(failed->Open(u"POSPrinter", kDevice), 106);
  PrinterKey(kDevice)->WriteString(u"DriverModel", u"TM-T88IIM_1");
  auto control = NewControl();
  ASSERT_EQ(control->Open(u"POSPrinter", kDevice), 0);
  EXPECT_FALSE(Instance(*control)->IsAttached()) << "the second open owns the core";
  EXPECT_EQ(control->Call(u"ClaimDevice", {1000}), 0);
}

}  // namespace
}  // namespace COM
}  // namespace QEL
