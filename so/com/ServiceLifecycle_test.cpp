// The OPOS life cycle through the dispatch interface down to the virtual
// printer, and two instances sharing one printer core.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "so/com/ServiceTestBed_test.h"

namespace QEL {
namespace COM {
namespace {

const Lines kPrologue = {"ESC = 1", "ESC a 0", "GS L 0 0", "ESC { 0", "ESC ! 0", "GS b 0"};
const std::string kReleaseLine = "GS a 0";

size_t CountOf(const Lines& lines, const std::string& line) {
  return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

// The line after the first job prologue.
Lines JobLines(const Lines& lines) {
  auto at = std::search(lines.begin(), lines.end(), kPrologue.begin(), kPrologue.end());
  if (at == lines.end()) return {};
  return Lines(at + static_cast<std::ptrdiff_t>(kPrologue.size()), lines.end());
}

class ServiceLifecycle : public ServiceTestBed {};

TEST_F(ServiceLifecycle, PrintsAReceiptThroughTheDispatchInterface) {
  auto control = NewControl();
  Ready(*control);
  EXPECT_EQ(control->GetNumber(kState), 2);
  EXPECT_EQ(control->Call(u"PrintNormal", {2, u"Hello\n"}), 0);
  EXPECT_EQ(control->GetNumber(kResultCode), 0);
  EXPECT_EQ(control->Call(u"ReleaseDevice"), 0);
  EXPECT_EQ(control->Call(u"CloseService"), 0);
  ASSERT_TRUE(printer.WaitForIdle(2, kWaitMs)) << "the open's probe and the claim's connection";
  EXPECT_EQ(printer.InvalidCommands(), 0);
  const Lines lines = SplitLines(printer.Transcript());
  const Lines job = JobLines(lines);
  ASSERT_GE(job.size(), 3u) << printer.Transcript();
  EXPECT_EQ(std::find(job.begin(), job.end(), "TEXT \"Hello\"")[1], "LF") << printer.Transcript();
  EXPECT_EQ(CountOf(lines, "TEXT \"Hello\""), 1u);
  EXPECT_EQ(lines.back(), kReleaseLine);
}

TEST_F(ServiceLifecycle, GatesFollowTheStateOfTheCallingInstance) {
  auto control = NewControl();
  ASSERT_EQ(control->Open(u"POSPrinter", kDevice), 0);
  EXPECT_EQ(control->Call(u"PrintNormal", {2, u"x\n"}), 103);
  EXPECT_EQ(control->SetNumber(kDeviceEnabled, 1), 103) << "enabling needs the claim";
  ASSERT_EQ(control->Call(u"ClaimDevice", {1000}), 0);
  EXPECT_EQ(control->Call(u"PrintNormal", {2, u"x\n"}), 105);
  EXPECT_EQ(control->GetNumber(kResultCode), 105);
  EXPECT_EQ(control->Call(u"PrintNormal", {1, u"x\n"}), 106);
  EXPECT_EQ(control->GetNumber(kResultCodeExtended), 301) << "not the receipt station";
  ASSERT_EQ(control->SetNumber(kDeviceEnabled, 1), 0);
  EXPECT_EQ(control->GetNumber(kDeviceEnabled), 1);
  EXPECT_EQ(control->Call(u"PrintTwoNormal", {3, u"a", u"b"}), 106) << "in every state";
  EXPECT_EQ(control->Call(u"CloseService"), 0) << "close disables and releases on the way";
  ASSERT_TRUE(printer.WaitForIdle(2, kWaitMs));
  const Lines lines = SplitLines(printer.Transcript());
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "TEXT \"x\""), 0) << "nothing was printed";
  EXPECT_EQ(lines.back(), kReleaseLine);
}

TEST_F(ServiceLifecycle, ASecondPrinterInstanceSharesTheCoreUntilBothReleased) {
  auto first = NewControl();
  auto second = NewControl();
  Ready(*first);
  ASSERT_EQ(second->Open(u"POSPrinter", kDevice), 0);
  EXPECT_TRUE(Instance(*second)->IsAttached());
  EXPECT_EQ(Instance(*second)->Core(), Instance(*first)->Core());
  ASSERT_EQ(second->Call(u"ClaimDevice", {1000}), 0) << "the owner's claim is shared";
  EXPECT_EQ(second->Call(u"PrintNormal", {2, u"x\n"}), 105) << "its own state gates it";
  ASSERT_EQ(second->SetNumber(kDeviceEnabled, 1), 0);

  ASSERT_EQ(first->Call(u"ReleaseDevice"), 0);
  EXPECT_EQ(first->Call(u"PrintNormal", {2, u"gone\n"}), 103);
  ASSERT_EQ(second->Call(u"PrintNormal", {2, u"still\n"}), 0);
  ASSERT_TRUE(printer.WaitForBytes({'s', 't', 'i', 'l', 'l', '\n'}, kWaitMs));
  EXPECT_EQ(CountOf(SplitLines(printer.Transcript()), kReleaseLine), 0u)
      << "the core was not released while the second instance held its claim";

  ASSERT_EQ(second->Call(u"ReleaseDevice"), 0);
  ASSERT_TRUE(printer.WaitForIdle(2, kWaitMs)) << "the last release closed the port";
  EXPECT_EQ(printer.ConnectionsAccepted(), 2) << "one probe, one claim: the port was shared";
  EXPECT_EQ(SplitLines(printer.Transcript()).back(), kReleaseLine);

  EXPECT_EQ(first->Call(u"CloseService"), 0);
  EXPECT_NE(Instance(*second)->Core(), nullptr) << "the second client keeps the core open";
  EXPECT_EQ(second->Call(u"ClaimDevice", {1000}), 0);
  EXPECT_EQ(second->Call(u"CloseService"), 0);
  EXPECT_EQ(Instance(*first)->Core(), nullptr) << "the last close destroyed the core";
}

TEST_F(ServiceLifecycle, AClosedOwnerReopensOntoTheCoreItsClientStillUses) {
  auto owner = NewControl();
  auto client = NewControl();
  Ready(*owner);
  Ready(*client);
  Printer::CPrinterBase* core = Instance(*owner)->Core();
  ASSERT_EQ(owner->Call(u"CloseService"), 0);
  EXPECT_EQ(client->Call(u"PrintNormal", {2, u"kept\n"}), 0) << "the client still prints";
  ASSERT_EQ(owner->Open(u"POSPrinter", kDevice), 0);
  EXPECT_EQ(Instance(*owner)->Core(), core);
  EXPECT_EQ(owner->Call(u"ClaimDevice", {1000}), 0);
  ASSERT_TRUE(printer.WaitForBytes({'k', 'e', 'p', 't', '\n'}, kWaitMs));
  EXPECT_EQ(printer.ConnectionsAccepted(), 2) << "no second probe or claim of the port";
}

TEST_F(ServiceLifecycle, AnInstanceOpenedAfterTheCoreWasDestroyedOwnsANewOne) {
  {
    auto first = NewControl();
    Ready(*first);
  }  // released without closing, as a crashed application's control object would
  auto next = NewControl();
  Ready(*next);
  EXPECT_FALSE(Instance(*next)->IsAttached());
  EXPECT_EQ(next->Call(u"PrintNormal", {2, u"again\n"}), 0);
  ASSERT_TRUE(printer.WaitForBytes({'a', 'g', 'a', 'i', 'n', '\n'}, kWaitMs));
}

}  // namespace
}  // namespace COM
}  // namespace QEL
