#include "zeq/statis/statis.h"
#include "zeq/testing/nist.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using test::FillWith;

// The tests' examples are rows of testdata/distribution_examples.txt; these are the
// properties a row cannot show.
TEST(OutlierAndNormalityTests, InPlaceSortsLimitsAndMissingData) {
  for (int32_t n = 15; n < 100; ++n)  // the filled r22 rows never increase
    EXPECT_LE(DeanDixonCriticalValues(n + 1, Dot010), DeanDixonCriticalValues(n, Dot010));
  TVector V;
  double q;
  V.Resize(101);
  EXPECT_THROW(DeanDixonTest(&V, Dot050, q), EZEQStatisError);
  FillWith(V, {0.3, -1.2, 0.8});
  PerformKSNormalityTest(&V, false);
  EXPECT_EQ(V.GetVal(1), -1.2);  // sorted in place
  EXPECT_EQ(
      std::pair(PerformLillieforsTest(nullptr, false), PerformKSNormalityTest(nullptr, false)),
      std::pair(0.0, 0.0));
}

// The floors and why they fall: testdata/nist/anova_floors.txt.
TEST(Anova, NistCertifiedSets) {
  for (const std::string& Line : test::DataLines("zeq/statis/testdata/nist/anova_floors.txt")) {
    const auto [Name, Floor] = test::NamedNumbers(Line);
    const test::TNistSet S = test::ReadNist("statis", Name);
    const std::vector<double> Between = S.Line("Between"), Within = S.Line("Within"),
                              Labels = S.Column(0);
    TVector V;
    TIntVector C;
    FillWith(V, S.Column(1));
    FillWith(C, std::vector<int32_t>(Labels.begin(), Labels.end()));
    double SSB, SSW, SST, F;
    int32_t DfB, DfW, DfT;
    EXPECT_GE(Anova1F(&V, &C, SSB, SSW, SST, DfB, DfW, DfT, F), 0) << Name;
    EXPECT_GE(
        std::min({test::LRE(SSB, Between[1]), test::LRE(SSW, Within[1]), test::LRE(F, Between[3])}),
        Floor[0])
        << Name;
  }
}

TEST(Anova, GroupsAndCodes) {
  TVector V;
  TIntVector C;
  double SSB, SSW, SST, F;
  int32_t DfB, DfW, DfT;
  const auto Anova = [&](const std::vector<double>& Y, const std::vector<int32_t>& Groups) {
    FillWith(V, Y);
    FillWith(C, Groups);
    return Anova1F(&V, &C, SSB, SSW, SST, DfB, DfW, DfT, F);
  };
  // three groups, numbered in order of appearance
  const double P = Anova({1, 2, 3, 4, 5}, {3, 1, 3, 1, 2});
  EXPECT_EQ(std::tuple(DfB, DfW, DfT), std::tuple(2, 2, 4));
  EXPECT_NEAR(SST, 10, 1e-12);
  EXPECT_NEAR(SSB + SSW, SST, 1e-12);
  EXPECT_NEAR(P, fDistriUpperTail(F, 2, 2), 1e-15);
  EXPECT_EQ(Anova({1, 2, 3, 4, 5}, {7, 7, 7, 7, 7}), -1);
  EXPECT_EQ(Anova({1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}), -2);
  EXPECT_EQ(Anova({2, 2, 2, 2}, {1, 1, 2, 2}), -3);
  EXPECT_EQ(Anova({1, 1, 2, 2}, {1, 1, 2, 2}), 0);
  EXPECT_EQ(F, static_cast<double>(uc_MaxReal));
  EXPECT_EQ(Anova1F(&V, nullptr, SSB, SSW, SST, DfB, DfW, DfT, F), -4);
  C.Resize(3);
  EXPECT_EQ(Anova1F(&V, &C, SSB, SSW, SST, DfB, DfW, DfT, F), -4);
}

TEST(Runs, ExactProbabilitiesForEverySampleUpTo25And25) {
  // zeq/statis/testdata/runs_distribution.txt: the exact counts of arrangements by runs.
  int Pairs = 0;
  for (const std::string& Line : test::DataLines("zeq/statis/testdata/runs_distribution.txt")) {
    std::istringstream In(Line);
    int32_t a, b;
    long double Total, Count, Cumulative = 0;
    In >> a >> b >> Total;
    for (int32_t r = 2; In >> Count; ++r) {
      Cumulative += Count;
      const double Exact = static_cast<double>(Cumulative / Total);
      ASSERT_NEAR(ExactRunsTest(a, b, r), Exact, 1e-15 * Exact) << a << " " << b << " " << r;
      ASSERT_EQ(ExactRunsTest(b, a, r), ExactRunsTest(a, b, r));
    }
    EXPECT_EQ(ExactRunsTest(a, b, a + b + 5), 1.0) << a << " " << b;
    ++Pairs;
  }
  EXPECT_EQ(Pairs, 325);
}

TEST(Runs, NormalApproximationAndSerial) {
  TBitFld Bits;
  Bits.SetSize(59);
  for (int i = 0; i < 30; ++i) Bits.SetBit(i, true);  // 30 set, 30 clear, two runs
  double p;
  EXPECT_TRUE(RunsTest(&Bits, p));  // normal approximation (more than 25 of each)
  EXPECT_LT(p, 1e-10);
  Bits.Clear();
  EXPECT_TRUE(RunsTest(&Bits, p));  // all equal: sigma 0
  EXPECT_EQ(p, 0);
  TVector V;
  FillWith(V, {1, 9, 2, 8, 3, 7, 4, 6, 5, 10, 0, 11});
  EXPECT_FALSE(RunsTestSerial(&V, p));  // alternating: many runs, not significant in the lower tail
  EXPECT_GT(p, 0.05);
  // The serial test is the runs test of the bits x > median, the last element included.
  FillWith(V, {1,  2,  3,  10, 11, 12, 4,  5,  6,  13, 14, 15, 7,  8, 9,  16, 17,
               18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 0, -1, -2, 31});
  TBitFld Above;
  Above.SetSize(V.NrOfElem() - 1);
  double Q1, Median, Q3, pBits;
  V.Quartiles(0, 0, Q1, Median, Q3);
  for (int32_t i = 1; i <= V.NrOfElem(); ++i) Above.SetBit(i - 1, V.GetVal(i) > Median);
  RunsTest(&Above, pBits);
  RunsTestSerial(&V, p);
  EXPECT_EQ(p, pBits);
}

TEST(KernelDensity, GridSizesAndShape) {
  TVector Data, Density;
  FillWith(Data, {-1, -0.5, 0, 0.2, 0.5, 1, 1.5});
  int32_t MinIx, MaxIx;
  int Calls = 0;
  double LastPercent = 0;
  EstimateProbDensity(&Data, &Density, -3, 3, 1, 0.8, 3, MinIx, MaxIx,
                      [&](TObject* S, double, double Pct) {
                        EXPECT_EQ(S, nullptr);
                        LastPercent = Pct;
                        ++Calls;
                      });
  EXPECT_DOUBLE_EQ(LastPercent, 18.0 / 17.0 * 100);  // count n + m + 1 of n + m: past 100
  EXPECT_EQ(std::pair(Density.NrOfElem(), Calls), std::pair(11, 7 + 11));  // numSteps 3 -> 10
  EXPECT_TRUE(MinIx == 1 && MaxIx > 3 && MaxIx < 9) << MinIx << " " << MaxIx;
  TVector Sym, SymDensity;  // symmetric data give a symmetric estimate on a symmetric grid
  FillWith(Sym, {-2, -1, -0.5, 0, 0.5, 1, 2});
  EstimateProbDensity(&Sym, &SymDensity, -3, 3, 1, 0.8, 10, MinIx, MaxIx);
  for (int32_t j = 1; j <= 11; ++j)
    EXPECT_NEAR(SymDensity.GetVal(j), SymDensity.GetVal(12 - j), 1e-15) << j;
  EXPECT_EQ(std::pair(MinIx, MaxIx), std::pair(1, 6));  // of equal extremes, the first
  EstimateProbDensity(&Data, &Density, -3, 3, 1, 0.8, 20000, MinIx, MaxIx);
  EXPECT_EQ(Density.NrOfElem(), 10001);
  double Area = 0;  // the estimate integrates to about 1 over a wide grid
  for (int32_t j = 1; j <= 10001; ++j) Area += Density.GetVal(j) * 6.0 / 10000;
  EXPECT_NEAR(Area, 1, 0.05);
  for (double Window : {0.0, -0.8}) {  // widths, never negative kernels
    EstimateProbDensity(&Data, &Density, -3, 3, 1, Window, 10, MinIx, MaxIx);
    for (int32_t j = 1; j <= 11; ++j) EXPECT_GE(Density.GetVal(j), 0) << Window;
  }
}

}  // namespace
}  // namespace zeq
