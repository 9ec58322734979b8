// Special functions and the normal, Weibull and hypergeometric distributions, each as its
// documented algorithm: the six-term Lanczos log-gamma, series and continued fractions with
// the tolerance 1e-8. Intermediate arithmetic runs in long double.
#include <algorithm>
#include <cmath>
#include <limits>

#include "zeq/statis/internal/exact_densities.h"
#include "zeq/statis/statis.h"

namespace zeq {

namespace {

using Ext = long double;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The Lanczos sum s(x) of LnGammaL.
Ext LanczosSum(Ext x) {
  static constexpr Ext C[6] = {76.18009173L,  -86.50532033L,  24.01409822L,
                               -1.231739516L, 0.00120858003L, -0.00000536382L};
  Ext S = 1;
  for (int j = 0; j < 6; ++j) S += C[j] / (x + j);
  return S;
}

Ext LnGammaL(Ext x) {
  if (!(x > 0)) return 0;
  return (x - 0.5L) * std::log(x + 4.5L) - (x + 4.5L) +
         std::log(2.5066282746310002L * LanczosSum(x));
}

// ln(Gamma(a + b) / (Gamma(a) Gamma(b))), the log of 1/B(a, b). For ordinary parameters it is
// the documented sum of three log-gammas. When one parameter is huge the two large log-gammas
// (about L ln L each) cancel to a value near S ln L, and long double keeps too few digits of
// them: IncompleteBeta(2.2e-308, 0.001, 1e100) came out as 492. Above 1e7 (where the
// cancellation would cost more than 1e-11 of the exponent) the difference
// LnGamma(L + S) - LnGamma(L) is taken from the same Lanczos formula rearranged so that
// nothing cancels: (L - 0.5) ln(1 + S / (L + 4.5)) + S ln(L + S + 4.5) - S + ln(s(L + S) / s(L)).
Ext LnInverseBeta(Ext a, Ext b) {
  const Ext L = std::max(a, b), S = std::min(a, b);
  if (!(L > 1e7L)) return LnGammaL(a + b) - LnGammaL(a) - LnGammaL(b);
  const Ext Diff = (L - 0.5L) * std::log1p(S / (L + 4.5L)) + S * std::log(L + S + 4.5L) - S +
                   std::log(LanczosSum(L + S) / LanczosSum(L));
  return Diff - LnGammaL(S);
}

Ext IncompleteGammaL(Ext x, Ext a) {
  if (std::isnan(x) || std::isnan(a)) return NaN;
  if (x <= 0 || a <= 0 || std::isinf(a)) return 0;
  if (std::isinf(x)) return 1;
  const Ext F = std::exp(a * std::log(x) - x - LnGammaL(a));
  if (x < a + 1) {
    Ext Ap = a, Term = 1 / a, Sum = Term;
    for (int Guard = 0; Guard < 1'000'000; ++Guard) {
      Ap += 1;
      Term = Term * x / Ap;
      Sum += Term;
      if (std::fabs(Term) < std::fabs(Sum) * 1e-8L) break;
    }
    // The six-term log-gamma is accurate to about 1e-10, so for a tiny a the series can pass
    // 1 by that much; a probability is kept within [0, 1].
    return std::min<Ext>(Sum * F, 1);
  }
  Ext GOld = 0, G = 0, A0 = 1, A1 = x, B0 = 0, B1 = 1, Fac = 1;
  for (int n = 1; n < 100; ++n) {
    const Ext Ana = n - a;
    A0 = (A1 + A0 * Ana) * Fac;
    B0 = (B1 + B0 * Ana) * Fac;
    A1 = x * A0 + n * Fac * A1;
    B1 = x * B0 + n * Fac * B1;
    if (A1 != 0) {
      Fac = 1 / A1;
      G = B1 * Fac;
      const bool Converged = std::fabs((G - GOld) / G) < 1e-8L;
      GOld = G;
      if (Converged) break;
    }
  }
  return std::clamp<Ext>(1 - G * F, 0, 1);
}

// The even/odd continued fraction of the incomplete beta function, at most 100 steps.
Ext BetaFraction(Ext x, Ext a, Ext b) {
  Ext Am = 1, Bm = 1, Az = 1, Bz = 1 - (a + b) * x / (a + 1);
  for (int m = 1; m <= 100; ++m) {
    Ext D = m * (b - m) * x / ((a - 1 + 2 * m) * (a + 2 * m));
    const Ext Ap = Az + D * Am, Bp = Bz + D * Bm;
    D = -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 1 + 2 * m));
    const Ext App = Ap + D * Az, Bpp = Bp + D * Bz;
    const Ext AOld = Az;
    Am = Ap / Bpp;
    Bm = Bp / Bpp;
    Az = App / Bpp;
    Bz = 1;
    if (std::fabs(Az - AOld) < 1e-8L * std::fabs(Az)) break;
  }
  return Az;
}

}  // namespace

double LnGamma(double x) { return static_cast<double>(LnGammaL(x)); }

double IncompleteGamma(double x, double a) { return static_cast<double>(IncompleteGammaL(x, a)); }

double Erf(double x) {
  const Ext P = IncompleteGammaL(static_cast<Ext>(x) * x, 0.5L);
  return static_cast<double>(x < 0 ? -P : P);
}

double ErfApprox(double x) {
  const Ext z = std::fabs(static_cast<Ext>(x));
  const Ext t = 1 / (1 + 0.5L * z);
  Ext e =
      t * std::exp(-z * z - 1.26551223L +
                   t * (1.00002368L +
                        t * (0.37409196L +
                             t * (0.09678418L +
                                  t * (-0.18628806L +
                                       t * (0.27886807L +
                                            t * (-1.13520398L +
                                                 t * (1.48851587L +
                                                      t * (-0.82215223L + t * 0.17087277L)))))))));
  if (x < 0) e = 2 - e;
  return static_cast<double>(1 - e);
}

double IncompleteBeta(double x, double a, double b) {
  if (std::isnan(x)) return NaN;
  if (x < 0) return 0;
  if (x > 1) return 1;
  // The function is defined for positive finite parameters only; the documented formula
  // would divide by a = 0 and give values outside [0, 1] for negative ones.
  if (!(a > 0 && b > 0 && std::isfinite(a) && std::isfinite(b))) return NaN;
  const Ext X = x, A = a, B = b;
  const Ext Bt = (X == 0 || X == 1) ? 0
                                    : std::exp(LnInverseBeta(A, B) + A * std::log(X) +
                                               B * std::log1p(-X));
  // Within [0, 1]: the log-gamma's 1e-10 error may carry the documented formula just beyond.
  const Ext I = X < (A + 1) / (A + B + 2) ? Bt * BetaFraction(X, A, B) / A
                                          : 1 - Bt * BetaFraction(1 - X, B, A) / B;
  return static_cast<double>(std::clamp<Ext>(I, 0, 1));
}

double LnBeta(double a, double b) {
  if (a < 0 || b < 0) return 0;
  return static_cast<double>(LnGammaL(a) + LnGammaL(b) - LnGammaL(static_cast<Ext>(a) + b));
}

double LnBinomCoeff(int32_t n, int32_t k) {
  if (n < 0 || k < 0 || k > n) return -1;
  return static_cast<double>(LnGammaL(Ext{1} + n) - LnGammaL(Ext{1} + k) -
                             LnGammaL(Ext{1} + n - k));
}

int32_t BinomCoeff(int32_t n, int32_t k) {
  if (n < 0 || k < 0 || k > n) return 0;
  const Ext C = std::nearbyint(std::exp(static_cast<Ext>(LnBinomCoeff(n, k))));
  return C <= INT32_MAX ? static_cast<int32_t>(C) : 0;  // beyond 32 bits: 0, as invalid
}

double nDistriDensity(double x) {
  return static_cast<double>(std::exp(-static_cast<Ext>(x) * x / 2) * 0.3989422804014327L);
}

double nDistriIntegral(double x) {
  const Ext P = IncompleteGammaL(static_cast<Ext>(x) * x / 2, 0.5L);
  return static_cast<double>(x > 0 ? (1 + P) / 2 : (1 - P) / 2);
}

double nDistriQuantile(double p) {
  if (!(p > 0 && p < 1)) return 0;
  // The smaller tail, taken directly: 1 - (1 - p) would round to 0 below p = 1e-19.
  const Ext Tail = p < 0.5 ? static_cast<Ext>(p) : 1 - static_cast<Ext>(p);
  const Ext Start = detail::NormalQuantileStart(Tail);
  const Ext X0 = p < 0.5 ? Start : -Start;
  const Ext D = std::max(std::fabs(X0), 0.1L);
  Ext Lo = X0 - 0.1L * D, Hi = X0 + 0.1L * D, Mid = X0;
  // Far in the tails the documented integral no longer resolves p (it is 0 below about -8.3
  // and 1 above 8.3): there the rational start value, good to 4.5e-4, is the answer.
  if (nDistriIntegral(static_cast<double>(Hi)) <= p || nDistriIntegral(static_cast<double>(Lo)) > p)
    return static_cast<double>(X0);
  for (int Halving = 0; Halving < 200; ++Halving) {
    Mid = (Lo + Hi) / 2;
    const Ext V = nDistriIntegral(static_cast<double>(Mid));
    if (V <= p)
      Lo = Mid;
    else
      Hi = Mid;
    if (std::fabs(V - p) / p < 1e-8L) break;
  }
  return static_cast<double>(Mid);
}

double WeibullDensity(double x, double k, double lambda) {
  if (!(x > 0 && lambda > 0)) return 0;
  const Ext X = x, K = k, L = lambda;
  const auto Pow = [](Ext Base, Ext Exponent) { return std::exp(std::log(Base) * Exponent); };
  return static_cast<double>(K * Pow(X, K - 1) / Pow(L, K) * std::exp(-Pow(X / L, K)));
}

double HyperGeoDistriDensity(double p, int32_t npop, int32_t nsample, int32_t x) {
  if (!(p >= 0 && p <= 1))
    throw EZEQStatisError("HyperGeoDistriDensity: probability p must be between 0.0 and 1.0");
  if (npop < 1) throw EZEQStatisError("HyperGeoDistriDensity: npop must be greater than 0");
  if (nsample > npop)
    throw EZEQStatisError("HyperGeoDistriDensity: nsample must not be greater than npop");
  if (nsample < 1) throw EZEQStatisError("HyperGeoDistriDensity: nsample must not be less than 1");
  const Ext M = std::nearbyint(static_cast<Ext>(npop) * p), N = npop, n = nsample, X = x;
  if (!(X >= 0 && X <= M && X <= n && X >= n - (N - M))) return 0;
  const auto G = [](Ext V) { return LnGammaL(V + 1); };
  return static_cast<double>(std::exp(G(M) - G(X) - G(M - X) + G(N - M) - G(n - X) -
                                      G(N - M - n + X) - G(N) + G(n) + G(N - n)));
}

double FisherTransform(double r) {
  if (!(r > -1 && r < 1)) throw EZEQStatisError("FisherTransform: argument out of range");
  return static_cast<double>(0.5L *
                             std::log((1 + static_cast<Ext>(r)) / (1 - static_cast<Ext>(r))));
}

double FisherTransformInv(double z) {
  const Ext E = std::exp(2 * static_cast<Ext>(z));
  return static_cast<double>((E - 1) / (E + 1));
}

double ConfidenceInterval(double alpha, double sigma, int32_t n) {
  return static_cast<double>(nDistriQuantile(1 - alpha / 2) * static_cast<Ext>(sigma) /
                             std::sqrt(static_cast<Ext>(n)));
}

double CalcFishQ(double m1, double m2, double s1, double s2) {
  Ext S = static_cast<Ext>(s1) * s1 + static_cast<Ext>(s2) * s2;
  if (S < 1e-6L) S = 1e-6L;
  const Ext D = static_cast<Ext>(m1) - m2;
  return static_cast<double>(D * D / S);
}

}  // namespace zeq
