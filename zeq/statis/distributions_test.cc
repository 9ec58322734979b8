#include "zeq/statis/statis.h"
#include "zeq/testing/example_table.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using namespace test::table;

// A level of significance by its name in the code ("Dot050").
TSignifLevelEx Level(const std::string& Name) {
  const std::string Names[] = {"Dot001", "Dot002", "Dot005", "Dot010", "Dot020",
                               "Dot050", "Dot100", "Dot200", "Dot500"};
  return static_cast<TSignifLevelEx>(std::find(Names, Names + 9, Name) - Names);
}

// A vector holding the numbers of a list argument.
std::unique_ptr<TVector> Vec(const std::string& List) {
  auto V = std::make_unique<TVector>();
  test::FillWith(*V, test::List(List));
  return V;
}

// The distributions and the tests on samples; testdata/distribution_examples.txt.
TEST(DistributionExamples, TableOfCalls) {
  test::RunExamples(
      "zeq/statis/testdata/distribution_examples.txt",
      ZEQ_CALLS(LnGamma, tDistriQuantile, WilcoxonSRQuantile, tDistriIntegral, fDistriIntegral,
                fDistriUpperTail, IncompleteGamma, IncompleteBeta, Erf, ErfApprox, nDistriIntegral,
                nDistriQuantile, nDistriDensity, BinomCoeff, LnBinomCoeff, LnBeta, WeibullDensity,
                HyperGeoDistriDensity, FisherTransform, FisherTransformInv, ConfidenceInterval,
                CalcFishQ, KSPValue, KolmogSmir1SampleTestStat, KSQuantile, LillieforsPValue,
                LillieforsQuantile, ExactRunsTest),
      {{"DeanDixonCriticalValues",
        [](A a) { return Show(DeanDixonCriticalValues(Int(a[0]), Level(a[1]))); }},
       // The candidate's index and the statistic ("candidate": the index only).
       {"DeanDixonTest",
        [](A a) {
          double q;
          const int32_t i = DeanDixonTest(Vec(a[0]).get(), Level(a[1]), q);
          return a.size() > 2 ? Show(i) : Show(i, q);
        }},
       {"GrubbsCriticalValues",
        [](A a) { return Show(GrubbsCriticalValues(Int(a[0]), Num(a[1]), a[2] == "two-sided")); }},
       {"GrubbsTest",
        [](A a) {
          double g;
          const int32_t i = GrubbsTest(Vec(a[0]).get(), Num(a[1]), g);
          return Show(i, g);
        }},
       {"PerformKSNormalityTest",
        [](A a) { return Show(PerformKSNormalityTest(Vec(a[0]).get(), false)); }},
       {"PerformLillieforsTest",
        [](A a) { return Show(PerformLillieforsTest(Vec(a[0]).get(), false)); }},
       // The status, and the percentile when it is 0.
       {"PercentileOfArray", [](A a) {
          TDoubleArray X = test::List(a[0]);
          double R;
          const int32_t S = PercentileOfArray(X, Num(a[1]), Int(a[2]), Int(a[3]), R);
          return S == 0 ? Show(S, R) : Show(S);
        }}});
}

TEST(Kolmogorov, ExponentialTailQuantilesAndLillieforsScaling) {
  // n d^2 above 7.24, or above 3.76 with n > 99: the two-term exponential
  EXPECT_DOUBLE_EQ(KSPValue(100, 0.2), 2 * std::exp(-(2.000071 + 0.331 / 10 + 1.409 / 100) * 4.0));
  EXPECT_DOUBLE_EQ(KSPValue(10, 0.86),
                   2 * std::exp(-(2.000071 + 0.331 / std::sqrt(10.0) + 0.1409) * 7.396));
  for (int32_t n : {30, 1000000}) EXPECT_NEAR(KSPValue(n, KSQuantile(n, Dot05)), 0.05, 1e-4) << n;
  EXPECT_LT(LillieforsPValue(30, 0.3), 0.01);
  EXPECT_NEAR(LillieforsPValue(200, 0.05), LillieforsPValue(100, 0.05 * std::pow(2.0, 0.49)),
              1e-15);
}

// Every function with NaN, infinities, zeros, negatives and huge values: it must return (the
// test's time limit catches a loop), raise only its documented errors, and a probability stays a
// probability or NaN (the sanitizer build runs this as well).
TEST(SpecialFunctions, BadArgumentsTerminateWithDocumentedValues) {
  const double Bad[] = {NAN, HUGE_VAL, -HUGE_VAL, 0.0, -0.0, -1.0, 1e300, -1e300, 1e-300, 0.5, 7.0};
  const auto Probability = [](double P) { return std::isnan(P) || (P >= 0 && P <= 1); };
  for (double a : Bad)
    for (double b : Bad) {
      Erf(a), ErfApprox(a), LnGamma(a), LnBeta(a, b), nDistriDensity(a), nDistriQuantile(a);
      WeibullDensity(a, b, 1.5), FisherTransformInv(a), CalcFishQ(a, b, a, b);
      tDistriQuantile(a, b);
      for (double P : {IncompleteGamma(a, b), nDistriIntegral(a), tDistriIntegral(a, b),
                       fDistriIntegral(a, b, 3), fDistriUpperTail(a, 3, b)})
        EXPECT_TRUE(Probability(P)) << a << " " << b;
      for (double c : Bad) EXPECT_TRUE(Probability(IncompleteBeta(a, b, c))) << a << " " << b;
      for (int32_t n : {-5, 0, 1, 3, 50, 200, 100000}) {
        EXPECT_TRUE(Probability(KSPValue(n, a))) << n << " " << a;
        LillieforsPValue(n, a), LillieforsQuantile(n, a);
        try {
          HyperGeoDistriDensity(a, n, 3, 1);
        } catch (const EZEQStatisError&) {
        }
      }
      try {
        FisherTransform(a);
      } catch (const EZEQStatisError&) {
      }
    }
  for (int32_t n : {INT32_MIN, -1, 0, 1, 1000, INT32_MAX})
    BinomCoeff(n, 3), LnBinomCoeff(n, 3), KSQuantile(n, Dot05);
}

}  // namespace
}  // namespace zeq
