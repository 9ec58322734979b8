#include <atomic>

#include "zeq/base/internal/thread_pool.h"
#include "zeq/base/threads.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

TEST(Threads, SettingsAndTheirLimits) {
  SetMaxThreads(0);  // every hardware thread
  EXPECT_GE(MaxThreads(), 1);
  SetMaxThreads(-4);
  EXPECT_EQ(MaxThreads(), 1);
  SetMaxThreads(3);
  EXPECT_EQ(MaxThreads(), 3);
  SetMaxThreads(1);  // stops and joins the pool
  EXPECT_EQ(MaxThreads(), 1);
}

// Every batch is finished when ParallelFor returns, also the first one after the pool was
// resized: workers started then must not take part in a batch that ran before them (an extra
// count of finished workers ends a batch early, or, when two arrive, never).
TEST(Threads, EveryBatchEndsWithAllItsTasksAfterAResize) {
  for (int Round = 0; Round < 400; ++Round) {
    SetMaxThreads(2 + Round % 3);
    std::atomic<int> Done = 0;
    detail::ParallelFor(6, [&](size_t) { Done.fetch_add(1); });
    ASSERT_EQ(Done.load(), 6) << Round;
  }
  SetMaxThreads(1);
}

}  // namespace
}  // namespace zeq
