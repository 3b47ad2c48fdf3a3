#include "so/printer/OutputIdCounter.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

using QEL::Printer::OutputIdCounter;

namespace {

TEST(OutputIdCounter, CountsFromOneAndWrapsToTwoAfterTheLastId) {
  OutputIdCounter::Reset();
  EXPECT_EQ(OutputIdCounter::Next(), 1);
  EXPECT_EQ(OutputIdCounter::Next(), 2);
  OutputIdCounter::SetLastForTesting(0x7FFFFFFD);
  EXPECT_EQ(OutputIdCounter::Next(), 0x7FFFFFFE);
  EXPECT_EQ(OutputIdCounter::Next(), 2);
  OutputIdCounter::Reset();
}

TEST(OutputIdCounter, ConcurrentCallersNeverShareAnId) {
  OutputIdCounter::Reset();
  std::vector<std::vector<int32_t>> seen(4);
  std::vector<std::thread> threads;
  for (auto& ids : seen) {
    threads.emplace_back([&ids] {
      for (int i = 0; i < 5000; ++i) ids.push_back(OutputIdCounter::Next());
    });
  }
  for (auto& t : threads) t.join();
  std::set<int32_t> all;
  for (const auto& ids : seen) all.insert(ids.begin(), ids.end());
  EXPECT_EQ(all.size(), 20000u);
  OutputIdCounter::Reset();
}

}  // namespace
