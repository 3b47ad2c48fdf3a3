// A printer that vanishes between claim and print, seen through the dispatch
// interface: a synchronous print answers 107; an asynchronous job is held
// and reported by SOError, and the control object's answer decides its fate
// (11 sends the same job again, 12 drops the queue). Only a written job is
// reported by SOOutputComplete, and nothing reaches the printer twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "so/com/ServiceTestBed_test.h"
#include "testing/TestTasks.h"

namespace QEL {
namespace COM {
namespace {

using Event = testing_support::EventReceiver::Event;
using testing_support::TestControlObject;

constexpr int32_t kOutputId = 5;
constexpr int32_t kNoHardware = 107;
constexpr int32_t kStateIdle = 2;
constexpr int32_t kStateError = 4;
constexpr int32_t kLocusOutput = 1;
constexpr int32_t kResponseRetry = 11;
constexpr int32_t kResponseClear = 12;

size_t Occurrences(const std::vector<uint8_t>& bytes, const std::string& text) {
  size_t n = 0;
  for (auto at = bytes.begin();; ++at) {
    at = std::search(at, bytes.end(), text.begin(), text.end());
    if (at == bytes.end()) return n;
    ++n;
  }
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

class OutputErrorResponse : public ServiceTestBed {
 protected:
  // Ready for asynchronous output, with what the enable reported delivered
  // and forgotten.
  void ReadyForAsyncOutput(TestControlObject& control) {
    Ready(control);
    SettleEvents();
    control.Receiver().Clear();
    ASSERT_EQ(control.SetNumber(kAsyncMode, 1), 0);
    // Every name the event handler calls is resolved here, on this thread.
    ASSERT_EQ(control.GetNumber(kState), kStateIdle);
  }
  int32_t PrintAsync(TestControlObject& control, const std::u16string& text) {
    EXPECT_EQ(control.Call(u"PrintNormal", {2, text}), 0) << "queued";
    return control.GetNumber(kOutputId);
  }
};

TEST_F(OutputErrorResponse, RetrySendsTheHeldJobOnceThePrinterIsBack) {
  auto control = NewControl();
  ReadyForAsyncOutput(*control);
  const uint16_t address = printer.Port();
  printer.Stop();

  ASSERT_EQ(control->SetNumber(kAsyncMode, 0), 0);
  EXPECT_EQ(control->Call(u"PrintNormal", {2, u"sync\n"}), kNoHardware);
  EXPECT_EQ(control->GetNumber(kResultCode), kNoHardware);
  ASSERT_EQ(control->SetNumber(kAsyncMode, 1), 0);

  // The application's handler sees the error state, has the printer put
  // back, and answers "retry".
  std::atomic<int32_t> stateInHandler{0};
  std::atomic<bool> restarted{false};
  TestControlObject* calling = control.get();
  sim::VirtualPrinter* vanished = &printer;
  control->Receiver().SetErrorResponse(kResponseRetry);
  control->Receiver().SetHandler([&, calling, vanished, address](const Event& e) {
    if (e.name != u"SOError") return;
    stateInHandler = calling->GetNumber(kState);
    restarted = vanished->Start(address);
  });
  const int32_t id = PrintAsync(*control, u"retried\n");
  ASSERT_TRUE(control->Receiver().WaitForEvents(2, kWaitMs))
      << ::testing::PrintToString(control->Receiver().Events());
  ASSERT_TRUE(restarted) << "the printer came back on its address";
  ASSERT_TRUE(printer.WaitForBytes(Bytes("retried\n"), kWaitMs));
  SettleEvents();
  control->Receiver().SetHandler(nullptr);
  EXPECT_EQ(control->Receiver().Events(),
            (std::vector<Event>{{u"SOError", {kNoHardware, 0, kLocusOutput, kResponseRetry}},
                                {u"SOOutputComplete", {id}}}));
  EXPECT_EQ(stateInHandler, kStateError) << "held for the answer";
  EXPECT_EQ(control->GetNumber(kState), kStateIdle);
  EXPECT_EQ(Occurrences(printer.Received(), "retried\n"), 1u) << "printed once";
  EXPECT_EQ(Occurrences(printer.Received(), "sync\n"), 0u);
  EXPECT_EQ(control->GetNumber(8035), 2) << "a recoverable error";
}

TEST_F(OutputErrorResponse, ClearDropsTheHeldJobAndTheOneBehindItWithoutCompletion) {
  auto control = NewControl();
  ReadyForAsyncOutput(*control);
  const uint16_t address = printer.Port();
  printer.Stop();
  // Frozen, the answer waits: both jobs are queued before it comes.
  ASSERT_EQ(control->Call(u"COFreezeEvents", {1}), 0);
  control->Receiver().SetErrorResponse(kResponseClear);
  PrintAsync(*control, u"dropped\n");
  PrintAsync(*control, u"behind\n");
  CQELOposPrinterSO* service = Instance(*control);
  ASSERT_TRUE(task_test::Eventually([&] { return service->PendingEvents() == 1; }))
      << "the error event, waiting for the thaw";
  EXPECT_EQ(control->GetNumber(kState), kStateError);
  EXPECT_EQ(service->Core()->Worker()->Count(), 2) << "the job is kept, the next waits behind it";

  ASSERT_EQ(control->Call(u"COFreezeEvents", {0}), 0);
  ASSERT_TRUE(control->Receiver().WaitForEvents(1, kWaitMs));
  SettleEvents();  // the answer has been acted on
  EXPECT_EQ(control->GetNumber(kState), kStateIdle);
  EXPECT_TRUE(service->Core()->IsIdle());

  ASSERT_TRUE(printer.Start(address));
  const int32_t next = PrintAsync(*control, u"next\n");
  ASSERT_TRUE(control->Receiver().WaitForEvents(2, kWaitMs));
  ASSERT_TRUE(printer.WaitForBytes(Bytes("next\n"), kWaitMs));
  SettleEvents();
  EXPECT_EQ(control->Receiver().Events(),
            (std::vector<Event>{{u"SOError", {kNoHardware, 0, kLocusOutput, kResponseRetry}},
                                {u"SOOutputComplete", {next}}}));
  EXPECT_EQ(Occurrences(printer.Received(), "dropped"), 0u);
  EXPECT_EQ(Occurrences(printer.Received(), "behind"), 0u);
}

}  // namespace
}  // namespace COM
}  // namespace QEL
