#include "tool/model/HealthCheck.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tool/core/StringHelpers.h"
#include "tool/model/ToolTestSupport_test.h"

namespace tool {
namespace {

constexpr const char16_t* kTitle = u"OPOS Printer Setting";
constexpr const char* kNothingPrints = "inform: Cann't print anything due to printer fail!";

// One log of everything that happened, calls and messages alike, so that a
// test sees their order.
using Log = std::vector<std::string>;

// A control object that behaves like the OPOS ones in what the check relies
// on: Open of an open object fails with OpenResult 301, enabling needs a
// claim, releasing disables, closing releases. Results of single calls, and
// faults, are scripted by method name.
class FakeControlObject : public HealthCheckControlObject {
 public:
  FakeControlObject(std::string name, Log* log) : name_(std::move(name)), log_(log) {}

  void Open(const std::u16string& device) override {
    Enter("Open " + ToAscii(device));
    if (opened) {
      Finish("Open", 106, 301);
      return;
    }
    if (!Finish("Open", 0, 0)) return;
    opened = true;
  }
  void ClaimDevice(int32_t timeoutMs) override {
    Enter("ClaimDevice " + std::to_string(timeoutMs));
    if (!opened) {
      resultCode_ = 101;
      return;
    }
    if (Finish("ClaimDevice", 0, openResult_)) claimed = true;
  }
  void SetDeviceEnabled(bool enabled) override {
    Enter(std::string("DeviceEnabled ") + (enabled ? "1" : "0"));
    if (!claimed) {
      resultCode_ = 103;
      return;
    }
    if (Finish(enabled ? "DeviceEnabled 1" : "DeviceEnabled 0", 0, openResult_)) this->enabled = enabled;
  }
  void CheckHealth(int32_t level) override {
    Enter("CheckHealth " + std::to_string(level));
    if (duringCheckHealth) duringCheckHealth();
    resultCode_ = enabled ? 0 : 105;
  }
  std::u16string CheckHealthText() override {
    Enter("CheckHealthText");
    return healthText;
  }
  void OpenDrawer() override {
    Enter("OpenDrawer");
    if (!enabled) {
      resultCode_ = 105;
      return;
    }
    Finish("OpenDrawer", 0, openResult_);
  }
  void ReleaseDevice() override {
    Enter("ReleaseDevice");
    claimed = false;
    enabled = false;
    resultCode_ = 0;
  }
  void Close() override {
    Enter("Close");
    opened = claimed = enabled = false;
    resultCode_ = 0;
  }
  int32_t ResultCode() override { return resultCode_; }
  int32_t OpenResult() override { return openResult_; }

  // The next call of `method` ("Open", "ClaimDevice", "DeviceEnabled 1",
  // "OpenDrawer") leaves this ResultCode (and, for Open, OpenResult).
  void FailNext(const std::string& method, int32_t resultCode, int32_t openResult = 0) {
    failures_[method] = {resultCode, openResult};
  }
  // The next call whose log line starts with `call` throws.
  void FaultNext(const std::string& call) { fault_ = call; }

  bool opened = false;
  bool claimed = false;
  bool enabled = false;
  std::u16string healthText = u"INTERACTIVE HealthCheck: Complete.";
  // Runs inside CheckHealth, while the interactive box would be shown.
  std::function<void()> duringCheckHealth;

 private:
  void Enter(const std::string& call) {
    log_->push_back(name_ + "." + call);
    if (!fault_.empty() && call.compare(0, fault_.size(), fault_) == 0) {
      fault_.clear();
      throw ControlObjectFault(u"Class not registered");
    }
  }
  // Applies a scripted failure; true when the call succeeds.
  bool Finish(const std::string& method, int32_t resultCode, int32_t openResult) {
    auto failure = failures_.find(method);
    if (failure != failures_.end()) {
      resultCode = failure->second.first;
      openResult = failure->second.second;
      failures_.erase(failure);
    }
    resultCode_ = resultCode;
    if (method == "Open") openResult_ = openResult;
    return resultCode == 0;
  }

  std::string name_;
  Log* log_;
  std::map<std::string, std::pair<int32_t, int32_t>> failures_;
  std::string fault_;
  int32_t resultCode_ = 0;
  int32_t openResult_ = 0;
};

class LoggingPrompt : public Prompt {
 public:
  explicit LoggingPrompt(Log* log) : log_(log) {}
  bool Confirm(const std::u16string&, const std::u16string& text) override {
    log_->push_back("confirm: " + ToAscii(text));
    return false;
  }
  void Inform(const std::u16string& title, const std::u16string& text) override {
    titles.push_back(title);
    log_->push_back("inform: " + ToAscii(text));
  }
  void Notify(const std::u16string& text) override { log_->push_back("notify: " + ToAscii(text)); }
  std::vector<std::u16string> titles;

 private:
  Log* log_;
};

class HealthCheckTest : public ::testing::Test {
 protected:
  HealthCheckTest()
      : printer_("printer", &log_),
        drawer_("drawer", &log_),
        prompt_(&log_),
        check_(sandbox_.context(), prompt_, printer_, drawer_) {}

  void Select(DeviceClass deviceClass, const std::u16string& device) {
    sandbox_.context().deviceClass = deviceClass;
    sandbox_.context().selectedDevice = device;
  }
  // Runs a check and returns what it did, forgetting it for the next run.
  Log Run() {
    check_.Run();
    Log done;
    done.swap(log_);
    return done;
  }
  void ExpectAllClosed() {
    for (FakeControlObject* object : {&printer_, &drawer_}) {
      EXPECT_FALSE(object->opened);
      EXPECT_FALSE(object->claimed);
      EXPECT_FALSE(object->enabled);
    }
    EXPECT_FALSE(check_.printerOpen());
    EXPECT_FALSE(check_.drawerOpen());
  }

  Log log_;
  tooltest::ToolSandbox sandbox_;
  FakeControlObject printer_;
  FakeControlObject drawer_;
  LoggingPrompt prompt_;
  HealthCheck check_;
};

TEST_F(HealthCheckTest, PrinterIsOpenedCheckedInteractivelyShownAndClosed) {
  Select(DeviceClass::kPrinter, u"TRAIL-3_01");
  const Log expected = {"printer.Open TRAIL-3_01",
                        "printer.ClaimDevice 1000",
                        "printer.DeviceEnabled 1",
                        "printer.CheckHealth 3",
                        "printer.CheckHealthText",
                        "inform: INTERACTIVE HealthCheck: Complete.",
                        "printer.DeviceEnabled 0",
                        "printer.ReleaseDevice",
                        "printer.Close"};
  EXPECT_EQ(Run(), expected);
  ExpectAllClosed();
  ASSERT_EQ(prompt_.titles.size(), 1u);
  EXPECT_EQ(prompt_.titles[0], kTitle);
}

TEST_F(HealthCheckTest, DrawerIsPulsedBeforeItsInteractiveCheck) {
  Select(DeviceClass::kDrawer, u"TRAIL-3_01_01");
  drawer_.healthText = u"INTERACTIVE HealthCheck: Success!";
  const Log expected = {"drawer.Open TRAIL-3_01_01",
                        "drawer.ClaimDevice 1000",
                        "drawer.DeviceEnabled 1",
                        "drawer.OpenDrawer",
                        "drawer.CheckHealth 3",
                        "drawer.CheckHealthText",
                        "inform: INTERACTIVE HealthCheck: Success!",
                        "drawer.DeviceEnabled 0",
                        "drawer.ReleaseDevice",
                        "drawer.Close"};
  EXPECT_EQ(Run(), expected);
  ExpectAllClosed();
}

// Every failure of an open: the messages shown, and the undoing of what had
// been done before it (nothing is left claimed, enabled or open).
struct OpenFailure {
  const char* name;
  DeviceClass deviceClass;
  const char* method;  // the call that fails
  int32_t resultCode;
  int32_t openResult;
  Log expected;
};

const OpenFailure kOpenFailures[] = {
    {"printer port cannot be opened", DeviceClass::kPrinter, "Open", 106, 401,
     {"printer.Open P", "inform: PosPrinter Failed Open: Configured port is invalid or inaccessible!",
      kNothingPrints}},
    {"printer open result without a text", DeviceClass::kPrinter, "Open", 106, 450,
     {"printer.Open P", "inform: PosPrinter Failed Open: !", kNothingPrints}},
    {"printer device key missing", DeviceClass::kPrinter, "Open", 109, 302,
     {"printer.Open P",
      "inform: PosPrinter Failed Open: The registry does not contain a key for the specified device "
      "name!",
      kNothingPrints}},
    {"printer claim refused", DeviceClass::kPrinter, "ClaimDevice", 111, 0,
     {"printer.Open P", "printer.ClaimDevice 1000", "printer.Close",
      "inform: Fails to get the exclusive right for the device.", kNothingPrints}},
    {"printer enable refused", DeviceClass::kPrinter, "DeviceEnabled 1", 111, 0,
     {"printer.Open P", "printer.ClaimDevice 1000", "printer.DeviceEnabled 1", "printer.ReleaseDevice",
      "printer.Close", "inform: Fails to get the exclusive right for the device.", kNothingPrints}},
    {"drawer open result 450", DeviceClass::kDrawer, "Open", 104, 450,
     {"drawer.Open P", "inform: Cashdrawer failed to open: OpenResult:450!", kNothingPrints}},
    {"drawer open result with a text", DeviceClass::kDrawer, "Open", 104, 403,
     {"drawer.Open P", "inform: Cashdrawer failed to open: Configuration information error!",
      kNothingPrints}},
    {"drawer claim refused", DeviceClass::kDrawer, "ClaimDevice", 111, 0,
     {"drawer.Open P", "drawer.ClaimDevice 1000", "drawer.Close",
      "inform: Cashdrawer failed to get the exclusive right for the device.", kNothingPrints}},
    {"drawer enable refused: the pulse is still asked and fails", DeviceClass::kDrawer,
     "DeviceEnabled 1", 111, 0,
     {"drawer.Open P", "drawer.ClaimDevice 1000", "drawer.DeviceEnabled 1", "drawer.OpenDrawer",
      "drawer.ReleaseDevice", "drawer.Close",
      "inform: Cashdrawer failed to get the exclusive right for the device.", kNothingPrints}},
    {"drawer pulse fails (cover open)", DeviceClass::kDrawer, "OpenDrawer", 114, 0,
     {"drawer.Open P", "drawer.ClaimDevice 1000", "drawer.DeviceEnabled 1", "drawer.OpenDrawer",
      "drawer.DeviceEnabled 0", "drawer.ReleaseDevice", "drawer.Close",
      "inform: Cashdrawer failed to get the exclusive right for the device.", kNothingPrints}},
};

TEST_F(HealthCheckTest, EachOpenFailureShowsItsMessagesAndLeavesTheDeviceFree) {
  for (const OpenFailure& failure : kOpenFailures) {
    SCOPED_TRACE(failure.name);
    Select(failure.deviceClass, u"P");
    FakeControlObject& object = failure.deviceClass == DeviceClass::kPrinter ? printer_ : drawer_;
    object.FailNext(failure.method, failure.resultCode, failure.openResult);
    EXPECT_EQ(Run(), failure.expected);
    ExpectAllClosed();

    // The next attempt opens afresh, not onto a control object left open.
    const Log again = Run();
    ASSERT_GE(again.size(), 2u);
    EXPECT_EQ(again.back(), failure.deviceClass == DeviceClass::kPrinter ? "printer.Close" : "drawer.Close");
    for (const std::string& line : again) {
      EXPECT_EQ(line.find("Failed"), std::string::npos) << line;
      EXPECT_EQ(line.find("failed"), std::string::npos) << line;
    }
    ExpectAllClosed();
  }
}

TEST_F(HealthCheckTest, ControlObjectThatCannotBeCreatedShowsTheEnvironmentsText) {
  Select(DeviceClass::kPrinter, u"TRAIL-3_01");
  printer_.FaultNext("Open");
  const Log expected = {"printer.Open TRAIL-3_01", "notify: Class not registered"};
  EXPECT_EQ(Run(), expected);
  ExpectAllClosed();
}

TEST_F(HealthCheckTest, FaultDuringTheCheckStillFreesTheDevice) {
  Select(DeviceClass::kDrawer, u"D");
  drawer_.FaultNext("CheckHealth");
  const Log expected = {"drawer.Open D",          "drawer.ClaimDevice 1000", "drawer.DeviceEnabled 1",
                        "drawer.OpenDrawer",      "drawer.CheckHealth 3",    "drawer.DeviceEnabled 0",
                        "drawer.ReleaseDevice",   "drawer.Close",            "notify: Class not registered"};
  EXPECT_EQ(Run(), expected);
  ExpectAllClosed();
}

TEST_F(HealthCheckTest, FaultWhileUndoingGoesOnToClose) {
  Select(DeviceClass::kPrinter, u"P");
  printer_.FailNext("DeviceEnabled 1", 111);
  printer_.FaultNext("ReleaseDevice");
  const Log expected = {"printer.Open P", "printer.ClaimDevice 1000", "printer.DeviceEnabled 1",
                        "printer.ReleaseDevice", "printer.Close", "notify: Class not registered"};
  EXPECT_EQ(Run(), expected);
  ExpectAllClosed();
}

TEST_F(HealthCheckTest, PressingTheButtonAgainDuringTheInteractiveCheckDoesNothing) {
  Select(DeviceClass::kPrinter, u"P");
  printer_.duringCheckHealth = [this] {
    Select(DeviceClass::kDrawer, u"D");
    check_.Run();
  };
  const Log expected = {"printer.Open P",          "printer.ClaimDevice 1000",
                        "printer.DeviceEnabled 1", "printer.CheckHealth 3",
                        "printer.CheckHealthText", "inform: INTERACTIVE HealthCheck: Complete.",
                        "printer.DeviceEnabled 0", "printer.ReleaseDevice",
                        "printer.Close"};
  EXPECT_EQ(Run(), expected);
  ExpectAllClosed();
  printer_.duringCheckHealth = nullptr;

  // And a later press checks again.
  EXPECT_EQ(Run().front(), "drawer.Open D");
}

TEST(OpenResultTextTest, UnknownCodesDifferByDeviceClass) {
  EXPECT_EQ(OpenResultText(450, DeviceClass::kPrinter), u"");
  EXPECT_EQ(OpenResultText(450, DeviceClass::kDrawer), u"OpenResult:450");
  EXPECT_EQ(OpenResultText(0, DeviceClass::kDrawer), u"OpenResult:0");
  EXPECT_EQ(OpenResultText(301, DeviceClass::kDrawer), u"Control Object already open");
  EXPECT_EQ(OpenResultText(307, DeviceClass::kPrinter), u"The service object major version number is not 1");
}

}  // namespace
}  // namespace tool
