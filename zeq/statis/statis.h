/// @file
/// zeq statistics (unit Zeq_statis): special functions, distributions, the Kolmogorov-Smirnov
/// and Lilliefors distributions, outlier, normality, variance and runs tests, critical values of
/// the Wilcoxon signed-rank statistic and a kernel density estimate; random numbers from
/// tabulated distributions (randgen.h) and cross-validation (crossvalidator.h).
///
/// The special functions follow their documented algorithms, constants and tolerances (the
/// six-term log-gamma, 1e-8 iteration tolerances), so their results are those of the
/// algorithm, not of a more exact formula. Student's t and the F distribution, which the
/// tests need, are computed to near double precision instead.
#pragma once

#include <cstdint>
#include <functional>

#include "zeq/base/base.h"
#include "zeq/base/export.h"
#include "zeq/statis/crossvalidator.h"
#include "zeq/statis/randgen.h"
#include "zeq/vector/vector.h"

namespace zeq {

/// Statistics errors.
class ZEQ_API EZEQStatisError : public EZEQError {
 public:
  using EZEQError::EZEQError;
};

/// Significance levels 0.20, 0.15, 0.10, 0.05, 0.01.
enum TSignifLevel : uint8_t { Dot20, Dot15, Dot10, Dot05, Dot01 };
/// Significance levels 0.001 .. 0.50 of the Dixon table.
enum TSignifLevelEx : uint8_t {
  Dot001,
  Dot002,
  Dot005,
  Dot010,
  Dot020,
  Dot050,
  Dot100,
  Dot200,
  Dot500
};

// ---- special functions ----

/// erf(x) through the incomplete gamma function.
ZEQ_API double Erf(double x);
/// erf(x) from the Chebyshev-fitted approximation of erfc (about 1.2e-7 relative).
ZEQ_API double ErfApprox(double x);
/// ln Gamma(x) by the six-term Lanczos series (about 1e-10 relative); 0 for x <= 0 and NaN.
ZEQ_API double LnGamma(double x);
/// P(a, x), the regularized lower incomplete gamma function; 0 for x <= 0 or a <= 0, NaN for a
/// NaN argument, 0 for an infinite a and 1 for an infinite x. The series stops after 10^6
/// terms at the latest (it converges long before for any finite argument).
ZEQ_API double IncompleteGamma(double x, double a);
/// I_x(a, b); 0 below x = 0, 1 above x = 1, NaN for a NaN x and for parameters that are not
/// positive and finite.
ZEQ_API double IncompleteBeta(double x, double a, double b);
/// ln B(a, b) = ln Gamma(a) + ln Gamma(b) - ln Gamma(a + b).
ZEQ_API double LnBeta(double a, double b);
/// C(n, k) rounded to a 32-bit integer (0 for invalid arguments or a value beyond 32 bits).
ZEQ_API int32_t BinomCoeff(int32_t n, int32_t k);
/// ln C(n, k); -1 for invalid arguments.
ZEQ_API double LnBinomCoeff(int32_t n, int32_t k);

// ---- the normal and other distributions ----

/// The standard normal density exp(-x^2 / 2) / sqrt(2 pi).
ZEQ_API double nDistriDensity(double x);
/// Phi(x), the standard normal distribution function, through IncompleteGamma(x^2 / 2, 0.5).
ZEQ_API double nDistriIntegral(double x);
/// Phi^-1(p) by bisection to the relative tolerance 1e-8; 0 outside 0 < p < 1. The bisection
/// stops after 200 halvings, which only matters in the far lower tail where Phi cannot reach
/// the tolerance in double precision.
ZEQ_API double nDistriQuantile(double p);
/// The Weibull density k / lambda (x / lambda)^(k - 1) exp(-(x / lambda)^k); 0 unless x > 0 and
/// lambda > 0.
ZEQ_API double WeibullDensity(double x, double k, double lambda);
/// Raises EZEQStatisError for p outside [0, 1], npop < 1, nsample > npop, nsample < 1.
ZEQ_API double HyperGeoDistriDensity(double p, int32_t npop, int32_t nsample, int32_t x);
/// 0.5 ln((1 + r) / (1 - r)); "FisherTransform: argument out of range" unless -1 < r < 1.
ZEQ_API double FisherTransform(double r);
/// The inverse transform tanh z = (e^(2z) - 1) / (e^(2z) + 1).
ZEQ_API double FisherTransformInv(double z);
/// Half-width of the normal confidence interval of a mean at level alpha:
/// nDistriQuantile(1 - alpha / 2) sigma / sqrt(n).
ZEQ_API double ConfidenceInterval(double alpha, double sigma, int32_t n);
/// Fisher's separation of two classes, (m1 - m2)^2 / (s1^2 + s2^2), the denominator at least
/// 1e-6.
ZEQ_API double CalcFishQ(double m1, double m2, double s1, double s2);

/// Student's t and the F distribution, to about 1e-13 relative (long double continued
/// fractions with near-machine tolerance). NaN for invalid degrees of freedom.
/// P(T <= t) with df degrees of freedom (df > 0).
ZEQ_API double tDistriIntegral(double t, double df);
/// The t with P(T <= t) = p (0 < p < 1); -Inf / +Inf at p = 0 / 1, NaN outside.
ZEQ_API double tDistriQuantile(double p, double df);
///@{
/// P(F <= f) and P(F > f) with df1, df2 degrees of freedom; the upper tail is computed
/// directly, so small p-values keep their relative accuracy.
ZEQ_API double fDistriIntegral(double f, double df1, double df2);
ZEQ_API double fDistriUpperTail(double f, double df1, double df2);
///@}

// ---- Kolmogorov-Smirnov and Lilliefors ----

/// P(D_n > d) by the Marsaglia-Tsang-Wang matrix power (the two-term exponential for large
/// n d^2); n < 1 or a NaN d gives NaN.
ZEQ_API double KSPValue(int32_t n, double d);
/// The tabulated (n <= 20) or asymptotic critical value; -1 for an unknown level or n < 1.
ZEQ_API double KolmogSmir1SampleTestStat(int32_t n, TSignifLevel level);
/// The critical value refined against KSPValue to 1e-4 (at most 1000 refinements).
ZEQ_API double KSQuantile(int32_t n, TSignifLevel level);
/// P-value of the Lilliefors statistic d for n observations by the Dallal-Wilkinson
/// approximation; -1 for n <= 5.
ZEQ_API double LillieforsPValue(int32_t n, double d);
/// The critical value of the Lilliefors statistic for n observations at level alpha (a
/// polynomial fit in 1 - alpha).
ZEQ_API double LillieforsQuantile(int32_t n, double alpha);

// ---- tests ----

/// The Dixon critical value; -1 for n outside 3..100. The r22 rows between the published ones
/// are interpolated linearly in n.
ZEQ_API double DeanDixonCriticalValues(int32_t n, TSignifLevelEx level);
/// 1-based index of the outlier in data, 0 if none; q receives the Dixon ratio.
ZEQ_API int32_t DeanDixonTest(const TVector* data, TSignifLevelEx level, double& q);
/// Grubbs' critical value; -1 unless 0 < alpha < 1 and n > 2.
ZEQ_API double GrubbsCriticalValues(int32_t n, double alpha, bool TwoSided);
/// 1-based index of the outlier, 0 if none; g receives Grubbs' statistic.
ZEQ_API int32_t GrubbsTest(const TVector* data, double alpha, double& g);
/// D of data against the standard normal; sorts data first unless it is sorted.
ZEQ_API double PerformKSNormalityTest(TVector* data, bool sorted);
/// The same after standardizing data in place.
ZEQ_API double PerformLillieforsTest(TVector* data, bool sorted);
/// One-way analysis of variance of data grouped by the labels in classes: the p-value, or
/// -1 (one group), -2 (as many groups as values), -3 (no variation at all); -4 when an
/// argument is null or the two vectors differ in size.
ZEQ_API double Anova1F(const TVector* data, const TIntVector* classes, double& ssBetween,
                       double& ssWithin, double& ssTotal, int32_t& dfBetween, int32_t& dfWithin,
                       int32_t& dfTotal, double& f);
/// The percentile of values[first..last] (reordered in place) by QuickSelect at the rank
/// first + round((last - first) percentile / 100): status 0, or -1 (index out of range),
/// -3 (last before first), -2 (percentile outside 0..100).
ZEQ_API int32_t PercentileOfArray(TDoubleArray& values, double percentile, int32_t first,
                                  int32_t last, double& result);
/// P(R <= r) for the number of runs of nA and nB items; 0 for r < 2 or invalid counts.
ZEQ_API double ExactRunsTest(int32_t nA, int32_t nB, int32_t r);
/// Wald-Wolfowitz runs test of the bits: true when p < 0.05. A null or empty field gives
/// false with p = 1.
ZEQ_API bool RunsTest(const TBitFld* bits, double& p);
/// The runs test of data split at its median (x > median).
ZEQ_API bool RunsTestSerial(const TVector* data, double& p);

/// The critical value of the Wilcoxon signed-rank statistic for n observations at level alpha:
/// for n <= 100 a least-squares parabola in ln alpha through the exact critical values at the
/// two-sided levels 0.1, 0.05, 0.02, 0.01, 0.001 (the first three for n = 8, four for n = 9 and
/// 10), taken at ln alpha (two-sided) or ln 2 alpha (one-sided), rounded and at least 0; above
/// 100 the normal approximation. -1 for n < 8, n > 1000000, alpha outside
/// [0.000499999, 0.20000001] (or NaN), and when the value does not fit 32 bits (from about
/// n = 92,700).
ZEQ_API int32_t WilcoxonSRQuantile(int32_t n, double alpha, bool TwoSided);

/// Progress of EstimateProbDensity: sender (always null), running count and percent.
using TDensityFeedback = std::function<void(TObject* Sender, double Count, double Percent)>;
/// Adaptive Gaussian kernel estimate of the density of data (sorted in place) at numSteps + 1
/// points from low to high. minIndex and maxIndex locate the first strict minimum and maximum.
ZEQ_API void EstimateProbDensity(TVector* data, TVector* density, double low, double high,
                                 double bandFactor, double window, int32_t numSteps,
                                 int32_t& minIndex, int32_t& maxIndex,
                                 const TDensityFeedback& feedback = nullptr);

}  // namespace zeq
