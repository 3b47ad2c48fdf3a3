// The cash drawer through the printer core: the kick pulse bytes, the
// sensor reading after it, the drawer state query, the wait for the drawer
// to be closed with its buzzer reminder, and the drawer branch of the status
// watch. The printer is a fake port whose drawer answers are scripted; time
// runs on a manual clock, so every pause of the core passes in no time.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/manual_clock.h"
#include "platform/manual_reset_event.h"
#include "so/printer/PropertyIndex.h"
#include "testing/FakePort.h"
#include "testing/RecordingEventSink.h"
#include "testing/TestPrinterModel.h"

namespace {

using QEL::Printer::OPOS_E_BUSY;
using QEL::Printer::OPOS_E_NOHARDWARE;
using QEL::Printer::OPOS_E_TIMEOUT;
using QEL::Printer::OPOS_SUCCESS;
using QEL::Printer::kStatusDrawerClosed;
using QEL::Printer::kStatusDrawerOpened;
namespace Pidx = QEL::Printer::Pidx;
using Bytes = std::vector<uint8_t>;

const Bytes kDrawerRequest = {0x1D, 0x72, 0x02};  // GS r 2

// A printer whose drawer sensor the test scripts: each drawer-status request
// gets the answer the script gives for its number (1 for the first), or
// none, once a set number of reads after it found nothing yet.
class DrawerPort : public testing_support::FakePort {
 public:
  using Script = std::function<std::optional<Bytes>(int request)>;
  using FakePort::FakePort;

  void SetScript(Script script) {
    std::lock_guard<std::mutex> l(m_);
    script_ = std::move(script);
  }
  void SetEmptyReads(int reads) {
    std::lock_guard<std::mutex> l(m_);
    emptyReads_ = reads;
  }

  int32_t Write(const uint8_t* data, int32_t offset, int32_t count) override {
    const int32_t written = FakePort::Write(data, offset, count);
    if (written && Bytes(data + offset, data + offset + count) == kDrawerRequest) {
      std::lock_guard<std::mutex> l(m_);
      ++requests_;
      pending_ = script_ ? script_(requests_) : std::nullopt;
      emptyLeft_ = emptyReads_;
    }
    return written;
  }
  int32_t ReadAvailable(uint8_t* buffer, int32_t offset, int32_t count,
                        int32_t* received) override {
    {
      std::lock_guard<std::mutex> l(m_);
      if (pending_) {
        if (emptyLeft_ > 0) {
          --emptyLeft_;
          if (received != nullptr) *received = 0;
          return 0;
        }
        QueueReply(*pending_);
        pending_.reset();
      }
    }
    return FakePort::ReadAvailable(buffer, offset, count, received);
  }

 private:
  std::mutex m_;
  Script script_;
  int requests_ = 0;
  int emptyReads_ = 0;
  int emptyLeft_ = 0;
  std::optional<Bytes> pending_;
};

// The drawer answers open (sensor 1) for requests before `closesAt`, then closed.
DrawerPort::Script ClosesAt(int closesAt) {
  return [closesAt](int n) { return Bytes{static_cast<uint8_t>(n < closesAt ? 1 : 0)}; };
}
DrawerPort::Script Silent() {
  return [](int) { return std::nullopt; };
}
// Open at the first request, no answer to the next two, closed from the fourth.
DrawerPort::Script OpenThenSilentThenClosed() {
  return [](int n) -> std::optional<Bytes> {
    if (n == 1) return Bytes{1};
    if (n < 4) return std::nullopt;
    return Bytes{0};
  };
}

// The write calls as letters: R a drawer-status request, B the beep given,
// P anything else.
std::string Pattern(const std::vector<Bytes>& calls, const Bytes& beep) {
  std::string letters;
  for (const Bytes& c : calls) letters += c == kDrawerRequest ? 'R' : c == beep ? 'B' : 'P';
  return letters;
}

class DrawerCore : public ::testing::Test {
 protected:
  void SetUp() override { clock->SetAutoAdvance(true); }
  void TearDown() override {
    int32_t rc = 0;
    core.CloseService(&rc);
  }
  // Opens and claims the core on a port of this type, then forgets the
  // claim's writes.
  void Start(const std::u16string& type = u"TCP/IP") {
    port = std::make_shared<DrawerPort>(type);
    core.SetClock(clock);
    core.AttachPort(port);
    int32_t rc = -1;
    core.OpenServiceW(u"TEST", &sink, &rc);
    ASSERT_EQ(rc, 0);
    core.ClaimDevice(1000, &rc);
    ASSERT_EQ(rc, 0);
    port->ClearWritten();
  }
  void Enable() {
    core.DeviceEnable(1);
    ASSERT_TRUE(core.IsEnabled());
    port->ClearWritten();
  }
  int32_t OpenDrawer() {
    int32_t rc = -1;
    core.OpenDrawer(&rc);
    EXPECT_EQ(core.ResultCode(), rc);
    return rc;
  }
  // The drawer's StatusUpdate values raised since `from`.
  std::vector<int32_t> DrawerStatusesSince(size_t from) {
    const std::vector<int32_t> all = sink.Statuses().Ids();
    std::vector<int32_t> drawer;
    for (size_t i = from; i < all.size(); ++i) {
      if (all[i] == kStatusDrawerOpened || all[i] == kStatusDrawerClosed) drawer.push_back(all[i]);
    }
    return drawer;
  }

  testing_support::RecordingEventSink sink;
  std::shared_ptr<platform::ManualClock> clock = std::make_shared<platform::ManualClock>();
  std::shared_ptr<DrawerPort> port;
  testing_support::TestPrinterModel core;
};

// --- the kick pulse ---

struct PulseCase {
  const char* name;
  int32_t pinMask, onTime, offTime;
  std::vector<Bytes> writes;
};

void PrintTo(const PulseCase& c, std::ostream* os) { *os << c.name; }

const PulseCase kPulses[] = {
    {"FirstOutput", 1, 25, 255, {{0x1B, 0x70, 0x00, 0x19, 0xFF}}},
    {"SecondOutput", 2, 25, 255, {{0x1B, 0x70, 0x01, 0x19, 0xFF}}},
    {"BothOutputsInOneWrite", 3, 25, 255,
     {{0x1B, 0x70, 0x00, 0x19, 0xFF, 0x1B, 0x70, 0x01, 0x19, 0xFF}}},
    {"TenMillisecondTimes", 1, 10, 10, {{0x1B, 0x70, 0x00, 0x0A, 0x0A}}},
    {"OnlyTheLowByteOfATime", 1, 300, 300, {{0x1B, 0x70, 0x00, 0x2C, 0x2C}}},
    {"NoOutputSendsNothing", 0, 25, 255, {}},
    {"BitsAboveTheTwoOutputsAreIgnored", 4 | 2, 25, 255, {{0x1B, 0x70, 0x01, 0x19, 0xFF}}},
};

class DrawerPulse : public DrawerCore, public ::testing::WithParamInterface<PulseCase> {};

INSTANTIATE_TEST_SUITE_P(Masks, DrawerPulse, ::testing::ValuesIn(kPulses),
                         [](const ::testing::TestParamInfo<PulseCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_P(DrawerPulse, SendsOneWriteAndNoStatusRequestWithoutTheCapability) {
  const PulseCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(Start());
  core.SetupCashDrawer(c.pinMask, 1, 0, c.onTime, c.offTime, 5000);
  EXPECT_EQ(OpenDrawer(), OPOS_SUCCESS);
  EXPECT_EQ(core.ResultCodeExtended(), 0);
  EXPECT_EQ(port->WriteCalls(), c.writes);
}

TEST_F(DrawerCore, AnUnconfiguredDrawerKicksOutputZeroWithoutLookingAtIt) {
  ASSERT_NO_FATAL_FAILURE(Start());
  port->SetScript(ClosesAt(100));
  EXPECT_EQ(OpenDrawer(), OPOS_SUCCESS);
  EXPECT_EQ(port->WriteCalls(), (std::vector<Bytes>{{0x1B, 0x70, 0x00, 0x19, 0xFF}}));
  // Not in drawer mode yet: the status watch asks the printer (DLE EOT 1).
  ASSERT_EQ(core.GetPrinterState(false), 0);
  EXPECT_EQ(Pattern(port->WriteCalls(), {}), "PP");
  core.SetupCashDrawer(1, 1, 0, 25, 255, 0);
  ASSERT_EQ(core.GetPrinterState(false), 0);
  EXPECT_EQ(Pattern(port->WriteCalls(), {}), "PPR")
      << "setting a drawer up switches drawer mode on";
}

TEST_F(DrawerCore, QueuedOutputMakesThePulseWait) {
  ASSERT_NO_FATAL_FAILURE(Start());
  int32_t rc = -1;
  core.SetPropertyNumber(Pidx::AsyncMode, 1, &rc);
  core.PrintNormal(2, u"queued\n", &rc);
  ASSERT_FALSE(core.IsIdle()) << "the worker is not running before enable";
  core.SetupCashDrawer(1, 1, 1, 25, 255, 5000);
  EXPECT_EQ(OpenDrawer(), OPOS_E_BUSY);
  EXPECT_EQ(core.ResultCodeExtended(), 0);
  EXPECT_TRUE(port->Written().empty());
}

TEST_F(DrawerCore, AFailedPulseIsReportedAndNotFollowedByAStatusCheck) {
  ASSERT_NO_FATAL_FAILURE(Start());
  core.SetupCashDrawer(1, 1, 1, 25, 255, 5000);
  port->FailWrites(true);
  EXPECT_EQ(OpenDrawer(), OPOS_E_NOHARDWARE);
  port->FailWrites(false);
  EXPECT_TRUE(port->WriteCalls().empty());
}

// --- the sensor check after the pulse ---

struct CheckCase {
  const char* name;
  DrawerPort::Script script;
  std::string writes;  // P the pulse, R a status request
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

class PulseThenCheck : public DrawerCore, public ::testing::WithParamInterface<CheckCase> {};

INSTANTIATE_TEST_SUITE_P(
    Answers, PulseThenCheck,
    ::testing::Values(CheckCase{"OpenAtOnceEndsTheCheck", ClosesAt(100), "PR"},
                      CheckCase{"StillClosedIsAskedTwice", ClosesAt(1), "PRR"},
                      CheckCase{"NoAnswerIsAskedTwice", Silent(), "PRR"},
                      CheckCase{"OpenAtTheSecondLook",
                                [](int n) { return Bytes{static_cast<uint8_t>(n >= 2 ? 1 : 0)}; },
                                "PRR"}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST_P(PulseThenCheck, LooksAtTheSensorAtMostTwiceWithoutChangingTheResult) {
  ASSERT_NO_FATAL_FAILURE(Start());
  port->SetScript(GetParam().script);
  core.SetupCashDrawer(1, 1, 1, 25, 255, 5000);
  EXPECT_EQ(OpenDrawer(), OPOS_SUCCESS);
  EXPECT_EQ(Pattern(port->WriteCalls(), {}), GetParam().writes);
}

TEST_F(DrawerCore, TheCheckAfterThePulseDiscardsWhatThePrinterSaidBefore) {
  ASSERT_NO_FATAL_FAILURE(Start());
  port->SetScript(ClosesAt(2));  // open at the first look only
  port->QueueReply({0x00});      // left over: would read as closed
  core.SetupCashDrawer(1, 1, 1, 25, 255, 5000);
  EXPECT_EQ(OpenDrawer(), OPOS_SUCCESS);
  EXPECT_EQ(Pattern(port->WriteCalls(), {}), "PR") << "the stale byte was not taken as the answer";
}

// --- the drawer state query ---

struct StateCase {
  const char* name;
  std::u16string portType;
  int32_t openVoltage;
  std::optional<Bytes> answer;
  int emptyReads;  // reads after the request that find nothing yet
  bool replied;
  bool open;
};

void PrintTo(const StateCase& c, std::ostream* os) { *os << c.name; }

const StateCase kStates[] = {
    {"HighMeansOpen", u"TCP/IP", 1, Bytes{0x01}, 0, true, true},
    {"HighLowIsClosed", u"TCP/IP", 1, Bytes{0x00}, 0, true, false},
    {"LowMeansOpen", u"TCP/IP", 0, Bytes{0x00}, 0, true, true},
    {"LowHighIsClosed", u"TCP/IP", 0, Bytes{0x01}, 0, true, false},
    {"TheWholeByteCounts", u"TCP/IP", 1, Bytes{0x03}, 0, true, false},
    {"NoAnswerKeepsTheKnownState", u"TCP/IP", 1, std::nullopt, 0, false, false},
    {"ALateAnswerIsMissedOnTheNetwork", u"TCP/IP", 1, Bytes{0x01}, 1, false, false},
    {"ALateAnswerIsReadAgainOnUsb", u"USB", 1, Bytes{0x01}, 1, true, true},
    {"ALateAnswerIsReadAgainOnParallel", u"LPT", 1, Bytes{0x01}, 1, true, true},
    {"TooLateEvenForUsb", u"USB", 1, Bytes{0x01}, 2, false, false},
    {"UsbTakesTheLastOfFourBytes", u"USB", 1, Bytes{0x00, 0x00, 0x00, 0x01}, 0, true, true},
    {"OtherPortsTakeOneByte", u"TCP/IP", 1, Bytes{0x01, 0x00}, 0, true, true},
};

class DrawerState : public DrawerCore, public ::testing::WithParamInterface<StateCase> {};

INSTANTIATE_TEST_SUITE_P(Answers, DrawerState, ::testing::ValuesIn(kStates),
                         [](const ::testing::TestParamInfo<StateCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_P(DrawerState, ReadsTheSensorAsTheOpenVoltageSays) {
  const StateCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(Start(c.portType));
  const std::optional<Bytes> answer = c.answer;
  port->SetScript([answer](int) { return answer; });
  port->SetEmptyReads(c.emptyReads);
  core.SetupCashDrawer(1, c.openVoltage, 1, 25, 255, 5000);
  bool replied = !c.replied;
  EXPECT_EQ(core.GetDrawerOpenState(false, &replied), c.open);
  EXPECT_EQ(replied, c.replied);
  EXPECT_EQ(port->WriteCalls(), (std::vector<Bytes>{kDrawerRequest}));
}

TEST_F(DrawerCore, WithoutAnAnswerTheStateTheWatchKnowsIsReturned) {
  ASSERT_NO_FATAL_FAILURE(Start());
  core.SetupCashDrawer(1, 1, 1, 25, 255, 5000);
  port->SetScript(ClosesAt(100));
  ASSERT_EQ(core.GetPrinterState(false), 0);  // the watch learns: open
  port->SetScript(Silent());
  bool replied = true;
  EXPECT_TRUE(core.GetDrawerOpenState(true, &replied));
  EXPECT_FALSE(replied);
}

TEST_F(DrawerCore, APrinterThatCannotBeAskedIsNotAsked) {
  // Opened but not claimed: the port is not open.
  port = std::make_shared<DrawerPort>();
  core.SetClock(clock);
  core.AttachPort(port);
  bool replied = true;
  EXPECT_FALSE(core.GetDrawerOpenState(true, &replied)) << "no core open yet";
  int32_t rc = -1;
  core.OpenServiceW(u"TEST", &sink, &rc);
  ASSERT_EQ(rc, 0);
  port->SetScript(ClosesAt(100));
  EXPECT_FALSE(core.GetDrawerOpenState(true, &replied));
  EXPECT_FALSE(replied);
  EXPECT_TRUE(port->WriteCalls().empty());
}

TEST_F(DrawerCore, APortLockHeldElsewhereGivesUpAfterTenSecondsOnTheClock) {
  ASSERT_NO_FATAL_FAILURE(Start());
  port->SetScript(ClosesAt(100));
  platform::ManualResetEvent locked, release;
  std::thread holder([&] {
    ASSERT_TRUE(core.PrinterPort()->TryLock());
    locked.Set();
    release.Wait(platform::ManualResetEvent::kInfinite);
    core.PrinterPort()->Unlock();
  });
  ASSERT_TRUE(locked.Wait(20000));
  const uint32_t before = clock->NowMs();
  bool replied = true;
  EXPECT_FALSE(core.GetDrawerOpenState(true, &replied));
  const uint32_t waited = clock->NowMs() - before;
  release.Set();
  holder.join();
  EXPECT_FALSE(replied);
  EXPECT_GE(waited, 10000u) << "the lock was tried for ten seconds of clock time";
  EXPECT_TRUE(port->WriteCalls().empty());
}

// --- waiting for the drawer to be closed ---

struct WaitCase {
  const char* name;
  int32_t buzzer;  // the model's drawer trait
  int32_t beepTimeout, beepDuration, beepDelay, limit;
  DrawerPort::Script script;
  Bytes beepTimes;  // count, on and off time of the beep command
  std::string writes;
  int32_t result;
};

void PrintTo(const WaitCase& c, std::ostream* os) { *os << c.name; }

// Each pass asks the drawer (10 ms for the answer) and waits 300 ms, so the
// nth question is asked at 310 x (n - 1) + 10 ms on the manual clock.
const WaitCase kWaits[] = {
    // A beep when the wait starts, then each time more than 2 x (300 + 200)
    // ms passed since the last: every fourth pass.
    {"BeepsAboutEverySecondUntilClosed", 1, 0, 200, 300, 60000, ClosesAt(10), {2, 2, 3},
     "RBRRRRBRRRRBR", OPOS_SUCCESS},
    {"AModelWithoutBuzzerOnlyWaits", 0, 0, 200, 300, 60000, ClosesAt(10), {2, 2, 3}, "RRRRRRRRRR",
     OPOS_SUCCESS},
    {"TheFirstBeepWaitsForItsTimeOut", 1, 1000, 200, 300, 60000, ClosesAt(10), {2, 2, 3},
     "RRRRRBRRRRBR", OPOS_SUCCESS},
    // 2 x (100 + 50) ms is less than a pass: a beep at every pass, the one
    // that finds the drawer closed included.
    {"ShortTimesBecomeOneUnit", 1, 0, 50, 100, 60000, ClosesAt(3), {2, 1, 1}, "RBRBRB",
     OPOS_SUCCESS},
    {"ClosedAtTheFirstLook", 1, 5000, 200, 300, 5000, ClosesAt(1), {2, 2, 3}, "R", OPOS_SUCCESS},
    // A silent drawer counts as open until the limit: 4 x 310 ms > 1000.
    {"ASilentDrawerCountsAsOpen", 0, 0, 200, 300, 1000, Silent(), {2, 2, 3}, "RRRR",
     OPOS_E_TIMEOUT},
    {"NoAnswerKeepsTheLastState", 0, 0, 200, 300, 60000, OpenThenSilentThenClosed(), {2, 2, 3},
     "RRRR", OPOS_SUCCESS},
    {"ALimitOfZeroEndsAfterOnePassEvenWhenClosed", 1, 5000, 200, 300, 0, ClosesAt(1), {2, 2, 3},
     "R", OPOS_E_TIMEOUT},
};

class WaitForClose : public DrawerCore, public ::testing::WithParamInterface<WaitCase> {};

INSTANTIATE_TEST_SUITE_P(Cases, WaitForClose, ::testing::ValuesIn(kWaits),
                         [](const ::testing::TestParamInfo<WaitCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_P(WaitForClose, AsksEveryPassAndBeepsOnTheModelsBuzzer) {
  const WaitCase& c = GetParam();
  core.SetDrawerTrait(c.buzzer);
  ASSERT_NO_FATAL_FAILURE(Start());
  port->SetScript(c.script);
  core.SetupCashDrawer(1, 1, 1, 25, 255, c.limit);
  Bytes beep = {0x1B, 0x28, 0x41, 0x05, 0x00, 0x61, 0x64};
  beep.insert(beep.end(), c.beepTimes.begin(), c.beepTimes.end());
  int32_t rc = -1;
  core.WaitForDrawerClose(c.beepTimeout, 1000, c.beepDuration, c.beepDelay, &rc);
  EXPECT_EQ(rc, c.result);
  EXPECT_EQ(core.ResultCode(), c.result);
  EXPECT_EQ(core.ResultCodeExtended(), 0);
  EXPECT_EQ(Pattern(port->WriteCalls(), beep), c.writes);
}

// --- the drawer branch of the status watch ---

TEST_F(DrawerCore, DrawerModeAloneWatchesTheSensorAndRaisesEachChange) {
  ASSERT_NO_FATAL_FAILURE(Start());
  core.SetupCashDrawer(1, 1, 1, 25, 255, 5000);
  port->SetScript(ClosesAt(1));  // closed at enable
  Enable();
  const size_t from = sink.Statuses().Ids().size();
  const std::vector<uint8_t> sensor = {1, 1, 0, 0, 1};
  size_t next = 0;
  port->SetScript([&](int) { return Bytes{sensor[next++]}; });
  for (size_t i = 0; i < sensor.size(); ++i) ASSERT_EQ(core.GetPrinterState(false), 0);
  EXPECT_EQ(DrawerStatusesSince(from),
            (std::vector<int32_t>{kStatusDrawerOpened, kStatusDrawerClosed, kStatusDrawerOpened}));
  EXPECT_EQ(Pattern(port->WriteCalls(), {}), "RRRRR");
}

TEST_F(DrawerCore, WithPrinterModeTheDrawerIsNotAskedSeparately) {
  ASSERT_NO_FATAL_FAILURE(Start());
  core.SetupCashDrawer(1, 1, 1, 25, 255, 5000);
  core.SetPrinterMode(true);
  ASSERT_EQ(core.GetPrinterState(false), 0);
  for (const Bytes& call : port->WriteCalls()) EXPECT_NE(call, kDrawerRequest);
}

// A printer that pushes its status (automatic status back) may have pushed
// packets before the answer or with it: they are the status watch's, and a
// drawer query applies them instead of losing them.
TEST_F(DrawerCore, PushedStatusIsAppliedNotMistakenForTheAnswer) {
  core.SetAsbConfigured(1);
  ASSERT_NO_FATAL_FAILURE(Start());
  // Low means open: the pushed drawer bit is read with the same level.
  core.SetupCashDrawer(1, 0, 1, 25, 255, 5000);
  port->SetScript(ClosesAt(1));
  Enable();
  ASSERT_EQ(core.UseAsb(), 1);
  const size_t from = sink.Statuses().Ids().size();
  const Bytes bitClear = {0x10, 0x00, 0x00, 0x00};  // drawer bit low: open
  const Bytes bitSet = {0x14, 0x00, 0x00, 0x00};
  port->QueueReply(bitClear);  // pushed while nobody was reading
  Bytes withAnswer = bitSet;   // pushed just before the answer: high, closed
  withAnswer.push_back(0x01);
  port->SetScript([withAnswer](int) { return withAnswer; });
  bool replied = false;
  EXPECT_FALSE(core.GetDrawerOpenState(true, &replied));
  EXPECT_TRUE(replied);
  EXPECT_EQ(DrawerStatusesSince(from),
            (std::vector<int32_t>{kStatusDrawerOpened, kStatusDrawerClosed}));
}

}  // namespace
