// A cash-drawer instance: opened from its own key, working through the core
// of the printer its key names, and hearing only the drawer's states.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "so/com/ServiceTestBed_test.h"

namespace QEL {
namespace COM {
namespace {

using Event = testing_support::EventReceiver::Event;

constexpr const char16_t* kDrawer = u"Drawer_1";

class DrawerClient : public ServiceTestBed {
 protected:
  void SetUp() override {
    ServiceTestBed::SetUp();
    WriteDrawerKey(nullptr);
  }
  // The drawer key; `left` names a value that is left out.
  void WriteDrawerKey(const char16_t* left) {
    const std::vector<Value> values = {
        {Config::kPrinterName, kDevice},  {Config::kCapDrawStatus, u"1"},
        {Config::kDrawerPin, u"1"},       {Config::kOpenVoltage, u"0"},
        {Config::kSignalOnTime, u"100"},  {Config::kSignalOffTime, u"100"},
        {Config::kWaitForDrawerCloseTimeOut, u"5000"}};
    std::unique_ptr<platform::RegistryKey> key = Registry().Create(
        Config::DeviceKeyPath(Root(), Config::DeviceClass::kDrawer, kDrawer));
    ASSERT_TRUE(key);
    for (const Value& v : values) {
      if (left != nullptr && std::u16string(left) == v.name) {
        key->DeleteValue(v.name);
      } else {
        ASSERT_TRUE(key->WriteString(v.name, v.text));
      }
    }
  }
};

TEST_F(DrawerClient, AttachesToThePrinterAndHearsOnlyDrawerStates) {
  auto printerControl = NewControl();
  auto drawer = NewControl();
  Ready(*printerControl);
  ASSERT_EQ(drawer->Open(u"CashDrawer", kDrawer), 0);
  EXPECT_TRUE(Instance(*drawer)->IsAttached());
  EXPECT_EQ(drawer->GetString(kDeviceDescription), u"POS CashDrawer");
  ASSERT_EQ(drawer->Call(u"ClaimDevice", {1000}), 0);
  ASSERT_EQ(drawer->SetNumber(kDeviceEnabled, 1), 0);
  SettleEvents();
  printerControl->Receiver().Clear();
  drawer->Receiver().Clear();

  Instance(*printerControl)->OnStatusUpdate(1);  // drawer open
  Instance(*printerControl)->OnStatusUpdate(2);  // drawer closed
  Instance(*printerControl)->OnStatusUpdate(11);  // cover open: the printer's
  // Delivered in order, so once the printer heard the last the drawer heard
  // the first two. The core's own poll may report the drawer as well.
  ASSERT_TRUE(printerControl->Receiver().WaitForEvents(1, kWaitMs));
  SettleEvents();
  std::vector<int32_t> drawerStates;
  for (const Event& e : drawer->Receiver().Events()) {
    ASSERT_EQ(e.name, u"SOStatusUpdate");
    ASSERT_EQ(e.args.size(), 1u);
    drawerStates.push_back(e.args[0]);
  }
  const std::vector<int32_t> openThenClosed = {0, 1};
  EXPECT_NE(std::search(drawerStates.begin(), drawerStates.end(), openThenClosed.begin(),
                        openThenClosed.end()),
            drawerStates.end())
      << ::testing::PrintToString(drawerStates);
  EXPECT_EQ(printerControl->Receiver().Events(), (std::vector<Event>{{u"SOStatusUpdate", {11}}}))
      << "the printer client hears no drawer state";
}

TEST_F(DrawerClient, ADrawerOpenedFirstOwnsThePrinterCore) {
  auto drawer = NewControl();
  ASSERT_EQ(drawer->Open(u"CashDrawer", kDrawer), 0);
  EXPECT_FALSE(Instance(*drawer)->IsAttached());
  auto printerControl = NewControl();
  Ready(*printerControl);
  EXPECT_TRUE(Instance(*printerControl)->IsAttached());
  EXPECT_EQ(printerControl->Call(u"PrintNormal", {2, u"via drawer\n"}), 0);
  ASSERT_TRUE(printer.WaitForBytes({'d', 'r', 'a', 'w', 'e', 'r', '\n'}, kWaitMs));
}

TEST_F(DrawerClient, AFailedDrawerOpenAnswersByStage) {
  auto missing = NewControl();
  EXPECT_EQ(missing->Open(u"CashDrawer", u"Drawer_9"), 106);
  EXPECT_EQ(missing->Call(u"GetOpenResult"), 403);
  WriteDrawerKey(Config::kPrinterName);
  auto incomplete = NewControl();
  EXPECT_EQ(incomplete->Open(u"CashDrawer", kDrawer), 104) << "the key opened, a value did not";
  EXPECT_EQ(incomplete->Call(u"GetOpenResult"), 403);
}

}  // namespace
}  // namespace COM
}  // namespace QEL
