#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "zeq/statis/statis.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using test::FillWith;

TEST(DeanDixon, RatiosAndCandidates) {
  TVector V;
  double q;
  const auto Test = [&](const std::vector<double>& X, TSignifLevelEx Level) {
    FillWith(V, X);
    return DeanDixonTest(&V, Level, q);
  };
  EXPECT_EQ(Test({1, 2, 3, 4, 100}, Dot050), 5);
  EXPECT_NEAR(q, 96.0 / 99.0, 1e-15);
  EXPECT_EQ(Test({5, 5, 5, 5, 5}, Dot050), 0);
  EXPECT_EQ(q, 0);
  EXPECT_EQ(Test({1, 10, 10.5, 11, 20}, Dot500), 1);  // rL = rH: the minimum is the candidate
  // r21: a repeated maximum still counts; the first position of the value is reported
  EXPECT_EQ(Test({5, 100, 1, 2, 3, 4, 6, 7, 8, 9, 100}, Dot050), 2);
  for (auto [n, Critical] : {std::pair{2, -1.0}, {101, -1}, {20, 0.450}, {17, 0.494}})
    EXPECT_EQ(DeanDixonCriticalValues(n, Dot050), Critical) << n;  // 17: between 15 and 20
  for (int32_t n = 15; n < 100; ++n)  // the filled r22 rows never increase
    EXPECT_LE(DeanDixonCriticalValues(n + 1, Dot010), DeanDixonCriticalValues(n, Dot010));
  test::ExpectThrowMessage<EZEQStatisError>(
      [&] {
        Test({1, 2}, Dot050);
      },
      "DeanDixonTest: number of data points is too low");
  V.Resize(101);
  EXPECT_THROW(DeanDixonTest(&V, Dot050, q), EZEQStatisError);
}

TEST(Grubbs, CriticalValuesAndTest) {
  // mpmath (40 digits): t = the 1 - 0.05 / 20 quantile with 8 df; (9 / sqrt(10)) sqrt(t^2 / (t^2 +
  // 8))
  EXPECT_NEAR(GrubbsCriticalValues(10, 0.05, true), 2.2899540844796003738, 1e-13);
  EXPECT_EQ(GrubbsCriticalValues(2, 0.05, true), -1);
  EXPECT_EQ(GrubbsCriticalValues(10, 1.0, true), -1);
  TVector V;
  FillWith(V, {10, 11, 9, 10.5, 9.5, 10.2, 9.8, 25, 10.1, 9.9});
  double g;
  EXPECT_EQ(GrubbsTest(&V, 0.05, g), 8);
  EXPECT_GT(g, 2.29);
  FillWith(V, {1, 2, 3});
  // the level is checked first
  test::ExpectThrowMessage<EZEQStatisError>([&] { GrubbsTest(&V, 1.0, g); },
                                            "GrubbsTest: invalid level of significance");
  test::ExpectThrowMessage<EZEQStatisError>([&] { GrubbsTest(&V, 0.05, g); },
                                            "GrubbsTest: number of data points is too low");
  FillWith(V, {4, 4, 4, 4});
  EXPECT_EQ(GrubbsTest(&V, 0.05, g), 0);
  EXPECT_EQ(g, 0);
}

TEST(Normality, KolmogorovSmirnovAndLilliefors) {
  // scipy.stats.kstest(x, 'norm').statistic, and of x standardized with ddof = 1
  const std::vector<double> X{0.3, -1.2, 0.8, 2.1, -0.4, 0.05, 1.3, -0.9};
  TVector V;
  FillWith(V, X);
  EXPECT_NEAR(PerformKSNormalityTest(&V, false), 0.16314460141660336, 1e-8);
  EXPECT_EQ(V.GetVal(1), -1.2);  // sorted in place
  FillWith(V, X);
  EXPECT_NEAR(PerformLillieforsTest(&V, false), 0.10936356628682664, 1e-8);
  EXPECT_EQ(PerformLillieforsTest(nullptr, false), 0);
  EXPECT_EQ(PerformKSNormalityTest(nullptr, false), 0);
}

struct TAnovaSet {
  std::string Name;
  double MinLRE;  // what the one-pass sums achieve with long double accumulators, floored
};

TEST(Anova, NistCertifiedSets) {
  // The documented one-pass sums (sum of squares minus the squared sum over n) carried in long
  // double: exact on the easy sets, then losing digits as the offset grows (SmLs04-06 offset
  // 1e6, SmLs07-09 offset 1e12, where nothing is left of the sums of squares). The floors hold
  // what the formulas achieve, in correct digits (test::LRE).
  const TAnovaSet Sets[] = {{"SiRstv", 12},   {"SmLs01", 14.5},  {"SmLs02", 14.5}, {"SmLs03", 13},
                            {"SmLs04", 3.5},  {"SmLs05", 3.5},   {"SmLs06", 1.5},  {"SmLs07", -7.5},
                            {"SmLs08", -8.5}, {"SmLs09", -10.5}, {"AtmWtAg", 5}};
  for (const TAnovaSet& Set : Sets) {
    std::ifstream In(std::string(ZEQ_SOURCE_DIR) + "/zeq/statis/testdata/nist/" + Set.Name +
                     ".dat");
    ASSERT_TRUE(In) << Set.Name;
    std::string Line, Word;
    double CertSSB = 0, CertSSW = 0, CertF = 0;
    std::vector<double> Y;
    std::vector<int32_t> Labels;
    for (int LineNo = 1; std::getline(In, Line); ++LineNo) {
      std::istringstream L(Line);
      if (Line.rfind("Between ", 0) == 0) {
        double Df, Ms;
        L >> Word >> Word >> Df >> CertSSB >> Ms >> CertF;
      } else if (Line.rfind("Within ", 0) == 0) {
        double Df;
        L >> Word >> Word >> Df >> CertSSW;
      } else if (LineNo > 60) {  // the data start on line 61 of every file
        double T, R;
        if (L >> T >> R) Labels.push_back(static_cast<int32_t>(T)), Y.push_back(R);
      }
    }
    TVector V;
    TIntVector C;
    FillWith(V, Y);
    FillWith(C, Labels);
    double SSB, SSW, SST, F;
    int32_t DfB, DfW, DfT;
    const double P = Anova1F(&V, &C, SSB, SSW, SST, DfB, DfW, DfT, F);
    EXPECT_GE(P, 0) << Set.Name;
    const double LreB = test::LRE(SSB, CertSSB), LreW = test::LRE(SSW, CertSSW),
                 LreF = test::LRE(F, CertF);
    std::printf("  %-8s SSb LRE %5.1f  SSw LRE %5.1f  F LRE %5.1f  p %.3g\n", Set.Name.c_str(),
                LreB, LreW, LreF, P);
    EXPECT_GE(std::min({LreB, LreW, LreF}), Set.MinLRE) << Set.Name;
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

TEST(PercentileOfArray, StatusCodesAndRanks) {
  TDoubleArray A{9, 1, 8, 2, 7, 3};
  double R;
  for (auto [Pct, First, Last, Status] :
       {std::tuple{150.0, 5, 2, -2}, {50, 5, 2, -3}, {50, -1, 2, -1}, {50, 0, 6, -1}})
    EXPECT_EQ(PercentileOfArray(A, Pct, First, Last, R), Status) << Pct << " " << First;
  EXPECT_EQ(PercentileOfArray(A, 0, 2, 5, R), 0);
  EXPECT_EQ(R, 2);  // the minimum of 8, 2, 7, 3
  EXPECT_EQ(PercentileOfArray(A, 100, 2, 5, R), 0);
  EXPECT_EQ(R, 8);
  EXPECT_EQ(A[0], 9);  // outside the range nothing moves
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
  EXPECT_NEAR(ExactRunsTest(17, 17, 18), 0.5709789417685045, 1e-15);  // Python fractions
  EXPECT_EQ(ExactRunsTest(5, 5, INT32_MAX), 1.0);  // no loop over the impossible runs
  EXPECT_EQ(ExactRunsTest(2000000000, 2000000000, 1), 0.0);
  EXPECT_EQ(ExactRunsTest(2000000000, 2000000000, 3), 0.0);  // no overflow, no 2e9-step loop
  // Large samples: the window around the mean (mpmath, the documented sum at 40 digits).
  EXPECT_NEAR(ExactRunsTest(2000, 3000, 2350), 0.06835633087996144573, 1e-15);
  EXPECT_NEAR(ExactRunsTest(1001, 1200, 1000), 3.8083578171992696e-05, 1e-18);
  EXPECT_NEAR(ExactRunsTest(1001, 2000000000, 2002), 0.00050137526939240728, 1e-17);
  EXPECT_EQ(ExactRunsTest(1001, 2000000000, 2003), 1.0);
  EXPECT_EQ(ExactRunsTest(2000000000, 2000000000, INT32_MAX), 1.0);  // milliseconds, not minutes
  EXPECT_EQ(ExactRunsTest(589572, 1080965947, 704580), 0.0);         // far below the mean
}

TEST(Runs, ExactNormalAndSerial) {
  EXPECT_EQ(ExactRunsTest(3, 2, 1), 0);
  for (auto [a, b] : {std::pair{3, 2}, {4, 4}, {5, 7}})
    EXPECT_NEAR(ExactRunsTest(a, b, a + b), 1, 1e-12);
  EXPECT_NEAR(ExactRunsTest(2, 2, 2), 2.0 / 6.0, 1e-15);  // AABB, BBAA of six arrangements
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

// Random data, NaN and infinities among them, through every test: no crash, no hang (the
// test's time limit), only the documented errors; and the runs test of nothing is false.
TEST(TestsBadInput, RandomArgumentsTerminate) {
  std::mt19937_64 Gen(21);
  const double Specials[] = {NAN, HUGE_VAL, -HUGE_VAL, 0.0, 1e300, -1e300};
  for (int Trial = 0; Trial < 300; ++Trial) {
    const int32_t N = static_cast<int32_t>(Gen() % 40) + 1;
    TVector V;
    V.Resize(N);
    TIntVector C;
    C.Resize(N);
    for (int32_t i = 1; i <= N; ++i) {
      V.SetVal(i, Gen() % 5 == 0 ? Specials[Gen() % 6]
                                 : std::ldexp(static_cast<double>(Gen() % 2000) - 1000,
                                              static_cast<int>(Gen() % 20) - 10));
      C.SetVal(i, static_cast<int32_t>(Gen() % 4));
    }
    double q, g, a, b, c, f, r, p;
    int32_t da, db, dc, lo, hi;
    try {
      DeanDixonTest(&V, static_cast<TSignifLevelEx>(Gen() % 9), q);
    } catch (const EZEQStatisError&) {
    }
    try {
      GrubbsTest(&V, 0.05, g);
    } catch (const EZEQStatisError&) {
    }
    Anova1F(&V, &C, a, b, c, da, db, dc, f);
    RunsTestSerial(&V, p);
    TDoubleArray Arr(static_cast<size_t>(N), 1.0);
    PercentileOfArray(Arr, static_cast<double>(Gen() % 300) - 100,
                      static_cast<int32_t>(Gen() % 50) - 5, static_cast<int32_t>(Gen() % 50) - 5,
                      r);
    ExactRunsTest(static_cast<int32_t>(Gen() % 40) - 5, static_cast<int32_t>(Gen() % 40) - 5,
                  static_cast<int32_t>(Gen() % 80));
    TVector Density, Copy;
    Copy.Clone(&V);
    EstimateProbDensity(&Copy, &Density, -5, 5, static_cast<double>(Gen() % 3), 1, 10, lo, hi);
    Copy.Clone(&V);
    PerformLillieforsTest(&Copy, false);
  }
  TBitFld Empty;
  double p;
  EXPECT_FALSE(RunsTest(&Empty, p));
  EXPECT_FALSE(RunsTest(nullptr, p));
}

}  // namespace
}  // namespace zeq
