// Critical values of the Wilcoxon signed-rank statistic: a table for 6..100 observations
// computed on first use from the exact null distribution (well under a millisecond; the
// compiler would take seconds to evaluate the same at compile time), a parabola in ln alpha
// through the table's levels, and the normal approximation above 100 observations.
//
// The distribution counts the 2^n sign patterns whose positive ranks sum to each t. The counts
// reach 2^100, so they are kept as two 64-bit halves; only sums up to a bound above the largest
// critical value are needed, because adding a rank never lowers a sum.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "zeq/base/internal/centred_fit.h"
#include "zeq/statis/internal/signed_rank_table.h"
#include "zeq/statis/statis.h"

namespace zeq {

namespace detail {

namespace {

// An unsigned 128-bit count.
struct TCount128 {
  uint64_t Hi = 0, Lo = 0;
  constexpr TCount128& operator+=(const TCount128& b) {
    const uint64_t Sum = Lo + b.Lo;
    Hi += b.Hi + (Sum < Lo ? 1 : 0);
    Lo = Sum;
    return *this;
  }
  // The quotient by a small divisor (< 2^32), rounded down.
  constexpr TCount128 DividedBy(uint32_t d) const {
    TCount128 q;
    q.Hi = Hi / d;
    uint64_t Rest = Hi % d;
    for (int Half = 1; Half >= 0; --Half) {  // the low word in two 32-bit steps
      const uint64_t Part = (Rest << 32) | ((Lo >> (32 * Half)) & 0xFFFFFFFFu);
      q.Lo |= (Part / d) << (32 * Half);
      Rest = Part % d;
    }
    return q;
  }
  constexpr bool operator<=(const TCount128& b) const {
    return Hi < b.Hi || (Hi == b.Hi && Lo <= b.Lo);
  }
};

constexpr TCount128 PowerOfTwo(int32_t e) {
  TCount128 r;
  if (e < 64)
    r.Lo = uint64_t{1} << e;
  else
    r.Hi = uint64_t{1} << (e - 64);
  return r;
}

constexpr int32_t TableRows = SignedRankTableHigh - SignedRankTableLow + 1;
// alpha / 2 = 1 / Denominator for each level.
constexpr std::array<uint32_t, 5> HalfLevelDenominators = {20, 40, 100, 200, 2000};
// Above every critical value of the table (the largest is 2045).
constexpr int32_t SumBound = 2100;

using TTable = std::array<std::array<int32_t, 5>, TableRows>;

// For every n, the counts of the sums 0..SumBound are updated by the rank n; then each level
// takes the last t whose cumulative count C(t) satisfies C(t) / 2^n <= 1 / D, i.e.
// C(t) <= floor(2^n / D). Levels are in falling order, so their critical values fall too and one
// pass over the sums serves all five.
TTable BuildTable() {
  TCount128 Counts[SumBound + 1] = {};
  Counts[0].Lo = 1;
  TTable Table{};
  for (int32_t n = 1; n <= SignedRankTableHigh; ++n) {
    const int32_t HighestSum = std::min(SumBound, n * (n + 1) / 2);
    for (int32_t s = HighestSum; s >= n; --s) Counts[s] += Counts[s - n];
    if (n < SignedRankTableLow) continue;
    TCount128 Limits[5];
    for (size_t Level = 0; Level < 5; ++Level)
      Limits[Level] = PowerOfTwo(n).DividedBy(HalfLevelDenominators[Level]);
    TCount128 Cumulative;
    for (int32_t s = 0; s <= HighestSum; ++s) {
      Cumulative += Counts[s];
      if (!(Cumulative <= Limits[0])) break;
      for (size_t Level = 0; Level < 5; ++Level)
        if (Cumulative <= Limits[Level]) Table[n - SignedRankTableLow][Level] = s;
    }
  }
  return Table;
}

}  // namespace

int32_t SignedRankCriticalValue(int32_t n, int32_t Level) {
  if (n < SignedRankTableLow || n > SignedRankTableHigh || Level < 0 || Level > 4) return -1;
  static const TTable CriticalValues = BuildTable();  // thread-safe initialisation
  return CriticalValues[n - SignedRankTableLow][Level];
}

}  // namespace detail

namespace {

using Ext = long double;

// The parabola through (ln alpha_j, table value) for the first levels of row n, at u. The means
// are plain double sums divided by the count, as TCurveFit's matrix statistics compute them.
Ext TableParabolaAt(int32_t n, Ext u) {
  const int32_t Points = n == 8 ? 3 : n <= 10 ? 4 : 5;
  std::array<double, 5> X{}, Y{};
  double SumX = 0, SumY = 0;
  for (int32_t j = 0; j < Points; ++j) {
    X[j] = static_cast<double>(std::log(static_cast<Ext>(detail::SignedRankLevels[j])));
    Y[j] = detail::SignedRankCriticalValue(n, j);
    SumX = SumX + X[j];
    SumY = SumY + Y[j];
  }
  const detail::TCentredSums S = detail::CentredSums(
      Points, SumX / Points, SumY / Points, [&](int32_t i) { return X[i - 1]; },
      [&](int32_t i) { return Y[i - 1]; });
  const detail::TParabolaFit Fit = detail::ParabolaFromSums(S);
  return Fit.k0 + Fit.k1 * u + Fit.k2 * u * u;
}

}  // namespace

int32_t WilcoxonSRQuantile(int32_t n, double alpha, bool TwoSided) {
  if (n < 8 || n > 1000000 || !(alpha >= 0.000499999) || !(alpha <= 0.20000001)) return -1;
  if (n <= 100) {
    const Ext u = std::log(TwoSided ? static_cast<Ext>(alpha) : 2 * static_cast<Ext>(alpha));
    const Ext Value = std::nearbyint(TableParabolaAt(n, u));
    return Value < 0 ? 0 : static_cast<int32_t>(Value);
  }
  const Ext z = nDistriQuantile(TwoSided ? alpha / 2 : alpha);
  const Ext N = n;
  const Ext Value = std::nearbyint(N * (N + 1) / 4 + z * std::sqrt(N * (N + 1) * (2 * N + 1) / 24));
  // From about 92,700 observations the critical value no longer fits 32 bits.
  if (Value > std::numeric_limits<int32_t>::max()) return -1;
  return static_cast<int32_t>(Value);
}

}  // namespace zeq
