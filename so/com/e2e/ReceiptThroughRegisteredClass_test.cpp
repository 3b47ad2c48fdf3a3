// A receipt printed by a point-of-sale application through the registered
// class: created from its ProgID, every method resolved by name, opened on a
// device key in HKEY_LOCAL_MACHINE, events delivered to the control object's
// sink, and the bytes checked at the printer.
#include <algorithm>
#include <string>
#include <vector>

#include "sim/transcript.h"
#include "so/com/ClassIdentity.h"
#include "so/com/e2e/RegisteredClass_test.h"

namespace e2e {
namespace {

using Event = testing_support::EventReceiver::Event;
using testing_support::TestControlObject;

constexpr int32_t kOutputId = 5;
constexpr int32_t kServiceObjectVersion = 8;
constexpr int32_t kAsyncMode = 8001;
constexpr int32_t kFlagWhenIdle = 8005;
constexpr int32_t kStatusIdle = 1001;

// The names a release 1.13 control object resolves, one GetIDsOfNames each;
// its Open fails on the first that is missing.
const wchar_t* const kMethodNames[] = {
    L"COFreezeEvents", L"GetPropertyNumber", L"SetPropertyNumber", L"GetPropertyString",
    L"SetPropertyString", L"OpenService", L"CheckHealth", L"ClaimDevice", L"ClearOutput",
    L"CloseService", L"DirectIO", L"ReleaseDevice", L"BeginRemoval", L"CutPaper",
    L"EndInsertion", L"EndRemoval", L"PrintBarCode", L"PrintBitmap", L"PrintImmediate",
    L"PrintNormal", L"PrintTwoNormal", L"RotatePrint", L"SetBitmap", L"SetLogo",
    L"TransactionPrint", L"ValidateData", L"ChangePrintSide", L"MarkFeed", L"ResetStatistics",
    L"RetrieveStatistics", L"UpdateStatistics", L"CompareFirmwareVersion", L"UpdateFirmware",
    L"ClearPrintArea", L"PageModePrint", L"PrintMemoryBitmap", L"DrawRuledLine",
    L"BeginInsertion", L"GetOpenResult", L"OpenDrawer", L"WaitForDrawerClose", L"PrintLine",
    L"PrintCurveText"};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

bool HasEvent(const testing_support::EventReceiver& receiver, const Event& wanted) {
  const std::vector<Event> events = receiver.Events();
  return std::find(events.begin(), events.end(), wanted) != events.end();
}

// Whether `wanted` appears in `lines` in this order, other lines between.
bool InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted) {
  auto at = lines.begin();
  for (const std::string& w : wanted) {
    at = std::find_if(at, lines.end(), [&w](const std::string& l) { return l.rfind(w, 0) == 0; });
    if (at == lines.end()) return false;
    ++at;
  }
  return true;
}

std::vector<std::string> Lines(const std::string& transcript) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = transcript.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(transcript.substr(start, end - start));
  }
  return lines;
}

class ReceiptThroughRegisteredClass : public RegisteredClassTest {};

TEST_F(ReceiptThroughRegisteredClass, EveryMethodResolvesAsTheRegisteredTypeLibraryDeclaresIt) {
  CLSID clsid;
  ASSERT_EQ(CLSIDFromProgID(kProgId, &clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, QEL::COM::kClsidQELOposPrinterSO));
  IDispatch* service = CreateRegistered();
  ASSERT_NE(service, nullptr);
  ITypeLib* library = nullptr;
  ITypeInfo* declared = nullptr;
  EXPECT_EQ(LoadRegTypeLib(QEL::COM::kLibidOPosPrinterSOLib, QEL::COM::kTypeLibMajor,
                           QEL::COM::kTypeLibMinor, LOCALE_SYSTEM_DEFAULT, &library),
            S_OK);
  if (library != nullptr) {
    EXPECT_EQ(library->GetTypeInfoOfGuid(QEL::COM::kIidIQELOposPrinterSO, &declared), S_OK);
  }
  std::vector<DISPID> seen;
  for (const wchar_t* name : kMethodNames) {
    LPOLESTR text = const_cast<LPOLESTR>(name);
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(service->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_SYSTEM_DEFAULT, &id), S_OK)
        << Narrow(name);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), id), 0) << Narrow(name) << " shares " << id;
    seen.push_back(id);
    if (declared == nullptr) continue;
    DISPID typeLibraryId = DISPID_UNKNOWN;
    EXPECT_EQ(declared->GetIDsOfNames(&text, 1, &typeLibraryId), S_OK) << Narrow(name);
    EXPECT_EQ(typeLibraryId, id) << Narrow(name);
  }
  if (declared != nullptr) declared->Release();
  if (library != nullptr) library->Release();
  service->Release();
}

TEST_F(ReceiptThroughRegisteredClass, PrintsAndReportsAsAControlObjectExpects) {
  {
    TestControlObject control(CreateRegistered);
    testing_support::EventReceiver& sink = control.Receiver();
    ASSERT_EQ(control.Open(u"POSPrinter", device), 0)
        << "open result " << control.Call(u"GetOpenResult");
    const int32_t version = control.GetNumber(kServiceObjectVersion);
    EXPECT_EQ(version / 1000000, 1);
    EXPECT_EQ(version / 1000 % 1000, 13);
    ASSERT_EQ(control.Call(u"ClaimDevice", {1000}), 0);
    ASSERT_EQ(control.SetNumber(kDeviceEnabled, 1), 0);

    const std::u16string esc = u"\x1b|";
    const std::u16string receipt = esc + u"cA" + esc + u"bC" + u"E2E MARKET\n" + esc + u"N" +
                                   u"Tea" + esc + u"rA" + u"1.80\n" + esc + u"bC" + u"TOTAL" +
                                   esc + u"rA" + u"1.80\n" + esc + u"N" + esc + u"3lF";
    EXPECT_EQ(control.Call(u"PrintNormal", {2, receipt}), 0);
    EXPECT_EQ(control.Call(u"CutPaper", {100}), 0);

    ASSERT_EQ(control.SetNumber(kAsyncMode, 1), 0);
    ASSERT_EQ(control.SetNumber(kFlagWhenIdle, 1), 0);
    ASSERT_EQ(control.Call(u"PrintNormal", {2, u"queued\n"}), 0);
    const int32_t outputId = control.GetNumber(kOutputId);
    EXPECT_TRUE(WaitUntil([&] { return HasEvent(sink, {u"SOStatusUpdate", {kStatusIdle}}); }))
        << sink.Events().size() << " events, no idle report";
    const std::vector<Event> events = sink.Events();
    const auto complete = std::find(events.begin(), events.end(),
                                    Event{u"SOOutputComplete", {outputId}});
    const auto idle = std::find(events.begin(), events.end(),
                                Event{u"SOStatusUpdate", {kStatusIdle}});
    EXPECT_TRUE(complete < idle) << "the queued job completes before the printer is idle";
    EXPECT_EQ(control.GetNumber(kFlagWhenIdle), 0);

    EXPECT_EQ(control.SetNumber(kDeviceEnabled, 0), 0);
    EXPECT_EQ(control.Call(u"ReleaseDevice"), 0);
    EXPECT_EQ(control.Call(u"CloseService"), 0);
  }

  ASSERT_TRUE(printer.WaitForBytes({'q', 'u', 'e', 'u', 'e', 'd', '\n'}, kWaitMs));
  ASSERT_TRUE(printer.WaitForIdle(printer.ConnectionsAccepted(), kWaitMs));
  const std::string transcript = printer.Transcript();
  // Centred bold heading, a plain item line, a bold total; "normal" resets
  // the print mode; the feed and the cut; then the queued job.
  EXPECT_TRUE(InOrder(Lines(transcript), {"ESC @", "ESC a 1", "ESC E 1", "TEXT \"E2E MARKET\"",
                                          "ESC ! 0", "TEXT \"Tea\"", "TEXT \"1.80\"",
                                          "ESC E 1", "TEXT \"TOTAL\"", "TEXT \"1.80\"",
                                          "ESC ! 0", "ESC d 3", "GS V", "TEXT \"queued\""}))
      << transcript;
  EXPECT_EQ(printer.InvalidCommands(), 0) << transcript;
}

}  // namespace
}  // namespace e2e
