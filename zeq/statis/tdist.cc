// Student's t and the F distribution to near double precision.
//
// Both rest on the regularized incomplete beta function, evaluated here in long double by
// its continued fraction (modified Lentz) to a relative tolerance of 1e-18, with the
// logarithm of the beta function computed without cancellation for large arguments and
// both x and 1 - x passed in exactly, so that neither tail loses digits. The quantile is
// found by safeguarded Newton steps on the logarithm of the tail probability.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "zeq/statis/internal/exact_densities.h"
#include "zeq/statis/statis.h"

namespace zeq {

namespace {

using Ext = long double;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
// The continued fraction of I_x(a, b) (modified Lentz), for x < (a + 1) / (a + b + 2).
Ext BetaContinuedFraction(Ext x, Ext a, Ext b) {
  constexpr Ext Tiny = 1e-4000L;
  const Ext Qab = a + b, Qap = a + 1, Qam = a - 1;
  Ext C = 1, D = 1 - Qab * x / Qap;
  if (std::fabs(D) < Tiny) D = Tiny;
  D = 1 / D;
  Ext H = D;
  for (int m = 1; m <= 100000; ++m) {
    const Ext M2 = 2 * m;
    Ext Aa = m * (b - m) * x / ((Qam + M2) * (a + M2));
    D = 1 + Aa * D;
    if (std::fabs(D) < Tiny) D = Tiny;
    C = 1 + Aa / C;
    if (std::fabs(C) < Tiny) C = Tiny;
    D = 1 / D;
    H *= D * C;
    Aa = -(a + m) * (Qab + m) * x / ((a + M2) * (Qap + M2));
    D = 1 + Aa * D;
    if (std::fabs(D) < Tiny) D = Tiny;
    C = 1 + Aa / C;
    if (std::fabs(C) < Tiny) C = Tiny;
    D = 1 / D;
    const Ext Del = D * C;
    H *= Del;
    if (std::fabs(Del - 1) < 1e-18L) break;
  }
  return H;
}

// I_x(a, b) and its complement 1 - I_x(a, b), given x and y = 1 - x (both exact). The one
// computed from the continued fraction keeps its relative accuracy however small it is.
void BetaBoth(Ext x, Ext y, Ext a, Ext b, Ext& Lower, Ext& Upper) {
  if (x <= 0) {
    Lower = 0, Upper = 1;
    return;
  }
  if (y <= 0) {
    Lower = 1, Upper = 0;
    return;
  }
  const Ext LnX = x < 0.5L ? std::log(x) : std::log1p(-y);
  const Ext LnY = y < 0.5L ? std::log(y) : std::log1p(-x);
  const Ext Front = std::exp(a * LnX + b * LnY - detail::LnBetaExact(a, b));
  // The tail computed directly is kept within [0, 1], so that its complement is too: for
  // degrees of freedom near zero it can pass 1 by a rounding, and when one parameter is beyond
  // about 1e15 and x is of the order of 1 / b, y rounds so close to 1 that the continued
  // fraction loses digits (at 1e277 it overflowed).
  if (x < (a + 1) / (a + b + 2)) {
    Lower = std::clamp<Ext>(Front * BetaContinuedFraction(x, a, b) / a, 0, 1);
    Upper = 1 - Lower;
  } else {
    Upper = std::clamp<Ext>(Front * BetaContinuedFraction(y, b, a) / b, 0, 1);
    Lower = 1 - Upper;
  }
}

// P(T <= t) for t <= 0, i.e. the lower tail (at most 1/2).
Ext TLowerTail(Ext t, Ext df) {
  if (t == 0) return 0.5L;
  const Ext T2 = t * t;
  if (T2 < df) {        // near the centre: 1/2 - P(0 < T < |t|), from the small central probability
    Ext Central, Rest;  // Rest = 1 - Central, taken as computed (exact when it is the small one)
    BetaBoth(T2 / (df + T2), df / (df + T2), 0.5L, df / 2, Central, Rest);
    return Rest / 2;
  }
  Ext Tail, Rest;
  BetaBoth(df / (df + T2), T2 / (df + T2), df / 2, 0.5L, Tail, Rest);
  return Tail / 2;
}

bool ValidDf(double df) { return df > 0 && !std::isnan(df); }

// The t >= 0 with P(0 < T < t) = Delta, for a small Delta: the central probability is computed
// directly (not as 1/2 minus a tail), so the quantile keeps its relative accuracy however close
// to the median it lies.
Ext TCentralQuantile(Ext Delta, Ext df) {
  if (Delta == 0) return 0;
  Ext T = Delta / detail::TDensityExact(0, df);  // P(0 < T < t) = f(0) t + O(t^3)
  Ext Lo = 0, Hi = std::numeric_limits<Ext>::infinity();
  const Ext LnDelta = std::log(Delta);
  for (int It = 0; It < 200; ++It) {
    const Ext T2 = T * T;
    Ext Central, Rest;
    BetaBoth(T2 / (df + T2), df / (df + T2), 0.5L, df / 2, Central, Rest);
    const Ext C = Central / 2, G = std::log(C) - LnDelta;
    if (G == 0) return T;
    if (G > 0)
      Hi = T;
    else
      Lo = T;
    Ext Next = T - G * C / detail::TDensityExact(T, df);
    if (!(Next > Lo && Next < Hi)) Next = std::isinf(Hi) ? 2 * T : (Lo + Hi) / 2;
    if (std::fabs(Next - T) <= 1e-17L * std::fabs(T)) return Next;
    T = Next;
  }
  return T;
}

// The terms of order 1/df and 1/df^2 of the t distribution about the normal at x (odd in x).
Ext TCorrection(Ext x, Ext df) {
  const Ext x2 = x * x;
  return (x2 * x + x) / (4 * df) + ((5 * x2 + 16) * x2 * x + 3 * x) / (96 * df * df);
}

// The t <= 0 with P(T <= t) = q, 0 < q <= 1/2.
Ext TLowerQuantile(Ext q, Ext df) {
  if (q == 0.5L) return 0;
  const Ext Delta = 0.5L - q;  // exact: q is a double in (0, 1/2]
  if (df == 1)                 // Cauchy: -cot(pi q) = -tan(pi Delta), the latter near the median
    return Delta < 0.25L ? -std::tan(std::numbers::pi_v<Ext> * Delta)
                         : -1 / std::tan(std::numbers::pi_v<Ext> * q);
  if (df == 2) return (2 * q - 1) / std::sqrt(2 * q * (1 - q));
  if (Delta < 0.125L) return -TCentralQuantile(Delta, df);
  // Start: the normal quantile with the Cornish-Fisher correction, or the power-law tail
  // when that lies further out (small df, small q).
  const Ext Z = detail::NormalQuantileStart(q);
  Ext T = Z + TCorrection(Z, df);
  const Ext LnK =
      -detail::LnBetaExact(df / 2, 0.5L) + (df / 2) * std::log(df);  // f(t) ~ K |t|^-(df+1)
  const Ext PowerTail = -std::exp((LnK - std::log(df * q)) / df);
  if (PowerTail < T) T = PowerTail;
  // Safeguarded Newton on g(t) = ln P(T <= t) - ln q, which is increasing in t.
  Ext Lo = -std::numeric_limits<Ext>::infinity(), Hi = 0;
  const Ext LnQ = std::log(q);
  for (int It = 0; It < 200; ++It) {
    const Ext P = TLowerTail(T, df);
    const Ext G = std::log(P) - LnQ;
    if (G == 0) return T;
    if (G > 0)
      Hi = T;
    else
      Lo = T;
    Ext Next = T - G * P / detail::TDensityExact(T, df);
    if (!(Next >= Lo && Next <= Hi))
      Next = std::isinf(Lo) ? 2 * T - 1 : (Lo + Hi) / 2;  // outside the bracket: bisect
    if (std::fabs(Next - T) <= 1e-17L * std::fabs(T)) return Next;
    T = Next;
  }
  return T;
}

}  // namespace

namespace {

// From about 10^9 degrees of freedom the continued fraction loses digits to the size of df/2,
// while the expansion of t about the normal distribution is exact to double precision there.
constexpr double LargeDf = 1e9;

// P(Z <= z) for the standard normal, in long double (accurate far into the lower tail).
Ext NormalLower(Ext z) { return std::erfc(-z / std::numbers::sqrt2_v<Ext>) / 2; }

// The q-quantile (0 < q <= 1/2) of the standard normal: Newton steps from a rational start
// value good to 4.5e-4.
Ext NormalLowerQuantile(Ext q) {
  Ext z = detail::NormalQuantileStart(q);
  for (int It = 0; It < 30; ++It) {
    const Ext Density = std::exp(-z * z / 2) / std::sqrt(2 * std::numbers::pi_v<Ext>);
    const Ext Step = (NormalLower(z) - q) / Density;
    z -= Step;
    if (std::fabs(Step) <= 1e-18L * std::max<Ext>(1, std::fabs(z))) break;
  }
  return z;
}

}  // namespace

double tDistriIntegral(double t, double df) {
  if (!ValidDf(df) || std::isnan(t)) return NaN;
  if (df >= LargeDf) {  // the normal with its 1/df corrections (none for an infinite df)
    const Ext x = -std::fabs(static_cast<Ext>(t));
    const Ext Lower = NormalLower(x) - std::exp(-x * x / 2) /
                                           std::sqrt(2 * std::numbers::pi_v<Ext>) *
                                           (std::isinf(df) ? 0 : TCorrection(x, df));
    return static_cast<double>(t <= 0 ? Lower : 1 - Lower);
  }
  const Ext Lower = TLowerTail(-std::fabs(static_cast<Ext>(t)), df);
  return static_cast<double>(t <= 0 ? Lower : 1 - Lower);
}

double tDistriQuantile(double p, double df) {
  if (!ValidDf(df) || std::isnan(p) || p < 0 || p > 1) return NaN;
  if (p == 0) return -HUGE_VAL;
  if (p == 1) return HUGE_VAL;
  // 1 - p is exact for p >= 1/2, so the upper half mirrors the lower without rounding.
  const Ext Q = p <= 0.5 ? static_cast<Ext>(p) : 1 - static_cast<Ext>(p);
  Ext T;
  if (df >= LargeDf) {  // Cornish-Fisher about the normal quantile
    const Ext z = NormalLowerQuantile(Q);
    T = std::isinf(df) ? z : z + TCorrection(z, df);
  } else {
    T = TLowerQuantile(Q, df);
  }
  return static_cast<double>(p <= 0.5 ? T : -T);
}

double fDistriUpperTail(double f, double df1, double df2) {
  if (!ValidDf(df1) || !ValidDf(df2) || std::isnan(f)) return NaN;
  if (f <= 0) return 1;
  if (std::isinf(f)) return 0;
  const Ext F = f, D1 = df1, D2 = df2;
  Ext Lower, Upper;  // P(F > f) = I_{d2 / (d2 + d1 f)}(d2/2, d1/2)
  BetaBoth(D2 / (D2 + D1 * F), D1 * F / (D2 + D1 * F), D2 / 2, D1 / 2, Upper, Lower);
  return static_cast<double>(Upper);
}

double fDistriIntegral(double f, double df1, double df2) {
  if (!ValidDf(df1) || !ValidDf(df2) || std::isnan(f)) return NaN;
  if (f <= 0) return 0;
  if (std::isinf(f)) return 1;
  const Ext F = f, D1 = df1, D2 = df2;
  Ext Lower, Upper;  // P(F <= f) = I_{d1 f / (d1 f + d2)}(d1/2, d2/2)
  BetaBoth(D1 * F / (D1 * F + D2), D2 / (D1 * F + D2), D1 / 2, D2 / 2, Lower, Upper);
  return static_cast<double>(Lower);
}

}  // namespace zeq
