// Log-gamma, log-beta and the t, chi-square and F densities in long double.
//
// Every density is evaluated as the exponential of its logarithm, with the ratios inside the
// logarithms taken through log1p where they are close to 1, so that large degrees of freedom
// lose only the digits that the size of the exponent itself costs.
#include <cmath>
#include <limits>
#include <utility>

#include "zeq/statis/internal/exact_densities.h"

namespace zeq::detail {

namespace {

using Ext = long double;
constexpr Ext HalfLn2Pi = 0.918938533204672741780329736405617639861L;
constexpr Ext Ln2 = 0.693147180559945309417232121458176568076L;
constexpr Ext Inf = std::numeric_limits<Ext>::infinity();

// ln Gamma(x) - ((x - 1/2) ln x - x + ln(2 pi) / 2) for x >= 10 (Stirling's series).
Ext LnGammaCorrection(Ext x) {
  static constexpr Ext C[] = {1.0L / 12,   -1.0L / 360,      1.0L / 1260, -1.0L / 1680,
                              1.0L / 1188, -691.0L / 360360, 1.0L / 156,  -3617.0L / 122400};
  const Ext X2 = 1 / (x * x);
  Ext Sum = 0, Power = 1 / x;
  for (Ext Ci : C) {
    Sum += Ci * Power;
    Power *= X2;
  }
  return Sum;
}

// ln a for a = 1 - b with both a and b known exactly: whichever is smaller is used.
Ext LnOfComplement(Ext a, Ext b) { return a < 0.5L ? std::log(a) : std::log1p(-b); }

}  // namespace

Ext LnGammaExact(Ext x) {
  if (x < 10) return std::lgamma(x);
  return (x - 0.5L) * std::log(x) - x + HalfLn2Pi + LnGammaCorrection(x);
}

Ext LnBetaExact(Ext p, Ext q) {
  if (p > q) std::swap(p, q);
  if (p >= 10) {  // both large
    const Ext Corr = LnGammaCorrection(p) + LnGammaCorrection(q) - LnGammaCorrection(p + q);
    return -0.5L * std::log(q) + HalfLn2Pi + Corr + (p - 0.5L) * std::log(p / (p + q)) +
           q * std::log1p(-p / (p + q));
  }
  if (q >= 10) {  // q large, p small
    const Ext Corr = LnGammaCorrection(q) - LnGammaCorrection(p + q);
    return std::lgamma(p) + Corr + p - p * std::log(p + q) + (q - 0.5L) * std::log1p(-p / (p + q));
  }
  return std::lgamma(p) + std::lgamma(q) - std::lgamma(p + q);
}

Ext TDensityExact(Ext t, Ext df) {
  return std::exp(-LnBetaExact(df / 2, 0.5L) - 0.5L * std::log(df) -
                  (df + 1) / 2 * std::log1p(t * t / df));
}

Ext Chi2DensityExact(Ext x, Ext df) {
  if (!(x >= 0) || std::isinf(x)) return 0;
  const Ext Half = df / 2;
  if (x == 0) return Half < 1 ? Inf : Half == 1 ? 0.5L : 0;
  return std::exp((Half - 1) * std::log(x) - x / 2 - Half * Ln2 - LnGammaExact(Half));
}

Ext FDensityExact(Ext x, Ext df1, Ext df2) {
  if (!(x >= 0) || std::isinf(x)) return 0;
  const Ext A = df1 / 2, B = df2 / 2;
  if (x == 0) return A < 1 ? Inf : A == 1 ? 1 : 0;
  // f(x) = a^A b^B / (x B(A, B)) with a = df1 x / s, b = df2 / s, s = df1 x + df2.
  const Ext S = df1 * x + df2, Share1 = df1 * x / S, Share2 = df2 / S;
  return std::exp(A * LnOfComplement(Share1, Share2) + B * LnOfComplement(Share2, Share1) -
                  std::log(x) - LnBetaExact(A, B));
}

Ext NormalQuantileStart(Ext Tail) {
  const Ext v = -2 * std::log(Tail), s = std::sqrt(v);
  return -(s - (2.515517L + 0.802853L * s + 0.010328L * v) /
                   (1 + 1.432788L * s + 0.189269L * v + 0.001308L * s * v));
}

}  // namespace zeq::detail
