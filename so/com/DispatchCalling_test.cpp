// Calling the class as a control object does: names, argument passing and
// coercion, the result in pVarResult, and what a closed instance answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "so/com/DispatchTable.h"
#include "so/com/ServiceTestBed_test.h"

namespace QEL {
namespace COM {
namespace {

using testing_support::TestControlObject;

class DispatchCalling : public ServiceTestBed {
 protected:
  void SetUp() override {
    ServiceTestBed::SetUp();
    control = NewControl();
  }
  DISPID IdOf(const std::u16string& name, HRESULT* hr) {
    std::u16string copy = name;
    LPOLESTR text = const_cast<LPOLESTR>(platform::OleText(copy.c_str()));
    DISPID id = 12345;
    *hr = control->Service()->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_SYSTEM_DEFAULT, &id);
    return id;
  }
  std::unique_ptr<TestControlObject> control;
};

TEST_F(DispatchCalling, ResolvesEveryMethodNameAControlObjectAsksFor) {
  // The release order of the common control objects, then the POSPrinter and
  // CashDrawer methods; a missing name would fail their Open.
  const std::vector<std::u16string> names = {
      u"COFreezeEvents", u"GetPropertyNumber", u"SetPropertyNumber", u"GetPropertyString",
      u"SetPropertyString", u"OpenService", u"CheckHealth", u"ClaimDevice", u"ClearOutput",
      u"CloseService", u"DirectIO", u"ReleaseDevice", u"BeginInsertion", u"BeginRemoval",
      u"CutPaper", u"EndInsertion", u"EndRemoval", u"PrintBarCode", u"PrintBitmap",
      u"PrintImmediate", u"PrintNormal", u"PrintTwoNormal", u"RotatePrint", u"SetBitmap",
      u"SetLogo", u"TransactionPrint", u"ValidateData", u"ChangePrintSide", u"MarkFeed",
      u"ClearPrintArea", u"PageModePrint", u"PrintMemoryBitmap", u"DrawRuledLine",
      u"ResetStatistics", u"RetrieveStatistics", u"UpdateStatistics",
      u"CompareFirmwareVersion", u"UpdateFirmware", u"PrintLine", u"PrintCurveText",
      u"GetOpenResult", u"OpenDrawer", u"WaitForDrawerClose"};
  ASSERT_EQ(names.size(), kDispatchMethodCount);
  std::vector<DISPID> seen;
  for (const std::u16string& name : names) {
    HRESULT hr = E_FAIL;
    const DISPID id = IdOf(name, &hr);
    EXPECT_EQ(hr, S_OK) << std::string(name.begin(), name.end());
    EXPECT_EQ(std::count(seen.begin(), seen.end(), id), 0) << "one identifier per method";
    seen.push_back(id);
  }
  HRESULT hr = E_FAIL;
  EXPECT_EQ(IdOf(u"printnormal", &hr), IdOf(u"PrintNormal", &hr)) << "letter case is ignored";
  EXPECT_EQ(hr, S_OK);
}

TEST_F(DispatchCalling, AnUnknownNameIsRefused) {
  HRESULT hr = S_OK;
  EXPECT_EQ(IdOf(u"PrintNormally", &hr), DISPID_UNKNOWN);
  EXPECT_EQ(hr, DISP_E_UNKNOWNNAME);
  EXPECT_EQ(IdOf(u"", &hr), DISPID_UNKNOWN);
  EXPECT_EQ(hr, DISP_E_UNKNOWNNAME);
}

TEST_F(DispatchCalling, AWrongArgumentCountIsRefusedBeforeTheMethodRuns) {
  VARIANT result;
  EXPECT_EQ(control->Invoke(u"PrintNormal", {2}, &result), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(control->Invoke(u"GetOpenResult", {1}, &result), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(control->Invoke(u"OpenService", {u"POSPrinter", kDevice}, &result),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(control->GetNumber(kResultCode), 101) << "nothing was opened";
}

TEST_F(DispatchCalling, TextWhereANumberBelongsIsATypeMismatchNamingTheArgument) {
  VARIANT result;
  UINT argError = 99;
  EXPECT_EQ(control->Invoke(u"PrintNormal", {u"two", u"text"}, &result, &argError),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argError, 1u) << "the station is the first argument, last in rgvarg";
  argError = 99;
  EXPECT_EQ(control->Invoke(u"SetBitmap", {1, 2, u"f.bmp", 100, u"centre"}, &result, &argError),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argError, 0u);
  VARIANT receiver;
  VariantInit(&receiver);
  receiver.vt = VT_I4;
  receiver.lVal = 5;
  argError = 99;
  EXPECT_EQ(control->Invoke(u"OpenService", {u"POSPrinter", kDevice, receiver}, &result,
                            &argError),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argError, 0u) << "a number is no event receiver";
}

TEST_F(DispatchCalling, NumbersOfOtherTypesAreCoerced) {
  VARIANT station;
  VariantInit(&station);
  station.vt = VT_R8;
  station.dblVal = 1.0;
  // Station 1 is refused by the station check, which proves the coercion.
  EXPECT_EQ(control->Call(u"PrintNormal", {station, u"x"}), 106);
  EXPECT_EQ(control->Call(u"PrintNormal", {u"1", u"x"}), 106) << "numeric text is a number";
  VARIANT index;
  VariantInit(&index);
  index.vt = VT_I2;
  index.iVal = kServiceObjectVersion;
  EXPECT_EQ(control->Call(u"GetPropertyNumber", {index}), 1013001);
}

TEST_F(DispatchCalling, AClosedInstanceAnswersItsFixedValues) {
  EXPECT_EQ(control->GetNumber(kServiceObjectVersion), 1013001);
  EXPECT_EQ(control->GetString(kDeviceDescription), u"POS CashDrawer")
      << "the printer flag is set only by OpenService";
  EXPECT_EQ(control->GetString(1000003), u"[Error]");
  EXPECT_EQ(control->GetNumber(kResultCode), 101);
  EXPECT_EQ(control->GetNumber(kState), 1);
}

TEST_F(DispatchCalling, GatesAndStationChecksOfAClosedInstance) {
  struct Case {
    const char16_t* method;
    std::vector<TestControlObject::Value> args;
    int32_t rc;
  };
  const Case cases[] = {
      {u"PrintNormal", {1, u"x"}, 106},       // the station comes before the gate
      {u"PrintNormal", {2, u"x"}, 101},
      {u"CutPaper", {100}, 101},
      {u"PrintTwoNormal", {3, u"a", u"b"}, 106},  // never supported
      {u"ValidateData", {2, u"x"}, 106},
      {u"ClaimDevice", {0}, 101},
      {u"ReleaseDevice", {}, 101},
      {u"CloseService", {}, 101},
      {u"COFreezeEvents", {1}, 111},
  };
  for (const Case& c : cases) {
    const std::u16string name = c.method;
    EXPECT_EQ(control->Call(name, c.args), c.rc) << std::string(name.begin(), name.end());
  }
  // The cached extended code is readable once open; a closed one answers 101.
  EXPECT_EQ(control->GetNumber(kResultCodeExtended), 101);
}

TEST_F(DispatchCalling, DirectIOWritesItsReferencesBackAndTheResultGoesToPVarResult) {
  Ready(*control);
  LONG number = 7;
  BSTR text = platform::ToBstr(u"in");
  VARIANT data;
  VariantInit(&data);
  data.vt = VT_BYREF | VT_I4;
  data.plVal = &number;
  VARIANT string;
  VariantInit(&string);
  string.vt = VT_BYREF | VT_BSTR;
  string.pbstrVal = &text;
  VARIANT result;
  // Command 0 is no command of this printer: the call returns, the references stay valid.
  ASSERT_EQ(control->Invoke(u"DirectIO", {0, data, string}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_NE(text, nullptr);
  SysFreeString(text);
  VARIANT plain;
  VariantInit(&plain);
  plain.vt = VT_I4;
  UINT argError = 9;
  EXPECT_EQ(control->Invoke(u"DirectIO", {0, plain, u"x"}, &result, &argError),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argError, 1u) << "a long* must come by reference";
}

}  // namespace
}  // namespace COM
}  // namespace QEL
