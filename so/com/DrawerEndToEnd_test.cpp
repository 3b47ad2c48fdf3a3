// A cash drawer on the virtual printer, driven as a point-of-sale application
// drives it: kick it open, see it reported open, wait while the cashier
// closes it with the buzzer reminding, see it reported closed. The printer
// is an 80 mm model with a buzzer that pushes its status by itself. Real
// time runs here (the printer's sockets); only the order of what happens is
// checked, and every wait is a generous safety net.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "so/com/ServiceTestBed_test.h"

namespace QEL {
namespace COM {
namespace {

using Event = testing_support::EventReceiver::Event;
using testing_support::EventReceiver;

constexpr int32_t kDrawerOpened = 1001;
constexpr const char16_t* kDrawer = u"TRAIL-3_1_01";

// True once the receiver heard `event`; false after the safety net.
bool Heard(EventReceiver& receiver, const Event& event) {
  for (size_t n = 1;; ++n) {
    const std::vector<Event> events = receiver.Events();
    if (std::find(events.begin(), events.end(), event) != events.end()) return true;
    if (events.size() >= n) continue;
    if (!receiver.WaitForEvents(n, kWaitMs)) return false;
  }
}

class DrawerEndToEnd : public ServiceTestBed {
 protected:
  void SetUp() override {
    ServiceTestBed::SetUp();
    std::vector<Value> values = PrinterValues();
    for (Value& v : values) {
      if (std::u16string(v.name) == Config::kDriverModel) v.text = u"TRAIL-3_1";
    }
    WritePrinterKey(kDevice, values);
    const std::vector<Value> drawer = {
        {Config::kPrinterName, kDevice},   {Config::kCapDrawStatus, u"1"},
        {Config::kDrawerPin, u"1"},        {Config::kOpenVoltage, u"1"},
        {Config::kSignalOnTime, u"25"},    {Config::kSignalOffTime, u"250"},
        {Config::kWaitForDrawerCloseTimeOut, u"20000"}};
    std::unique_ptr<platform::RegistryKey> key = Registry().Create(
        Config::DeviceKeyPath(Root(), Config::DeviceClass::kDrawer, kDrawer));
    ASSERT_TRUE(key);
    for (const Value& v : drawer) ASSERT_TRUE(key->WriteString(v.name, v.text));
  }
};

TEST_F(DrawerEndToEnd, KickReportWaitWithTheBuzzerAndReportTheClose) {
  auto printerControl = NewControl();
  Ready(*printerControl);
  auto drawer = NewControl();
  ASSERT_EQ(drawer->Open(u"CashDrawer", kDrawer), 0);
  ASSERT_EQ(drawer->Call(u"ClaimDevice", {1000}), 0);
  ASSERT_EQ(drawer->SetNumber(kDeviceEnabled, 1), 0);
  ASSERT_FALSE(printer.DrawerOpen());

  EXPECT_EQ(drawer->Call(u"OpenDrawer"), 0);
  EXPECT_TRUE(printer.WaitForDrawer(true, kWaitMs)) << printer.Transcript();
  EXPECT_TRUE(Heard(drawer->Receiver(), {u"SOStatusUpdate", {1}})) << "open, as a drawer hears it";
  EXPECT_EQ(drawer->GetNumber(kDrawerOpened), 1);

  // The cashier pushes the drawer shut once the buzzer reminded them.
  const std::vector<uint8_t> beep = {0x1B, 0x28, 0x41, 0x05, 0x00, 0x61, 0x64, 0x02, 0x02, 0x03};
  std::thread cashier([&] {
    if (printer.WaitForBytes(beep, kWaitMs)) printer.CloseDrawer();
  });
  const int32_t rc = drawer->Call(u"WaitForDrawerClose", {0, 1000, 200, 300});
  cashier.join();
  EXPECT_EQ(rc, 0) << printer.Transcript();
  EXPECT_FALSE(printer.DrawerOpen());
  EXPECT_TRUE(Heard(drawer->Receiver(), {u"SOStatusUpdate", {0}}))
      << "closed, as a drawer hears it";
  EXPECT_EQ(drawer->GetNumber(kDrawerOpened), 0);

  ASSERT_EQ(drawer->Call(u"CloseService"), 0);
  ASSERT_EQ(printerControl->Call(u"CloseService"), 0);
  ASSERT_TRUE(printer.WaitForIdle(printer.ConnectionsAccepted(), kWaitMs));
  EXPECT_EQ(printer.InvalidCommands(), 0) << printer.Transcript();
  for (const Event& e : printerControl->Receiver().Events()) {
    EXPECT_FALSE(e.name == u"SOStatusUpdate" && e.args.size() == 1 && e.args[0] <= 2)
        << "the printer client hears no drawer state";
  }
  const std::string transcript = printer.Transcript();
  EXPECT_LT(transcript.find("DRAWER OPENED"), transcript.find("DRAWER CLOSED")) << transcript;
}

}  // namespace
}  // namespace COM
}  // namespace QEL
