#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "zeq/statis/statis.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

// Relative closeness with a tolerance that states the algorithm's own accuracy.
void ExpectRel(double Value, double Expected, double Tol) {
  EXPECT_LE(std::fabs(Value - Expected), Tol * std::fabs(Expected)) << Value << " vs " << Expected;
}

TEST(SpecialFunctions, LnGammaIsTheSixTermSeries) {
  // scipy.special.gammaln; the six-term series is good to about 1e-10 relative.
  const double X[] = {0.5, 3.7, 10.0, 100.5};
  const double Ref[] = {0.5723649429247, 1.428072326665388, 12.801827480081469, 361.43554046777757};
  for (int i = 0; i < 4; ++i) ExpectRel(LnGamma(X[i]), Ref[i], 2e-10);
  EXPECT_NEAR(LnGamma(1.0), 0.0, 1e-10);
  EXPECT_EQ(LnGamma(0), 0);
  EXPECT_EQ(LnGamma(-3.5), 0);
  EXPECT_EQ(LnGamma(NAN), 0);
}

TEST(SpecialFunctions, IncompleteGammaAndBetaAgainstScipy) {
  // scipy.special.gammainc(a, x) / betainc(a, b, x); the 1e-8 stopping rules bound the error.
  EXPECT_NEAR(IncompleteGamma(0.5, 1.0), 0.3934693402873665, 1e-8);
  EXPECT_NEAR(IncompleteGamma(2.0, 3.0), 0.32332358381693654, 1e-8);
  EXPECT_NEAR(IncompleteGamma(4.0, 3.0), 0.7618966944464556,
              1e-8);  // x = a + 1: continued fraction
  EXPECT_NEAR(IncompleteGamma(10.0, 2.5), 0.9987502694369687, 1e-8);
  EXPECT_NEAR(IncompleteGamma(0.1, 0.5), 0.34527915398142317, 1e-8);
  EXPECT_NEAR(IncompleteGamma(3.999999, 3.0), 0.7618966944464556, 1e-6);  // just below: the series
  EXPECT_NEAR(IncompleteBeta(0.3, 2.0, 3.0), 0.3483, 1e-8);
  EXPECT_NEAR(IncompleteBeta(0.9, 0.5, 0.5), 0.7951672353008662, 1e-8);
  EXPECT_NEAR(IncompleteBeta(0.5, 10.0, 20.0), 0.9692858271300793, 1e-8);
  EXPECT_NEAR(IncompleteBeta(0.01, 1.5, 40.0), 0.15269206115199874, 1e-8);
  // One huge parameter: the log-gammas must not cancel (the first once came out as 492).
  // mpmath.betainc(a, b, 0, x, regularized=True) at 100 digits.
  EXPECT_NEAR(IncompleteBeta(2.2e-308, 0.001, 1e100), 0.6202870970375357, 1e-9);
  EXPECT_NEAR(IncompleteBeta(3e-9, 2.5, 1e9), 0.6937810829003303, 1e-9);
  EXPECT_NEAR(IncompleteBeta(1 - 2e-12, 1e12, 3.5), 0.7797876004016739, 1e-9);
  EXPECT_EQ(IncompleteBeta(0, 2, 3), 0);
  EXPECT_EQ(IncompleteBeta(1, 2, 3), 1);
  EXPECT_EQ(IncompleteBeta(-0.5, 2, 3), 0);
  EXPECT_EQ(IncompleteBeta(1.5, 2, 3), 1);
  EXPECT_TRUE(std::isnan(IncompleteBeta(5e-323, 0, 0)));  // parameters must be positive
  EXPECT_TRUE(std::isnan(IncompleteBeta(0.5, -1, 2)));
  EXPECT_EQ(IncompleteGamma(5.4e-312, 3e-322), 1);  // the log-gamma's 1e-11 excess is cut
  EXPECT_EQ(IncompleteGamma(0, 2), 0);
  EXPECT_EQ(IncompleteGamma(2, -1), 0);
}

TEST(SpecialFunctions, Identities) {
  std::mt19937_64 Gen(6);
  std::uniform_real_distribution<double> U(0.01, 0.99), Shape(0.3, 30);
  for (int i = 0; i < 200; ++i) {
    const double x = U(Gen), a = Shape(Gen), b = Shape(Gen);
    EXPECT_NEAR(IncompleteBeta(x, a, b) + IncompleteBeta(1 - x, b, a), 1, 1e-7);
    const double z = std::ldexp(U(Gen), 3);
    EXPECT_NEAR(nDistriIntegral(z) + nDistriIntegral(-z), 1, 1e-12);  // the symmetry is exact
    const double p = U(Gen);
    EXPECT_NEAR(nDistriIntegral(nDistriQuantile(p)), p, 1e-8 * p);  // the bisection's tolerance
  }
}

TEST(SpecialFunctions, ErrorFunctionAndNormalDistribution) {
  // math.erf, scipy.special.ndtr / ndtri
  EXPECT_NEAR(Erf(0.1), 0.1124629160182849, 1e-9);
  EXPECT_NEAR(Erf(1.0), 0.8427007929497149, 1e-9);
  EXPECT_NEAR(Erf(-2.0), -0.9953222650189527, 1e-9);
  EXPECT_NEAR(ErfApprox(1.0), 0.8427007929497149, 1.2e-7);  // the fit's documented accuracy
  EXPECT_NEAR(ErfApprox(-3.5), -0.9999992569016276, 1.2e-7);
  EXPECT_EQ(nDistriIntegral(0), 0.5);
  EXPECT_NEAR(nDistriIntegral(-3.0), 0.0013498980316300933, 1e-11);
  EXPECT_NEAR(nDistriIntegral(2.5), 0.9937903346742238, 1e-9);
  EXPECT_NEAR(nDistriQuantile(0.025), -1.9599639845400545, 1e-7);
  EXPECT_NEAR(nDistriQuantile(0.3), -0.5244005127080409, 1e-7);
  // Beyond the integral's resolution the start value (4.5e-4) answers: scipy.stats.norm.ppf.
  EXPECT_NEAR(nDistriQuantile(1e-25), -10.420452200803098, 4.5e-4);
  EXPECT_NEAR(nDistriQuantile(1e-300), -37.0470962993612, 4.5e-4);
  EXPECT_NEAR(nDistriIntegral(nDistriQuantile(0.5)), 0.5, 0.5e-8);
  EXPECT_EQ(nDistriQuantile(0), 0);
  EXPECT_EQ(nDistriQuantile(1), 0);
  EXPECT_NEAR(nDistriDensity(0), 0.3989422804014327, 1e-16);
}

TEST(SpecialFunctions, CoefficientsAndSmallDistributions) {
  EXPECT_EQ(BinomCoeff(5, 2), 10);
  EXPECT_EQ(BinomCoeff(3, 4), 0);
  EXPECT_EQ(BinomCoeff(40, 20), 137846528820 > INT32_MAX ? 0 : 1);  // beyond 32 bits
  EXPECT_EQ(LnBinomCoeff(-1, 0), -1);
  EXPECT_NEAR(LnBeta(2, 3), std::log(1.0 / 12), 1e-9);
  EXPECT_EQ(LnBeta(-1, 3), 0);
  // scipy.stats.weibull_min.pdf(1.3, 2.0, scale=1.5), hypergeom.pmf(2, 50, 10, 5)
  EXPECT_NEAR(WeibullDensity(1.3, 2.0, 1.5), 0.5452396357686194, 1e-12);
  EXPECT_EQ(WeibullDensity(-1, 2, 1), 0);
  EXPECT_NEAR(HyperGeoDistriDensity(0.2, 50, 5, 2), 0.2098397175706545, 1e-9);
  EXPECT_EQ(HyperGeoDistriDensity(0.2, 50, 5, 7), 0);
  // p is tested first
  test::ExpectThrowMessage<EZEQStatisError>(
      [&] { HyperGeoDistriDensity(1.5, 0, 5, 1); },
      "HyperGeoDistriDensity: probability p must be between 0.0 and 1.0");
  EXPECT_THROW(HyperGeoDistriDensity(0.5, 0, 5, 1), EZEQStatisError);
  EXPECT_THROW(HyperGeoDistriDensity(0.5, 4, 5, 1), EZEQStatisError);
  EXPECT_THROW(HyperGeoDistriDensity(0.5, 4, 0, 1), EZEQStatisError);
  EXPECT_EQ(FisherTransform(0), 0);
  EXPECT_NEAR(FisherTransformInv(FisherTransform(0.6)), 0.6, 1e-15);
  test::ExpectThrowMessage<EZEQStatisError>([&] { FisherTransform(1); },
                                            "FisherTransform: argument out of range");
  EXPECT_THROW(FisherTransform(-1), EZEQStatisError);
  EXPECT_NEAR(ConfidenceInterval(0.05, 2, 4), 1.959963984540054, 1e-7);
  EXPECT_EQ(CalcFishQ(3, 1, 0, 0), 4e6);  // s below 1e-6 becomes 1e-6
}

TEST(Kolmogorov, PValuesAgainstScipy) {
  // scipy.stats.kstwo.sf(d, n): the matrix method is exact to rounding
  EXPECT_NEAR(KSPValue(10, 0.3), 0.27053557479999946, 1e-12);
  for (auto [n, d] : {std::pair{100, -0.1}, {50, -100.0}, {5, 0.0}})
    EXPECT_EQ(KSPValue(n, d), 1.0) << n << " " << d;  // D > d is certain for d <= 0
  EXPECT_NEAR(KSPValue(50, 0.15), 0.19026366518248072, 1e-12);
  EXPECT_NEAR(KSPValue(99, 0.2), 0.0006018712428207582, 1e-14);  // n d^2 = 3.96 with n = 99: matrix
  // For n = 500 scipy approximates (Pelz-Good); the matrix method here is exact to rounding.
  EXPECT_NEAR(KSPValue(500, 0.05), 0.15866260223815365, 1e-7);
  // n d^2 above 7.24, or above 3.76 with n > 99: the two-term exponential
  EXPECT_DOUBLE_EQ(KSPValue(100, 0.2), 2 * std::exp(-(2.000071 + 0.331 / 10 + 1.409 / 100) * 4.0));
  EXPECT_DOUBLE_EQ(KSPValue(10, 0.86),
                   2 * std::exp(-(2.000071 + 0.331 / std::sqrt(10.0) + 0.1409) * 7.396));
  EXPECT_EQ(KSPValue(10, 0), 1);
  EXPECT_TRUE(std::isnan(KSPValue(0, 0.3)));
}

TEST(Kolmogorov, LargeSamplesStayFastAndAccurate) {
  // Beyond an order-201 matrix or 10^5 observations the Pelz-Good expansion answers (the exact
  // method took seconds here). Exact values: scipy.stats._ksstats._kolmogn_DMTW(n, d, cdf=False).
  const struct {
    int32_t n;
    double d, Expected;
  } Rows[] = {{3000, 0.035, 0.0012537055196215720},
              {100001, 0.005, 0.0134301493857135406},
              {400000, 0.002, 0.08141020225645043},
              {1000000, 0.0005, 0.9638386310081103}};
  for (const auto& R : Rows) EXPECT_NEAR(KSPValue(R.n, R.d), R.Expected, 1e-9) << R.n;
  EXPECT_NEAR(KSPValue(INT32_MAX, 2e-5), 0.35677677027764054, 1e-9);  // scipy kstwo.sf
  EXPECT_EQ(KSPValue(INT32_MAX, 2e-7), 1);
  const double Q = KSQuantile(1000000, Dot05);  // scipy kstwo.isf(0.05, 1e6) = 0.00135793
  EXPECT_NEAR(KSPValue(1000000, Q), 0.05, 1e-4);
  EXPECT_NEAR(Q, 0.0013579318555276853, 2e-6);
}

TEST(Kolmogorov, CriticalValuesAndLilliefors) {
  EXPECT_EQ(KolmogSmir1SampleTestStat(20, Dot05), 0.294);
  EXPECT_NEAR(KolmogSmir1SampleTestStat(25, Dot05), 1.358 / 5, 1e-15);
  EXPECT_EQ(KolmogSmir1SampleTestStat(5, static_cast<TSignifLevel>(7)), -1);
  const double Q = KSQuantile(30, Dot05);
  EXPECT_NEAR(KSPValue(30, Q), 0.05, 1e-4);
  EXPECT_EQ(LillieforsPValue(5, 0.3), -1);
  EXPECT_EQ(LillieforsPValue(30, 0.001), 1);  // exponent positive: exactly 1
  EXPECT_LT(LillieforsPValue(30, 0.3), 0.01);
  EXPECT_NEAR(LillieforsPValue(200, 0.05), LillieforsPValue(100, 0.05 * std::pow(2.0, 0.49)),
              1e-15);
  const double L = LillieforsQuantile(30, 0.05);  // about 0.161 (Lilliefors' table: 0.161)
  EXPECT_NEAR(L, 0.161, 0.003);
}

// Every function with NaN, infinities, zeros, negatives and huge values: a documented value
// and termination well within the time bound (the sanitizer build runs this as well).
TEST(SpecialFunctions, BadArgumentsTerminateQuickly) {
  const double Bad[] = {NAN, HUGE_VAL, -HUGE_VAL, 0.0, -0.0, -1.0, 1e300, -1e300, 1e-300, 0.5, 7.0};
  const auto Start = std::chrono::steady_clock::now();
  for (double a : Bad)
    for (double b : Bad) {
      Erf(a), ErfApprox(a), LnGamma(a), IncompleteGamma(a, b), LnBeta(a, b), nDistriDensity(a);
      nDistriIntegral(a), nDistriQuantile(a), WeibullDensity(a, b, 1.5), FisherTransformInv(a),
          CalcFishQ(a, b, a, b);
      tDistriIntegral(a, b), tDistriQuantile(a, b), fDistriIntegral(a, b, 3),
          fDistriUpperTail(a, 3, b);
      for (double c : Bad) IncompleteBeta(a, b, c);
      for (int32_t n : {-5, 0, 1, 3, 50, 200, 100000}) {
        KSPValue(n, a), LillieforsPValue(n, a), LillieforsQuantile(n, a);
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
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(60));
  EXPECT_TRUE(std::isnan(IncompleteGamma(NAN, 1)));
  EXPECT_EQ(IncompleteGamma(HUGE_VAL, 1), 1);
}

}  // namespace
}  // namespace zeq
