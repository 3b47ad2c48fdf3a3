// Events from the printer core to the control objects: through the event
// thread, to every enabled and unfrozen client, with the error response read
// back. Event pacing runs on a manual clock, so "nothing arrived" is checked
// once the event thread has nothing left to do, never after a sleep.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "so/com/ServiceTestBed_test.h"
#include "so/format/StatusUpdateValues.h"

namespace QEL {
namespace COM {
namespace {

using Event = testing_support::EventReceiver::Event;
using testing_support::TestControlObject;

constexpr int32_t kCoverOpen = Printer::PTR_SUE_COVER_OPEN;
constexpr int32_t kPaperEmpty = Printer::PTR_SUE_REC_EMPTY;
constexpr int32_t kPaperOk = Printer::PTR_SUE_REC_PAPEROK;

VARIANT Bool(bool value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

class EventDelivery : public ServiceTestBed {
 protected:
  // Ready, with whatever the enable itself reported delivered and forgotten.
  void ReadyAndQuiet(TestControlObject& control) {
    Ready(control);
    SettleEvents();
    control.Receiver().Clear();
  }
  // What the core does when it finds a new printer state.
  void CoreReports(TestControlObject& owner, int32_t status) {
    Instance(owner)->OnStatusUpdate(status);
  }
};

TEST_F(EventDelivery, AStatusChangeAtThePrinterReachesTheControlObject) {
  auto control = NewControl();
  ReadyAndQuiet(*control);
  sim::PrinterState state = printer.State();
  state.coverOpen = true;
  printer.SetState(state);
  ASSERT_TRUE(control->Receiver().WaitForEvents(1, kWaitMs)) << "the core's idle poll finds it";
  EXPECT_EQ(control->Receiver().Events()[0], (Event{u"SOStatusUpdate", {kCoverOpen}}));
}

TEST_F(EventDelivery, TheSameStatusTwiceIsOneEvent) {
  auto control = NewControl();
  ReadyAndQuiet(*control);
  CoreReports(*control, kPaperEmpty);
  CoreReports(*control, kPaperEmpty);
  CoreReports(*control, 0);
  CoreReports(*control, -1);
  CoreReports(*control, kPaperOk);
  ASSERT_TRUE(control->Receiver().WaitForEvents(2, kWaitMs));
  SettleEvents();
  EXPECT_EQ(control->Receiver().Events(),
            (std::vector<Event>{{u"SOStatusUpdate", {kPaperEmpty}},
                                {u"SOStatusUpdate", {kPaperOk}}}));
}

TEST_F(EventDelivery, FreezeEventsWithVariantTrueHoldsEventsUntilThawed) {
  auto control = NewControl();
  ReadyAndQuiet(*control);
  ASSERT_EQ(control->Call(u"COFreezeEvents", {Bool(true)}), 0);
  EXPECT_EQ(control->GetNumber(kFreezeEvents), 1);
  CoreReports(*control, kPaperEmpty);
  SettleEvents();
  EXPECT_TRUE(control->Receiver().Events().empty()) << "held while frozen";
  EXPECT_EQ(Instance(*control)->PendingEvents(), 1u) << "and kept";
  ASSERT_EQ(control->Call(u"COFreezeEvents", {Bool(false)}), 0);
  ASSERT_TRUE(control->Receiver().WaitForEvents(1, kWaitMs));
  EXPECT_EQ(control->Receiver().Events()[0], (Event{u"SOStatusUpdate", {kPaperEmpty}}));
}

TEST_F(EventDelivery, FreezeEventsThroughThePropertyAsWell) {
  auto control = NewControl();
  ReadyAndQuiet(*control);
  ASSERT_EQ(control->SetNumber(kFreezeEvents, 1), 0);
  CoreReports(*control, kPaperEmpty);
  SettleEvents();
  EXPECT_TRUE(control->Receiver().Events().empty());
  ASSERT_EQ(control->SetNumber(kFreezeEvents, 0), 0);
  ASSERT_TRUE(control->Receiver().WaitForEvents(1, kWaitMs));
}

TEST_F(EventDelivery, ADisabledClientHearsNothingWhileAnEnabledOneDoes) {
  auto enabled = NewControl();
  auto disabled = NewControl();
  ReadyAndQuiet(*enabled);
  ASSERT_EQ(disabled->Open(u"POSPrinter", kDevice), 0);
  ASSERT_EQ(disabled->Call(u"ClaimDevice", {1000}), 0);
  CoreReports(*enabled, kCoverOpen);
  ASSERT_TRUE(enabled->Receiver().WaitForEvents(1, kWaitMs));
  SettleEvents();
  EXPECT_EQ(disabled->Receiver().InvokeCount(), 0);
  // Enabled, the second client hears the next one too.
  ASSERT_EQ(disabled->SetNumber(kDeviceEnabled, 1), 0);
  CoreReports(*enabled, kPaperEmpty);
  ASSERT_TRUE(disabled->Receiver().WaitForEvents(1, kWaitMs));
  ASSERT_TRUE(enabled->Receiver().WaitForEvents(2, kWaitMs));
  EXPECT_EQ(disabled->Receiver().Events()[0], (Event{u"SOStatusUpdate", {kPaperEmpty}}));
}

TEST_F(EventDelivery, AFrozenClientAmongUnfrozenOnesMissesWhatIsDelivered) {
  auto frozen = NewControl();
  auto open = NewControl();
  ReadyAndQuiet(*frozen);
  Ready(*open);
  ASSERT_EQ(frozen->Call(u"COFreezeEvents", {Bool(true)}), 0);
  CoreReports(*frozen, kPaperEmpty);
  ASSERT_TRUE(open->Receiver().WaitForEvents(1, kWaitMs));
  SettleEvents();
  EXPECT_EQ(frozen->Receiver().InvokeCount(), 0);
  EXPECT_EQ(Instance(*frozen)->PendingEvents(), 0u) << "delivered, to the unfrozen client";
}

TEST_F(EventDelivery, DisablingDropsWhatWasQueued) {
  auto control = NewControl();
  ReadyAndQuiet(*control);
  ASSERT_EQ(control->Call(u"COFreezeEvents", {1}), 0);
  CoreReports(*control, kPaperEmpty);
  ASSERT_EQ(control->SetNumber(kDeviceEnabled, 0), 0);
  EXPECT_EQ(Instance(*control)->PendingEvents(), 0u);
  ASSERT_EQ(control->Call(u"COFreezeEvents", {0}), 0);
  CoreReports(*control, kCoverOpen);  // nothing delivers while disabled
  EXPECT_EQ(Instance(*control)->PendingEvents(), 1u);
  EXPECT_EQ(control->Receiver().InvokeCount(), 0);
}

TEST_F(EventDelivery, AnErrorEventCarriesItsArgumentsInDeclaredOrderAndClearRuns) {
  auto control = NewControl();
  ReadyAndQuiet(*control);
  ASSERT_EQ(control->SetNumber(kFlagWhenIdle, 1), 0);
  control->Receiver().SetErrorResponse(12);  // OPOS_ER_CLEAR
  Instance(*control)->OnError(u"Cover open");
  // The clear answer runs ClearOutput, which reports the idle state FlagWhenIdle asked for.
  ASSERT_TRUE(control->Receiver().WaitForEvents(2, kWaitMs));
  SettleEvents();
  EXPECT_EQ(control->Receiver().Events(),
            (std::vector<Event>{{u"SOError", {0, 0, 1, 11}}, {u"SOStatusUpdate", {1001}}}));
  EXPECT_EQ(control->GetNumber(kFlagWhenIdle), 0);
  EXPECT_EQ(control->GetString(kErrorString), u"Cover open");
  EXPECT_EQ(control->GetNumber(8035), 2) << "a recoverable error";
}

TEST_F(EventDelivery, AMissingEventMethodFailsOnlyThatClient) {
  auto older = NewControl();
  older->Receiver().Omit(u"SOStatusUpdate");
  auto current = NewControl();
  ReadyAndQuiet(*older);
  Ready(*current);
  CoreReports(*older, kCoverOpen);
  ASSERT_TRUE(current->Receiver().WaitForEvents(1, kWaitMs));
  SettleEvents();
  EXPECT_TRUE(older->Receiver().Events().empty());
  EXPECT_EQ(older->GetNumber(kResultCode), 106) << "the failed delivery is the owner's result";
}

TEST_F(EventDelivery, FlagWhenIdleFollowsTheLastAsynchronousJob) {
  auto control = NewControl();
  ReadyAndQuiet(*control);
  ASSERT_EQ(control->SetNumber(kAsyncMode, 1), 0);
  ASSERT_EQ(control->SetNumber(kFlagWhenIdle, 1), 0);
  ASSERT_EQ(control->Call(u"PrintNormal", {2, u"async\n"}), 0);
  const int32_t outputId = control->GetNumber(5);
  ASSERT_TRUE(control->Receiver().WaitForEvents(2, kWaitMs))
      << ::testing::PrintToString(control->Receiver().Events()) << printer.Transcript();
  SettleEvents();
  EXPECT_EQ(control->Receiver().Events(),
            (std::vector<Event>{{u"SOOutputComplete", {outputId}}, {u"SOStatusUpdate", {1001}}}));
  EXPECT_EQ(control->GetNumber(kFlagWhenIdle), 0);
  ASSERT_TRUE(printer.WaitForBytes({'a', 's', 'y', 'n', 'c', '\n'}, kWaitMs));
}

TEST_F(EventDelivery, AHandlerMayDisableTheDeviceFromInsideItsEvent) {
  auto control = NewControl();
  ReadyAndQuiet(*control);
  std::promise<int32_t> disabled;
  bool first = true;  // touched only on the event thread
  TestControlObject* calling = control.get();
  control->Receiver().SetHandler([&disabled, &first, calling](const Event& e) {
    if (e.name == u"SOStatusUpdate" && first) {
      first = false;
      disabled.set_value(calling->SetNumber(kDeviceEnabled, 0));
    }
  });
  CoreReports(*control, kCoverOpen);
  CoreReports(*control, kPaperEmpty);
  std::future<int32_t> result = disabled.get_future();
  ASSERT_EQ(result.wait_for(std::chrono::milliseconds(kWaitMs)), std::future_status::ready);
  EXPECT_EQ(result.get(), 0);
  // The event thread ends after the handler returns; enabling again starts a new one.
  EXPECT_EQ(control->GetNumber(kDeviceEnabled), 0);
  control->Receiver().SetHandler(nullptr);
  ASSERT_EQ(control->SetNumber(kDeviceEnabled, 1), 0);
  CoreReports(*control, kPaperOk);
  ASSERT_TRUE(control->Receiver().WaitForEvents(2, kWaitMs));
  SettleEvents();
  // The enable reports the printer's state afresh; what was queued before
  // the disable was dropped with it.
  const std::vector<Event> events = control->Receiver().Events();
  EXPECT_EQ(events.front(), (Event{u"SOStatusUpdate", {kCoverOpen}}));
  EXPECT_EQ(events.back(), (Event{u"SOStatusUpdate", {kPaperOk}}));
  EXPECT_EQ(std::count(events.begin(), events.end(), Event{u"SOStatusUpdate", {kPaperEmpty}}), 0)
      << ::testing::PrintToString(events);
}

}  // namespace
}  // namespace COM
}  // namespace QEL
