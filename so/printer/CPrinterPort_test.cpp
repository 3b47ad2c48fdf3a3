#include "so/printer/CPrinterPort.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "platform/manual_clock.h"
#include "platform/manual_reset_event.h"
#include "testing/FakePort.h"
#include "testing/TestTasks.h"

using QEL::Printer::CPrinterPort;
using QEL::Printer::PortLockHolder;
using testing_support::FakePort;

namespace {

// Runs `probe` on another thread while this thread holds the port lock.
template <typename Probe>
void WhileLockedHere(CPrinterPort& port, Probe probe) {
  ASSERT_TRUE(port.TryLock());
  std::thread other(probe);
  other.join();
  port.Unlock();
}

class PrinterPortGates : public ::testing::Test {
 protected:
  std::shared_ptr<FakePort> fake = std::make_shared<FakePort>();
  CPrinterPort port{fake};
  const uint8_t bytes[3] = {1, 2, 3};
};

TEST_F(PrinterPortGates, WriteNeedsAnOpenPort) {
  EXPECT_EQ(port.write(bytes, 0, 3), 0);
  int32_t rc = 0;
  ASSERT_EQ(port.openForClaim(&rc), 1);
  EXPECT_EQ(port.write(bytes, 1, 2), 1);
  EXPECT_EQ(fake->Written(), (std::vector<uint8_t>{2, 3}));
}

TEST_F(PrinterPortGates, EveryGateRefusesWhileAnotherThreadHoldsTheLock) {
  int32_t rc = 0;
  ASSERT_EQ(port.openForClaim(&rc), 1);
  fake->QueueReply({9});
  int32_t wrote = -1, read = -1, avail = -1, probed = -1, opened = -1, openRc = 0;
  WhileLockedHere(port, [&] {
    uint8_t in[4];
    int32_t got = 0;
    wrote = port.write(bytes, 0, 3);
    read = port.read(in, 0, 1, &got, 0);
    avail = port.readAvailable(in, 0, 1, &got);
    probed = port.probe();
    opened = port.openForClaim(&openRc);
    port.close();
  });
  EXPECT_EQ(wrote, 0);
  EXPECT_EQ(read, 0);
  EXPECT_EQ(avail, 0);
  EXPECT_EQ(probed, 0);
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(openRc, 113) << "only the claim's open reports busy";
  EXPECT_TRUE(fake->Written().empty());
  EXPECT_TRUE(fake->IsOpen()) << "a foreign close must not pass the lock";
}

TEST_F(PrinterPortGates, TheLockHolderPassesItsOwnGates) {
  int32_t rc = 0;
  ASSERT_EQ(port.openForClaim(&rc), 1);
  PortLockHolder held(port, 0, 0);
  ASSERT_TRUE(held.Held());
  EXPECT_EQ(port.write(bytes, 0, 3), 1);
  port.close();
  EXPECT_FALSE(fake->IsOpen());
}

TEST(PrinterPortRetry, TriesOnceAndThenAfterEachPauseOnThePortsClock) {
  auto clock = std::make_shared<platform::ManualClock>();
  CPrinterPort port(std::make_shared<FakePort>(), clock);
  platform::ManualResetEvent taken, release;
  std::thread holder([&] {
    port.TryLock();
    taken.Set();
    release.Wait(platform::ManualResetEvent::kInfinite);
    port.Unlock();
  });
  taken.Wait(platform::ManualResetEvent::kInfinite);
  // Taken on another thread, and given back there.
  auto lockOnce = [&](int retries) {
    return std::async(std::launch::async, [&port, retries] {
      const bool taken = port.LockWithRetry(retries, 100);
      if (taken) port.Unlock();
      return taken;
    });
  };

  auto refused = lockOnce(2);
  for (int pause = 0; pause < 2; ++pause) {
    ASSERT_TRUE(task_test::Quiet(*clock));
    clock->Advance(100);
  }
  EXPECT_FALSE(refused.get());
  EXPECT_EQ(clock->NowMs(), 200u) << "two pauses, then it gave up";

  auto granted = lockOnce(1000);
  ASSERT_TRUE(task_test::Quiet(*clock));
  release.Set();
  holder.join();
  EXPECT_EQ(granted.wait_for(std::chrono::seconds(0)), std::future_status::timeout)
      << "the next try comes only after the pause";
  clock->Advance(100);
  EXPECT_TRUE(granted.get());
  EXPECT_EQ(clock->NowMs(), 300u);
}

}  // namespace
