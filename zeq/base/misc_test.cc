#include <gtest/gtest.h>

#include <vector>

#include "zeq/base/base.h"

namespace zeq {
namespace {

TEST(BitFld, SizeBitsAndCounts) {
  TBitFld F;
  EXPECT_EQ(F.Size(), -1);
  F.SetSize(9);  // bits 0..9
  EXPECT_EQ(F.Size(), 9);
  F.SetBit(0, true);
  F.SetBit(9, true);
  F.SetBit(10, true);  // outside: ignored
  F.SetBit(-1, true);
  EXPECT_TRUE(F.GetBit(9));
  EXPECT_FALSE(F.GetBit(10));
  EXPECT_EQ(F.CountTrueBits(), 2);
  F.Invert();
  EXPECT_EQ(F.CountTrueBits(), 8);
  F.SetSize(4);  // shrinking keeps the low bits
  EXPECT_EQ(F.CountTrueBits(), 4);
  F.Clear();
  EXPECT_EQ(F.CountTrueBits(), 0);
}

TEST(BitFld, TheLargestFieldCountsWithoutOverflow) {
  TBitFld F;
  F.SetSize(INT32_MAX);  // 2^31 bits, 256 MiB
  EXPECT_EQ(F.Size(), INT32_MAX);
  F.SetBit(INT32_MAX, true);
  EXPECT_TRUE(F.GetBit(INT32_MAX));
  F.Invert();
  EXPECT_EQ(F.CountTrueBits(), INT32_MAX);  // 2^31 - 1 true bits: exact
  F.SetBit(INT32_MAX, true);
  EXPECT_EQ(F.CountTrueBits(), INT32_MAX);  // 2^31: saturated
}

TEST(BitFld, CombineWithEachOperation) {
  TBitFld A, B;
  A.SetSize(3);
  B.SetSize(2);                               // one bit shorter: bit 3 of A is left alone
  for (int i : {0, 1, 3}) A.SetBit(i, true);  // A = 1101 (bit 0 first)
  for (int i : {1, 2}) B.SetBit(i, true);     // B = 011
  const auto Bits = [](const TBitFld& F) {
    std::string S;
    for (int i = 0; i <= F.Size(); ++i) S += F.GetBit(i) ? '1' : '0';
    return S;
  };
  const std::pair<TLogicOp, const char*> Cases[] = {
      {loAnd, "0101"}, {loOr, "1111"}, {loXor, "1011"}, {loAndNot, "1001"}};
  for (auto [Op, Expected] : Cases) {
    TBitFld C;
    C.Clone(&A);
    C.CombineWith(&B, Op);
    EXPECT_EQ(Bits(C), Expected) << static_cast<int>(Op);
  }
  A.CombineWith(nullptr, loAnd);
  EXPECT_EQ(Bits(A), "1101");
}

TEST(Colors, GrayAndHSIOfPrimaries) {
  EXPECT_EQ(RGBtoGray(255, 255, 255), 255);
  EXPECT_EQ(RGBtoGray(255, 0, 0), 76);  // 0.299 * 255 = 76.2
  EXPECT_EQ(RGBtoGray(0, 0, 0), 0);
  double H, S, I;
  RGBtoHSI(255, 0, 0, H, S, I);
  EXPECT_DOUBLE_EQ(H, 0.0);
  EXPECT_DOUBLE_EQ(S, 1.0);
  EXPECT_DOUBLE_EQ(I, 1.0 / 3.0);
  RGBtoHSI(0, 255, 0, H, S, I);
  EXPECT_NEAR(H, 120.0, 1e-12);
  RGBtoHSI(0, 0, 255, H, S, I);
  EXPECT_NEAR(H, 240.0, 1e-12);
  RGBtoHSI(128, 128, 128, H, S, I);
  EXPECT_EQ(H, 0.0);
  EXPECT_EQ(S, 0.0);
  RGBtoHSI(0, 0, 0, H, S, I);
  EXPECT_EQ(S, 0.0);
  EXPECT_EQ(I, 0.0);
}

TEST(Random, SeededSequencesRepeatAndStayInRange) {
  SetRandSeed(42);
  std::vector<double> First;
  for (int i = 0; i < 100; ++i) First.push_back(Random());
  SetRandSeed(42);
  for (double X : First) EXPECT_EQ(Random(), X);
  int Hits[5] = {};
  for (int i = 0; i < 50000; ++i) {
    const double U = Random();
    ASSERT_TRUE(U >= 0.0 && U < 1.0);
    const int32_t K = Random(5);
    ASSERT_TRUE(K >= 0 && K < 5);
    ++Hits[K];
  }
  for (int H : Hits) EXPECT_NEAR(H, 10000, 500);  // about 5 standard deviations
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-3), 0);
}

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
