// Rounding to the 1-2-5 series and axis scale parameters.
//
// Decimal exponents are computed in long double and tick distances are formed as 1, 2 or 5
// times an exact power of ten, so that a distance of 2 is exactly 2 and not 10^0.30103.
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "zeq/math1/math1.h"

namespace zeq {

namespace {

enum class TMagnitude { Nearest, Up, Down };

long double Lg(long double X) { return std::log(X) / std::numbers::ln10_v<long double>; }

// 10^K; exact for |K| <= 27 (5^27 fits the 64-bit significand).
long double Pow10(long double K) {
  if (std::fabs(K) > 27) return std::pow(10.0L, K);
  long double P = 1.0L;
  for (int i = 0; i < std::abs(static_cast<int>(K)); ++i) P *= 10.0L;
  return P;
}

// Q (1, 2, 5 or 10) times 10^K, with a single rounding.
long double Scaled(long double Q, long double K) { return K >= 0 ? Q * Pow10(K) : Q / Pow10(-K); }

double RoundSeries(double X, TMagnitude Mode) {
  if (X == 0 || !std::isfinite(X)) return X;
  long double E = Lg(std::fabs(static_cast<long double>(X)));
  // Exact powers of ten stay exact: a logarithm within 1e-14 of an integer becomes it. As
  // documented, this also snaps values just above a power of ten onto it, so rounding "up"
  // returns 1000 for 1000 (1 + 2e-14), a little below the argument; kept on purpose.
  if (std::fabs(E - std::nearbyint(E)) < 1e-14L) E = std::nearbyint(E);
  const long double N = std::floor(E);
  const auto M = static_cast<double>(std::pow(10.0L, E - N));
  double Q;
  switch (Mode) {
    case TMagnitude::Nearest:
      Q = M < 1.5 ? 1 : M < 3 ? 2 : M < 8 ? 5 : 10;
      break;
    case TMagnitude::Up:
      Q = M <= 1 ? 1 : M <= 2 ? 2 : M <= 5 ? 5 : 10;
      break;
    default:
      Q = M < 2 ? 1 : M < 5 ? 2 : M < 10 ? 5 : 10;
      break;
  }
  const auto R = static_cast<double>(Scaled(Q, N));
  return X < 0 ? -R : R;
}

}  // namespace

double Round125(double X) { return RoundSeries(X, TMagnitude::Nearest); }

double RoundPos125(double X) { return RoundSeries(X, X > 0 ? TMagnitude::Up : TMagnitude::Down); }

double RoundNeg125(double X) { return RoundSeries(X, X > 0 ? TMagnitude::Down : TMagnitude::Up); }

void CalcScalePars(int32_t NTicks, long double ScaleLow, long double ScaleHigh,
                   long double& FirstTick, long double& TickDist, uint16_t& NrMinorTicks) {
  // Equal bounds, and bounds that are not finite numbers, have no ticks to speak of.
  if (ScaleLow == ScaleHigh || !std::isfinite(ScaleLow) || !std::isfinite(ScaleHigh)) {
    FirstTick = ScaleLow;
    TickDist = 0;
    NrMinorTicks = 1;
    return;
  }
  const long double S = ScaleLow > ScaleHigh ? -1.0L : 1.0L;
  const long double Range = std::fabs(ScaleHigh - ScaleLow);
  if (NTicks == 0) {
    TickDist = 1;
    FirstTick = std::trunc(ScaleLow) - 1;
    NrMinorTicks = Range <= 10 ? 5 : 1;
  } else {
    long double E = Lg(Range / std::abs(static_cast<long double>(NTicks)));
    long double F = E - std::trunc(E);
    if (std::fabs(F) < 1e-10L || std::fabs(F) > 0.9999999999L) {
      F = 0;
      E = std::nearbyint(E);
    }
    if (E < 0 && F != 0) E -= 1;
    if (F < 0) F += 1;
    const long double L2 = Lg(2.0L), L5 = Lg(5.0L);
    long double Mantissa;  // 10^(E - Int(E)) of the chosen step: 1, 2 or 5
    if (F < L2 + 1e-10L) {
      Mantissa = 1;
      NrMinorTicks = 5;
    } else if (F < L5 + 1e-10L) {
      Mantissa = 2;
      NrMinorTicks = 4;
    } else {
      Mantissa = 5;
      NrMinorTicks = 5;
    }
    TickDist = S * Scaled(Mantissa, std::trunc(E));
    FirstTick = (std::trunc(ScaleLow / TickDist) - 1) * TickDist;
  }
  // A handful of steps reach the low end; the cap only matters for ranges so narrow that
  // adding a tick distance no longer changes the value.
  for (int Guard = 0; Guard < 1000 && S * (ScaleLow - FirstTick) > 0.001L * std::fabs(TickDist);
       ++Guard)
    FirstTick += TickDist;
}

}  // namespace zeq
