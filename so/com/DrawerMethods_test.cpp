// A cash drawer's methods and properties called as its control object calls
// them: the kick pulses at the virtual printer, the printer's state that
// refuses a kick, the sensor read back, the health check, and the sharing of
// one printer connection by a printer and its drawers.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "so/com/ServiceTestBed_test.h"
#include "so/format/StatusUpdateValues.h"

namespace QEL {
namespace COM {
namespace {

using Bytes = std::vector<uint8_t>;
using Event = testing_support::EventReceiver::Event;
using testing_support::TestControlObject;

constexpr int32_t kCheckHealthText = 1000001;
constexpr int32_t kDrawerOpened = 1001;
constexpr int32_t kCapStatus = 1501;

const Bytes kKick = {0x1B, 0x70};  // ESC p

struct DrawerKey {
  const char16_t* name;
  const char16_t* pin = u"1";
  const char16_t* capStatus = u"0";
  const char16_t* openVoltage = u"1";
  const char16_t* onTime = u"25";
  const char16_t* offTime = u"50";
  const char16_t* closeWait = u"20000";
};

bool Contains(const Bytes& haystack, const Bytes& needle) {
  return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
         haystack.end();
}

class DrawerMethods : public ServiceTestBed {
 protected:
  void SetUp() override {
    ServiceTestBed::SetUp();
    auto e = std::make_shared<ServiceEnvironment>(*environment);
    e->confirm = [this](const std::u16string& title, const std::u16string& text) {
      confirmations.push_back(title + u"|" + text);
    };
    environment = e;
  }

  void WriteDrawerKey(const DrawerKey& k) {
    const std::vector<Value> values = {
        {Config::kPrinterName, kDevice},    {Config::kCapDrawStatus, k.capStatus},
        {Config::kDrawerPin, k.pin},        {Config::kOpenVoltage, k.openVoltage},
        {Config::kSignalOnTime, k.onTime},  {Config::kSignalOffTime, k.offTime},
        {Config::kWaitForDrawerCloseTimeOut, k.closeWait}};
    std::unique_ptr<platform::RegistryKey> key = Registry().Create(
        Config::DeviceKeyPath(Root(), Config::DeviceClass::kDrawer, k.name));
    ASSERT_TRUE(key);
    for (const Value& v : values) ASSERT_TRUE(key->WriteString(v.name, v.text));
  }

  // A drawer from this key, opened, claimed and enabled.
  std::unique_ptr<TestControlObject> ReadyDrawer(const DrawerKey& k) {
    WriteDrawerKey(k);
    auto drawer = NewControl();
    EXPECT_EQ(drawer->Open(u"CashDrawer", k.name), 0);
    EXPECT_EQ(drawer->Call(u"ClaimDevice", {1000}), 0);
    EXPECT_EQ(drawer->SetNumber(kDeviceEnabled, 1), 0);
    return drawer;
  }

  // Everything the core sent before this returns has reached the printer: a
  // drawer-status request goes out and waits for its answer.
  void Flush(TestControlObject& drawerWithSensor) {
    drawerWithSensor.GetNumber(kDrawerOpened);
    ASSERT_EQ(drawerWithSensor.GetNumber(kResultCode), 0);
  }

  std::vector<std::u16string> confirmations;
};

TEST_F(DrawerMethods, EachDrawerPulsesItsOwnOutputsOverThePrintersConnection) {
  auto printerControl = NewControl();
  Ready(*printerControl);
  const int connections = printer.ConnectionsAccepted();
  auto first = ReadyDrawer({u"Drawer_1", u"1", u"0", u"1", u"10", u"20"});
  auto second = ReadyDrawer({u"Drawer_2", u"2", u"0", u"1", u"30", u"40"});
  auto both = ReadyDrawer({u"Drawer_3", u"3", u"0", u"1", u"300", u"7"});
  EXPECT_EQ(first->Call(u"OpenDrawer"), 0);
  EXPECT_EQ(second->Call(u"OpenDrawer"), 0);
  EXPECT_EQ(both->Call(u"OpenDrawer"), 0);
  // The status polls of the printer client may come between the kicks, but
  // never between the two of one drawer: they go out in one write.
  EXPECT_TRUE(printer.WaitForBytes({0x1B, 0x70, 0x00, 10, 20}, kWaitMs)) << printer.Transcript();
  EXPECT_TRUE(printer.WaitForBytes({0x1B, 0x70, 0x01, 30, 40}, kWaitMs)) << printer.Transcript();
  EXPECT_TRUE(printer.WaitForBytes({0x1B, 0x70, 0x00, 44, 7, 0x1B, 0x70, 0x01, 44, 7}, kWaitMs))
      << printer.Transcript();
  EXPECT_EQ(printer.ConnectionsAccepted(), connections)
      << "the drawers opened no port of their own";
  EXPECT_EQ(first->GetNumber(kResultCode), 0);
}

struct RefusalCase {
  const char* name;
  bool coverOpen;
  bool paperOut;
  int32_t printerEvent;  // what the printer client hears first
  int32_t extended;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class DrawerRefused : public DrawerMethods, public ::testing::WithParamInterface<RefusalCase> {};

INSTANTIATE_TEST_SUITE_P(
    States, DrawerRefused,
    ::testing::Values(RefusalCase{"CoverOpen", true, false, Printer::PTR_SUE_COVER_OPEN, 201},
                      RefusalCase{"PaperOut", false, true, Printer::PTR_SUE_REC_EMPTY, 203}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) {
      return std::string(info.param.name);
    });

TEST_P(DrawerRefused, APrinterInTroubleIsNotKicked) {
  const RefusalCase& c = GetParam();
  auto printerControl = NewControl();
  Ready(*printerControl);
  auto drawer = ReadyDrawer({u"Drawer_1", u"1", u"1"});
  sim::PrinterState state = printer.State();
  state.coverOpen = c.coverOpen;
  state.paperOut = c.paperOut;
  printer.SetState(state);
  // Heard by the printer client: the core reported it.
  const Event heard{u"SOStatusUpdate", {c.printerEvent}};
  bool reported = false;
  for (size_t n = 1; !reported && printerControl->Receiver().WaitForEvents(n, kWaitMs); ++n) {
    const std::vector<Event> events = printerControl->Receiver().Events();
    reported = std::find(events.begin(), events.end(), heard) != events.end();
  }
  ASSERT_TRUE(reported);

  EXPECT_EQ(drawer->Call(u"OpenDrawer"), 111);
  EXPECT_EQ(drawer->GetNumber(kResultCode), 111);
  EXPECT_EQ(drawer->GetNumber(kResultCodeExtended), c.extended);
  Flush(*drawer);
  EXPECT_FALSE(Contains(printer.Received(), kKick)) << printer.Transcript();
}

struct SensorCase {
  const char* name;
  const char16_t* capStatus;
  const char16_t* openVoltage;
  bool openLevelHigh;  // the drawer's wiring
  bool open;
  int32_t reads;
};

void PrintTo(const SensorCase& c, std::ostream* os) { *os << c.name; }

class DrawerSensor : public DrawerMethods, public ::testing::WithParamInterface<SensorCase> {};

INSTANTIATE_TEST_SUITE_P(
    Wirings, DrawerSensor,
    ::testing::Values(SensorCase{"HighOpen", u"1", u"1", true, true, 1},
                      SensorCase{"HighClosed", u"1", u"1", true, false, 0},
                      SensorCase{"LowOpen", u"1", u"0", false, true, 1},
                      SensorCase{"LowClosed", u"1", u"0", false, false, 0},
                      SensorCase{"NoSensorReadsClosedWhenOpen", u"0", u"1", true, true, 0}),
    [](const ::testing::TestParamInfo<SensorCase>& info) {
      return std::string(info.param.name);
    });

TEST_P(DrawerSensor, DrawerOpenedReadsThePrinterAsTheKeySays) {
  const SensorCase& c = GetParam();
  ASSERT_TRUE(printer.SetDrawerWiring(2, c.openLevelHigh));
  auto drawer = ReadyDrawer({u"Drawer_1", u"1", c.capStatus, c.openVoltage});
  if (c.open) printer.OpenDrawerByHand();
  EXPECT_EQ(drawer->GetNumber(kDrawerOpened), c.reads);
  EXPECT_EQ(drawer->GetNumber(kResultCode), 0);
  EXPECT_EQ(drawer->GetNumber(kCapStatus), c.capStatus == std::u16string(u"1") ? 1 : 0);
}

TEST_F(DrawerMethods, WithoutASensorThereIsNothingToWaitFor) {
  auto drawer = ReadyDrawer({u"Drawer_1", u"1", u"0"});
  printer.OpenDrawerByHand();
  EXPECT_EQ(drawer->Call(u"WaitForDrawerClose", {0, 1000, 200, 300}), 114);
  EXPECT_EQ(drawer->GetNumber(kResultCodeExtended), 300);
  EXPECT_TRUE(printer.DrawerOpen());
}

TEST_F(DrawerMethods, TheDrawerStateIsOnlyReadForAnEnabledDrawer) {
  WriteDrawerKey({u"Drawer_1", u"1", u"1"});
  auto drawer = NewControl();
  ASSERT_EQ(drawer->Open(u"CashDrawer", u"Drawer_1"), 0);
  printer.OpenDrawerByHand();
  // Enabled is looked at first, so an unclaimed drawer also reads 105.
  EXPECT_EQ(drawer->GetNumber(kDrawerOpened), 0);
  EXPECT_EQ(drawer->GetNumber(kResultCode), 105);
  EXPECT_EQ(drawer->Call(u"OpenDrawer"), 103);
  ASSERT_EQ(drawer->Call(u"ClaimDevice", {1000}), 0);
  EXPECT_EQ(drawer->GetNumber(kDrawerOpened), 0);
  EXPECT_EQ(drawer->GetNumber(kResultCode), 105);
  EXPECT_EQ(drawer->Call(u"WaitForDrawerClose", {0, 1000, 200, 300}), 105);
  ASSERT_EQ(drawer->SetNumber(kDeviceEnabled, 1), 0);
  EXPECT_EQ(drawer->GetNumber(kDrawerOpened), 1);
}

struct HealthCase {
  int32_t level;
  int32_t rc;
  int32_t extended;
  const char16_t* text;
  size_t confirmations;
};

TEST_F(DrawerMethods, CheckHealthAnswersByLevelOnTheDrawerItself) {
  auto printerControl = NewControl();
  Ready(*printerControl);
  auto drawer = ReadyDrawer({u"Drawer_1"});
  const HealthCase cases[] = {
      {1, 0, 0, u"Internal HealthCheck: Successful.", 0},
      {2, 0, 0, u"External HealthCheck: Success!", 0},
      {3, 0, 0, u"INTERACTIVE HealthCheck: Success!", 1},
      {0, 114, 300, u"Illegal Health Check Level!\r\nOPOS_E_ILLEGAL", 1},
      {4, 114, 300, u"Illegal Health Check Level!\r\nOPOS_E_ILLEGAL", 1},
  };
  for (const HealthCase& c : cases) {
    EXPECT_EQ(drawer->Call(u"CheckHealth", {c.level}), c.rc) << c.level;
    EXPECT_EQ(drawer->GetNumber(kResultCode), c.rc) << c.level;
    EXPECT_EQ(drawer->GetNumber(kResultCodeExtended), c.extended) << c.level;
    EXPECT_EQ(drawer->GetString(kCheckHealthText), c.text) << c.level;
    EXPECT_EQ(confirmations.size(), c.confirmations) << c.level;
  }
  EXPECT_EQ(confirmations.front(),
            u"Opos|OPOS CashDrawer Check Health:INTERACTIVE!\nPlease click the 'OK' button to "
            u"continue...");
  EXPECT_EQ(printerControl->GetString(kCheckHealthText), u"") << "the printer keeps its own text";
}

TEST_F(DrawerMethods, CheckHealthIsGatedBeforeAnyLevel) {
  WriteDrawerKey({u"Drawer_1"});
  auto drawer = NewControl();
  ASSERT_EQ(drawer->Open(u"CashDrawer", u"Drawer_1"), 0);
  EXPECT_EQ(drawer->Call(u"CheckHealth", {1}), 103);
  ASSERT_EQ(drawer->Call(u"ClaimDevice", {1000}), 0);
  EXPECT_EQ(drawer->Call(u"CheckHealth", {1}), 105);
  EXPECT_EQ(drawer->GetString(kCheckHealthText), u"");
}

// The printer and its drawer share one connection, whoever came first, and
// it stays open exactly while one of them is.
TEST_F(DrawerMethods, TheSharedConnectionLivesWhileEitherInstanceIsOpen) {
  for (bool printerFirst : {true, false}) {
    SCOPED_TRACE(printerFirst ? "printer first" : "drawer first");
    std::unique_ptr<TestControlObject> printerControl, drawer;
    int connections = 0;
    if (printerFirst) {
      printerControl = NewControl();
      Ready(*printerControl);
      connections = printer.ConnectionsAccepted();
      drawer = ReadyDrawer({u"Drawer_1", u"3", u"1", u"1", u"11", u"12"});
    } else {
      drawer = ReadyDrawer({u"Drawer_1", u"3", u"1", u"1", u"11", u"12"});
      connections = printer.ConnectionsAccepted();
      printerControl = NewControl();
      Ready(*printerControl);
    }
    EXPECT_EQ(Instance(*printerControl)->Core(), Instance(*drawer)->Core());
    EXPECT_EQ(Instance(*printerControl)->IsAttached(), !printerFirst);
    // The first one opened leaves; the other still works on the same connection.
    TestControlObject& leaving = printerFirst ? *printerControl : *drawer;
    ASSERT_EQ(leaving.Call(u"CloseService"), 0);
    if (printerFirst) {
      EXPECT_EQ(drawer->Call(u"OpenDrawer"), 0);
      EXPECT_TRUE(printer.WaitForBytes({0x1B, 0x70, 0x00, 11, 12, 0x1B, 0x70, 0x01, 11, 12},
                                       kWaitMs));
    } else {
      EXPECT_EQ(printerControl->Call(u"PrintNormal", {2, u"after the drawer\n"}), 0);
      const std::string text = "after the drawer\n";
      EXPECT_TRUE(printer.WaitForBytes(Bytes(text.begin(), text.end()), kWaitMs));
    }
    EXPECT_EQ(printer.ConnectionsAccepted(), connections) << "one connection for both";
    TestControlObject& staying = printerFirst ? *drawer : *printerControl;
    ASSERT_EQ(staying.Call(u"CloseService"), 0);
    EXPECT_TRUE(printer.WaitForIdle(connections, kWaitMs)) << "the last one closed the port";
    printer.ClearReceived();
  }
  EXPECT_EQ(printer.InvalidCommands(), 0) << printer.Transcript();
}

TEST_F(DrawerMethods, ADrawerNamingNoPrinterFailsAfterItsKeyOpened) {
  DrawerKey k{u"Drawer_1"};
  WriteDrawerKey(k);
  std::unique_ptr<platform::RegistryKey> key = Registry().Open(
      Config::DeviceKeyPath(Root(), Config::DeviceClass::kDrawer, k.name),
      platform::RegistryAccess::kReadWrite);
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->WriteString(Config::kPrinterName, u"NoSuchPrinter_1"));
  auto drawer = NewControl();
  EXPECT_EQ(drawer->Open(u"CashDrawer", k.name), 104);
  EXPECT_EQ(drawer->Call(u"GetOpenResult"), 403);
  EXPECT_EQ(printer.ConnectionsAccepted(), 0);
}

}  // namespace
}  // namespace COM
}  // namespace QEL
