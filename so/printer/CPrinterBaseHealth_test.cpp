// CheckHealth, direct I/O, the printer information read at claim and the
// methods a receipt printer refuses, with the bytes checked at a fake port.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/manual_clock.h"
#include "so/printer/PropertyIndex.h"
#include "testing/FakePort.h"
#include "testing/TestPrinterModel.h"

namespace {

using QEL::Printer::OPOS_E_BUSY;
using QEL::Printer::OPOS_E_EXTENDED;
using QEL::Printer::OPOS_E_NOHARDWARE;
using QEL::Printer::OPOS_E_NOT_SUPPORTED;
using QEL::Printer::OPOS_SUCCESS;
namespace Pidx = QEL::Printer::Pidx;
using testing_support::FakePort;
using Bytes = std::vector<uint8_t>;

// The test model with the real printer-information exchange of the core.
class InfoModel : public testing_support::TestPrinterModel {
 protected:
  int32_t RefreshPrinterInfo() override { return CPrinterBase::RefreshPrinterInfo(); }
};

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A text answer to GS I as a printer frames it: '_', the text, NUL.
Bytes Reply(const std::string& text) {
  const std::string framed = "_" + text + std::string(1, '\0');
  return Bytes(framed.begin(), framed.end());
}

bool Contains(const Bytes& haystack, const Bytes& needle) {
  return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
         haystack.end();
}

// The prologue of every job (ESC/POS): ESC = 1 (printer selected), ESC a 0
// (left), GS L 0 0 (no margin), ESC { 0 (upright), ESC ! 0 (font A, plain),
// GS b 0 (no smoothing), ESC 3 36 (the default 1.5 x 24-dot line spacing).
const Bytes kPrologue = {0x1B, 0x3D, 0x01, 0x1B, 0x61, 0x00, 0x1D, 0x4C, 0x00, 0x00, 0x1B,
                         0x7B, 0x00, 0x1B, 0x21, 0x00, 0x1D, 0x62, 0x00, 0x1B, 0x33, 0x24};

class HealthCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    clock->SetAutoAdvance(true);
    core.SetClock(clock);
    core.AttachPort(port);
  }
  void OpenAndClaim() {
    int32_t rc = -1;
    core.OpenServiceW(u"TEST", nullptr, &rc);
    ASSERT_EQ(rc, 0);
    rc = 0;
    core.ClaimDevice(1000, &rc);
    ASSERT_EQ(rc, 0);
    port->ClearWritten();
  }
  // Answers for the claim's reset and setup writes, then one per exchange.
  void ScriptClaimReplies(const std::vector<Bytes>& exchanges) {
    port->ReplyAfterNextWrite({});
    port->ReplyAfterNextWrite({});
    for (const Bytes& b : exchanges) port->ReplyAfterNextWrite(b);
  }
  std::u16string HealthText() {
    std::u16string text;
    core.GetPropertyString(Pidx::CheckHealthText, &text);
    return text;
  }

  std::shared_ptr<platform::ManualClock> clock = std::make_shared<platform::ManualClock>();
  std::shared_ptr<FakePort> port = std::make_shared<FakePort>(u"TCP/IP");
  InfoModel core;
};

TEST_F(HealthCheck, InternalLevelAnswersFromMemoryAndLeavesResultsAlone) {
  OpenAndClaim();
  int32_t result = 0;
  core.CheckHealth(9, &result);  // leaves 114/300 behind
  result = 12345;
  core.CheckHealth(1, &result);
  EXPECT_EQ(HealthText(), u"Internal HealthCheck: Successful.");
  EXPECT_EQ(result, 12345);
  EXPECT_EQ(core.ResultCode(), OPOS_E_EXTENDED);
  EXPECT_EQ(core.ResultCodeExtended(), OPOS_E_NOT_SUPPORTED);
  EXPECT_TRUE(port->Written().empty());
}

TEST_F(HealthCheck, IllegalLevelsAreRefusedWithoutTouchingThePrinter) {
  OpenAndClaim();
  for (int32_t level : {0, 4, -1, 100}) {
    int32_t result = 0;
    core.CheckHealth(level, &result);
    EXPECT_EQ(result, OPOS_E_EXTENDED) << level;
    EXPECT_EQ(core.ResultCode(), OPOS_E_EXTENDED) << level;
    EXPECT_EQ(core.ResultCodeExtended(), OPOS_E_NOT_SUPPORTED) << level;
    EXPECT_EQ(HealthText(), u"Illegal Health Check Level!\r\nOPOS_E_ILLEGAL") << level;
  }
  EXPECT_TRUE(port->Written().empty());
}

TEST_F(HealthCheck, ExternalLevelPrintsTheReportThenResetsTheJobState) {
  core.SetRefreshInfoAtClaim(0);
  OpenAndClaim();
  int32_t result = -1;
  core.CheckHealth(2, &result);
  EXPECT_EQ(result, OPOS_SUCCESS);
  EXPECT_EQ(core.ResultCode(), OPOS_SUCCESS);
  EXPECT_EQ(HealthText(), u"External HealthCheck: Complete.\r\n\r\nSuccessful");

  const std::vector<Bytes> calls = port->WriteCalls();
  ASSERT_EQ(calls.size(), 2u);
  // The report: the code page ahead of the prologue (FS . leaves Kanji mode,
  // ESC t 0 selects 437, ESC R 0 the USA character set), then the text as
  // print data, each line ended by LF.
  Bytes report = {0x1C, 0x2E, 0x1B, 0x74, 0x00, 0x1B, 0x52, 0x00};
  report.insert(report.end(), kPrologue.begin(), kPrologue.end());
  const Bytes text =
      B("OPOS Printer CheckHealth EXTERNAL:\nManufacturer: \nDevice Name: VORNA Printer\n");
  report.insert(report.end(), text.begin(), text.end());
  EXPECT_EQ(calls[0], report);
  EXPECT_EQ(calls[1], kPrologue);
}

TEST_F(HealthCheck, FirmwareLineOnlyForAPrinterAskedAtClaim) {
  struct Case {
    int32_t bidirectional;
    int32_t refreshAtClaim;
    bool firmwareLine;
  };
  for (const Case c : {Case{1, 1, true}, Case{1, 0, false}, Case{0, 1, false}}) {
    SCOPED_TRACE(::testing::Message()
                 << "bidi " << c.bidirectional << " refresh " << c.refreshAtClaim);
    port = std::make_shared<FakePort>(u"TCP/IP");
    InfoModel model;
    model.SetClock(clock);
    model.AttachPort(port);
    model.SetSupportsBidi(c.bidirectional);
    model.SetRefreshInfoAtClaim(c.refreshAtClaim);
    ScriptClaimReplies({Reply("2.01 ESC"), Reply("ACME"), Reply("MODEL-Z"), {0x02}});
    int32_t rc = -1;
    model.OpenServiceW(u"TEST", nullptr, &rc);
    model.ClaimDevice(1000, &rc);
    ASSERT_EQ(rc, 0);
    port->ClearWritten();
    model.CheckHealth(2, &rc);
    ASSERT_EQ(rc, OPOS_SUCCESS);
    const Bytes written = port->Written();
    EXPECT_EQ(Contains(written, B("Firmware Version: 2.01 ESC\n")), c.firmwareLine);
    EXPECT_EQ(Contains(written, B("Manufacturer: ACME\nDevice Name: MODEL-Z\n")), c.firmwareLine)
        << "the maker and model are the printer's own only when it was asked";
  }
}

TEST_F(HealthCheck, InteractiveLevelAsksBeforeItPrints) {
  OpenAndClaim();
  std::vector<std::u16string> shown;
  size_t writtenWhileShown = 99;
  core.SetInteractiveConfirmation([&](const std::u16string& title, const std::u16string& text) {
    shown.push_back(title);
    shown.push_back(text);
    writtenWhileShown = port->Written().size();
  });
  int32_t result = -1;
  core.CheckHealth(3, &result);
  ASSERT_EQ(shown.size(), 2u) << "asked exactly once";
  EXPECT_EQ(shown[0], u"Opos");
  EXPECT_EQ(shown[1],
            u"OPOS Check Health:INTERACTIVE!\nPlease click the 'OK' button to continue...");
  EXPECT_EQ(writtenWhileShown, 0u);
  EXPECT_EQ(result, OPOS_SUCCESS);
  EXPECT_EQ(HealthText(), u"INTERACTIVE HealthCheck: Complete.\r\n\r\nSuccessful");
  EXPECT_TRUE(
      Contains(port->Written(), B("OPOS Printer CheckHealth INTERACTIVE:\nManufacturer: ")));
}

TEST_F(HealthCheck, APrinterThatTakesNothingIsNotResponding) {
  OpenAndClaim();
  port->FailWrites(true);
  for (int32_t level : {2, 3}) {
    core.SetInteractiveConfirmation([](const std::u16string&, const std::u16string&) {});
    int32_t result = -1;
    core.CheckHealth(level, &result);
    EXPECT_EQ(result, OPOS_E_NOHARDWARE) << level;
    EXPECT_EQ(core.ResultCode(), OPOS_E_NOHARDWARE) << level;
    const std::u16string expected = std::u16string(level == 2 ? u"External" : u"INTERACTIVE") +
                                    u" HealthCheck: No Responding.\r\n\r\nOPOS_E_NOHARDWARE";
    EXPECT_EQ(HealthText(), expected) << level;
  }
}

TEST_F(HealthCheck, QueuedOutputRefusesThePrintingLevels) {
  OpenAndClaim();
  int32_t rc = -1;
  core.SetPropertyNumber(Pidx::AsyncMode, 1, &rc);
  ASSERT_EQ(rc, 0);
  core.PrintNormal(2, u"queued\n", &rc);
  ASSERT_EQ(rc, 0);
  ASSERT_FALSE(core.IsIdle()) << "the worker is not running before enable";
  core.CheckHealth(1, &rc);
  const std::u16string before = HealthText();
  port->ClearWritten();
  int asked = 0;
  core.SetInteractiveConfirmation([&](const std::u16string&, const std::u16string&) { ++asked; });
  for (int32_t level : {2, 3}) {
    int32_t result = -1;
    core.CheckHealth(level, &result);
    EXPECT_EQ(result, OPOS_E_BUSY) << level;
    EXPECT_EQ(core.ResultCode(), OPOS_E_BUSY) << level;
    EXPECT_EQ(core.ResultCodeExtended(), 0) << level;
  }
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(HealthText(), before);
  EXPECT_TRUE(port->Written().empty());
}

// --- printer information at claim ---

TEST_F(HealthCheck, ClaimAsksThePrinterForItsIdentity) {
  core.SetRefreshInfoAtClaim(1);
  ScriptClaimReplies({Reply("2.01 ESC"), Reply("ACME"), Reply("MODEL-Z"), {0x00}});
  int32_t rc = -1;
  core.OpenServiceW(u"TEST", nullptr, &rc);
  core.ClaimDevice(1000, &rc);
  ASSERT_EQ(rc, 0);
  const std::vector<Bytes> calls = port->WriteCalls();
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[2], Bytes({0x1D, 0x49, 0x41}));                    // GS I 65
  EXPECT_EQ(calls[3], Bytes({0x1D, 0x49, 0x42}));                    // GS I 66
  EXPECT_EQ(calls[4], Bytes({0x1B, 0x3D, 0x01, 0x1D, 0x49, 0x43}));  // ESC = 1, GS I 67
  EXPECT_EQ(calls[5], Bytes({0x1B, 0x3D, 0x01, 0x1D, 0x49, 0x02}));  // ESC = 1, GS I 2
  EXPECT_EQ(core.FirmwareText(), u"2.01 ESC");
  EXPECT_EQ(core.MakerText(), u"ACME");
  std::u16string name;
  core.GetPropertyString(Pidx::DeviceName, &name);
  EXPECT_EQ(name, u"MODEL-Z");
}

TEST_F(HealthCheck, TheTypeIdTellsWhetherACutterIsFitted) {
  for (uint8_t type : {0x00, 0x02, 0xFD, 0xFF}) {
    port = std::make_shared<FakePort>(u"TCP/IP");
    InfoModel model;
    model.SetClock(clock);
    model.AttachPort(port);
    model.SetRefreshInfoAtClaim(1);
    ScriptClaimReplies({Reply("1"), Reply("M"), Reply("N"), {type}});
    int32_t rc = -1;
    model.OpenServiceW(u"TEST", nullptr, &rc);
    model.ClaimDevice(1000, &rc);
    int32_t cutter = -1;
    model.GetPropertyNumber(Pidx::CapRecPapercut, &cutter);
    EXPECT_EQ(cutter, (type & 0x02) ? 1 : 0) << int(type);
  }
}

TEST_F(HealthCheck, ALongModelNameIsCutTo29Characters) {
  core.SetRefreshInfoAtClaim(1);
  ScriptClaimReplies(
      {Reply("1"), Reply("M"), Reply("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"), {0x00}});
  int32_t rc = -1;
  core.OpenServiceW(u"TEST", nullptr, &rc);
  core.ClaimDevice(1000, &rc);
  std::u16string name;
  core.GetPropertyString(Pidx::DeviceName, &name);
  EXPECT_EQ(name, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012");
}

TEST_F(HealthCheck, ASilentPrinterEndsTheQuestionsAndTheClaimStillSucceeds) {
  core.SetRefreshInfoAtClaim(1);
  ScriptClaimReplies({Reply("3.10")});  // answers the firmware question only
  int32_t rc = -1;
  core.OpenServiceW(u"TEST", nullptr, &rc);
  std::u16string nameBefore;
  core.GetPropertyString(Pidx::DeviceName, &nameBefore);
  core.ClaimDevice(1000, &rc);
  EXPECT_EQ(rc, OPOS_SUCCESS);
  EXPECT_TRUE(core.IsClaimed());
  EXPECT_EQ(core.FirmwareText(), u"3.10") << "what was read stays read";
  EXPECT_EQ(core.MakerText(), u"") << "the rest keep what they had";
  std::u16string name;
  core.GetPropertyString(Pidx::DeviceName, &name);
  EXPECT_EQ(name, nameBefore);
  const std::vector<Bytes> calls = port->WriteCalls();
  ASSERT_EQ(calls.size(), 4u) << "nothing is asked after the unanswered question";
  EXPECT_EQ(calls[3], Bytes({0x1D, 0x49, 0x42}));
}

// --- direct I/O ---

TEST_F(HealthCheck, DirectIOCommands) {
  struct Case {
    int32_t command;
    bool inTransaction;
    int32_t binaryConversion;
    std::u16string text;
    Bytes atOnce;  // written during the call
  };
  const Case cases[] = {
      {101, false, 0, u"\x1B@", {0x1B, 0x40}},
      {100, false, 0, u"\x1B@", {0x1B, 0x40}},
      {101, true, 0, u"\x1B@", {0x1B, 0x40}},  // 101 ignores the transaction
      {100, true, 0, u"\x1B@", {}},            // 100 goes with the transaction
      {101, false, 1, u"1;40", {0x1B, 0x40}},  // nibble pairs, as print data
      {7, false, 0, u"\x1B@", {}},
      {0, false, 0, u"\x1B@", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "command " << c.command << " transaction "
                                      << c.inTransaction << " conversion " << c.binaryConversion);
    port = std::make_shared<FakePort>(u"TCP/IP");
    InfoModel model;
    model.SetClock(clock);
    model.AttachPort(port);
    int32_t rc = -1;
    model.OpenServiceW(u"TEST", nullptr, &rc);
    model.ClaimDevice(1000, &rc);
    model.SetBinaryConversion(c.binaryConversion);
    if (c.inTransaction) model.TransactionPrint(2, 11, &rc);
    port->ClearWritten();
    int32_t number = 5;
    std::u16string text = c.text;
    int32_t result = -1;
    model.DirectIO(c.command, &number, &text, &result);
    EXPECT_EQ(result, OPOS_SUCCESS);
    EXPECT_EQ(model.ResultCode(), OPOS_SUCCESS);
    EXPECT_EQ(text, c.text) << "the text is not changed";
    EXPECT_EQ(number, 5);
    EXPECT_EQ(port->Written(), c.atOnce);
    if (c.inTransaction) {
      port->ClearWritten();
      model.TransactionPrint(2, 12, &rc);
      ASSERT_EQ(rc, 0);
      EXPECT_EQ(Contains(port->Written(), Bytes({0x1B, 0x40})), c.command == 100)
          << "command 100's bytes leave with the transaction";
    }
  }
}

// --- refused methods ---

TEST_F(HealthCheck, StatisticsFirmwareAndSlipMethodsAreNotSupported) {
  OpenAndClaim();
  std::u16string buffer = u"x";
  int32_t comparison = 77;
  using Call = std::function<void(int32_t*)>;
  const std::vector<std::pair<const char*, Call>> calls = {
      {"RetrieveStatistics", [&](int32_t* r) { core.RetrieveStatistics(&buffer, r); }},
      {"UpdateStatistics", [&](int32_t* r) { core.UpdateStatistics(u"a=1", r); }},
      {"ResetStatistics", [&](int32_t* r) { core.ResetStatistics(u"", r); }},
      {"CompareFirmwareVersion",
       [&](int32_t* r) { core.CompareFirmwareVersion(u"f", &comparison, r); }},
      {"UpdateFirmware", [&](int32_t* r) { core.UpdateFirmware(u"f", r); }},
      {"BeginInsertion", [&](int32_t* r) { core.BeginInsertion(100, r); }},
      {"BeginRemoval", [&](int32_t* r) { core.BeginRemoval(100, r); }},
      {"EndInsertion", [&](int32_t* r) { core.EndInsertion(r); }},
      {"EndRemoval", [&](int32_t* r) { core.EndRemoval(r); }},
      {"ChangePrintSide", [&](int32_t* r) { core.ChangePrintSide(1, r); }},
      {"MarkFeed", [&](int32_t* r) { core.MarkFeed(1, r); }},
  };
  for (const auto& call : calls) {
    core.SetRC(OPOS_SUCCESS);
    int32_t result = -1;
    call.second(&result);
    EXPECT_EQ(result, OPOS_E_EXTENDED) << call.first;
    EXPECT_EQ(core.ResultCode(), OPOS_E_EXTENDED) << call.first;
    EXPECT_EQ(core.ResultCodeExtended(), OPOS_E_NOT_SUPPORTED) << call.first;
  }
  EXPECT_EQ(comparison, 77) << "no comparison is made";
  EXPECT_EQ(core.CheckPrinter(), 0);
  EXPECT_TRUE(port->Written().empty());
}

}  // namespace
