#include "zeq/base/base.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

double LastProgress = -1;
int ProgressCalls = 0;
void RecordProgress(double P) {
  LastProgress = P;
  ++ProgressCalls;
}

TEST(Hooks, AdvanceProgressAddsAndReports) {
  ProcStat = 10;
  MathFeedBackProc = RecordProgress;
  AdvanceProgress(2.5);
  EXPECT_EQ(ProcStat, 12.5);
  EXPECT_EQ(LastProgress, 12.5);
  MathFeedBackProc = nullptr;
  AdvanceProgress(1);  // without a routine the counter still grows
  EXPECT_EQ(ProcStat, 13.5);
  EXPECT_EQ(ProgressCalls, 1);
  EXPECT_FALSE(AbortRequested());
  AbortMathProc = true;
  EXPECT_TRUE(AbortRequested());
  AbortMathProc = false;
}

}  // namespace
}  // namespace zeq
